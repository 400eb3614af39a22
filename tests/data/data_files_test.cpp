// Every data file the instrument names exists and loads through Allegro the way the program loads it, and
// the art has the sizes and layout the scene relies on.
#include "data/data_files.h"
#include "resources/wav_check.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct size_class
{
    int w = 0, h = 0;
};

size_class image_size(const std::string& file)
{
    ALLEGRO_BITMAP* b = al_load_bitmap(file.c_str());
    if (!b)
        return {};
    const size_class size{al_get_bitmap_width(b), al_get_bitmap_height(b)};
    al_destroy_bitmap(b);
    return size;
}

std::string image_file(const std::string& name)
{
    return "data/images/" + name + ".png";
}

// Smallest x and y of the pixels that are more than half opaque.
size_class first_opaque(const std::string& file)
{
    ALLEGRO_BITMAP* b = al_load_bitmap(file.c_str());
    size_class first{1 << 20, 1 << 20};
    if (!b)
        return first;
    for (int y = 0; y < al_get_bitmap_height(b); ++y)
        for (int x = 0; x < al_get_bitmap_width(b); ++x)
            if (al_get_pixel(b, x, y).a > 0.5f) {
                first.w = std::min(first.w, x);
                first.h = std::min(first.h, y);
            }
    al_destroy_bitmap(b);
    return first;
}

} // namespace

TEST(data_files, every_image_loads)
{
    for (const std::string& file : image_files()) {
        ALLEGRO_BITMAP* b = al_load_bitmap(file.c_str());
        EXPECT_NE(b, nullptr) << file;
        al_destroy_bitmap(b);
    }
}

TEST(data_files, every_sound_passes_the_wav_check_and_loads)
{
    for (const std::string& file : sound_files()) {
        ALLEGRO_SAMPLE* sample = load_checked_sample(file);
        EXPECT_NE(sample, nullptr) << file;
        if (sample)
            al_destroy_sample(sample);
    }
}

TEST(data_files, fonts_load_at_every_size_the_program_asks_for)
{
    const std::string text = "- SELECT AN ELEMENT TO GET STARTED - EARTH WIND WATER FIRE 0123456789 Loading...";
    struct font_use_class
    {
        const char* file;
        std::vector<int> sizes;
    };
    const font_use_class uses[] = {{"data/fonts/TrajanPro-Regular.otf", {-13, -15, -20, -28, -30}},
                             {"data/fonts/TrajanPro-Bold.otf", {-13, -15, -20, -28, -30}},
                             {"data/lacuna.ttf", {-16, -20}}};
    for (const font_use_class& use : uses)
        for (int size : use.sizes) {
            ALLEGRO_FONT* font = al_load_ttf_font(use.file, size, 0);
            ASSERT_NE(font, nullptr) << use.file << " at " << size;
            EXPECT_GT(al_get_text_width(font, text.c_str()), 10 * -size) << use.file;
            EXPECT_NEAR(al_get_font_line_height(font), -size, -size * 0.5) << use.file;
            al_destroy_font(font);
        }
}

TEST(data_files, tokens_and_buttons_are_about_64_pixels_and_the_overlay_fills_the_window)
{
    for (const char* name : {"earth4", "wind3", "water", "fire", "black_bead_opaque_A"}) {
        const size_class size = image_size(image_file(name));
        EXPECT_EQ(size.w, 64) << name;
        EXPECT_EQ(size.h, 64) << name;
    }
    const size_class overlay = image_size(image_file("overlay_pretty"));
    EXPECT_EQ(overlay.w, 1024);
    EXPECT_EQ(overlay.h, 600);
}

TEST(data_files, cursor_tips_are_at_the_hot_spot)
{
    for (const char* name : {"mouse_cursor", "pointer_cursor"}) {
        const size_class tip = first_opaque(image_file(name));
        EXPECT_GE(tip.w, 1) << name;
        EXPECT_LE(tip.w, 3) << name;
        EXPECT_GE(tip.h, 1) << name;
        EXPECT_LE(tip.h, 3) << name;
    }
}

// Letters are laid out by their anchors alone: a cell's left edge is at -anchor * width from the common
// point. The five cells must follow each other without gaps or overlaps, and the curtain must cover them.
TEST(data_files, title_cells_form_one_even_row_under_the_curtain)
{
    const std::vector<std::vector<const char*>> letters = {
        {"t1", "t2", "t3"}, {"o1_a", "o2_a"}, {"l1", "l2", "l3"}, {"m1", "m2"}, {"e1", "e2", "e3"}};
    const float anchors[5] = {2.7f, 1.35f, 0.7f, -0.2f, -1.2f};
    std::vector<size_class> cells;
    for (const auto& strokes : letters) {
        cells.push_back(image_size(image_file(strokes[0])));
        for (const char* stroke : strokes) {
            const size_class size = image_size(image_file(stroke));
            EXPECT_EQ(size.w, cells.back().w) << stroke;
            EXPECT_EQ(size.h, cells.back().h) << stroke;
        }
    }
    const float left = -anchors[0] * cells[0].w;
    const float right = (1 - anchors[4]) * cells[4].w;
    for (int i = 0; i + 1 < 5; ++i) {
        const float end = (1 - anchors[i]) * cells[i].w;
        const float next = -anchors[i + 1] * cells[i + 1].w;
        EXPECT_NEAR(end, next, 0.01f * (right - left)) << "after letter " << i;
    }
    // At the top of its swell the title is 1.04 times its size; the curtain is scaled 1.5 x 1.4.
    const size_class curtain = image_size(image_file("black_brick"));
    const float margin = 16;
    EXPECT_GE(curtain.w * 1.5f / 2 - margin, std::max(-left, right) * 1.04f);
    EXPECT_GE(curtain.h * 1.4f / 2 - margin, cells[0].h * 1.04f / 2);
}
