// Every data file the instrument names is generated the same on every run and loads through Allegro the way
// the program loads it, and the art has the sizes and layout the scene relies on.
#include "support/data_files.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

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
    for (const std::string& file : data_files())
        EXPECT_EQ(std::system(("cmp -s " + file + " " + root + file.substr(4)).c_str()), 0) << file << " differs";
    // Besides those files, only the images, sounds and fonts folders.
    const size_t entries = std::distance(std::filesystem::recursive_directory_iterator(root), {});
    EXPECT_EQ(entries, data_files().size() + 3) << "files left over";
    std::filesystem::remove_all(root);
}

// Every image loads at the size the manifest gives. The cursors are drawn with their top-left corner at the
// mouse position, so their tips must be right there. Additive art adds its color to the stage: anything but
// black at an edge shows as a seam (the glow stands on its bottom edge).
TEST(data_files, images_have_their_sizes_cursor_tips_and_black_borders)
{
    const std::set<const data_image*> cursors = {&arrow_cursor_image, &pointer_cursor_image};
    std::set<const data_image*> additive = {&air_puff_image, &flame_tongue_image, &flame_core_image, &bead_image, &glow_image};
    for (const data_image& stroke : title_stroke_images)
        additive.insert(&stroke);
    for (const data_image* image : all_images) {
        const bitmap_ptr b(al_load_bitmap(image->path));
        const int w = image->width, h = image->height;
        ASSERT_TRUE(b && al_get_bitmap_width(b.get()) == w && al_get_bitmap_height(b.get()) == h) << image->path;
        int left = w, top = h;
        float brightest = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const ALLEGRO_COLOR c = al_get_pixel(b.get(), x, y);
                if (c.a > 0.5f)
                    left = std::min(left, x), top = std::min(top, y);
                if (x == 0 || x == w - 1 || y == 0 || (y == h - 1 && image != &glow_image))
                    brightest = std::max({brightest, c.r, c.g, c.b});
            }
        EXPECT_TRUE(!cursors.count(image) || (std::abs(left - 2) <= 1 && std::abs(top - 2) <= 1))
            << image->path << " tip at " << left << ", " << top;
        EXPECT_TRUE(!additive.count(image) || brightest <= 2.0f / 255) << image->path;
    }
}
