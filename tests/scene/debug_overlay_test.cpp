#include "scene/debug_overlay.h"

#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "scene/object.h"
#include "support/ink.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <utility>

namespace {

double red_ink(ALLEGRO_BITMAP* bitmap, int top, int bottom)
{
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < al_get_bitmap_width(bitmap); ++x)
            sum += al_get_pixel(bitmap, x, y).r;
    return sum;
}

// Each bin's counts on a line of its own, drawn in the fallback font from (30, 30), 25 pixels apart, glyph by
// glyph: the text cache gains nothing, and the edges are as bright as the same text rendered once and drawn as
// a bitmap (blended as straight alpha, Allegro's premultiplied glyphs would lose a fifth).
TEST(debug_overlay, lines_show_each_bins_counts_and_are_drawn_without_the_text_cache)
{
    // Empty bins for the test; the real ones come back at its end.
    image_bin_class images;
    sample_bin_class samples;
    font_bin_class fonts;
    const auto swap_bins = [&] { std::swap(images, graphics_bin), std::swap(samples, samples_bin), std::swap(fonts, fonts_bin); };
    swap_bins();
    const bitmap_ptr image = make_bitmap(2, 2, al_map_rgb(0, 0, 0));
    graphics_bin.loaded = {{"a.png", image.get()}, {"b.png", image.get()}};
    graphics_bin.missed = {"c.png"};
    samples_bin.missed = {"x.wav", "y.wav"};
    fonts_bin.missed = {{"f.ttf", -20}};
    for (const char* words : {"one", "two", "three"})
        fonts_bin.text_cache[{nullptr, words}] = image.get();
    const std::size_t objects = objects_bin.size();
    Object first, second;
    EXPECT_EQ(debug_overlay_lines(),
              (std::array<std::string, 4>{"Graphics Bin: 3 (1 missing)", "Objects Bin: " + std::to_string(objects + 2),
                                          "Fonts Bin: 0 (1 missing, 3 rendered in cache)", "Samples Bin: 0 (2 missing)"}));

    ALLEGRO_FONT* const saved_font =
        std::exchange(fallback_font, al_load_ttf_font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", -20, 0));
    ASSERT_NE(fallback_font, nullptr);
    const bitmap_ptr target = make_bitmap(400, 160, al_map_rgb(0, 0, 0));
    const bitmap_ptr reference = make_bitmap(400, 160, al_map_rgb(0, 0, 0));
    const bitmap_ptr rendered(fonts_bin.render_text(fallback_font, debug_overlay_lines()[0], al_map_rgb(255, 255, 255)));
    al_set_target_bitmap(reference.get());
    al_draw_bitmap(rendered.get(), 30, 30, 0);
    al_set_target_bitmap(target.get());
    set_blend_mode(blend_normal, al_map_rgb(255, 255, 255));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    draw_debug_overlay();
    al_set_target_bitmap(nullptr);
    al_destroy_font(std::exchange(fallback_font, saved_font));
    EXPECT_NEAR(red_ink(target.get(), 30, 55) / red_ink(reference.get(), 30, 55), 1.0, 0.03);
    EXPECT_EQ(fonts_bin.cached_count(), 3);
    for (int line = 0; line < 4; ++line)
        EXPECT_FALSE(find_ink(target.get(), 0, 30 + 25 * line, 400, 55 + 25 * line).empty()) << "line " << line;
    EXPECT_GE(find_ink(target.get()).left, 29);
    swap_bins();
}

} // namespace
