#include "framework/input.h"
#include "support/input_snapshot.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class input_test : public ::testing::Test
{
protected:
    void SetUp() override { input.controls.clear(); }
    static void feed(const input_snapshot& s) { input.update_from(s.keyboard, s.mouse); }
};

} // namespace

// A control registers on its first query, so a key already down then shows as pressed only from the next tick;
// the three queries of one code share one control.
TEST_F(input_test, press_hold_and_release_follow_the_ticks_from_the_first_query)
{
    const struct { bool down, pressed, held, released; } ticks[] = {
        {true, false, false, false}, {true, true, true, false}, {true, false, true, false},
        {false, false, false, true}, {false, false, false, false}};
    for (const auto& t : ticks) {
        feed(t.down ? input_snapshot().key(ALLEGRO_KEY_A) : input_snapshot());
        EXPECT_EQ(pressed(ALLEGRO_KEY_A), t.pressed);
        EXPECT_EQ(held(ALLEGRO_KEY_A), t.held);
        EXPECT_EQ(released(ALLEGRO_KEY_A), t.released);
    }
    EXPECT_EQ(input.controls.size(), 1u);
}

// With every key bit set, neither the mouse codes (which must not reach al_key_down) nor codes outside the key
// table (which would read past the snapshot) are down.
TEST_F(input_test, mouse_codes_read_the_buttons_and_codes_outside_the_key_table_are_never_down)
{
    const int codes[] = {mouse_left_button, mouse_right_button, ALLEGRO_KEY_MAX + 500, -7};
    for (int code : codes)
        held(code);
    input_snapshot all_keys;
    for (auto& word : all_keys.keyboard.__key_down__internal__)
        word = ~0u;
    feed(all_keys);
    for (int code : codes)
        EXPECT_FALSE(held(code)) << code;
    feed(input_snapshot().button(2).at(321, 123));
    EXPECT_TRUE(pressed(mouse_right_button) && !pressed(mouse_left_button));
    EXPECT_EQ(std::make_pair(mouse_x(), mouse_y()), std::make_pair(321, 123));
    feed(input_snapshot().button(1).button(2));
    EXPECT_TRUE(pressed(mouse_left_button) && held(mouse_right_button) && !pressed(mouse_right_button));
}
