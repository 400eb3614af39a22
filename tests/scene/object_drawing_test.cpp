#include "scene/object.h"

#include "math/colors.h"
#include "scene/debug_overlay.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_color.h>
#include <gtest/gtest.h>

#include <tuple>

const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0), white = al_map_rgb(255, 255, 255);
const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0), green = al_map_rgb(0, 255, 0);

// Draws the object onto an opaque black 200 x 200 target, starting from the blender the frame loop leaves.
class object_drawing : public ::testing::Test
{
protected:
    bitmap_ptr target = make_bitmap(200, 200, black);
    Object object;

    void TearDown() override { debug_overlay = false; }

    // A new image is given to the object as the program would; the one it holds is kept as it is.
    void draw(ALLEGRO_BITMAP* image, float x, float y, bool take_size = true)
    {
        if (object.image != image)
            object.set_image(image, take_size);
        object.move_to(x, y);
        al_set_target_bitmap(target.get());
        set_blend_mode(blend_normal, al_color_name("white"));
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
        object.draw();
    }

    void expect(std::initializer_list<std::tuple<int, int, ALLEGRO_COLOR>> pixels)
    {
        for (const auto& [x, y, color] : pixels)
            EXPECT_TRUE(pixel_is(target.get(), x, y, color));
    }
};

TEST_F(object_drawing, crops_keep_the_visible_part_in_place_and_its_alpha_exact)
{
    // Half-transparent and doubled about its centre, the image covers x 50..149, y 20..39 at (100, 30).
    bitmap_ptr image = make_bitmap(50, 10, al_map_rgba_f(1, 1, 1, 0.5f));
    object.set_anchor(0.5f, 0.5f);
    object.scale_x = object.scale_y = 2;
    draw(image.get(), 100, 130);
    const ALLEGRO_COLOR whole = al_get_pixel(target.get(), 100, 130);
    EXPECT_NEAR(whole.r, 0.5f, 2.0f / 255);
    // Cut to its bottom-right quarter, which stays at x 100..149, y 30..39.
    object.crop_left = object.crop_top = 0.5f;
    draw(image.get(), 100, 30);
    expect({{99, 35, black}, {100, 35, whole}, {149, 39, whole}, {150, 35, black}, {120, 29, black}, {120, 30, whole}});
}

TEST_F(object_drawing, work_bitmap_is_made_at_the_first_visible_crop_redrawn_only_on_change_and_freed_uncropped)
{
    bitmap_ptr image = make_bitmap(30, 20, white), other = make_bitmap(30, 20, green);
    object.crop_left = 0.5f;
    draw(image.get(), 0, 0);
    ASSERT_NE(object.work_bitmap, nullptr);
    // Paint over the copy: the same crop shows the paint, a new crop or image the image again.
    al_set_target_bitmap(object.work_bitmap);
    al_clear_to_color(red);
    draw(image.get(), 0, 0);
    expect({{20, 5, red}});
    object.crop_left = 0.25f;
    draw(image.get(), 0, 0);
    expect({{20, 5, white}});
    draw(other.get(), 0, 0, false);
    expect({{20, 5, green}});
    object.crop_left = 0;
    draw(other.get(), 0, 0, false);
    EXPECT_EQ(object.work_bitmap, nullptr);
    expect({{5, 5, green}});
}

TEST_F(object_drawing, rotation_turns_clockwise_about_the_anchor_and_each_flip_mirrors_its_own_axis)
{
    // A green image whose red top-left quarter shows where each turn or flip takes it.
    bitmap_ptr quarter = make_bitmap(5, 5, red), image = make_bitmap(10, 10, green, true);
    al_draw_bitmap(quarter.get(), 0, 0, 0);
    object.rotation = ALLEGRO_PI / 2;
    draw(image.get(), 50, 50); // about the top-left corner: the quarter goes to x 45..49, y 50..54
    object.set_anchor(0.5f, 0.5f);
    draw(image.get(), 150, 150); // about the centre: x 150..154, y 145..149
    expect({{47, 52, red}, {47, 57, green}, {52, 47, black}, {152, 147, red}, {147, 147, green}});
    object.rotation = 0;
    object.set_anchor(0, 0);
    object.flip_horizontal = true;
    draw(image.get(), 0, 100); // top right
    object.flip_vertical = true;
    draw(image.get(), 20, 100); // bottom right
    object.flip_horizontal = false;
    draw(image.get(), 40, 100); // bottom left
    expect({{8, 101, red}, {1, 101, green}, {28, 108, red}, {21, 101, green}, {41, 108, red}, {41, 101, green}});
}

TEST_F(object_drawing, opacity_is_alpha_for_normal_draws_darkens_additive_ones_and_at_zero_draws_nothing)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.opacity = 0.25f;
    draw(image.get(), 0, 0);
    EXPECT_NEAR(al_get_pixel(target.get(), 5, 5).r, 0.25f, 2.0f / 255);
    object.blend_mode = blend_additive;
    object.opacity = 0.5f;
    draw(image.get(), 50, 50);
    EXPECT_TRUE(colors_equal(current_tint(), al_color_name("white"))); // normal blending restored
    object.opacity = 1;
    object.tint = al_map_rgba_f(1, 0.5f, 0.25f, 1);
    draw(image.get(), 100, 100);
    expect({{55, 55, al_map_rgba_f(0.5f, 0.5f, 0.5f, 1)}, {105, 105, al_map_rgba_f(1, 0.5f, 0.25f, 1)}});

    // Invisible objects show not even their outline.
    debug_overlay = true;
    object.opacity = 0;
    draw(image.get(), 150, 150);
    object.opacity = 1;
    object.scale_y = 0;
    draw(image.get(), 150, 150);
    for (int py = 140; py < 170; ++py)
        for (int px = 140; px < 170; ++px)
            ASSERT_TRUE(pixel_is(target.get(), px, py, black));
}
