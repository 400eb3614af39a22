#include "scene/debug_overlay.h"

#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "scene/object.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <utility>

// Each bin's counts on a line of its own. The lines change as the program runs, so they are drawn glyph by
// glyph: the text cache must not gain a bitmap for each. Where they land is checked on the end-to-end
// screenshots.
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

    ALLEGRO_FONT* const saved_font = std::exchange(fallback_font, al_create_builtin_font());
    const bitmap_ptr target = make_bitmap(400, 160, al_map_rgb(0, 0, 0), true);
    draw_debug_overlay();
    al_set_target_bitmap(nullptr);
    al_destroy_font(std::exchange(fallback_font, saved_font));
    EXPECT_EQ(fonts_bin.cached_count(), 3);
    swap_bins();
}
