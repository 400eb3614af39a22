// The instrument's three hooks into the frame loop (content set-up once, then update and draw every tick)
// and the state they share.
#pragma once

#include "visuals/object.h"

// 0 before the player has chosen; then 1 EARTH, 2 WIND, 3 WATER, 4 FIRE.
extern int current_element;
// Size factor of the token grid, its tokens and their pulses.
extern float grid_scale;
// x of the grid's left edge and of the play line's zero.
extern float grid_origin_x;

// Additive glow on the bottom edge and decorative overlay above the grid, both tinted by the chosen element.
extern Object glow_sprite;
extern Object overlay_sprite;

void instrument_setup();
void instrument_update();
void instrument_draw();
