// What the program was asked to do on its command line:
//   tolme [FILE]                                   play, with FILE's pattern on the grid (saved there)
//   tolme --resume                                 play, with the autosaved pattern
//   tolme --export-wav OUT.wav [--loops N] FILE    write FILE's pattern played N sweeps (4) as sound
//   tolme --export-midi OUT.mid [--loops N] FILE   write it as a Standard MIDI File
//   --tempo BPM and --swing PERCENT in place of the pattern's own, for play and exports
//   --audio auto|jack|desktop, --sync internal|midi|jack|link, --link-start-stop and --no-connect: how play
//   reaches the studio and the network
//   tolme --help | --version
#pragma once

#include "audio/studio_cycle.h"
#include "instrument/pattern_commands.h"

#include <string>

enum program_action {
    play_action,
    help_action,
    version_action,
    export_wav_action,
    export_midi_action,
    usage_error,
};

// Where play goes: JACK when a server is running, else the desktop's sound device; or only one of them.
enum class audio_path
{
    automatic,
    jack,
    desktop
};

class command_line_class
{
public:
    program_action action = play_action;
    pattern_start pattern; // the file (or the autosave) and the timing asked for
    std::string output;
    int loops = 4;
    std::string error; // why the command line was refused
    audio_path audio = audio_path::automatic;
    sync_source sync = sync_source::internal; // the clock the JACK output follows
    bool link = false;                        // --sync link: leads and joins the Link session at start
    bool link_start_stop = false;             // play and stop shared with the Link session
    bool connect_outputs = true; // to the first two physical playback ports, on JACK
};

constexpr int most_loops = 1000;

command_line_class parse_command_line(int argc, const char* const* argv);
// The usage text, for --help and after a refused command line.
std::string usage_text();
