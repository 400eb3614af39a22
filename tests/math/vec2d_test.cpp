#include "math/vec2d.h"

#include "support/printers.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

void expect_near(const vec2d& actual, const vec2d& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << ::testing::PrintToString(actual);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << ::testing::PrintToString(actual);
}

TEST(vec2d_operations, length_and_normalisation)
{
    const vec2d v(3.0f, 4.0f);
    EXPECT_EQ(v.length_squared(), 25.0f);
    EXPECT_EQ(v.length(), 5.0f);
    expect_near(v.normalized(), vec2d(0.6f, 0.8f));
    expect_near(difference(5.0f, 1.0f, 2.0f, 3.0f), vec2d(3.0f, -2.0f));
    EXPECT_EQ(dot(1.0f, 2.0f, 3.0f, 4.0f), 11.0f);
}

TEST(vec2d_operations, rotation_turns_counter_clockwise_on_screen)
{
    vec2d p(10.0f, 0.0f);
    rotate_around(p, vec2d(0.0f, 0.0f), 90.0f);
    expect_near(p, vec2d(0.0f, -10.0f));
    vec2d q(12.0f, 5.0f);
    rotate_around(q, vec2d(2.0f, 5.0f), 180.0f);
    expect_near(q, vec2d(-8.0f, 5.0f));
}

TEST(vec2d_operations, projection_and_edge_normals)
{
    expect_near(project_onto(vec2d(3.0f, 4.0f), vec2d(2.0f, 0.0f)), vec2d(3.0f, 0.0f));
    expect_near(segment_normal({vec2d(0, 0), vec2d(10, 0)}, 0), vec2d(0.0f, -1.0f));
    expect_near(segment_normal({vec2d(5, 5), vec2d(0, 0), vec2d(0, 10)}, 1), vec2d(1.0f, 0.0f));
    vec2d t(1.0f, 1.0f);
    translate(t, 2.0f, -3.0f);
    expect_near(t, vec2d(3.0f, -2.0f));
}

TEST(hit_tests, rectangles_count_edges_but_touching_boxes_do_not_overlap)
{
    EXPECT_TRUE(point_in_rect(10, 10, 10, 10, 20, 20));
    EXPECT_TRUE(point_in_rect(20, 20, 10, 10, 20, 20));
    EXPECT_FALSE(point_in_rect(20.01f, 15, 10, 10, 20, 20));
    EXPECT_FALSE(boxes_overlap(0, 0, 10, 10, 10, 0, 20, 10));
    EXPECT_FALSE(boxes_overlap(0, 0, 10, 10, 0, 10, 10, 20));
    EXPECT_TRUE(boxes_overlap(0, 0, 10, 10, 9.5f, 9.5f, 20, 20));
}

TEST(hit_tests, circles_include_their_rim)
{
    EXPECT_EQ(distance(0, 0, 3, 4), 5.0f);
    EXPECT_TRUE(point_in_circle(0, 0, 3, 4, 5));
    EXPECT_FALSE(point_in_circle(0, 0, 3, 4, 4.99f));
    EXPECT_TRUE(circles_overlap(0, 0, 2, 3, 4, 3));
    EXPECT_FALSE(circles_overlap(0, 0, 2, 3, 4, 2.9f));
}

TEST(hit_tests, circle_against_segment_is_strict)
{
    EXPECT_FALSE(circle_hits_segment(5, 3, 3, 0, 0, 10, 0));
    EXPECT_TRUE(circle_hits_segment(5, 3, 3.5f, 0, 0, 10, 0));
    EXPECT_TRUE(circle_hits_segment(-2, 0, 2.5f, 0, 0, 10, 0)) << "beyond the first end";
    EXPECT_FALSE(circle_hits_segment(13, 0, 2.5f, 0, 0, 10, 0)) << "beyond the second end";
    EXPECT_FALSE(circle_hits_segment(0, 0, 100, 1, 1, 1, 1)) << "a point is never hit";
}

TEST(hit_tests, turning_direction)
{
    EXPECT_TRUE(is_ccw(0, 0, 10, 0, 10, 10));
    EXPECT_FALSE(is_ccw(0, 0, 10, 0, 10, -10));
    EXPECT_FALSE(is_ccw(0, 0, 5, 5, 10, 10));
}

TEST(debug_cross, draws_a_plus_of_two_ten_pixel_lines)
{
    ALLEGRO_BITMAP* canvas = al_create_bitmap(32, 32);
    ASSERT_NE(canvas, nullptr);
    ALLEGRO_STATE saved;
    al_store_state(&saved, ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
    al_set_target_bitmap(canvas);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    al_clear_to_color(al_map_rgba(0, 0, 0, 255));
    draw_cross(vec2d(16.5f, 16.5f), al_map_rgb(255, 0, 0));
    const auto red = [&](int x, int y) { return al_get_pixel(canvas, x, y).r > 0.5f; };
    EXPECT_TRUE(red(16, 12));
    EXPECT_TRUE(red(16, 20));
    EXPECT_TRUE(red(12, 16));
    EXPECT_TRUE(red(20, 16));
    EXPECT_FALSE(red(16, 23));
    EXPECT_FALSE(red(23, 16));
    EXPECT_FALSE(red(12, 12));
    al_restore_state(&saved);
    al_destroy_bitmap(canvas);
}

} // namespace
