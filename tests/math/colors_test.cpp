#include "math/colors.h"

#include <gtest/gtest.h>

#include <cmath>

const ALLEGRO_COLOR white{1, 1, 1, 1};

TEST(color_arithmetic, lerp_leaves_channels_unclamped_and_nan_is_never_equal)
{
    EXPECT_TRUE(colors_equal(color_lerp({0, 0, 0, 1}, white, 1.2f), ALLEGRO_COLOR{1.2f, 1.2f, 1.2f, 1}));
    EXPECT_FALSE(colors_equal(white, ALLEGRO_COLOR{1, 1, 1, 0.99f}) ||
                 colors_equal(ALLEGRO_COLOR{NAN, 0, 0, 1}, ALLEGRO_COLOR{NAN, 0, 0, 1}));
}

// Allegro starts with a premultiplied blender while the tint cache claims ordinary alpha blending: start-up
// puts the remembered blender in force and makes bitmaps straight alpha. What each mode the program uses
// draws is checked on objects.
TEST(blending, start_up_puts_the_remembered_blender_in_force)
{
    ALLEGRO_STATE saved;
    al_store_state(&saved, ALLEGRO_STATE_BLENDER);
    set_blend_mode(blend_normal, white);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    use_straight_alpha_bitmaps();
    int op, source, destination;
    al_get_blender(&op, &source, &destination);
    EXPECT_TRUE(source == ALLEGRO_ALPHA && destination == ALLEGRO_INVERSE_ALPHA);
    EXPECT_TRUE(al_get_new_bitmap_flags() & ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    al_restore_state(&saved);
}
