#include "resources/drawing.h"
#include "resource_fixture.h"

#include <tuple>
#include <vector>

using drawing = resource_fixture;

// A 4x2 bitmap at scale 2 about its centre covers 16..23 x 18..21; a quarter turn stands it upright. A missing
// file draws the 4x4 placeholder unscaled with its corner at (x, y), whatever the transform, tinted like any
// image by the current blend color.
TEST_F(drawing, images_scale_and_rotate_about_the_pivot_and_a_missing_one_draws_the_placeholder)
{
    const ALLEGRO_COLOR red = al_map_rgb(255, 0, 0), green = al_map_rgb(0, 255, 0), clear = al_map_rgba(0, 0, 0, 0);
    const std::string file = write_png("green.png", 4, 2, green);
    bitmap_ptr target = transparent_target(40, 40);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    const struct { std::string file; float x, y, scale, angle; std::vector<std::tuple<int, int, ALLEGRO_COLOR>> seen; }
        draws[] = {{file, 20, 20, 2, 0, {{16, 18, green}, {23, 21, green}, {15, 18, clear}, {24, 21, clear},
                                         {20, 17, clear}, {20, 22, clear}}},
                   {file, 20, 20, 2, ALLEGRO_PI / 2, {{19, 16, green}, {16, 19, clear}}},
                   {path("nope.png"), 10, 12, 3, 1, {{10, 12, red}, {13, 15, red}, {9, 12, clear}, {14, 15, clear},
                                                     {13, 16, clear}}}};
    for (const auto& d : draws) {
        al_clear_to_color(clear);
        draw_image(d.file, d.x, d.y, 0.5f, d.scale, d.angle);
        for (const auto& [x, y, color] : d.seen)
            EXPECT_TRUE(pixel_is(target.get(), x, y, color)) << d.file << " at angle " << d.angle;
    }
    set_blend_mode(blend_normal, al_map_rgba_f(0.5f, 0.5f, 0.5f, 1));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    draw_missing_image(0, 0);
    EXPECT_TRUE(pixel_is(target.get(), 0, 0, al_map_rgba_f(0.5f, 0, 0, 1)));
    EXPECT_TRUE(has_image(file) && get_image(file) == graphics_bin.loaded.at(file) && !has_image(path("nope.png")));
    EXPECT_EQ(graphics_bin.errors.count(), 1);
}

// Playing loads a sample once; preloading loads it again, and the new handle replaces the old one.
TEST_F(drawing, preload_replaces_the_sample_handle)
{
    const std::string file = "data/sounds/select.wav";
    play_sample(file, 0.5f, 0);
    ALLEGRO_SAMPLE* first = samples_bin.loaded.at(file);
    preload_sample(file);
    EXPECT_TRUE(first && samples_bin.loaded.at(file) && samples_bin.loaded.at(file) != first);
}
