// The instrument's three hooks into the frame loop (content set-up once, then update and draw every tick)
// and the state they share.
#pragma once

#include "visuals/object.h"

#include <allegro5/allegro.h>

class token_class;

// 0 before the player has chosen; then 1 EARTH, 2 WIND, 3 WATER, 4 FIRE.
extern int current_element;
// Size factor of the token grid, its tokens and their pulses.
extern float grid_scale;
// x of the grid's left edge and of the play line's zero.
extern float grid_origin_x;

// Additive glow on the bottom edge and decorative overlay above the grid, both tinted by the chosen element.
extern Object glow_sprite;
extern Object overlay_sprite;
// Shown where nothing clickable is under the mouse, and over element buttons and tokens; null when their
// image is missing.
extern ALLEGRO_MOUSE_CURSOR* arrow_cursor;
extern ALLEGRO_MOUSE_CURSOR* pointer_cursor;

void instrument_setup();
void instrument_update();
void instrument_draw();

// Brightens a token's bead when the mouse comes onto it; only a change of state restarts the tween.
void token_hover_on(token_class& token);
// Dims it back when the mouse leaves.
void token_hover_off(token_class& token);
// Hover on or off for the tokens under or away from the mouse, then the cursor for what is under it, which
// is shown and returned.
ALLEGRO_MOUSE_CURSOR* update_hover_and_cursor();
