#include "framework/input.h"
#include "support/input_snapshot.h"

#include <gtest/gtest.h>


namespace {

using snapshot = input_snapshot;

class input_test : public ::testing::Test
{
protected:
    void SetUp() override { input.controls.clear(); }
    void feed(const snapshot& s) { input.update_from(s.keyboard, s.mouse); }
};

} // namespace

TEST_F(input_test, first_query_registers_and_reports_nothing_then_press_shows_next_tick)
{
    feed(snapshot().key(ALLEGRO_KEY_A));
    EXPECT_FALSE(pressed(ALLEGRO_KEY_A)); // not watched when the key went down
    feed(snapshot().key(ALLEGRO_KEY_A));
    EXPECT_TRUE(pressed(ALLEGRO_KEY_A));
    EXPECT_TRUE(held(ALLEGRO_KEY_A));
    feed(snapshot().key(ALLEGRO_KEY_A));
    EXPECT_FALSE(pressed(ALLEGRO_KEY_A));
    EXPECT_TRUE(held(ALLEGRO_KEY_A));
    feed(snapshot());
    EXPECT_TRUE(released(ALLEGRO_KEY_A));
    EXPECT_FALSE(held(ALLEGRO_KEY_A));
    EXPECT_FALSE(pressed(ALLEGRO_KEY_A));
    feed(snapshot());
    EXPECT_FALSE(released(ALLEGRO_KEY_A));
}

TEST_F(input_test, three_queries_of_one_code_register_one_control)
{
    held(ALLEGRO_KEY_F1);
    pressed(ALLEGRO_KEY_F1);
    released(ALLEGRO_KEY_F1);
    EXPECT_EQ(input.controls.size(), 1u);
}

TEST_F(input_test, mouse_codes_read_the_buttons_not_the_keyboard)
{
    pressed(mouse_left_button);
    pressed(mouse_right_button);
    snapshot keys_only;
    // Bits that a key lookup of codes -1 and -2 could hit if the mouse codes reached al_key_down.
    for (auto& word : keys_only.keyboard.__key_down__internal__)
        word = ~0u;
    feed(keys_only);
    EXPECT_FALSE(held(mouse_left_button));
    EXPECT_FALSE(held(mouse_right_button));
    feed(snapshot().button(2));
    EXPECT_FALSE(pressed(mouse_left_button));
    EXPECT_TRUE(pressed(mouse_right_button));
    feed(snapshot().button(1).button(2));
    EXPECT_TRUE(pressed(mouse_left_button));
    EXPECT_FALSE(pressed(mouse_right_button));
    EXPECT_TRUE(held(mouse_right_button));
}

TEST_F(input_test, codes_outside_the_key_table_are_never_down)
{
    pressed(ALLEGRO_KEY_MAX + 500);
    pressed(-7);
    snapshot all;
    for (auto& word : all.keyboard.__key_down__internal__)
        word = ~0u;
    feed(all);
    feed(all);
    EXPECT_FALSE(held(ALLEGRO_KEY_MAX + 500));
    EXPECT_FALSE(held(-7));
}

TEST_F(input_test, mouse_position_comes_from_the_snapshot)
{
    snapshot s;
    s.mouse.x = 321;
    s.mouse.y = 123;
    feed(s);
    EXPECT_EQ(mouse_x(), 321);
    EXPECT_EQ(mouse_y(), 123);
}
