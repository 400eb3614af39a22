// Every data file the instrument names is generated the same on every run and loads through Allegro the way
// the program loads it, and the art has the sizes and layout the scene relies on.
#include "data/data_files.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_font.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

bitmap_ptr load(const std::string& name)
{
    return bitmap_ptr(al_load_bitmap(("data/images/" + name + ".png").c_str()));
}

std::pair<int, int> size_of(const bitmap_ptr& b)
{
    return b ? std::make_pair(al_get_bitmap_width(b.get()), al_get_bitmap_height(b.get())) : std::make_pair(0, 0);
}

} // namespace

// The build wrote data/; a second run into an empty folder must write exactly the same files, byte for byte.
TEST(data_files, generator_writes_every_file_and_the_same_bytes_on_every_run)
{
    // The generator is built beside the test program: <build>/tools next to <build>/tests.
    const std::string build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().string();
    const std::string generator = "'" + build + "/tools/tolme_datagen'";
    EXPECT_NE(std::system((generator + " 2>/dev/null").c_str()), 0) << "ran without a folder";
    char root[] = "/tmp/tolme_datagen_XXXXXX";
    ASSERT_NE(mkdtemp(root), nullptr);
    ASSERT_EQ(std::system((generator + " " + root).c_str()), 0);
    for (const std::vector<std::string>& files : {image_files(), sound_files()})
        for (const std::string& file : files)
            EXPECT_EQ(std::system(("cmp -s " + file + " " + root + file.substr(4)).c_str()), 0) << file << " differs";
    // Besides those files, only the images and sounds folders.
    const size_t entries = std::distance(std::filesystem::recursive_directory_iterator(root), {});
    EXPECT_EQ(entries, image_files().size() + sound_files().size() + 2) << "files left over";
    std::filesystem::remove_all(root);
}

TEST(data_files, every_image_loads_and_the_scene_art_has_its_size)
{
    for (const std::string& file : image_files())
        ASSERT_NE(bitmap_ptr(al_load_bitmap(file.c_str())), nullptr) << file;
    const std::pair<const char*, std::pair<int, int>> sizes[] = {{"earth4", {64, 64}}, {"wind3", {64, 64}},
        {"water", {64, 64}}, {"fire", {64, 64}}, {"black_bead_opaque_A", {64, 64}}, {"overlay_pretty", {1024, 600}}};
    for (const auto& [name, size] : sizes)
        EXPECT_EQ(size_of(load(name)), size) << name;
}

TEST(data_files, fonts_load_at_every_size_the_program_asks_for)
{
    const char* text = "- SELECT AN ELEMENT TO GET STARTED - EARTH WIND WATER FIRE 0123456789 Loading...";
    const std::pair<const char*, std::vector<int>> uses[] = {
        {"data/fonts/TrajanPro-Regular.otf", {-13, -15, -20, -28, -30}},
        {"data/fonts/TrajanPro-Bold.otf", {-13, -15, -20, -28, -30}}, {"data/lacuna.ttf", {-16, -20}}};
    for (const auto& [file, sizes] : uses)
        for (int size : sizes) {
            ALLEGRO_FONT* font = al_load_ttf_font(file, size, 0);
            ASSERT_NE(font, nullptr) << file << " at " << size;
            EXPECT_GT(al_get_text_width(font, text), 10 * -size) << file;
            EXPECT_NEAR(al_get_font_line_height(font), -size, -size * 0.5) << file;
            al_destroy_font(font);
        }
}

// The cursors are drawn with their top-left corner at the mouse position, so the tip must be right there.
TEST(data_files, cursor_tips_are_at_the_hot_spot)
{
    for (const char* name : {"mouse_cursor", "pointer_cursor"}) {
        const bitmap_ptr b = load(name);
        std::pair<int, int> tip(1 << 20, 1 << 20);
        for (int y = 0; y < size_of(b).second; ++y)
            for (int x = 0; x < size_of(b).first; ++x)
                if (al_get_pixel(b.get(), x, y).a > 0.5f)
                    tip = {std::min(tip.first, x), std::min(tip.second, y)};
        EXPECT_LE(std::max(std::abs(tip.first - 2), std::abs(tip.second - 2)), 1) << name << " tip is off (1..3, 1..3)";
    }
}

// Letters are laid out by their anchors alone: a cell's left edge is at -anchor * width from the common
// point. The five cells must follow each other without gaps or overlaps, and the curtain must cover them.
TEST(data_files, title_cells_form_one_even_row_under_the_curtain)
{
    const std::pair<std::vector<const char*>, float> letters[5] = {{{"t1", "t2", "t3"}, 2.7f},
        {{"o1_a", "o2_a"}, 1.35f}, {{"l1", "l2", "l3"}, 0.7f}, {{"m1", "m2"}, -0.2f}, {{"e1", "e2", "e3"}, -1.2f}};
    std::vector<std::pair<float, float>> edges; // left and right of each letter's cell
    for (const auto& [strokes, anchor] : letters) {
        const std::pair<int, int> cell = size_of(load(strokes[0]));
        edges.emplace_back(-anchor * cell.first, (1 - anchor) * cell.first);
        for (const char* stroke : strokes)
            EXPECT_EQ(size_of(load(stroke)), cell) << stroke << " differs from its letter's other strokes";
    }
    const float left = edges[0].first, right = edges[4].second;
    for (int i = 0; i + 1 < 5; ++i)
        EXPECT_NEAR(edges[i].second, edges[i + 1].first, 0.01f * (right - left)) << "after letter " << i;
    // At the top of its swell the title is 1.04 times its size; the curtain, scaled 1.5 x 1.4, overlaps it by
    // a 16-pixel margin on every side.
    const std::pair<int, int> curtain = size_of(load("black_brick"));
    EXPECT_GE(curtain.first * 1.5f / 2 - 16, std::max(-left, right) * 1.04f);
    EXPECT_GE(curtain.second * 1.4f / 2 - 16, size_of(load("t1")).second * 1.04f / 2);
}

// Additive art adds its colour to the stage: anything but black at an edge shows as a seam. The glow
// stands on its bottom edge.
TEST(data_files, additive_images_are_black_at_their_borders)
{
    for (const char* name : {"air_effect", "flame2", "main_flame2", "black_bead_opaque_A", "healthy_glow", "t1",
                             "t2", "t3", "o1_a", "o2_a", "l1", "l2", "l3", "m1", "m2", "e1", "e2", "e3"}) {
        const bitmap_ptr b = load(name);
        const auto [w, h] = size_of(b);
        const bool stands = std::string(name) == "healthy_glow";
        float brightest = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; x += y == 0 || (y == h - 1 && !stands) ? 1 : std::max(1, w - 1)) {
                const ALLEGRO_COLOR c = al_get_pixel(b.get(), x, y);
                brightest = std::max({brightest, c.r, c.g, c.b});
            }
        EXPECT_LE(brightest, 2.0f / 255) << name;
    }
}
