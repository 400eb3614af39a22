// The play line: an invisible line sweeps the grid from left to right and starts again at the left edge, at
// the pattern's tempo. Every token whose note the line reaches sounds its element's note for its row,
// pulses, and starts its element's effect burst. The mixer starts each note at its exact frame; the frame
// loop shows the pulse in the tick in which that frame is heard.
#pragma once

#include "audio/mixer.h"
#include "audio/offline_render.h"
#include "audio/pattern.h"

#include <array>
#include <vector>

class instrument_class;
class note_sounds_class;
class token_class;

// Pixels per second at the default tempo.
constexpr float play_speed = 300.0f;

// Where in its column a note sounds: where the line reaches the centre of its token (play in the window),
// or on the column's own sixteenth of the bar, half a column after the line's zero (what leaves Tolme).
enum class note_placement
{
    token,
    beat
};
// Each column's note from the line's zero, in pixels.
std::array<double, step_columns> column_centres(note_placement placement);

// Gives a mixer every element's notes with their gains and the line's schedule over the grid's columns.
void configure_mixer(mixer_class& target, const note_sounds_class& sounds, note_placement placement);
// Starts the line (from its zero, or on column 0's notes when on the beat): configures the instrument's mixer
// with its placement, starts its time and the heard clock over and hands it the pattern as it stands; from
// then on the line runs with the mixer's clock.
void start_note_playing(instrument_class& instrument);
// The pattern played for the given number of sweeps by a mixer of its own, at its tempo and swing, with the
// last notes' tails: interleaved stereo at the given rate. Placed on the beat, column 0's notes sound at
// the first frame; placed on the tokens, the line starts from its zero as in the window.
// Each block goes to the sink as it is rendered; false when the sink stopped it.
bool render_pattern(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                    note_placement placement, unsigned rate, const frame_sink& sink);
std::vector<float> render_pattern(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                                  note_placement placement, unsigned rate = mixer_class::desktop_rate);
// Pulses every token whose note has been heard by now.
void update_play_line(instrument_class& instrument);
// The visual half of a note: the element sprite's pulse and the element's burst.
void pulse(instrument_class& instrument, token_class& token, int element);
