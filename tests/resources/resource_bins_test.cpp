#include "resource_fixture.h"

using resource_bins = resource_fixture;

// A file loads once and every request shares its handle; a missing one is reported once, with its name in
// quotes (and a font's size), however often it is asked for. One font file at two sizes is two entries.
// Release frees everything so the bins start afresh. get never retries a miss; load does, and what it loads
// wins over the miss.
TEST_F(resource_bins, requests_share_one_handle_each_miss_is_reported_once_and_only_load_retries_it)
{
    const std::string image = write_png("a.png", 2, 2, al_map_rgb(0, 255, 0));
    const std::string missing = path("nope"), other = path("other");
    ALLEGRO_BITMAP* first = graphics_bin.get(image, image);
    ASSERT_NE(first, nullptr);
    for (int request = 0; request < 3; ++request) {
        EXPECT_EQ(graphics_bin.get(image, image), first);
        EXPECT_EQ(graphics_bin.get(missing, missing), nullptr);
        graphics_bin.get(other, other);
        fonts_bin.get({missing, -20}, {missing, -20});
        samples_bin.get(missing, missing);
    }
    EXPECT_EQ(graphics_bin.errors.join(),
              "could not load image \"" + missing + "\"\ncould not load image \"" + other + "\"\n");
    EXPECT_EQ(fonts_bin.errors.join(), "could not load font \"" + missing + "\" (size -20)\n");
    EXPECT_EQ(samples_bin.errors.join(), "could not load sample \"" + missing + "\"\n");
    EXPECT_NE(fonts_bin.get({test_font_file, -20}, {test_font_file, -20}),
              fonts_bin.get({test_font_file, -28}, {test_font_file, -28}));
    EXPECT_EQ(fonts_bin.size(false), 2);
    ALLEGRO_BITMAP* text = fonts_bin.text_bitmap(test_font_file, -20, "text");
    EXPECT_TRUE(text && fonts_bin.text_bitmap(test_font_file, -20, "text") == text) << "rendered once, kept";
    release_resources();
    EXPECT_EQ(graphics_bin.size(true) + graphics_bin.errors.count() + fonts_bin.size(true) + fonts_bin.cached_count(),
              0);

    const std::string file = path("late.png");
    EXPECT_EQ(graphics_bin.get(file, file), nullptr);
    write_png("late.png", 2, 2, al_map_rgb(0, 255, 0));
    EXPECT_EQ(graphics_bin.get(file, file), nullptr);
    ALLEGRO_BITMAP* loaded = graphics_bin.load(file, file);
    EXPECT_TRUE(loaded && graphics_bin.get(file, file) == loaded);
    EXPECT_EQ(graphics_bin.size(true), 2) << "one loaded, one missed";
}
