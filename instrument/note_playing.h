// The play line: an invisible line sweeps the grid from left to right at a constant speed and starts again at
// the left edge. Every token whose centre it reaches sounds its element's note for its row, pulses, and starts
// its element's effect burst. The mixer starts each note at the exact frame the line reaches its token; the
// frame loop shows the pulse in the tick in which that frame is heard.
#pragma once

#include "audio/step_grid.h"
#include "resources/manifest.h"

#include <allegro5/allegro_audio.h>

#include <array>
#include <string>
#include <vector>

class mixer_class;
class token_class;

// Pixels per second.
constexpr float play_speed = 300.0f;

// "data/sounds/<element>_<note>.wav"; element must be 1 to 4.
std::string note_sample_file(int element, int note);

// Loads the wind notes, which are played outside the samples bin.
void setup_note_playing();
// Gives a mixer every element's notes with their gains and the line's schedule over the grid's columns.
void configure_mixer(mixer_class& target);
// Starts the line from its zero: configures the program's mixer, starts its time and the heard clock over
// and hands it the grid as it stands; from then on the line runs with the mixer's clock.
void start_note_playing();
// The pattern played for the given number of sweeps by a mixer of its own, as live play sounds it, with the
// last notes' tails: interleaved stereo at the mixer's rate.
std::vector<float> render_pattern(const step_grid& cells, int sweeps);
// Hands the mixer the grid if it changed, then pulses every token whose note has been heard by now.
void update_play_line();
// Plays one token at once: its pulse and its note (nothing for a note index outside the set).
void trigger(token_class& token);
// The visual half of a note: the element sprite's pulse and the element's burst.
void pulse(token_class& token, int element);
