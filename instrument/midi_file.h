// A pattern as a Standard MIDI File (type 1) for other music programs: a tempo track that makes one column a
// sixteenth note, then one named track per element used, each on its own channel with a fitting General MIDI
// program and the element's pan, every note one column long from the moment the line reaches its token, in
// the data set's scale.
#pragma once

#include "audio/step_grid.h"

#include <string>

constexpr int midi_ticks_per_quarter = 480;
constexpr int midi_ticks_per_column = midi_ticks_per_quarter / 4;

// The file's bytes for the given number of sweeps.
std::string midi_file_bytes(const step_grid& cells, int sweeps);
