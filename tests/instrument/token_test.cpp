#include "instrument_fixture.h"
#include "resources/drawing.h"

namespace {

constexpr int left = 1, right = 2;

class token_test : public instrument_fixture
{
public:
    // Ticks of the token clicks with the mouse at (x, y), each with these buttons down.
    static void ticks(int x, int y, std::initializer_list<int> buttons)
    {
        for (int down : buttons) {
            feed(input_snapshot{{}, down, x, y});
            update_token_clicks();
        }
    }
};

TEST_F(token_test, placing_takes_one_clearing_gives_it_back_and_a_place_during_the_hide_stays_visible)
{
    token_class& t = *instrument->token_grid[0];
    EXPECT_EQ(t.element_sprite.crop_top, 1.0f);
    instrument->fire_button.count = 0;
    for (int id : {4, 0, 5, 3, 3, 1}) // fire has none left, 0 and 5 are no elements; then only the first lands
        t.place_element(id);
    EXPECT_EQ(std::make_pair(int(t.element), instrument->water_button.count), std::make_pair(3, 998));
    EXPECT_EQ(t.element_sprite.image, get_image("data/images/water.png"));
    advance(0.3);
    t.clear_element();
    t.clear_element();
    EXPECT_EQ(instrument->water_button.count, 999);
    advance(0.1);
    EXPECT_GT(t.element_sprite.crop_top, 0.0f);
    // Placed again while the hide still runs, the element must end up visible.
    t.place_element(3);
    for (int frame = 0; frame < 20; ++frame)
        advance(0.05);
    EXPECT_EQ(std::make_pair(t.element_sprite.opacity, t.element_sprite.crop_top), std::make_pair(1.0f, 0.0f));
}

TEST_F(token_test, a_fresh_left_press_places_on_the_token_under_the_mouse_and_a_right_one_clears_it)
{
    instrument->current_element = water_element;
    ticks(0, 0, {0}); // both buttons watched and up
    ticks(279 + 9, 182, {left, 0}); // beside token 26's 16-pixel bead
    ticks(279, 182, {left | right, 0}); // left wins
    for (const token_class* token : instrument->token_grid)
        EXPECT_EQ(token->element, token == instrument->token_grid[26] ? 3 : 0);
    EXPECT_EQ(instrument->water_button.count, 998);
    ticks(279, 182, {right, 0});
    EXPECT_EQ(instrument->token_grid[26]->element, 0);
    // Held buttons do not click again: the left one held while the right goes down is a right click only.
    ticks(279, 182, {left, left | right, left | right});
    EXPECT_EQ(instrument->token_grid[26]->element, 0);
    EXPECT_EQ(instrument->water_button.count, 999);
}

} // namespace
