#include "resource_fixture.h"
#include "resources/drawing.h"

using resource_bins = resource_fixture;

// A file loads once and every request shares its handle; a missing one is reported once, with its name in
// quotes (and a font's size), however often it is asked for. One font file at two sizes is two entries.
// Release frees everything so the bins start afresh. get never retries a miss; load does, and what it loads
// wins over the miss and over what was loaded before.
TEST_F(resource_bins, requests_share_one_handle_each_miss_is_reported_once_and_only_load_retries_it)
{
    const std::string image = path("a.png");
    ASSERT_TRUE(al_save_bitmap(image.c_str(), make_bitmap(2, 2, al_map_rgb(0, 255, 0)).get()));
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

    // Preloading a sample loads it again: a miss is retried, a loaded handle replaced.
    const std::string file = path("late.wav");
    EXPECT_EQ(samples_bin.get(file, file), nullptr);
    std::filesystem::copy_file("data/sounds/select.wav", file);
    EXPECT_EQ(samples_bin.get(file, file), nullptr);
    preload_sample(file);
    ALLEGRO_SAMPLE* loaded = samples_bin.get(file, file);
    preload_sample(file);
    EXPECT_TRUE(loaded && samples_bin.get(file, file) && samples_bin.get(file, file) != loaded);
    EXPECT_EQ(samples_bin.size(true), 2) << "one loaded, one missed";
}

using drawing = resource_fixture;

// A missing image draws the placeholder (here 4 x 4 and red) unscaled with its corner at (x, y), tinted like
// any image by the current blend color.
TEST_F(drawing, a_missing_image_draws_the_placeholder_tinted_with_its_corner_at_the_place)
{
    const ALLEGRO_COLOR dim_red = al_map_rgba_f(0.5f, 0, 0, 1), clear = al_map_rgba(0, 0, 0, 0);
    bitmap_ptr target = make_bitmap(20, 20, clear, true);
    set_blend_mode(blend_normal, al_map_rgba_f(0.5f, 0.5f, 0.5f, 1));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    draw_missing_image(10, 12);
    for (const auto& [x, y, color] : {std::make_tuple(10, 12, dim_red), std::make_tuple(13, 15, dim_red),
                                      std::make_tuple(9, 12, clear), std::make_tuple(14, 15, clear),
                                      std::make_tuple(13, 16, clear)})
        EXPECT_TRUE(pixel_is(target.get(), x, y, color));
}
