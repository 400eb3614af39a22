#include "core/input.h"
#include "support/input_snapshot.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>
#include <utility>

class input_test : public ::testing::Test
{
protected:
    void SetUp() override { reset_input(); }

    // Pressed, held and released of a code, as one value a failure prints readably.
    static std::tuple<bool, bool, bool> state(int code) { return {pressed(code), held(code), released(code)}; }
};

// A control registers on its first query, so a key already down then shows as pressed only from the next tick;
// the three queries of one code share one control. Codes no device has (outside the key table) are never down,
// the right button is a control of its own, and what is held when the window loses the focus is let go.
TEST_F(input_test, controls_follow_the_ticks_from_their_first_query_and_let_go_when_the_focus_goes)
{
    const struct { bool down, pressed, held, released; } ticks[] = {
        {true, false, false, false}, {true, true, true, false}, {true, false, true, false},
        {false, false, false, true}, {false, false, false, false}};
    for (const auto& t : ticks) {
        feed(t.down ? input_snapshot().key(ALLEGRO_KEY_A) : input_snapshot());
        EXPECT_EQ(state(ALLEGRO_KEY_A), std::make_tuple(t.pressed, t.held, t.released));
    }
    EXPECT_EQ(input.controls.size(), 1u);

    for (int code : {ALLEGRO_KEY_MAX + 500, -7, int(ALLEGRO_KEY_F), mouse_left_button, mouse_right_button})
        held(code);
    input.on_event(key_event(ALLEGRO_KEY_MAX + 500, true));
    feed(input_snapshot().right_button().key(ALLEGRO_KEY_F));
    EXPECT_FALSE(held(ALLEGRO_KEY_MAX + 500) || held(-7) || pressed(mouse_left_button));
    EXPECT_TRUE(pressed(mouse_right_button) && held(ALLEGRO_KEY_F));
    input.on_event(key_event(0, false, ALLEGRO_EVENT_DISPLAY_SWITCH_OUT)); // the window loses the focus
    input.update();
    EXPECT_TRUE(released(ALLEGRO_KEY_F) && released(mouse_right_button));

    // After a dialog, what waited in the queue from before it closed is dropped; what comes later counts.
    input.drop_before(current_time() + 1);
    ALLEGRO_EVENT later = key_event(ALLEGRO_KEY_A, true);
    later.any.timestamp += 2;
    for (const ALLEGRO_EVENT& event : {mouse_event(1, true, 10, 10), key_event(ALLEGRO_KEY_F, true), later})
        input.on_event(event);
    input.update();
    EXPECT_FALSE(pressed(mouse_left_button) || pressed(ALLEGRO_KEY_F));
    EXPECT_TRUE(pressed(ALLEGRO_KEY_A));
    input.drop_before(0);
}

// A press let go before its tick (a tap, an instant key) reads pressed in that tick and released in the next,
// and the tick reports where the mouse was pressed, not where it went after.
TEST_F(input_test, a_press_and_release_within_one_tick_counts_at_the_place_it_happened)
{
    pressed(ALLEGRO_KEY_S);
    pressed(mouse_left_button);
    feed(input_snapshot());
    for (const ALLEGRO_EVENT& event : {key_event(ALLEGRO_KEY_S, true), key_event(ALLEGRO_KEY_S, false),
                                       mouse_event(1, true, 200, 150), mouse_event(1, false, 200, 150),
                                       mouse_event(0, false, 600, 400)})
        input.on_event(event);
    input.update();
    EXPECT_EQ(state(ALLEGRO_KEY_S), std::make_tuple(true, true, false));
    EXPECT_TRUE(pressed(mouse_left_button));
    EXPECT_EQ(std::make_pair(mouse_x(), mouse_y()), std::make_pair(200, 150));
    input.update();
    EXPECT_EQ(state(ALLEGRO_KEY_S), std::make_tuple(false, false, true));
    EXPECT_TRUE(released(mouse_left_button));
    EXPECT_EQ(std::make_pair(mouse_x(), mouse_y()), std::make_pair(600, 400));
    input.update();
    EXPECT_EQ(state(ALLEGRO_KEY_S), std::make_tuple(false, false, false));

    // Two taps held up together (a slow frame) are two presses, one after the other.
    for (bool down : {true, false, true, false})
        input.on_event(key_event(ALLEGRO_KEY_S, down));
    int presses = 0;
    for (int tick = 0; tick < 5; ++tick) {
        input.update();
        presses += pressed(ALLEGRO_KEY_S);
    }
    EXPECT_EQ(presses, 2);
}

// Keys typed in one tick are each told, in the order they went down; a held key steps on with its repeat, and
// a key pressed meanwhile is told in its place.
TEST_F(input_test, keys_typed_together_come_in_their_order_and_a_press_comes_before_a_repeat)
{
    const int right = ALLEGRO_KEY_RIGHT, down = ALLEGRO_KEY_DOWN;
    typed_keys({right, down});
    feed(input_snapshot());
    ALLEGRO_EVENT first = key_event(down, true), second = key_event(right, true);
    second.any.timestamp += 0.005;
    ALLEGRO_EVENT again = key_event(right, true, ALLEGRO_EVENT_KEY_CHAR);
    again.keyboard.repeat = true;
    // Last, Right typed twice around a Down in one tick is told by its first press, before the Down.
    ALLEGRO_EVENT later = key_event(down, true), last = key_event(right, true);
    later.any.timestamp += 0.01;
    last.any.timestamp += 0.02;
    const std::vector<std::vector<ALLEGRO_EVENT>> ticks = {
        {first, second},
        {key_event(down, false), again},
        {again, key_event(down, true)},
        {key_event(right, false), key_event(down, false)},
        {second, key_event(right, false), later, last}};
    const std::vector<std::vector<int>> typed = {{down, right}, {right}, {down}, {}, {right, down}};
    for (std::size_t tick = 0; tick < ticks.size(); ++tick) {
        for (const ALLEGRO_EVENT& event : ticks[tick])
            input.on_event(event);
        input.update();
        EXPECT_EQ(typed_keys({right, down}), typed[tick]) << "tick " << tick;
    }
}
