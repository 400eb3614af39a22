#include "math/colors.h"

#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

const ALLEGRO_COLOR white{1, 1, 1, 1};

TEST(color_arithmetic, add_and_lerp_leave_channels_unclamped_and_nan_is_never_equal)
{
    const ALLEGRO_COLOR expected_sum{1.5f, 1.75f, 1, 2};
    ALLEGRO_COLOR sum{0.5f, 0.75f, 0, 1};
    EXPECT_TRUE(colors_equal(color_add_to(sum, white), expected_sum) && colors_equal(sum, expected_sum));
    EXPECT_TRUE(colors_equal(color_lerp({0, 0, 0, 1}, white, 1.2f), ALLEGRO_COLOR{1.2f, 1.2f, 1.2f, 1}));
    EXPECT_FALSE(colors_equal(white, ALLEGRO_COLOR{1, 1, 1, 0.99f}) ||
                 colors_equal(ALLEGRO_COLOR{NAN, 0, 0, 1}, ALLEGRO_COLOR{NAN, 0, 0, 1}));
}

static std::pair<int, int> blend_factors()
{
    int op, source, destination;
    al_get_blender(&op, &source, &destination);
    return {source, destination};
}

// Each case draws `above` onto `below` the way every draw of the system does: tinted with the current tint.
// Mode 4 keeps the blender in force, its color becoming the tint; start-up puts the remembered blender in
// force, as Allegro starts premultiplied.
TEST(blending, worked_pixel_of_each_mode_keep_mode_and_start_up)
{
    ALLEGRO_STATE saved;
    al_store_state(&saved, ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
    set_blend_mode(blend_normal, white);
    const ALLEGRO_COLOR grey{0.5f, 0.5f, 0.5f, 1}, dark{0.25f, 0.25f, 0.25f, 1}, below5{0.8f, 0.6f, 0.4f, 1};
    const struct { blend_mode_id mode; ALLEGRO_COLOR tint, below, above, expected; } cases[] = {
        {blend_normal, white, {0, 0, 1, 1}, {1, 0, 0, 0.5f}, {0.5f, 0, 0.5f, 0.75f}},
        {blend_additive, white, dark, {0.5f, 0.25f, 0, 1}, {0.75f, 0.5f, 0.25f, 1}},
        {blend_additive, grey, dark, white, {0.75f, 0.75f, 0.75f, 1}},
        {blend_add_by_alpha, white, grey, {0.25f, 0, 0, 0.5f}, {0.5f, 0.25f, 0.25f, 1}},
        {blend_darken, white, below5, {1, 1, 1, 0.5f}, {0.4f, 0.3f, 0.2f, 0.5f}},
        {blend_darken, white, below5, {1, 1, 1, 0}, below5}};
    for (const auto& c : cases) {
        bitmap_ptr source = make_bitmap(2, 2, c.above);
        bitmap_ptr canvas = make_bitmap(2, 2, c.below);
        al_set_target_bitmap(canvas.get());
        set_blend_mode(c.mode, c.tint);
        al_draw_tinted_bitmap(source.get(), current_tint(), 0, 0, 0);
        EXPECT_TRUE(pixel_is(canvas.get(), 1, 1, c.expected)) << "mode " << c.mode;
    }

    const ALLEGRO_COLOR red{1, 0, 0, 1};
    set_blend_mode(blend_additive, white);
    set_blend_mode(blend_keep, red);
    EXPECT_EQ(blend_factors(), std::make_pair(int(ALLEGRO_ONE), int(ALLEGRO_ONE)));
    EXPECT_TRUE(colors_equal(current_tint(), red));
    set_blend_mode(blend_normal, white);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    use_straight_alpha_bitmaps();
    EXPECT_EQ(blend_factors(), std::make_pair(int(ALLEGRO_ALPHA), int(ALLEGRO_INVERSE_ALPHA)));
    EXPECT_TRUE(al_get_new_bitmap_flags() & ALLEGRO_NO_PREMULTIPLIED_ALPHA);
    al_restore_state(&saved);
}
