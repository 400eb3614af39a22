#include "resources/bins.h"
#include "tests/resources/resource_fixture.h"

#include <vector>

using resource_bins = resource_fixture;

TEST_F(resource_bins, a_file_loads_once_and_every_request_shares_its_handle)
{
    const std::string file = write_png("a.png", 2, 2, al_map_rgb(0, 255, 0));
    ALLEGRO_BITMAP* first = graphics_bin.get(file, file);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(graphics_bin.get(file, file), first);
    EXPECT_EQ(graphics_bin.size(true), 1);
    EXPECT_EQ(graphics_bin.errors.count(), 0);
}

TEST_F(resource_bins, a_missing_file_is_reported_once_however_often_it_is_asked_for)
{
    const std::string file = path("nope.png");
    for (int request = 0; request < 101; ++request)
        EXPECT_EQ(graphics_bin.get(file, file), nullptr);
    EXPECT_EQ(graphics_bin.errors.messages, std::vector<std::string>{"could not load image \"" + file + "\""});
    EXPECT_EQ(graphics_bin.missing_count(), 1);
    EXPECT_EQ(graphics_bin.size(false), 0);
}

TEST_F(resource_bins, size_counts_missed_keys_only_when_asked)
{
    const std::string a = write_png("a.png", 2, 2, al_map_rgb(0, 255, 0));
    const std::string b = write_png("b.png", 2, 2, al_map_rgb(0, 0, 255));
    graphics_bin.get(a, a);
    graphics_bin.get(b, b);
    graphics_bin.get(path("c.png"), path("c.png"));
    EXPECT_EQ(graphics_bin.size(true), 3);
    EXPECT_EQ(graphics_bin.size(false), 2);
}

TEST_F(resource_bins, load_replaces_a_loaded_handle_and_retries_a_miss)
{
    const std::string file = path("late.png");
    EXPECT_EQ(graphics_bin.load(file, file), nullptr);
    EXPECT_EQ(graphics_bin.load(file, file), nullptr);
    EXPECT_EQ(graphics_bin.errors.count(), 2);

    write_png("late.png", 2, 2, al_map_rgb(0, 255, 0));
    EXPECT_EQ(graphics_bin.get(file, file), nullptr) << "get never retries a miss";
    ALLEGRO_BITMAP* first = graphics_bin.load(file, file);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(graphics_bin.get(file, file), first) << "loaded wins over missed";
    EXPECT_EQ(graphics_bin.missing_count(), 1);

    ALLEGRO_BITMAP* second = graphics_bin.load(file, file);
    EXPECT_NE(second, first);
    EXPECT_EQ(graphics_bin.get(file, file), second);
    EXPECT_EQ(graphics_bin.size(false), 1);
}

TEST_F(resource_bins, one_font_file_at_two_sizes_is_two_entries)
{
    ALLEGRO_FONT* small = fonts_bin.get({test_font_file, -20}, {test_font_file, -20});
    ALLEGRO_FONT* large = fonts_bin.get({test_font_file, -28}, {test_font_file, -28});
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_NE(small, large);
    EXPECT_GT(al_get_font_line_height(large), al_get_font_line_height(small));
    EXPECT_EQ(fonts_bin.size(false), 2);
}

TEST_F(resource_bins, miss_messages_name_the_file_in_quotes_and_a_font_its_size)
{
    const std::string file = path("nope");
    fonts_bin.get({file, -20}, {file, -20});
    samples_bin.get(file, file);
    EXPECT_EQ(fonts_bin.errors.join(), "could not load font \"" + file + "\" (size -20)\n");
    EXPECT_EQ(samples_bin.errors.join(), "could not load sample \"" + file + "\"\n");
}

TEST_F(resource_bins, release_frees_everything_so_the_bins_start_afresh)
{
    const std::string file = write_png("a.png", 2, 2, al_map_rgb(0, 255, 0));
    graphics_bin.get(file, file);
    graphics_bin.get(path("nope.png"), path("nope.png"));
    fonts_bin.text_bitmap(test_font_file, -20, "text");
    release_resources();
    EXPECT_EQ(graphics_bin.size(true), 0);
    EXPECT_EQ(graphics_bin.errors.count(), 0);
    EXPECT_EQ(fonts_bin.size(true), 0);
    EXPECT_EQ(fonts_bin.cached_count(), 0);
}
