#include "scene/text_label.h"

#include "math/colors.h"
#include "resources/bins.h"
#include "resources/manifest.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <cmath>

const char* const line = "- SELECT AN ELEMENT -";

// The label drawn additively onto a black target of the stage's size at this scale, through the scale.
static bitmap_ptr drawn_at(text_label_class& label, float scale)
{
    bitmap_ptr target =
        make_bitmap(static_cast<int>(240 * scale), static_cast<int>(60 * scale), al_map_rgb(0, 0, 0), true);
    ALLEGRO_TRANSFORM transform;
    al_identity_transform(&transform);
    al_scale_transform(&transform, scale, scale);
    al_use_transform(&transform);
    label.draw();
    return target;
}

// Centred between two pixels at both scales, a label shown at twice the stage's size is the text rendered at
// twice the font size, every pixel on a whole pixel (no scaled bitmap, no column dropped), while it keeps its
// place and size on the stage; back at the stage's own size it is the picture it was.
TEST(text_label, rendered_for_the_stage_scale_is_the_text_at_that_size_on_whole_pixels)
{
    text_label_class label;
    label.show(menu_font_file.path, -15, line);
    label.set_anchor(0.5f, 0.0f);
    label.move_to(120.3f, 20.0f);
    label.blend_mode = blend_additive;
    bitmap_ptr at_one = drawn_at(label, 1);

    render_labels_at(2);
    bitmap_ptr at_two = drawn_at(label, 2);
    bitmap_ptr twice(fonts_bin.additive_text(menu_font_file.path, -30, line));
    bitmap_ptr direct = make_bitmap(480, 120, al_map_rgb(0, 0, 0), true);
    set_blend_mode(blend_additive, al_map_rgb(255, 255, 255));
    al_draw_bitmap(twice.get(), std::round(2 * 120.3f - al_get_bitmap_width(twice.get()) / 2.0f), 40, 0);
    set_blend_mode(blend_normal, al_map_rgb(255, 255, 255));
    EXPECT_TRUE(same_pixels(at_two.get(), direct.get()));

    // Resized through many sizes, the window keeps only the font of the size shown, and its text cached in the
    // fonts that went goes with them.
    fonts_bin.text_bitmap(menu_font_file.path, -30, line);
    for (float scale = 0.7f; scale < 2.5f; scale += 0.1f)
        render_labels_at(scale);
    render_labels_at(1);
    EXPECT_EQ(fonts_bin.size(false), 1);
    EXPECT_EQ(fonts_bin.cached_count(), 0);
    EXPECT_TRUE(same_pixels(drawn_at(label, 1).get(), at_one.get()));
    fonts_bin.release();
}
