#include "scene/collision.h"

#include "scene/object.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

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
    bitmap_ptr square = make_bitmap(10, 10, al_map_rgb(255, 255, 255));
    bitmap_ptr bar = make_bitmap(30, 4, al_map_rgb(255, 255, 255));
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
