// The program's entry and frame loop: start-up with collected error reporting, the 60 Hz tick, shutdown.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include <string>

class error_list_class;

extern const int screen_width;
extern const int screen_height;
extern int display_flags;
extern ALLEGRO_DISPLAY* display;
extern ALLEGRO_BITMAP* screen_buffer;
extern ALLEGRO_BITMAP* missing_image;
extern ALLEGRO_SAMPLE* missing_sample;
extern ALLEGRO_FONT* fallback_font;
extern bool quit_flag;
extern bool debug_overlay;

// The warning box's text: fixed header, every message on its line, fixed footer.
std::string startup_error_text(const error_list_class& errors);

// The start-up sequence up to the instrument's set-up; false when it failed and the error box was shown.
bool start_program();

// The counterpart of a successful start: stops the sound before anything it plays from is freed.
void end_program();

// Runs the whole program; returns the process exit status (0 after a normal end, 1 after a start-up failure).
int run_program();

// One frame: input, update, draw into the off-screen buffer, present.
void run_tick();
// Its two halves: input and every update; drawing and presenting.
void update_tick();
void draw_tick();
