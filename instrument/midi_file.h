// A pattern as a Standard MIDI File (type 1) for other music programs: a tempo track at the pattern's tempo,
// one column a sixteenth note, then one named track per element used, each on its own channel with a fitting
// General MIDI program and the element's pan. Every note sits on the beat grid (column c's on the bar's
// sixteenth c, the odd columns late by the swing) and lasts a column, or ends just before the same key
// sounds again; the pitches are the data set's scale.
#pragma once

#include "audio/midi_out.h"
#include "audio/pattern.h"

#include <string>

constexpr int midi_ticks_per_quarter = 480;
constexpr int midi_ticks_per_column = midi_ticks_per_quarter / 4;

// The file's bytes for the given number of sweeps.
std::string midi_file_bytes(const pattern_class& pattern, int sweeps);

// Live MIDI with the file's pitches and velocities.
void configure_midi_out(midi_out_class& midi);
