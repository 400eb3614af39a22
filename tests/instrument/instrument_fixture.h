// Shared ground for the instrument's tests: a fake clock, fresh bins, the built-in font as fallback, 100 x 60
// stand-in pictures for the four elements and a small stand-in bead, the token grid and the element buttons
// built on them, and input fed from hand-made snapshots. Tear-down puts the globals back.
#pragma once

#include "instrument/instrument.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "support/fake_clock.h"
#include "support/input_snapshot.h"

#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <utility>

class instrument_fixture : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};

    void SetUp() override
    {
        instrument = new instrument_class;
        release_resources();
        fallback_font = al_create_builtin_font();
        for (const element_info& info : elements)
            graphics_bin.loaded[info.picture] = al_create_bitmap(100, 60);
        // At the tokens' scale of 0.8 a 20 x 20 bead is hit 8 pixels around its token's centre, which for token
        // (column, row) is (125.6 + 51.2 column, 80 + 51.2 row).
        graphics_bin.loaded[bead_image.path] = al_create_bitmap(20, 20);
        create_token_grid(grid_scale);
        build_element_buttons();
        reset_input();
        // Watch every control the menu asks about, so a press in the first fed snapshot counts.
        update_element_menu();
        feed(input_snapshot());
    }

    void TearDown() override
    {
        instrument_teardown();
        release_resources();
        al_destroy_font(std::exchange(fallback_font, nullptr));
        reset_input();
    }

    // Time passes and every object's tweens catch up, as one frame would do.
    void advance(double seconds)
    {
        clock.advance(seconds);
        update_objects();
    }
};
