// The tempo and swing on the play screen: a line of small grey type in the bottom right corner, clear of the
// grid and the buttons, that shows with the grid and follows every change.
#pragma once

#include "audio/pattern.h"

#include <string>

class instrument_class;

// "87.89 BPM   SWING 50 %"
std::string timing_text(const pattern_class& pattern);

// Places the readout, hidden until the play screen shows.
void setup_timing_readout(instrument_class& instrument);
void show_timing_readout(instrument_class& instrument);
// Renders the readout afresh for the pattern's tempo and swing.
void show_timing(instrument_class& instrument);
