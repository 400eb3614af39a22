#include "framework/debug_overlay.h"

#include "framework/app.h"
#include "math/colors.h"
#include "resources/bins.h"
#include "support/test_bitmaps.h"
#include "visuals/object.h"

#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <utility>

namespace {

// Gives each bin known contents for one test and puts the real contents back afterwards.
class debug_overlay_test : public ::testing::Test
{
protected:
    decltype(graphics_bin.loaded) saved_images;
    decltype(graphics_bin.missed) saved_missed_images;
    decltype(samples_bin.loaded) saved_samples;
    decltype(samples_bin.missed) saved_missed_samples;
    decltype(fonts_bin.loaded) saved_fonts;
    decltype(fonts_bin.missed) saved_missed_fonts;
    decltype(fonts_bin.text_cache) saved_text;
    bitmap_ptr image_a = make_bitmap(2, 2, al_map_rgb(0, 0, 0));
    bitmap_ptr image_b = make_bitmap(2, 2, al_map_rgb(0, 0, 0));

    void SetUp() override
    {
        std::swap(saved_images, graphics_bin.loaded);
        std::swap(saved_missed_images, graphics_bin.missed);
        std::swap(saved_samples, samples_bin.loaded);
        std::swap(saved_missed_samples, samples_bin.missed);
        std::swap(saved_fonts, fonts_bin.loaded);
        std::swap(saved_missed_fonts, fonts_bin.missed);
        std::swap(saved_text, fonts_bin.text_cache);
    }
    void TearDown() override
    {
        std::swap(saved_images, graphics_bin.loaded);
        std::swap(saved_missed_images, graphics_bin.missed);
        std::swap(saved_samples, samples_bin.loaded);
        std::swap(saved_missed_samples, samples_bin.missed);
        std::swap(saved_fonts, fonts_bin.loaded);
        std::swap(saved_missed_fonts, fonts_bin.missed);
        std::swap(saved_text, fonts_bin.text_cache);
    }
};

TEST_F(debug_overlay_test, lines_show_each_bins_counts)
{
    graphics_bin.loaded["a.png"] = image_a.get();
    graphics_bin.loaded["b.png"] = image_b.get();
    graphics_bin.missed.insert("c.png");
    samples_bin.missed.insert("x.wav");
    samples_bin.missed.insert("y.wav");
    fonts_bin.missed.insert({"f.ttf", -20});
    fonts_bin.text_cache[{nullptr, "one"}] = image_a.get();
    fonts_bin.text_cache[{nullptr, "two"}] = image_b.get();
    fonts_bin.text_cache[{nullptr, "three"}] = image_b.get();
    Object first, second;

    const std::array<std::string, 4> lines = debug_overlay_lines();
    EXPECT_EQ(lines[0], "Graphics Bin: 3 (1 missing)");
    EXPECT_EQ(lines[1], "Objects Bin: " + std::to_string(objects_bin.size()));
    EXPECT_EQ(lines[2], "Fonts Bin: 0 (1 missing, 3 rendered in cache)");
    EXPECT_EQ(lines[3], "Samples Bin: 0 (2 missing)");
}

TEST_F(debug_overlay_test, object_count_follows_the_bin)
{
    const std::string before = debug_overlay_lines()[1];
    {
        Object one, two;
        EXPECT_EQ(debug_overlay_lines()[1], "Objects Bin: " + std::to_string(objects_bin.size()));
        EXPECT_NE(debug_overlay_lines()[1], before);
    }
    EXPECT_EQ(debug_overlay_lines()[1], before);
}

TEST_F(debug_overlay_test, drawing_writes_text_without_touching_the_text_cache)
{
    ALLEGRO_FONT* font = al_load_ttf_font("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", -20, 0);
    ASSERT_NE(font, nullptr);
    ALLEGRO_FONT* saved_font = fallback_font;
    fallback_font = font;
    bitmap_ptr target = make_bitmap(400, 160, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(target.get());
    set_blend_mode(0, al_map_rgb(255, 255, 255));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);

    const int cached = fonts_bin.cached_count();
    draw_debug_overlay();
    EXPECT_EQ(fonts_bin.cached_count(), cached);

    // Some glyph pixel of every line lies in its 25-pixel band below y = 30 + 25 i, and none left of x = 30.
    for (int line = 0; line < 4; ++line) {
        bool lit = false;
        for (int y = 30 + 25 * line; y < 55 + 25 * line && !lit; ++y)
            for (int x = 0; x < 400 && !lit; ++x)
                lit = al_get_pixel(target.get(), x, y).r > 0.5f;
        EXPECT_TRUE(lit) << "line " << line;
    }
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 29; ++x)
            ASSERT_LT(al_get_pixel(target.get(), x, y).r, 0.5f) << x << ", " << y;

    al_set_target_bitmap(nullptr);
    fallback_font = saved_font;
    al_destroy_font(font);
}

} // namespace
