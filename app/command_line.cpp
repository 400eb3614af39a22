#include "app/command_line.h"

#include "instrument/pattern_file.h"

#include <cstdlib>
#include <cstring>
#include <utility>

std::string usage_text()
{
    return "Usage: tolme [TIMING] [FILE]\n"
           "       tolme [TIMING] --resume\n"
           "       tolme [TIMING] --export-wav OUT.wav [--loops N] FILE\n"
           "       tolme [TIMING] --export-midi OUT.mid [--loops N] FILE\n"
           "where TIMING is [--tempo BPM] [--swing PERCENT], in place of the pattern's own.\n"
           "Playing also takes [--audio auto|jack|desktop] [--sync internal|midi|jack|link] [--link-start-stop]\n"
           "[--no-connect].\n"
           "\n"
           "Tolme is a looping step sequencer played with the mouse: choose an element with A, S, D or F, then\n"
           "click the grid. With FILE, its pattern is on the grid and Ctrl+S saves to it (it need not exist).\n"
           "\n"
           "  --resume             open the pattern autosaved when Tolme last ran\n"
           "  --export-wav OUT     write FILE's pattern, played for N sweeps, as a 44.1 kHz 16-bit WAV file\n"
           "  --export-midi OUT    write it as a Standard MIDI File\n"
           "  --loops N            the sweeps to export (1 to 1000, default 4)\n"
           "  --tempo BPM          play or export at this tempo (40 to 240, one digit after the point at most)\n"
           "  --swing PERCENT      play or export with this swing (50, straight, to 75)\n"
           "  --audio PATH         auto (the default): JACK when a JACK server runs, else the desktop's sound;\n"
           "                       jack: only JACK; desktop: only the desktop's sound\n"
           "  --sync SOURCE        internal (the default): lead; midi: follow the MIDI clock on midi_in;\n"
           "                       jack: follow the JACK transport (both on JACK only); link: join the Ableton\n"
           "                       Link session on the local network (also the L key)\n"
           "  --link-start-stop    while in a Link session, play and stop with it (P plays and stops all of it)\n"
           "  --no-connect         leave Tolme's JACK outputs unconnected\n"
           "  --help               show this text\n"
           "  --version            show the version\n";
}

static command_line_class refused(const std::string& why)
{
    command_line_class line;
    line.action = usage_error;
    line.error = why;
    return line;
}

// The whole number in text, or 0 when it is not one.
static int whole_number(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *text && !*end && value > 0 && value <= most_loops ? static_cast<int>(value) : 0;
}

// The choice among names, or false when the text names none.
template <typename T, std::size_t n>
static bool choose(const std::string& text, const std::pair<const char*, T> (&choices)[n], T& chosen)
{
    for (const auto& [name, value] : choices)
        if (text == name)
            return chosen = value, true;
    return false;
}

constexpr std::pair<const char*, audio_path> audio_paths[] = {
    {"auto", audio_path::automatic}, {"jack", audio_path::jack}, {"desktop", audio_path::desktop}};
constexpr std::pair<const char*, sync_source> sync_sources[] = {
    {"internal", sync_source::internal}, {"midi", sync_source::midi_clock}, {"jack", sync_source::jack_transport}};

static bool is_export(program_action action)
{
    return action == export_wav_action || action == export_midi_action;
}

command_line_class parse_command_line(int argc, const char* const* argv)
{
    command_line_class line;
    bool loops_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--help" || arg == "-h")
            return line.action = help_action, line;
        if (arg == "--version")
            return line.action = version_action, line;
        if (arg == "--resume") {
            line.pattern.resume = true;
        } else if (arg == "--export-wav" || arg == "--export-midi") {
            if (is_export(line.action))
                return refused("only one export at a time");
            if (!has_value)
                return refused(arg + " needs the file to write");
            line.action = arg == "--export-wav" ? export_wav_action : export_midi_action;
            line.output = argv[++i];
        } else if (arg == "--loops") {
            if (!has_value || !(line.loops = whole_number(argv[++i])))
                return refused("--loops needs a whole number from 1 to " + std::to_string(most_loops));
            loops_given = true;
        } else if (arg == "--tempo" || arg == "--swing") {
            if (!has_value)
                return refused(arg + (arg == "--tempo" ? " needs the BPM" : " needs the percent"));
            const std::string why = arg == "--tempo" ? read_tempo(argv[++i], line.pattern.tempo_tenths)
                                                     : read_swing(argv[++i], line.pattern.swing);
            if (!why.empty())
                return refused("--" + why);
        } else if (arg == "--audio") {
            if (!has_value || !choose(argv[++i], audio_paths, line.audio))
                return refused("--audio needs auto, jack or desktop");
        } else if (arg == "--sync") {
            line.link = has_value && std::string(argv[i + 1]) == "link";
            line.sync = sync_source::internal;
            if (!has_value || !(line.link || choose(argv[i + 1], sync_sources, line.sync)))
                return refused("--sync needs internal, midi, jack or link");
            ++i;
        } else if (arg == "--link-start-stop") {
            line.link_start_stop = true;
        } else if (arg == "--no-connect") {
            line.connect_outputs = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return refused("unknown option " + arg);
        } else if (!line.pattern.file.empty()) {
            return refused("one pattern file at most");
        } else {
            line.pattern.file = arg;
        }
    }
    if (is_export(line.action) && line.pattern.file.empty())
        return refused("an export needs the pattern FILE to play");
    if (loops_given && !is_export(line.action))
        return refused("--loops goes with an export");
    if (line.sync != sync_source::internal && line.audio == audio_path::desktop)
        return refused("--sync follows a clock through JACK: not with --audio desktop");
    if (line.pattern.resume && (is_export(line.action) || !line.pattern.file.empty()))
        return refused("--resume opens the autosave: it takes no FILE and no export");
    return line;
}
