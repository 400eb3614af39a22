#include "visuals/collision.h"

#include "support/test_bitmaps.h"
#include "visuals/object.h"

#include <gtest/gtest.h>

namespace {

class collision : public ::testing::Test
{
protected:
    bitmap_ptr square = make_bitmap(10, 10, al_map_rgb(255, 255, 255));
    Object a;
    Object b;

    void SetUp() override
    {
        a.set_image(square.get(), true);
        b.set_image(square.get(), true);
    }
};

TEST_F(collision, unrotated_boxes_sharing_an_edge_collide)
{
    b.move_to(10, 0);
    EXPECT_TRUE(collides_with(a, b));
    EXPECT_TRUE(collides_with(b, a));
    b.move_to(10.5f, 0);
    EXPECT_FALSE(collides_with(a, b));
}

TEST_F(collision, center_box_is_half_the_scaled_box_about_its_centre)
{
    a.scale_x = 2;
    a.set_anchor(0.5f, 1);
    a.move_to(50, 40);
    const center_box box = center_box_of(a);
    EXPECT_FLOAT_EQ(box.center_x, 50);
    EXPECT_FLOAT_EQ(box.center_y, 35);
    EXPECT_FLOAT_EQ(box.half_width, 10);
    EXPECT_FLOAT_EQ(box.half_height, 5);
}

TEST_F(collision, rotated_square_reaches_only_as_far_as_its_corner)
{
    a.set_anchor(0.5f, 0.5f);
    a.rotation = ALLEGRO_PI / 4; // corner at x = 5 * sqrt(2), about 7.07
    b.move_to(7.1f, -5);
    EXPECT_FALSE(collides_with(a, b));
    b.move_to(7.0f, -5);
    EXPECT_TRUE(collides_with(a, b));
    // The same pair as unrotated boxes would overlap far more: the oriented test was used.
    b.move_to(4, -14); // its corner (4, -4) lies in the unrotated box but outside the diamond
    EXPECT_FALSE(collides_with(a, b));
    EXPECT_TRUE(boxes_touch(center_box_of(a), center_box_of(b)));
}

TEST_F(collision, negative_zero_rotation_counts_as_unrotated)
{
    a.rotation = -0.0f;
    b.move_to(10, 10); // corners touch
    EXPECT_TRUE(collides_with(a, b));
    EXPECT_TRUE(outlines_overlap(a, b));
}

TEST_F(collision, touching_rotated_outlines_do_not_separate)
{
    a.rotation = ALLEGRO_PI / 2; // about its top-left corner: now covers x -10..0
    b.move_to(0, 0);
    EXPECT_TRUE(collides_with(a, b));
    b.move_to(0.5f, 0);
    EXPECT_FALSE(collides_with(a, b));
}

TEST_F(collision, object_without_image_collides_where_its_point_lies_in_the_other)
{
    Object point;
    point.move_to(10, 10);
    EXPECT_TRUE(collides_with(point, a));
    point.move_to(10.5f, 5);
    EXPECT_FALSE(collides_with(point, a));
}

TEST_F(collision, object_without_image_against_a_rotated_one_uses_the_rotated_box)
{
    Object point;
    a.set_anchor(0.5f, 0.5f);
    a.rotation = ALLEGRO_PI / 4;
    point.move_to(6.5f, 0);
    EXPECT_TRUE(collides_with(point, a));
    point.move_to(4.5f, 4.5f); // inside the unrotated box, outside the diamond
    EXPECT_FALSE(collides_with(point, a));
}

} // namespace
