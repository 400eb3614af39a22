#include "app/audio_path.h"

#include "app/app.h"
#include "app/command_line.h"
#include "instrument/midi_file.h"
#include "instrument/notice.h"

#include <allegro5/allegro_audio.h>

#include <cstdio>
#include <string>

static constexpr double jack_patience_seconds = 1.0;

std::unique_ptr<jack_connection_class> connect_to_studio(const command_line_class& line, bool& refused)
{
    refused = false;
    if (line.audio == audio_path::desktop)
        return nullptr;
    auto connection = connect_to_jack("tolme", jack_patience_seconds);
    if (!connection && (line.audio == audio_path::jack || line.sync != sync_source::internal)) {
        std::fprintf(stderr, "tolme: no JACK server answered (%s needs one running)\n",
                     line.audio == audio_path::jack ? "--audio jack" : "--sync");
        refused = true;
    }
    return connection;
}

void prepare_instrument_path(program_class& program)
{
    if (!program.jack_output)
        return;
    instrument_class& instrument = *program.instrument;
    instrument.placement = note_placement::beat;
    instrument.studio = &program.jack_output->cycle;
    configure_midi_out(program.jack_output->cycle.midi);
}

void prepare_link(program_class& program, const command_line_class& line)
{
    program.mixer.link = &program.link;
    program.link.clock = &program.instrument->output->clock;
    program.link.shared_start_stop = line.link_start_stop;
    program.instrument->link = &program.link;
    if (line.link)
        program.link.turn_on(program.instrument->model.pattern().tempo, true);
}

// The line goes on from where the silent keeper left it (from its start when JACK would not start Tolme's
// client), now at the pattern's tempo, since nothing is left to follow. `why` says what happened to JACK.
static void move_to_desktop(program_class& program, const std::string& why)
{
    const bool followed = program.instrument->following.source != sync_source::internal;
    stop_audio_path(program);
    mixer_class& mixer = program.mixer;
    mixer.tempo_from_pattern = true;
    if (mixer.schedule->held())
        mixer.schedule->resume(mixer.frame);
    const bool opened = (al_is_audio_installed() || program.audio_output.install()) &&
                        program.audio_output.create_device_mixer();
    program.instrument->output = &program.audio_output;
    program.link.clock = &program.audio_output.clock;
    program.instrument->studio = nullptr;
    program.instrument->following = {};
    show_timing(*program.instrument);
    if (!opened) {
        report_problem(*program.instrument, why + " and there is no other sound device");
        return;
    }
    program.audio_output.start();
    // The desktop's device coming up is no return of the sound that was lost: it is told here, once.
    program.instrument->sound_playing = program.instrument->sound_lost = false;
    report_problem(*program.instrument,
                   why + ": playing on through the desktop's sound" + (followed ? ", at the pattern's tempo" : ""));
}

bool start_audio_path(program_class& program, const command_line_class& line)
{
    if (!program.jack_output) {
        program.audio_output.start();
        return true;
    }
    program.desktop_after_jack = line.audio == audio_path::automatic;
    const std::string why = program.jack_output->start(line.connect_outputs);
    if (!why.empty() && program.desktop_after_jack && line.sync == sync_source::internal) {
        move_to_desktop(program, why); // as when no server answers
        return true;
    }
    if (!why.empty()) {
        std::fprintf(stderr, "tolme: %s\n", why.c_str());
        return false;
    }
    const unsigned latency = program.jack_output->latency_frames();
    std::fprintf(stderr, "tolme: playing through JACK as %s at %u Hz, heard %u frames (%.1f ms) after the ports\n",
                 program.jack_output->client_name().c_str(), program.mixer.rate, latency,
                 1000.0 * latency / program.mixer.rate);
    return true;
}

void follow_audio_path(program_class& program)
{
    if (!program.jack_output || !program.jack_output->server_lost() || program.jack_loss_told)
        return;
    program.jack_loss_told = true;
    if (program.desktop_after_jack)
        move_to_desktop(program, "The JACK server is gone");
    else
        report_problem(*program.instrument, "The JACK server is gone: playing on in silence");
}

void stop_audio_path(program_class& program)
{
    if (!program.jack_output)
        return;
    program.jack_output->stop();
    std::fprintf(stderr, "tolme: %s\n", program.jack_output->drop_report().c_str());
    program.jack_output.reset();
}
