#include "scene/stage_changes.h"

#include "math/colors.h"
#include "scene/debug_overlay.h"
#include "scene/object.h"
#include "scene/stage_pixels.h"
#include "support/fake_clock.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

// A bitmap whose every pixel differs from its neighbours, so that a pixel drawn from the wrong place shows.
static bitmap_ptr gradient(int w, int h, float alpha)
{
    bitmap_ptr bitmap = make_bitmap(w, h, al_map_rgba(0, 0, 0, 0), true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            al_put_pixel(x, y, al_map_rgba_f(x / float(w), y / float(h), 0.5f, alpha));
    return bitmap;
}

using stage_parts = std::vector<stage_rect>;

// The tick's update, then the frame loop's question: which parts would this tick draw? Asking counts as
// drawing.
static stage_parts tick_parts()
{
    update_objects();
    const stage_parts parts = changed_parts();
    clear_stage_changed();
    return parts;
}

static long area_of(const stage_parts& parts)
{
    return std::accumulate(parts.begin(), parts.end(), 0L, [](long area, const stage_rect& part) {
        return area + long(part.right - part.left) * (part.bottom - part.top);
    });
}

// Draws the stage onto the target through its scale as the frame loop does: the whole of it, or only some
// parts over the last picture; or every object, none left out for lying outside a part.
static void draw_stage(ALLEGRO_BITMAP* target, const stage_parts& parts, float scale, bool every_object = false)
{
    al_set_target_bitmap(target);
    ALLEGRO_TRANSFORM transform;
    al_identity_transform(&transform);
    al_scale_transform(&transform, scale, scale);
    al_use_transform(&transform);
    for (const stage_rect& part : parts) {
        clip_to_region(part);
        al_clear_to_color(al_map_rgb(0, 0, 0));
        set_blend_mode(blend_normal, al_map_rgb(255, 255, 255));
        if (every_object)
            for (Object* object : objects_bin)
                object->draw();
        else
            draw_objects();
    }
    al_reset_clipping_rectangle();
}

TEST(stage_changes, a_tick_draws_only_when_something_moved_or_was_set)
{
    fake_clock_class clock;
    bitmap_ptr image = make_bitmap(10, 10, {1, 1, 1, 1}), target = make_bitmap(100, 100, {0, 0, 0, 1});
    Object object;
    object.set_image(image.get(), true);
    object.move_to(50, 50);
    draw_stage(target.get(), tick_parts(), 1);
    EXPECT_TRUE(tick_parts().empty());

    // A fade after a delay: nothing to draw while it waits, every tick while it moves, the tick that lands its
    // last value, then nothing.
    object.opacity_anim.animate(1.0f, 0.0f, 4.0, 0.5, curve_linear);
    for (double t = 0.1; t < 4.0; t += 0.5) {
        clock.set(100.0 + t);
        EXPECT_TRUE(tick_parts().empty()) << "at " << t << " s";
    }
    clock.set(104.25);
    EXPECT_FALSE(tick_parts().empty());
    clock.set(104.6);
    EXPECT_FALSE(tick_parts().empty());
    EXPECT_TRUE(tick_parts().empty());

    // Set to the value it has: nothing; a paused tween moves nothing; a new image is drawn.
    object.opacity_anim.set(1.0f);
    tick_parts();
    object.x_anim.set(object.x);
    EXPECT_TRUE(tick_parts().empty());
    object.x_anim.animate_by(100.0f, 1.0, curve_linear);
    object.pause_animations();
    clock.advance(0.5);
    EXPECT_TRUE(tick_parts().empty());
    object.set_image(image.get(), true);
    EXPECT_FALSE(tick_parts().empty());
}

// Marks far apart are drawn as parts of their own, a whole tile or so each; marks close by as one part; never
// more than four parts, holding every mark.
TEST(stage_changes, marks_far_apart_stay_apart_and_close_ones_are_joined)
{
    clear_stage_changed();
    mark_region_changed({10, 10, 20, 20});
    mark_region_changed({1000, 580, 1010, 590});
    stage_parts parts = changed_parts();
    EXPECT_EQ(parts.size(), 2u);
    EXPECT_LE(area_of(parts), 2 * 32 * 32);
    mark_region_changed({80, 10, 90, 20});
    EXPECT_EQ(changed_parts().size(), 2u) << "a tile apart from the first: joined to it";
    const stage_rect spread[] = {{500, 300, 512, 320}, {10, 580, 20, 590}, {1000, 10, 1010, 20}, {500, 10, 510, 20}};
    for (const stage_rect& mark : spread)
        mark_region_changed(mark);
    parts = changed_parts();
    clear_stage_changed();
    EXPECT_LE(parts.size(), 4u);
    for (const stage_rect& mark : spread)
        EXPECT_TRUE(std::any_of(parts.begin(), parts.end(), [&](const stage_rect& part) {
            return part.left <= mark.left && part.top <= mark.top && part.right >= mark.right &&
                   part.bottom >= mark.bottom;
        }));
}

// The parts a tick marks, drawn over the last picture, give exactly the picture of a whole draw: objects
// moved, turned, scaled, faded, cropped, added and gone, in every blend mode, a large additive picture
// recoloured (marking only its ink), with and without the debug outlines, with the stage at its own size,
// enlarged and shrunk (the parts' pixels rounded outward, sprites placed on the target's whole pixels).
TEST(stage_changes, drawing_the_changed_region_gives_the_whole_picture_to_the_pixel)
{
    for (const bool outlines : {false, true})
        for (const float scale : {1.0f, 1.5f, 0.625f, 1.37f}) {
            SCOPED_TRACE(scale);
            SCOPED_TRACE(outlines);
            debug_overlay = outlines;
            fake_clock_class clock;
            bitmap_ptr opaque = gradient(40, 30, 1.0f), translucent = gradient(24, 24, 0.6f);
            const int w = static_cast<int>(std::ceil(300 * scale)), h = static_cast<int>(std::ceil(200 * scale));
            bitmap_ptr partial = make_bitmap(w, h, al_map_rgb(0, 0, 0)), whole = make_bitmap(w, h, al_map_rgb(0, 0, 0));
            bitmap_ptr inked = make_bitmap(300, 220, al_map_rgb(0, 0, 0), true);
            al_draw_bitmap(translucent.get(), 250, 150, 0);
            Object backdrop, turning, fading, cropped, glaze;
            auto leaving = std::make_unique<Object>();
            glaze.set_image(inked.get(), true);
            glaze.blend_mode = blend_additive;
            backdrop.set_image(opaque.get(), true);
            // Memory bitmaps step along a row from the clip's edge, so a texel's edge exactly on a pixel's centre (at
            // 7.5, every 15 pixels) could land on either side of it: a scale that puts none there.
            backdrop.scale_x_anim.set(7.37f);
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
            draw_stage(partial.get(), tick_parts(), scale);

            turning.rotation_anim.animate_by(0.7f, 1.0, curve_linear);
            turning.scale_x_anim.animate(1.0f, 1.8f, 0.0, 1.0, curve_linear);
            fading.opacity_anim.animate(1.0f, 0.2f, 0.0, 1.0, curve_linear);
            fading.x_anim.animate_by(-70.0f, 1.0, curve_linear);
            cropped.crop_top_anim.animate_to(0.7f, 1.0, curve_linear);
            glaze.tint_anim.animate_to(al_map_rgb(90, 200, 40), 1.0, curve_linear);
            leaving.reset();
            Object arriving;
            arriving.set_image(translucent.get(), true);
            arriving.move_to(150.4f, 150.2f);
            arriving.blend_mode = blend_additive;
            clock.advance(0.55);
            const stage_parts parts = tick_parts();
            EXPECT_TRUE(outlines || area_of(parts) < 300 * 200) << "the glaze marks only where it has ink";
            draw_stage(partial.get(), parts, scale);
            draw_stage(whole.get(), {whole_stage()}, scale, true);
            EXPECT_TRUE(same_pixels(partial.get(), whole.get()));
            debug_overlay = false;
        }
}
