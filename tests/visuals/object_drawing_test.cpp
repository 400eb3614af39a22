#include "visuals/object.h"

#include "framework/app.h"
#include "math/colors.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_color.h>
#include <gtest/gtest.h>

namespace {

const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
const ALLEGRO_COLOR white = al_map_rgb(255, 255, 255);
const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
const ALLEGRO_COLOR green = al_map_rgb(0, 255, 0);
const ALLEGRO_COLOR blue = al_map_rgb(0, 0, 255);

// Draws objects onto an opaque black 200 x 200 target, starting from the blender the frame loop leaves.
class object_drawing : public ::testing::Test
{
protected:
    bitmap_ptr target = make_bitmap(200, 200, black);
    Object object;

    void SetUp() override
    {
        al_set_target_bitmap(target.get());
        set_blend_mode(0, al_color_name("white"));
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    }
    void TearDown() override
    {
        debug_overlay = false;
        al_set_target_bitmap(nullptr);
    }

    // Sets the pixels of a rectangle of the bitmap.
    static void paint(ALLEGRO_BITMAP* bitmap, int left, int top, int w, int h, ALLEGRO_COLOR colour)
    {
        al_set_target_bitmap(bitmap);
        for (int py = top; py < top + h; ++py)
            for (int px = left; px < left + w; ++px)
                al_put_pixel(px, py, colour);
    }

    // An image whose left `split` columns are one colour and the rest another.
    static bitmap_ptr two_colour_image(int w, int h, int split, ALLEGRO_COLOR left, ALLEGRO_COLOR right)
    {
        bitmap_ptr image = make_bitmap(w, h, right);
        paint(image.get(), 0, 0, split, h, left);
        return image;
    }

    void draw()
    {
        al_set_target_bitmap(target.get());
        object.draw();
    }

    bool target_untouched()
    {
        for (int py = 0; py < 200; ++py)
            for (int px = 0; px < 200; ++px)
                if (!pixel_is(target.get(), px, py, black))
                    return false;
        return true;
    }
};

TEST_F(object_drawing, left_crop_keeps_the_visible_part_where_the_whole_image_was)
{
    bitmap_ptr image = two_colour_image(100, 10, 25, red, green);
    object.set_image(image.get(), true);
    object.move_to(50, 20);
    object.crop_left = 0.25f;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 60, 25, black));  // the red quarter is cut away
    EXPECT_TRUE(pixel_is(target.get(), 74, 25, black));
    EXPECT_TRUE(pixel_is(target.get(), 75, 25, green)); // the rest did not move
    EXPECT_TRUE(pixel_is(target.get(), 149, 25, green));
    EXPECT_TRUE(pixel_is(target.get(), 150, 25, black));
}

TEST_F(object_drawing, top_crop_with_a_scale_and_centre_anchor_stays_in_place)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.set_image(image.get(), true);
    object.set_anchor(0.5f, 0.5f);
    object.scale_x = object.scale_y = 4;
    object.move_to(100, 100);
    object.crop_top = 0.5f;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 100, 98, black)); // top half cut
    EXPECT_TRUE(pixel_is(target.get(), 100, 101, white));
    EXPECT_TRUE(pixel_is(target.get(), 100, 119, white));
    EXPECT_TRUE(pixel_is(target.get(), 100, 121, black));
}

TEST_F(object_drawing, fully_cropped_image_draws_nothing)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.set_image(image.get(), true);
    object.crop_top = 1;
    draw();
    EXPECT_TRUE(target_untouched());
}

TEST_F(object_drawing, cropped_copy_keeps_partial_alpha_exactly)
{
    bitmap_ptr image = make_bitmap(20, 10, al_map_rgba_f(1, 1, 1, 0.5f));
    object.set_image(image.get(), true);
    object.move_to(10, 10);
    draw();
    const ALLEGRO_COLOR uncropped = al_get_pixel(target.get(), 25, 15);
    EXPECT_TRUE(pixel_is(target.get(), 25, 15, al_map_rgba_f(0.5f, 0.5f, 0.5f, uncropped.a)));

    object.move_to(10, 50);
    object.crop_left = 0.5f;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 25, 55, uncropped));
}

TEST_F(object_drawing, work_bitmap_is_rendered_again_only_when_the_crop_changes)
{
    bitmap_ptr image = make_bitmap(20, 20, white);
    object.set_image(image.get(), true);
    object.crop_left = 0.5f;
    draw();
    EXPECT_FALSE(object.crop_changed());

    // Paint over the copy: a redraw with the same crop must show the paint, a new crop the image again.
    al_set_target_bitmap(object.work_bitmap);
    al_clear_to_color(blue);
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 15, 5, blue));
    object.crop_left = 0.25f;
    EXPECT_TRUE(object.crop_changed());
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 15, 5, white));
}

TEST_F(object_drawing, a_new_image_under_the_same_crop_is_rendered_again)
{
    bitmap_ptr first = make_bitmap(20, 20, white);
    bitmap_ptr second = make_bitmap(20, 20, blue);
    object.set_image(first.get(), true);
    object.crop_left = 0.5f;
    draw();
    object.set_image(second.get(), false);
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 15, 5, blue));
}

TEST_F(object_drawing, crop_without_work_bitmap_draws_the_placeholder_at_the_position)
{
    bitmap_ptr placeholder = make_bitmap(4, 4, green);
    bitmap_ptr image = make_bitmap(20, 20, white);
    ALLEGRO_BITMAP* saved = missing_image;
    missing_image = placeholder.get();
    object.set_image(image.get(), false);
    object.move_to(30, 40);
    object.crop_left = 0.5f;
    draw();
    missing_image = saved;
    EXPECT_TRUE(pixel_is(target.get(), 30, 40, green));
    EXPECT_TRUE(pixel_is(target.get(), 33, 43, green));
    EXPECT_TRUE(pixel_is(target.get(), 34, 40, black));
}

TEST_F(object_drawing, centre_anchor_rotation_turns_about_the_centre)
{
    bitmap_ptr image = make_bitmap(20, 10, white);
    object.set_image(image.get(), true);
    object.set_anchor(0.5f, 0.5f);
    object.move_to(100, 100);
    object.rotation = ALLEGRO_PI / 2;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 100, 91, white));
    EXPECT_TRUE(pixel_is(target.get(), 100, 108, white));
    EXPECT_TRUE(pixel_is(target.get(), 108, 100, black));
    EXPECT_TRUE(pixel_is(target.get(), 91, 100, black));
}

TEST_F(object_drawing, corner_anchor_rotation_turns_clockwise_about_the_corner)
{
    bitmap_ptr image = make_bitmap(20, 10, white);
    object.set_image(image.get(), true);
    object.move_to(100, 100);
    object.rotation = ALLEGRO_PI / 2;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 95, 115, white));
    EXPECT_TRUE(pixel_is(target.get(), 105, 105, black));
    EXPECT_TRUE(pixel_is(target.get(), 95, 95, black));
}

TEST_F(object_drawing, flips_mirror_the_image)
{
    bitmap_ptr image = two_colour_image(10, 10, 5, red, green);
    object.set_image(image.get(), true);
    object.flip_horizontal = true;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 1, 1, green));
    EXPECT_TRUE(pixel_is(target.get(), 8, 1, red));

    // A vertically flipped image whose top half is red shows red at the bottom.
    bitmap_ptr stripes = make_bitmap(10, 10, green);
    paint(stripes.get(), 0, 0, 10, 5, red);
    object.set_image(stripes.get(), true);
    object.flip_horizontal = false;
    object.flip_vertical = true;
    object.move_to(50, 50);
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 51, 51, green));
    EXPECT_TRUE(pixel_is(target.get(), 51, 58, red));
}

TEST_F(object_drawing, additive_object_fades_by_darkening)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.set_image(image.get(), true);
    object.blend_mode = 1;
    object.opacity = 0.5f;
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 5, 5, al_map_rgba_f(0.5f, 0.5f, 0.5f, 1)));
    EXPECT_TRUE(colors_equal(current_tint(), al_color_name("white"))); // normal blending restored

    object.opacity = 1;
    object.tint = al_map_rgba_f(1, 0.5f, 0.25f, 1);
    object.move_to(50, 50);
    draw();
    EXPECT_TRUE(pixel_is(target.get(), 55, 55, al_map_rgba_f(1, 0.5f, 0.25f, 1)));
}

TEST_F(object_drawing, opacity_is_the_alpha_of_a_normal_draw)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.set_image(image.get(), true);
    object.opacity = 0.25f;
    draw();
    EXPECT_FLOAT_EQ(object.tint.a, 0.25f);
    const ALLEGRO_COLOR seen = al_get_pixel(target.get(), 5, 5);
    EXPECT_NEAR(seen.r, 0.25f, 2.0f / 255);
}

TEST_F(object_drawing, invisible_objects_draw_nothing_not_even_an_outline)
{
    bitmap_ptr image = make_bitmap(10, 10, white);
    object.set_image(image.get(), true);
    object.move_to(20, 20);
    debug_overlay = true;
    object.opacity = 0;
    draw();
    EXPECT_TRUE(target_untouched());
    object.opacity = 1;
    object.scale_y = 0;
    draw();
    EXPECT_TRUE(target_untouched());
}

TEST_F(object_drawing, debug_outline_shows_box_cross_and_edge_ticks)
{
    bitmap_ptr image = make_bitmap(100, 50, black);
    object.set_image(image.get(), true);
    object.move_to(40, 60);
    debug_overlay = true;
    draw();
    const ALLEGRO_COLOR tick = al_map_rgb(241, 189, 50);
    auto near_has = [&](int px, int py, ALLEGRO_COLOR c) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (pixel_is(target.get(), px + dx, py + dy, c))
                    return true;
        return false;
    };
    EXPECT_TRUE(near_has(90, 110, red));  // bottom edge
    EXPECT_TRUE(near_has(140, 80, red));  // right edge
    EXPECT_TRUE(near_has(40, 57, red));   // cross arm above the anchor
    EXPECT_TRUE(near_has(90, 50, tick));  // tick above the top edge's middle
    EXPECT_TRUE(near_has(150, 85, tick)); // tick right of the right edge's middle
    EXPECT_TRUE(near_has(65, 72, red) || near_has(65, 73, red)); // P0-P2 diagonal
    EXPECT_TRUE(near_has(115, 72, al_map_rgb(255, 255, 0)) || near_has(115, 73, al_map_rgb(255, 255, 0)));
}

TEST(object_outline, corners_turn_clockwise_about_the_anchor_point)
{
    bitmap_ptr image = make_bitmap(10, 4, white);
    Object object;
    object.set_image(image.get(), true);
    object.move_to(100, 100);
    object.rotation = ALLEGRO_PI / 2;
    const std::vector<vec2d> outline = object.get_outline();
    ASSERT_EQ(outline.size(), 4u);
    EXPECT_NEAR(outline[0].x, 100, 1e-4);
    EXPECT_NEAR(outline[0].y, 100, 1e-4);
    EXPECT_NEAR(outline[1].x, 100, 1e-4); // right end of the top edge now points down
    EXPECT_NEAR(outline[1].y, 110, 1e-4);
    EXPECT_NEAR(outline[2].x, 96, 1e-4);
    EXPECT_NEAR(outline[2].y, 110, 1e-4);
}

} // namespace
