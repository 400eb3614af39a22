// Shared ground for the instrument's tests: a fake clock, fresh bins, the built-in font as fallback, 100 x 60
// stand-in pictures for the four elements and a small stand-in bead, an instrument with its own mixer and
// silent output, its token grid and element buttons built on them, and input fed from hand-made snapshots to
// the instrument's update, as the frame loop runs it.
// Tear-down puts the globals back.
#pragma once

#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "instrument/instrument.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "support/fake_clock.h"
#include "support/input_snapshot.h"

#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

class instrument_fixture : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};
    std::unique_ptr<mixer_class> mixer = std::make_unique<mixer_class>();
    std::unique_ptr<audio_output_class> output = std::make_unique<audio_output_class>(*mixer);
    std::unique_ptr<instrument_class> made;
    instrument_class* instrument = nullptr;

    void SetUp() override
    {
        release_resources();
        fallback_font = al_create_builtin_font();
        for (const element_info& info : elements)
            graphics_bin.loaded[info.picture] = al_create_bitmap(100, 60);
        // At the tokens' scale of 0.8 a 20 x 20 bead is hit 8 pixels around its token's centre, which for token
        // (column, row) is (125.6 + 51.2 column, 80 + 51.2 row).
        graphics_bin.loaded[bead_image.path] = al_create_bitmap(20, 20);
        made = std::make_unique<instrument_class>(*mixer, *output);
        instrument = made.get();
        create_token_grid(*instrument, grid_scale);
        build_element_buttons(*instrument);
        reset_input();
        // Watch every control the frame loop asks about, so a press in the first fed snapshot counts.
        instrument_update(*instrument);
        feed(input_snapshot());
    }

    void TearDown() override
    {
        made.reset();
        release_resources();
        al_destroy_font(std::exchange(fallback_font, nullptr));
        reset_input();
    }

    // A frame's input and the instrument's update.
    void tick(const input_snapshot& snapshot)
    {
        feed(snapshot);
        instrument_update(*instrument);
    }

    // A tick with these down, then one with everything let go where the mouse is.
    void press(const input_snapshot& down)
    {
        tick(down);
        tick(input_snapshot().at(down.x, down.y));
    }

    // Time passes and every object's tweens catch up, as one frame would do.
    void advance(double seconds)
    {
        clock.advance(seconds);
        update_objects();
    }
};
