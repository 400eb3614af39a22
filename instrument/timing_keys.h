// The pattern's timing from the keyboard: = and - (and the keypad's + and -) take the tempo to the next or
// previous whole BPM, by 0.1 BPM with Shift held; T taps the tempo; ] and [ take the swing up or down a
// percent. Each change is told in the notice line. While a Link session leads, the tempo keys step from its
// tempo, and every tempo set goes to the session as well as to the pattern.
#pragma once

class instrument_class;

void update_timing_keys(instrument_class& instrument);
// Tells the pattern's tempo, or its swing, in the notice line, as a change of it by the keys is told.
void tell_tempo(instrument_class& instrument);
void tell_swing(instrument_class& instrument);
