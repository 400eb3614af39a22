// Shared ground for the instrument's tests: a fake clock, fresh bins, the built-in font as fallback, stand-in
// pictures for the four elements, and input fed from hand-made snapshots. Tear-down puts the globals back.
#pragma once

#include "framework/app.h"
#include "framework/input.h"
#include "instrument/element_menu.h"
#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "instrument/title_letters.h"
#include "math/colors.h"
#include "resources/bins.h"
#include "support/fake_clock.h"
#include "support/input_snapshot.h"
#include "support/printers.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <memory>

// Stand-in element pictures are this size, so a button's clickable box is easy to compute.
constexpr int picture_width = 100;
constexpr int picture_height = 60;

inline ::testing::AssertionResult same_colour(const ALLEGRO_COLOR& seen, const ALLEGRO_COLOR& expected)
{
    if (colors_equal(seen, expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour is " << ::testing::PrintToString(seen) << ", expected "
                                         << ::testing::PrintToString(expected);
}

class instrument_fixture : public ::testing::Test
{
public:
    std::unique_ptr<fake_clock_class> clock;

    void SetUp() override
    {
        clock = std::make_unique<fake_clock_class>(100.0);
        release_resources();
        fallback_font = al_create_builtin_font();
        for (const element_info& info : elements)
            graphics_bin.loaded[info.picture] = al_create_bitmap(picture_width, picture_height);
        input.controls.clear();
        // Watch every control the menu asks about, so a press in the first fed snapshot counts.
        update_element_menu();
        feed(input_snapshot());
    }

    void TearDown() override
    {
        current_element = 0;
        prompt_shown = false;
        for (Object* object : objects_bin)
            object->clear_animations();
        release_element_menu();
        release_resources();
        al_destroy_font(fallback_font);
        fallback_font = nullptr;
        input.controls.clear();
        clock.reset();
    }

    static void feed(const input_snapshot& snapshot) { input.update_from(snapshot.keyboard, snapshot.mouse); }

    // Time passes and every object's tweens catch up, as one frame would do.
    void advance(double seconds)
    {
        clock->advance(seconds);
        update_objects();
    }

    // A press, seen by the menu on this tick, then the release on a quiet tick.
    static void press_keys(std::initializer_list<int> codes)
    {
        input_snapshot down;
        for (int code : codes)
            down.key(code);
        feed(down);
        update_element_menu();
        feed(input_snapshot());
        update_element_menu();
    }

    static void click_at(int x, int y)
    {
        feed(input_snapshot().at(x, y).left_button());
        update_element_menu();
        feed(input_snapshot().at(x, y));
        update_element_menu();
    }
};
