#include "scene/object.h"
#include "scene/stage_changes.h"

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

// A tick's update followed by the frame loop's question: would this tick's picture differ from the last one
// drawn? Answering yes counts as drawing it.
bool tick_draws()
{
    update_objects();
    const bool draws = stage_changed();
    clear_stage_changed();
    return draws;
}

TEST(stage_changes, only_ticks_in_which_something_moved_or_changed_are_drawn)
{
    fake_clock_class clock;
    bitmap_ptr image = make_bitmap(10, 10, al_map_rgb(255, 255, 255));
    Object object;
    EXPECT_TRUE(tick_draws()); // registered
    EXPECT_FALSE(tick_draws());

    // A fade in after a delay: nothing to draw while it waits, every tick while it moves, the tick that lands
    // its last value, then nothing.
    object.opacity_anim.animate(0.0f, 1.0f, 4.0, 0.5, curve_linear);
    for (double t = 0.1; t < 4.0; t += 0.5) {
        clock.set(100.0 + t);
        EXPECT_FALSE(tick_draws()) << "at " << t << " s";
    }
    object.opacity = 0.0f; // where a fade in starts: its first value changes nothing either
    clock.set(104.0);
    EXPECT_FALSE(tick_draws());
    clock.set(104.25);
    EXPECT_TRUE(tick_draws());
    clock.set(104.6);
    EXPECT_TRUE(tick_draws());
    EXPECT_EQ(object.opacity, 1.0f);
    EXPECT_FALSE(tick_draws());

    // Set to the value it has: nothing; to another: drawn; so are a new image and an object that goes.
    object.x_anim.set(object.x);
    EXPECT_FALSE(tick_draws());
    object.x_anim.set(object.x + 1);
    EXPECT_TRUE(tick_draws());
    object.set_image(image.get(), true);
    EXPECT_TRUE(tick_draws());
    {
        Object passing;
        clear_stage_changed();
    }
    EXPECT_TRUE(tick_draws());
    // A paused tween moves nothing.
    object.x_anim.animate_by(100.0f, 1.0, curve_linear);
    object.pause_animations();
    clock.advance(0.5);
    EXPECT_FALSE(tick_draws());
}

} // namespace
