// The instrument's three hooks into the frame loop (content set-up once, then update and draw every tick)
// and the state they share.
#pragma once

// 0 before the player has chosen; then 1 EARTH, 2 WIND, 3 WATER, 4 FIRE.
extern int current_element;
// Size factor of the token grid, its tokens and their pulses.
extern float grid_scale;
// x of the grid's left edge and of the play line's zero.
extern float grid_origin_x;

void instrument_setup();
void instrument_update();
void instrument_draw();
