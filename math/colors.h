// Colour arithmetic and the one place that changes the drawing blender.
#pragma once

#include <allegro5/allegro.h>

ALLEGRO_COLOR color_add(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
ALLEGRO_COLOR& color_add_to(ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
bool colors_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
ALLEGRO_COLOR color_lerp(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float t);

// Selects blend mode 0..5 with colour c; skips the library call when neither changed.
void set_blend_mode(int mode, const ALLEGRO_COLOR& c);

// The colour of the last set_blend_mode: every bitmap and text draw of the system passes it as its tint.
ALLEGRO_COLOR current_tint();

// Bitmaps load and are created with straight (not premultiplied) alpha, so that the blend factors above
// mean what they say, and the blender the cache remembers is put in force. Called once at start-up, and by
// tests before they make bitmaps.
void use_straight_alpha_bitmaps();
