#include "math/colors.h"

#include "support/printers.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const ALLEGRO_COLOR white{1, 1, 1, 1};

TEST(color_arithmetic, add_and_lerp_leave_channels_unclamped)
{
    const ALLEGRO_COLOR black{0, 0, 0, 1};
    EXPECT_TRUE(colors_equal(color_lerp(black, white, 0.25f), ALLEGRO_COLOR{0.25f, 0.25f, 0.25f, 1}));
    const ALLEGRO_COLOR beyond = color_lerp(black, white, 1.2f);
    EXPECT_FLOAT_EQ(beyond.r, 1.2f);
    EXPECT_FLOAT_EQ(beyond.a, 1.0f);
    ALLEGRO_COLOR sum{0.5f, 0.75f, 0, 1};
    EXPECT_TRUE(colors_equal(color_add(sum, white), ALLEGRO_COLOR{1.5f, 1.75f, 1, 2}));
    EXPECT_EQ(&color_add_to(sum, white), &sum);
    EXPECT_TRUE(colors_equal(sum, ALLEGRO_COLOR{1.5f, 1.75f, 1, 2}));
}

TEST(color_arithmetic, equality_needs_every_channel_and_never_holds_for_nan)
{
    EXPECT_TRUE(colors_equal(white, al_color_name("white")));
    EXPECT_FALSE(colors_equal(white, ALLEGRO_COLOR{1, 1, 1, 0.99f}));
    const ALLEGRO_COLOR odd{NAN, 0, 0, 1};
    EXPECT_FALSE(colors_equal(odd, odd));
}

// Draws onto a small memory canvas and puts the blender and the blend-mode cache back afterwards.
class blending : public ::testing::Test
{
protected:
    ALLEGRO_STATE saved;
    ALLEGRO_BITMAP* canvas = nullptr;
    ALLEGRO_BITMAP* source = nullptr;

    void SetUp() override
    {
        al_store_state(&saved, ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
        set_blend_mode(0, white);
        canvas = al_create_bitmap(2, 2);
        source = al_create_bitmap(2, 2);
        ASSERT_NE(canvas, nullptr);
        ASSERT_NE(source, nullptr);
    }

    void TearDown() override
    {
        al_restore_state(&saved);
        set_blend_mode(0, white);
        al_destroy_bitmap(source);
        al_destroy_bitmap(canvas);
    }

    // Fills the canvas with `below`, the source with `above`, then draws the source in `mode` the way every
    // draw of the system does: tinted with the current tint. Returns the canvas pixel.
    ALLEGRO_COLOR blend(int mode, ALLEGRO_COLOR tint, ALLEGRO_COLOR below, ALLEGRO_COLOR above)
    {
        al_set_target_bitmap(source);
        al_clear_to_color(above);
        al_set_target_bitmap(canvas);
        al_clear_to_color(below);
        set_blend_mode(mode, tint);
        al_draw_tinted_bitmap(source, current_tint(), 0, 0, 0);
        return al_get_pixel(canvas, 1, 1);
    }

    static void expect_color(ALLEGRO_COLOR actual, ALLEGRO_COLOR expected)
    {
        const float tolerance = 2.0f / 255.0f;
        EXPECT_NEAR(actual.r, expected.r, tolerance) << ::testing::PrintToString(actual);
        EXPECT_NEAR(actual.g, expected.g, tolerance) << ::testing::PrintToString(actual);
        EXPECT_NEAR(actual.b, expected.b, tolerance) << ::testing::PrintToString(actual);
        EXPECT_NEAR(actual.a, expected.a, tolerance) << ::testing::PrintToString(actual);
    }

    static void expect_blender(int source_factor, int destination_factor)
    {
        int op = -1, src = -1, dst = -1;
        al_get_blender(&op, &src, &dst);
        EXPECT_EQ(op, ALLEGRO_ADD);
        EXPECT_EQ(src, source_factor);
        EXPECT_EQ(dst, destination_factor);
    }
};

TEST_F(blending, mode_0_mixes_by_source_alpha)
{
    const ALLEGRO_COLOR result = blend(0, white, ALLEGRO_COLOR{0, 0, 1, 1}, ALLEGRO_COLOR{1, 0, 0, 0.5f});
    expect_color(result, ALLEGRO_COLOR{0.5f, 0, 0.5f, 0.75f});
}

TEST_F(blending, mode_1_adds)
{
    const ALLEGRO_COLOR result =
        blend(1, white, ALLEGRO_COLOR{0.25f, 0.25f, 0.25f, 1}, ALLEGRO_COLOR{0.5f, 0.25f, 0, 1});
    expect_color(result, ALLEGRO_COLOR{0.75f, 0.5f, 0.25f, 1});
}

TEST_F(blending, mode_1_with_a_grey_tint_adds_half_brightness)
{
    const ALLEGRO_COLOR grey{0.5f, 0.5f, 0.5f, 1};
    const ALLEGRO_COLOR result = blend(1, grey, ALLEGRO_COLOR{0.25f, 0.25f, 0.25f, 1}, white);
    expect_color(result, ALLEGRO_COLOR{0.75f, 0.75f, 0.75f, 1});
}

TEST_F(blending, mode_2_adds_the_destination_weighted_by_source_alpha)
{
    const ALLEGRO_COLOR result =
        blend(2, white, ALLEGRO_COLOR{0.5f, 0.5f, 0.5f, 1}, ALLEGRO_COLOR{0.25f, 0, 0, 0.5f});
    expect_color(result, ALLEGRO_COLOR{0.5f, 0.25f, 0.25f, 1});
}

TEST_F(blending, mode_5_only_darkens)
{
    const ALLEGRO_COLOR below{0.8f, 0.6f, 0.4f, 1};
    expect_color(blend(5, white, below, ALLEGRO_COLOR{1, 1, 1, 0.5f}), ALLEGRO_COLOR{0.4f, 0.3f, 0.2f, 0.5f});
    expect_color(blend(5, white, below, ALLEGRO_COLOR{1, 1, 1, 0}), below);
}

TEST_F(blending, mode_4_leaves_the_additive_blender_in_force)
{
    set_blend_mode(1, white);
    set_blend_mode(4, white);
    expect_blender(ALLEGRO_ONE, ALLEGRO_ONE);
}

TEST_F(blending, repeated_mode_and_colour_make_no_library_call)
{
    const ALLEGRO_COLOR glow{1, 0.5f, 0.25f, 0.75f};
    set_blend_mode(1, glow);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    set_blend_mode(1, glow);
    expect_blender(ALLEGRO_ONE, ALLEGRO_ZERO);

    const ALLEGRO_COLOR fainter{1, 0.5f, 0.25f, 0.5f};
    set_blend_mode(1, fainter);
    expect_blender(ALLEGRO_ONE, ALLEGRO_ONE);
    EXPECT_TRUE(colors_equal(al_get_blend_color(), fainter));
    EXPECT_TRUE(colors_equal(current_tint(), fainter));
}

TEST_F(blending, mode_0_with_white_is_taken_as_already_in_force)
{
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    set_blend_mode(0, white);
    expect_blender(ALLEGRO_ONE, ALLEGRO_ZERO);
}

TEST_F(blending, repeated_mode_4_is_skipped_and_remembers_its_colour)
{
    const ALLEGRO_COLOR red{1, 0, 0, 1};
    set_blend_mode(4, red);
    EXPECT_TRUE(colors_equal(current_tint(), red));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    set_blend_mode(4, red);
    expect_blender(ALLEGRO_ONE, ALLEGRO_ZERO);
}

TEST_F(blending, start_up_puts_the_remembered_blender_in_force)
{
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    use_straight_alpha_bitmaps();
    expect_blender(ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    EXPECT_TRUE(al_get_new_bitmap_flags() & ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

} // namespace
