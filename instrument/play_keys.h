// Playing with others from the keyboard: P stops the line and plays it again from column 0 (through the Link
// session when it shares start and stop); L joins the Link session or leaves it. Each is told in the notice.
#pragma once

class instrument_class;

void update_play_keys(instrument_class& instrument);
