#include "visuals/object.h"

#include "math/colors.h"
#include "support/fake_clock.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Position of an object in the bin, or -1.
long bin_index(const Object& object)
{
    const auto found = std::find(objects_bin.begin(), objects_bin.end(), &object);
    return found == objects_bin.end() ? -1 : found - objects_bin.begin();
}

class object_geometry : public ::testing::Test
{
protected:
    bitmap_ptr image = make_bitmap(100, 50, al_map_rgb(255, 255, 255));
    Object object;

    void SetUp() override
    {
        object.set_image(image.get(), true);
        object.scale_x = 2;
        object.anchor_x = 0.5f;
        object.anchor_y = 1;
        object.move_to(300, 200);
    }
};

TEST_F(object_geometry, box_follows_size_scale_and_anchor)
{
    EXPECT_EQ(object.width, 100);
    EXPECT_EQ(object.height, 50);
    EXPECT_FLOAT_EQ(object.get_left(), 200);
    EXPECT_FLOAT_EQ(object.get_right(), 400);
    EXPECT_FLOAT_EQ(object.get_top(), 150);
    EXPECT_FLOAT_EQ(object.get_bottom(), 200);
    EXPECT_FLOAT_EQ(object.get_center_x(), 300);
    EXPECT_FLOAT_EQ(object.get_center_y(), 175);
}

TEST_F(object_geometry, contains_point_includes_every_edge_and_nothing_beyond)
{
    EXPECT_TRUE(object.contains_point(200, 150));
    EXPECT_TRUE(object.contains_point(400, 200));
    EXPECT_FALSE(object.contains_point(401, 200));
    EXPECT_FALSE(object.contains_point(400, 201));
    EXPECT_FALSE(object.contains_point(199, 175));
}

TEST_F(object_geometry, camera_shifts_hit_tests_unless_screen_fixed)
{
    camera_position = vec2d(100, 0);
    EXPECT_TRUE(object.contains_point(101, 175)); // world x 201
    EXPECT_FALSE(object.contains_point(350, 175)); // world x 450
    object.screen_fixed = true;
    EXPECT_TRUE(object.contains_point(350, 175));
    camera_position = vec2d(0, 0);
}

TEST_F(object_geometry, setters_place_the_named_edge)
{
    EXPECT_FLOAT_EQ(object.set_right(500), 400);
    EXPECT_FLOAT_EQ(object.get_right(), 500);
    object.set_left(10);
    EXPECT_FLOAT_EQ(object.get_left(), 10);
    object.set_bottom(60);
    EXPECT_FLOAT_EQ(object.get_bottom(), 60);
    object.set_top(5);
    EXPECT_FLOAT_EQ(object.get_top(), 5);
}

TEST_F(object_geometry, object_without_image_is_a_zero_box_at_its_position)
{
    object.set_image(static_cast<ALLEGRO_BITMAP*>(nullptr), true);
    EXPECT_EQ(object.get_scaled_width(), 0);
    EXPECT_FLOAT_EQ(object.get_left(), 300);
    EXPECT_TRUE(object.contains_point(300, 200));
    EXPECT_FALSE(object.contains_point(301, 200));
}

TEST(object_image, missing_file_leaves_image_null_and_object_usable)
{
    Object object;
    EXPECT_FALSE(object.set_image("data/no/such/image.png", true));
    EXPECT_EQ(object.image, nullptr);
    EXPECT_NE(bin_index(object), -1);
}

TEST(object_image, taking_the_size_makes_a_work_bitmap_of_the_image_size_at_the_first_cropped_draw)
{
    bitmap_ptr image = make_bitmap(30, 20, al_map_rgb(0, 0, 0));
    bitmap_ptr target = make_bitmap(40, 40, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(target.get());
    Object object;
    object.set_image(image.get(), false);
    EXPECT_EQ(object.work_width, 0);
    object.set_image(image.get(), true);
    object.draw();
    EXPECT_EQ(object.work_bitmap, nullptr); // uncropped: drawn straight from the image
    object.crop_top = 0.5f;
    object.draw();
    ASSERT_NE(object.work_bitmap, nullptr);
    EXPECT_EQ(al_get_bitmap_width(object.work_bitmap), 30);
    EXPECT_EQ(al_get_bitmap_height(object.work_bitmap), 20);
}

TEST(object_image, a_crop_that_leaves_nothing_makes_no_work_bitmap)
{
    bitmap_ptr image = make_bitmap(30, 20, al_map_rgb(255, 255, 255));
    bitmap_ptr target = make_bitmap(40, 40, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(target.get());
    Object object;
    object.set_image(image.get(), true);
    object.crop_top = 1.0f;
    object.draw();
    EXPECT_EQ(object.work_bitmap, nullptr);
    EXPECT_TRUE(pixel_is(target.get(), 5, 5, al_map_rgb(0, 0, 0)));
    al_set_target_bitmap(nullptr);
}

TEST(object_image, released_work_bitmaps_leave_null_behind)
{
    bitmap_ptr image = make_bitmap(8, 8, al_map_rgb(0, 0, 0));
    bitmap_ptr target = make_bitmap(8, 8, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(target.get());
    Object object;
    object.set_image(image.get(), true);
    object.crop_left = 0.5f;
    object.draw();
    ASSERT_NE(object.work_bitmap, nullptr);
    release_object_bitmaps();
    EXPECT_EQ(object.work_bitmap, nullptr);
}

TEST(object_defaults, new_object_is_plain_and_registered)
{
    const std::size_t before = objects_bin.size();
    Object object;
    EXPECT_EQ(objects_bin.size(), before + 1);
    EXPECT_EQ(object.scale_x, 1);
    EXPECT_EQ(object.scale_y, 1);
    EXPECT_EQ(object.opacity, 1);
    EXPECT_EQ(object.z, 0);
    EXPECT_EQ(object.anchor_x, 0);
    EXPECT_EQ(object.anchor_y, 0);
    EXPECT_TRUE(colors_equal(object.tint, al_map_rgba_f(1, 1, 1, 1)));
}

class object_animation : public ::testing::Test
{
protected:
    fake_clock_class clock;
    Object object;
};

TEST_F(object_animation, fade_out_restarts_from_opaque_while_fade_in_starts_where_it_is)
{
    object.opacity = 0.3f;
    object.fade_out(1.0, curve_linear);
    object.update_animations();
    EXPECT_EQ(object.opacity, 1.0f);
    clock.advance(0.5);
    object.update_animations();
    EXPECT_FLOAT_EQ(object.opacity, 0.5f);

    object.clear_animations();
    object.opacity = 0.3f;
    object.fade_in(1.0, curve_linear);
    object.update_animations();
    EXPECT_FLOAT_EQ(object.opacity, 0.3f);
}

TEST_F(object_animation, pop_in_of_a_full_object_starts_nothing)
{
    object.pop_in(1.0, curve_linear);
    EXPECT_EQ(object.animation_count(), 0);
    object.scale_x = 0.5f;
    object.pop_in(1.0, curve_linear);
    EXPECT_EQ(object.animation_count(), 2); // scales only: opacity is already 1
}

TEST_F(object_animation, pop_out_fades_and_shrinks_to_nothing)
{
    object.pop_out(1.0, curve_linear);
    EXPECT_EQ(object.animation_count(), 3);
    clock.advance(1.0);
    object.update_animations();
    EXPECT_EQ(object.opacity, 0);
    EXPECT_EQ(object.scale_x, 0);
    EXPECT_EQ(object.scale_y, 0);
    EXPECT_EQ(object.animation_count(), 0);
    object.pop_out(1.0, curve_linear);
    EXPECT_EQ(object.animation_count(), 0);
}

TEST_F(object_animation, paused_tweens_hold_their_fields)
{
    object.x_anim.animate(0, 10, 0, 2, curve_linear);
    object.tint_anim.animate_to(al_map_rgba_f(0, 0, 0, 1), 2, curve_linear);
    object.pause_animations();
    clock.advance(5);
    object.update_animations();
    EXPECT_EQ(object.x, 0);
    object.resume_animations();
    clock.advance(1);
    object.update_animations();
    EXPECT_FLOAT_EQ(object.x, 5);
    EXPECT_FLOAT_EQ(object.tint.r, 0.5f);
}

TEST(objects_bin_order, objects_of_equal_depth_keep_registration_order)
{
    Object a, b, c;
    EXPECT_LT(bin_index(a), bin_index(b));
    EXPECT_LT(bin_index(b), bin_index(c));
}

TEST(objects_bin_order, registration_sorts_in_by_depth_after_equal_depths_even_in_an_unsorted_bin)
{
    Object a, b;
    b.z = 5;
    sort_objects_by_depth();
    Object c; // depth 0: between a and b
    EXPECT_LT(bin_index(a), bin_index(c));
    EXPECT_LT(bin_index(c), bin_index(b));
    a.z = 10; // unsorted until the next sort
    Object d;
    EXPECT_LT(bin_index(d), bin_index(b));
    EXPECT_LT(bin_index(b), bin_index(a));
    EXPECT_TRUE(std::is_sorted(objects_bin.begin(), objects_bin.end(),
                               [](const Object* p, const Object* q) { return p->z < q->z; }));
}

TEST(objects_bin_order, destroying_an_object_removes_exactly_its_own_entry)
{
    Object a;
    auto b = std::make_unique<Object>();
    Object c;
    const std::size_t before = objects_bin.size();
    b.reset();
    EXPECT_EQ(objects_bin.size(), before - 1);
    EXPECT_NE(bin_index(a), -1);
    EXPECT_EQ(bin_index(c), bin_index(a) + 1);
    EXPECT_FALSE(unregister_object(nullptr));
}

TEST(objects_bin_order, a_tween_of_depth_reorders_the_bin_in_the_same_update)
{
    fake_clock_class clock;
    Object a, b;
    b.z_anim.animate(0, -5, 0, 1, curve_linear);
    clock.advance(1);
    update_objects();
    EXPECT_EQ(b.z, -5);
    EXPECT_LT(bin_index(b), bin_index(a));
}

TEST(objects_bin_order, bring_to_front_lifts_above_the_last_entry_again_and_again)
{
    Object a, b;
    b.z = 1000;
    sort_objects_by_depth();
    bring_to_front(&a);
    EXPECT_FLOAT_EQ(a.z, 1000.1f);
    EXPECT_EQ(objects_bin.back(), &a);
    bring_to_front(&a);
    EXPECT_FLOAT_EQ(a.z, 1000.2f);
}

} // namespace
