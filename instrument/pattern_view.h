// The pattern on show and on play: once a tick, what the pattern model changed reaches the token pictures,
// the buttons' counts, the mixer, the tempo readout and the autosave.
#pragma once

class instrument_class;

void follow_pattern(instrument_class& instrument);
