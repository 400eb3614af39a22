#include "scene/object.h"

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

TEST(object_geometry, box_follows_size_scale_and_anchor_with_its_edges_inside)
{
    bitmap_ptr image = make_bitmap(100, 50, al_map_rgb(255, 255, 255));
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
}

} // namespace
