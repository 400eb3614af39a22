// Color arithmetic and the one place that changes the drawing blender.
#pragma once

#include <allegro5/allegro.h>

ALLEGRO_COLOR color_add(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
ALLEGRO_COLOR& color_add_to(ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
bool colors_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
ALLEGRO_COLOR color_lerp(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float t);

// How a draw combines with what is already there; any other value (defined, as the type is fixed) blends as
// blend_normal.
enum blend_mode_id : int {
    blend_normal = 0,        // ordinary alpha blending
    blend_additive = 1,      // source + destination
    blend_add_by_alpha = 2,  // source + destination * source alpha
    blend_alpha = 3,         // ordinary alpha blending, named
    blend_keep = 4,          // the blender is left as it is
    blend_darken = 5,        // destination * (1 - source alpha): the source only darkens
};

// Selects a blend mode with color c; skips the library call when neither changed.
void set_blend_mode(blend_mode_id mode, const ALLEGRO_COLOR& c);

// The color of the last set_blend_mode: every bitmap and text draw of the system passes it as its tint.
ALLEGRO_COLOR current_tint();

// Bitmaps load and are created with straight (not premultiplied) alpha, so that the blend factors above
// mean what they say, and the blender the cache remembers is put in force. Called once at start-up, and by
// tests before they make bitmaps.
void use_straight_alpha_bitmaps();
