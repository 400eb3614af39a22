// Blending design. Allegro 5.2 does not multiply drawn pixels by the blend color (that only feeds the
// CONST_COLOR factors), and by default it loads bitmaps premultiplied. So:
// - every bitmap is straight alpha (ALLEGRO_NO_PREMULTIPLIED_ALPHA), which makes the factor table below
//   mean what it says: mode 0 is src*a + dst*(1-a), mode 1 adds, mode 5 only darkens;
// - set_blend_mode remembers its color as the current tint, and every bitmap or text draw of the system
//   passes that tint to the al_draw_tinted_* call or as the text color.
#include "math/colors.h"

#include <allegro5/allegro_color.h>

static blend_mode_id cached_mode = blend_normal;
static ALLEGRO_COLOR cached_color = al_color_name("white");

ALLEGRO_COLOR color_add(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b, a.a + b.a};
}

ALLEGRO_COLOR& color_add_to(ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b)
{
    a = color_add(a, b);
    return a;
}

bool colors_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

static float lerp_channel(float a, float b, float t)
{
    return static_cast<float>((1.0 - t) * a + static_cast<double>(b) * t);
}

ALLEGRO_COLOR color_lerp(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float t)
{
    return {lerp_channel(a.r, b.r, t), lerp_channel(a.g, b.g, t), lerp_channel(a.b, b.b, t),
            lerp_channel(a.a, b.a, t)};
}

static void select_blender(blend_mode_id mode, const ALLEGRO_COLOR& c)
{
    switch (mode) {
    case blend_additive: al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ONE); break;
    case blend_add_by_alpha: al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ALPHA); break;
    case blend_keep: return;
    case blend_darken: al_set_blender(ALLEGRO_ADD, ALLEGRO_ZERO, ALLEGRO_INVERSE_ALPHA); break;
    default: al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA); break;
    }
    al_set_blend_color(c);
}

void set_blend_mode(blend_mode_id mode, const ALLEGRO_COLOR& c)
{
    if (mode == cached_mode && colors_equal(cached_color, c))
        return;
    cached_mode = mode;
    cached_color = c;
    select_blender(mode, c);
}

ALLEGRO_COLOR current_tint()
{
    return cached_color;
}

void use_straight_alpha_bitmaps()
{
    al_set_new_bitmap_flags(al_get_new_bitmap_flags() | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    // Allegro starts with a premultiplied blender, while the cache claims mode 0 is in force: make it so,
    // or the first frames would blend straight-alpha bitmaps as premultiplied ones.
    select_blender(cached_mode, cached_color);
}
