// The instrument's three hooks into the frame loop: content set-up once, then update and draw every tick.
#pragma once

void instrument_setup();
void instrument_update();
void instrument_draw();
