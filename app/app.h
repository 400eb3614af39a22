// The program's entry and frame loop: start-up with collected error reporting, the 60 Hz tick, shutdown.
#pragma once

#include "app/window.h"
#include "audio/audio_output.h"
#include "audio/jack_output.h"
#include "audio/mixer.h"
#include "instrument/instrument.h"

#include <allegro5/allegro.h>

#include <functional>
#include <memory>
#include <string>

class command_line_class;
class error_list_class;

// Everything one run of the program owns, made by start_program and freed by end_program in order: the
// mixer (at the rate of the output chosen first) outlives the sound outputs that render it, and all of them
// outlive the instrument.
class program_class
{
public:
    explicit program_class(unsigned rate = mixer_class::desktop_rate) : mixer(rate), link(rate) {}

    mixer_class mixer;
    // Outlives the outputs, whose audio threads steer the line through it.
    link_follower_class link;
    audio_output_class audio_output{mixer};
    // On JACK: the output, and whether to move to the desktop's sound when its server goes away.
    std::unique_ptr<jack_output_class> jack_output;
    bool desktop_after_jack = false;
    bool jack_loss_told = false;
    std::unique_ptr<instrument_class> instrument;
    window_class window;
    ALLEGRO_EVENT_QUEUE* event_queue = nullptr;
    ALLEGRO_TIMER* frame_timer = nullptr;
    bool quit = false;
};

// The warning box's text: fixed header, every message on its line, fixed footer.
std::string startup_error_text(const error_list_class& errors);

// The start-up sequence up to the instrument's set-up, with the pattern the command line names, playing
// through JACK when a connection is given, else through the desktop's sound device; false when it failed and
// the error box was shown.
bool start_program(program_class& program, const command_line_class& line,
                   std::unique_ptr<jack_connection_class> jack = nullptr);

// The counterpart of start_program, also after a failed start: stops the sound, then frees the instrument
// (its autosave written) and every loaded resource, in that order. False when a sound device could not be
// let go: the process then ends without Allegro's own teardown, which would wait for it.
bool end_program(program_class& program);

// Runs the whole program as the command line asks; returns the process exit status: 0 after a normal end, 1
// after a start-up failure or a failed export, 2 after a command line it refused.
int run_program(int argc, const char* const* argv);

// Until `quit` is set: each timer event runs an update, closing the window quits, other events are taken
// (the window's, the keyboard's and the mouse's); a draw follows once no event is waiting, and at the end.
void run_frame_loop(ALLEGRO_EVENT_QUEUE* queue, bool& quit, const std::function<void()>& update,
                    const std::function<void()>& draw, const std::function<void(ALLEGRO_EVENT&)>& take_event);
// A window's event or input: a resized window gets the stage fitted to it, a window shown again is drawn
// whole, and the mouse goes to the input in stage units.
void take_event(program_class& program, ALLEGRO_EVENT& event);

// One frame: input, update, draw into the off-screen buffer, present.
void run_tick(program_class& program);
// Its two halves: input and every update; drawing and presenting.
void update_tick(program_class& program);
void draw_tick(program_class& program);
