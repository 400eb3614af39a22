// Objects' boxes, depth order, collisions and ink.
#include "math/colors.h"
#include "scene/collision.h"
#include "scene/object.h"
#include "support/fake_clock.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0), white = al_map_rgb(255, 255, 255);

// Position of an object in the bin, or -1.
static long bin_index(const Object& object)
{
    const auto found = std::find(objects_bin.begin(), objects_bin.end(), &object);
    return found == objects_bin.end() ? -1 : found - objects_bin.begin();
}

TEST(object_geometry, box_follows_size_scale_and_anchor_with_its_edges_inside)
{
    bitmap_ptr image = make_bitmap(100, 50, white);
    Object object;
    object.set_image(image.get(), true);
    object.scale_x = 2;
    object.set_anchor(0.5f, 1);
    object.move_to(300, 200); // the box is x 200..400, y 150..200
    EXPECT_TRUE(object.contains_point(200, 150) && object.contains_point(400, 200) && !object.contains_point(401, 200));
    // Without an image the box shrinks to the position.
    EXPECT_FALSE(object.set_image("data/no/such/image.png", true));
    EXPECT_TRUE(object.contains_point(300, 200) && !object.contains_point(301, 200));
}

TEST(objects_bin_order, registration_sorts_in_after_equal_depths_and_tweens_reorder)
{
    fake_clock_class clock;
    Object a;
    auto doomed = std::make_unique<Object>();
    Object b;
    doomed.reset(); // takes exactly its own entry out
    EXPECT_EQ(bin_index(b), bin_index(a) + 1);
    b.z = 5;
    sort_objects_by_depth();
    Object c; // depth 0: after a, before b
    EXPECT_EQ(bin_index(c), bin_index(a) + 1);
    EXPECT_EQ(bin_index(b), bin_index(c) + 1);
    a.z = 1000; // unsorted until the next sort
    Object d;
    EXPECT_LT(bin_index(d), bin_index(b));
    EXPECT_LT(bin_index(b), bin_index(a));

    b.z_anim.animate(5, -5, 0, 1, curve_linear);
    clock.advance(1);
    update_objects();
    EXPECT_LT(bin_index(b), bin_index(c));
    // Equal depths keep their order through every sort: overlapping objects never swap from frame to frame.
    std::vector<Object> row(40);
    row[29].z = 3;
    sort_objects_by_depth();
    for (std::size_t i = 1; i < 29; ++i)
        EXPECT_LT(bin_index(row[i - 1]), bin_index(row[i]));
}

// A is a 10 x 10 square anchored on the origin; B a square, a wide flat bar (30 x 4) or an imageless point,
// with its top-left corner at (bx, by); touching counts.
TEST(collision, boxes_and_rotated_outlines_overlap_up_to_and_including_touching)
{
    const float quarter = ALLEGRO_PI / 4, half = ALLEGRO_PI / 2;
    enum shape { square_b, bar_b, point_b };
    const struct { const char* name; float rotation, anchor, bx, by; shape b; bool expected; } cases[] = {
        {"shared edge", 0, 0, 10, 0, square_b, true},
        {"centred edge apart", 0, 0.5f, 5.5f, 0, square_b, false},
        {"bar just below", 0, 0, 0, 10.5f, bar_b, false},
        {"bar touching below", 0, 0, 0, 10, bar_b, true},
        // The diamond's corner lies at 5 * sqrt(2), about 7.07.
        {"diamond corner reached", quarter, 0.5f, 7.0f, -5, square_b, true},
        {"diamond corner missed", quarter, 0.5f, 7.1f, -5, square_b, false},
        {"inside the unrotated box but not the diamond", quarter, 0.5f, 4, -14, square_b, false},
        // Turned about its top-left corner the square covers x -10..0.
        {"rotated edge touching", half, 0, 0, 0, square_b, true},
        {"rotated edge apart", half, 0, 0.5f, 0, square_b, false},
        {"point in the diamond", quarter, 0.5f, 6.5f, 0, point_b, true},
        {"point outside the diamond", quarter, 0.5f, 4.5f, 4.5f, point_b, false},
    };
    bitmap_ptr square = make_bitmap(10, 10, white), bar = make_bitmap(30, 4, white);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Object a, b;
        a.set_image(square.get(), true);
        a.rotation = c.rotation;
        a.set_anchor(c.anchor, c.anchor);
        if (c.b != point_b)
            b.set_image(c.b == bar_b ? bar.get() : square.get(), true);
        b.move_to(c.bx, c.by);
        EXPECT_EQ(collides_with(a, b), c.expected);
        EXPECT_EQ(collides_with(b, a), c.expected);
    }
}

// A large additive picture, black inside, drawn through its ink alone gives the whole picture.
TEST(ink_tiles, a_large_additive_picture_drawn_by_its_ink_is_the_whole_picture)
{
    bitmap_ptr image = make_bitmap(300, 260, black, true);
    for (int i = 0; i < 300; i += 7)
        al_put_pixel(i, i % 260, al_map_rgb(i % 256, 90, 200));
    bitmap_ptr by_ink = make_bitmap(320, 280, al_map_rgb(30, 60, 90));
    bitmap_ptr whole = make_bitmap(320, 280, al_map_rgb(30, 60, 90));
    Object frame;
    frame.set_image(image.get(), true);
    frame.move_to(10, 10);
    frame.blend_mode = blend_additive;
    frame.tint = al_map_rgba_f(0.8f, 0.5f, 1.0f, 1.0f);
    al_set_target_bitmap(by_ink.get());
    frame.draw();
    al_set_target_bitmap(whole.get());
    set_blend_mode(blend_additive, frame.tint);
    al_draw_tinted_bitmap(image.get(), frame.tint, 10, 10, 0);
    EXPECT_TRUE(same_pixels(by_ink.get(), whole.get()));
}
