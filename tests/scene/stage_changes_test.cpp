#include "scene/stage_changes.h"

#include "math/colors.h"
#include "scene/object.h"
#include "scene/stage_pixels.h"
#include "support/fake_clock.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// A bitmap whose every pixel differs from its neighbours, so that a pixel drawn from the wrong place shows.
bitmap_ptr gradient(int w, int h, float alpha)
{
    bitmap_ptr bitmap = make_bitmap(w, h, al_map_rgba(0, 0, 0, 0), true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            al_put_pixel(x, y, al_map_rgba_f(x / float(w), y / float(h), 0.5f, alpha));
    return bitmap;
}

// The tick's update, then the frame loop's question: what would this tick draw? Asking counts as drawing.
stage_rect tick_region()
{
    update_objects();
    const stage_rect region = changed_region();
    clear_stage_changed();
    return region;
}

// Draws the stage onto the target through its scale as the frame loop does: the whole of it, or only a
// region over the last picture; or every object, none left out for lying outside the region.
void draw_stage(ALLEGRO_BITMAP* target, const stage_rect& region, float scale, bool every_object = false)
{
    al_set_target_bitmap(target);
    ALLEGRO_TRANSFORM transform;
    al_identity_transform(&transform);
    al_scale_transform(&transform, scale, scale);
    al_use_transform(&transform);
    clip_to_region(region);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    set_blend_mode(blend_normal, al_map_rgb(255, 255, 255));
    if (every_object)
        for (Object* object : objects_bin)
            object->draw();
    else
        draw_objects();
    al_reset_clipping_rectangle();
}

TEST(stage_changes, a_tick_draws_only_when_something_moved_or_was_set)
{
    fake_clock_class clock;
    bitmap_ptr image = make_bitmap(10, 10, al_map_rgb(255, 255, 255));
    bitmap_ptr target = make_bitmap(100, 100, al_map_rgb(0, 0, 0));
    Object object;
    object.set_image(image.get(), true);
    object.move_to(50, 50);
    const stage_rect at_first = tick_region();
    EXPECT_TRUE(at_first.left <= 50 && at_first.right >= 60 && at_first.top <= 50 && at_first.bottom >= 60);
    draw_stage(target.get(), at_first, 1);
    EXPECT_TRUE(tick_region().empty());

    // A fade after a delay: nothing to draw while it waits, every tick while it moves, the tick that lands its
    // last value, then nothing.
    object.opacity_anim.animate(1.0f, 0.0f, 4.0, 0.5, curve_linear);
    for (double t = 0.1; t < 4.0; t += 0.5) {
        clock.set(100.0 + t);
        EXPECT_TRUE(tick_region().empty()) << "at " << t << " s";
    }
    clock.set(104.25);
    EXPECT_FALSE(tick_region().empty());
    clock.set(104.6);
    EXPECT_FALSE(tick_region().empty());
    EXPECT_EQ(object.opacity, 0.0f);
    EXPECT_TRUE(tick_region().empty());

    // Set to the value it has: nothing; a paused tween moves nothing; a new image is drawn.
    object.opacity_anim.set(1.0f);
    tick_region();
    object.x_anim.set(object.x);
    EXPECT_TRUE(tick_region().empty());
    object.x_anim.animate_by(100.0f, 1.0, curve_linear);
    object.pause_animations();
    clock.advance(0.5);
    EXPECT_TRUE(tick_region().empty());
    object.set_image(image.get(), true);
    EXPECT_FALSE(tick_region().empty());
}

// The region a tick marks, drawn over the last picture, gives exactly the picture of a whole draw: objects
// moved, turned, scaled, faded, cropped, added and gone, in every blend mode, with the stage at its own size,
// enlarged and shrunk (the region's pixels rounded outward, sprites placed on the target's whole pixels).
void expect_the_region_gives_the_whole_picture(float scale)
{
    SCOPED_TRACE(scale);
    fake_clock_class clock;
    bitmap_ptr opaque = gradient(40, 30, 1.0f), translucent = gradient(24, 24, 0.6f);
    const int w = static_cast<int>(std::ceil(300 * scale)), h = static_cast<int>(std::ceil(200 * scale));
    bitmap_ptr partial = make_bitmap(w, h, al_map_rgb(0, 0, 0)), whole = make_bitmap(w, h, al_map_rgb(0, 0, 0));
    Object backdrop, turning, fading, cropped;
    auto leaving = std::make_unique<Object>();
    backdrop.set_image(opaque.get(), true);
    backdrop.scale_x_anim.set(7.5f);
    backdrop.scale_y_anim.set(6.6f);
    for (Object* sprite : {&turning, &fading, &cropped, leaving.get()}) {
        sprite->set_image(translucent.get(), true);
        sprite->set_anchor(0.5f, 0.5f);
    }
    turning.move_to(60.3f, 70.6f);
    turning.blend_mode = blend_additive;
    fading.move_to(270, 180);
    cropped.move_to(120.5f, 60);
    cropped.crop_top_anim.set(0.3f);
    leaving->move_to(100, 150);
    leaving->blend_mode = blend_additive;
    draw_stage(partial.get(), tick_region(), scale);

    turning.rotation_anim.animate_by(0.7f, 1.0, curve_linear);
    turning.scale_x_anim.animate(1.0f, 1.8f, 0.0, 1.0, curve_linear);
    fading.opacity_anim.animate(1.0f, 0.2f, 0.0, 1.0, curve_linear);
    fading.x_anim.animate_by(-70.0f, 1.0, curve_linear);
    cropped.crop_top_anim.animate_to(0.7f, 1.0, curve_linear);
    leaving.reset();
    Object arriving;
    arriving.set_image(translucent.get(), true);
    arriving.move_to(150.4f, 150.2f);
    arriving.blend_mode = blend_additive;
    clock.advance(0.55);
    const stage_rect region = tick_region();
    ASSERT_FALSE(region.empty());
    EXPECT_LT((region.right - region.left) * (region.bottom - region.top), 300 * 200); // not all of it
    draw_stage(partial.get(), region, scale);
    draw_stage(whole.get(), whole_stage(), scale, true);
    EXPECT_TRUE(same_pixels(partial.get(), whole.get()));
}

TEST(stage_changes, drawing_the_changed_region_gives_the_whole_picture_to_the_pixel)
{
    for (const float scale : {1.0f, 1.5f, 0.625f, 1.37f})
        expect_the_region_gives_the_whole_picture(scale);
}

} // namespace
