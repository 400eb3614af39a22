#include "resource_fixture.h"
#include "resources/drawing.h"

#include "audio/mixer.h"

#include <memory>

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

// Playing loads a sample once; preloading loads it again, and the new handle replaces the old one.
TEST_F(drawing, preload_replaces_the_sample_handle)
{
    const std::string file = "data/sounds/select.wav";
    const auto mixer = std::make_unique<mixer_class>();
    play_sample(*mixer, file, 0.5f, 0);
    ALLEGRO_SAMPLE* first = samples_bin.loaded.at(file);
    preload_sample(file);
    EXPECT_TRUE(first && samples_bin.loaded.at(file) && samples_bin.loaded.at(file) != first);
}
