// The play line: an invisible line sweeps the grid from left to right at a constant speed on the wall clock
// and starts again at the left edge. Every tick each token whose centre lies in the stretch just crossed is
// triggered: it plays its element's note for its row, pulses, and starts its element's effect burst.
#pragma once

#include <allegro5/allegro_audio.h>

#include <array>
#include <string>

class token_class;

constexpr int notes_per_element = 8;

// Clock reading when the line started. Kept in double precision so that a sweep stays exact however long
// the program runs.
extern double play_start_time;
// Pixels per second.
extern float play_speed;
// Length of one sweep; accumulated column by column when the grid is created.
extern float grid_width;
// Position at the previous tick, relative to the grid's left edge; -999 until the first tick.
extern float previous_play_position;
extern std::array<ALLEGRO_SAMPLE*, notes_per_element> wind_samples;

// "data/sounds/<element>_<note>.wav"; element must be 1 to 4.
std::string note_sample_file(int element, int note);

// Starts the play clock and loads the wind notes, which are played outside the samples bin.
void setup_note_playing();
// Where the line is now, in [0, grid width).
float play_position();
void update_play_line();
void trigger(token_class& token);
// The visual half of a trigger: the element sprite's pulse and the element's burst.
void pulse(token_class& token);
