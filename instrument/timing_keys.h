// The pattern's timing from the keyboard: = and - (and the keypad's + and -) take the tempo to the next or
// previous whole BPM, by 0.1 BPM with Shift held; T taps the tempo; ] and [ take the swing up or down a
// percent. Each change is told in the notice line. While a Link session leads, the tempo keys step from its
// tempo, and every tempo set goes to the session as well as to the pattern.
#pragma once

#include "audio/pattern.h"

#include <string>

class instrument_class;

void update_timing_keys(instrument_class& instrument);
// How a new tempo and a new swing are told in the notice line: "Tempo 120 BPM", "Swing 60 %". While the line
// follows a MIDI clock or the JACK transport the tempo set is the pattern's alone (heard when Tolme leads
// again, and saved): "Tempo 120 BPM (the MIDI clock leads)".
std::string tempo_notice(const instrument_class& instrument);
std::string swing_notice(const pattern_class& pattern);
