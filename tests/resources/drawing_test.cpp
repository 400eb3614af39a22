#include "resources/drawing.h"
#include "tests/resources/resource_fixture.h"
#include "tests/support/printers.h"

namespace {

class drawing : public resource_fixture
{
public:
    ALLEGRO_BITMAP* target = nullptr;

    void SetUp() override
    {
        resource_fixture::SetUp();
        target = transparent_target(40, 40);
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    }

    void TearDown() override
    {
        al_destroy_bitmap(target);
        resource_fixture::TearDown();
    }

    bool is(int x, int y, ALLEGRO_COLOR expected) const
    {
        return colors_equal(al_get_pixel(target, x, y), expected);
    }
};

const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0);
const ALLEGRO_COLOR green = al_map_rgb(0, 255, 0);
const ALLEGRO_COLOR clear = al_map_rgba(0, 0, 0, 0);

} // namespace

TEST_F(drawing, draw_image_scales_and_rotates_about_the_pivot)
{
    const std::string file = write_png("green.png", 4, 2, green);
    draw_image(file, 20, 20, 0.5f, 2, 0);
    EXPECT_TRUE(is(16, 18, green));
    EXPECT_TRUE(is(23, 21, green));
    EXPECT_TRUE(is(15, 18, clear));
    EXPECT_TRUE(is(24, 21, clear));
    EXPECT_TRUE(is(20, 17, clear));
    EXPECT_TRUE(is(20, 22, clear));

    al_clear_to_color(clear);
    draw_image(file, 20, 20, 0.5f, 2, ALLEGRO_PI / 2);
    EXPECT_TRUE(is(19, 16, green)) << "a quarter turn stands the bitmap upright";
    EXPECT_TRUE(is(16, 19, clear));
}

TEST_F(drawing, a_missing_image_draws_the_placeholder_at_its_corner_whatever_the_transform)
{
    draw_image(path("nope.png"), 10, 12, 0.5f, 3, 1.0f);
    EXPECT_TRUE(is(10, 12, red));
    EXPECT_TRUE(is(13, 15, red));
    EXPECT_TRUE(is(9, 12, clear));
    EXPECT_TRUE(is(14, 15, clear));
    EXPECT_TRUE(is(13, 16, clear));
    EXPECT_EQ(graphics_bin.missing_count(), 1);
}

TEST_F(drawing, images_are_tinted_by_the_current_blend_colour)
{
    set_blend_mode(0, al_map_rgba_f(0.5f, 0.5f, 0.5f, 1));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    draw_missing_image(0, 0);
    EXPECT_NEAR(al_get_pixel(target, 0, 0).r, 0.5f, 1.0f / 255);
    set_blend_mode(0, al_color_name("white"));
}

TEST_F(drawing, has_image_loads_like_get_image_and_records_a_miss)
{
    const std::string file = write_png("green.png", 2, 2, green);
    EXPECT_TRUE(has_image(file));
    EXPECT_EQ(get_image(file), graphics_bin.loaded.at(file));
    EXPECT_FALSE(has_image(path("nope.png")));
    EXPECT_EQ(graphics_bin.size(true), 2);
    EXPECT_EQ(graphics_bin.missing_count(), 1);
}

TEST_F(drawing, a_missing_sample_is_silent_and_reported_once)
{
    for (int play = 0; play < 10; ++play)
        play_sample(path("nope.wav"), 1, 0);
    EXPECT_EQ(samples_bin.errors.count(), 1);
    EXPECT_EQ(samples_bin.size(true), 1);
}

TEST_F(drawing, preload_sample_loads_again_and_play_uses_the_newest)
{
    const std::string file = write_wav("note.wav");
    play_sample(file, 0.5f, 0);
    ALLEGRO_SAMPLE* first = samples_bin.loaded.at(file);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(al_get_sample_length(first), 64u);

    preload_sample(file);
    ALLEGRO_SAMPLE* second = samples_bin.loaded.at(file);
    EXPECT_NE(second, first);
    play_sample(file, 0.5f, 0);
    EXPECT_EQ(samples_bin.loaded.at(file), second);
    EXPECT_EQ(samples_bin.errors.count(), 0);
}

TEST_F(drawing, a_malformed_sample_file_is_a_miss_not_handed_to_the_loader)
{
    const std::string file = write_wav("cut.wav");
    std::filesystem::resize_file(file, std::filesystem::file_size(file) - 10);
    play_sample(file, 1, 0);
    EXPECT_EQ(samples_bin.missing_count(), 1);
}
