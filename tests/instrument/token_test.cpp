#include "instrument_fixture.h"
#include "instrument/pattern_view.h"
#include "resources/drawing.h"

namespace {

constexpr int left = 1, right = 2;

class token_test : public instrument_fixture
{
public:
    // Ticks of the token clicks with the mouse at (x, y), each with these buttons down.
    void ticks(int x, int y, std::initializer_list<int> buttons)
    {
        update = update_token_clicks;
        for (int down : buttons)
            tick(input_snapshot{{}, down, x, y});
    }
};

TEST_F(token_test, a_token_wipes_its_picture_in_and_out_and_one_shown_again_during_the_wipe_stays_visible)
{
    token_class& t = *instrument->token_grid[0];
    EXPECT_EQ(t.element_sprite.crop_top, 1.0f);
    t.show(water_element, true);
    EXPECT_EQ(t.element_sprite.image, get_image("data/images/water.png"));
    advance(0.3);
    EXPECT_EQ(t.element_sprite.crop_top, 0.0f);
    t.show(no_element, true);
    advance(0.1);
    EXPECT_GT(t.element_sprite.crop_top, 0.0f);
    // Shown again while the wipe still runs, the element must end up visible.
    t.show(water_element, true);
    for (int frame = 0; frame < 20; ++frame)
        advance(0.05);
    EXPECT_EQ(std::make_pair(t.element_sprite.opacity, t.element_sprite.crop_top), std::make_pair(1.0f, 0.0f));
    // Shown before the grid is, it waits cropped away for the reveal.
    token_class& waiting = *instrument->token_grid[1];
    waiting.show(fire_element, false);
    advance(0.5);
    EXPECT_EQ(waiting.element_sprite.crop_top, 1.0f);
}

TEST_F(token_test, a_fresh_left_press_places_on_the_token_under_the_mouse_and_a_right_one_clears_it)
{
    instrument->current_element = water_element;
    const step_grid& cells = instrument->model.pattern().cells;
    ticks(0, 0, {0}); // both buttons watched and up
    ticks(279 + 9, 182, {left, 0}); // beside token 26's 16-pixel bead
    ticks(279, 182, {left | right, 0}); // left wins
    for (int cell = 0; cell < step_cells; ++cell)
        EXPECT_EQ(cells[cell], cell == 26 ? water_element : no_element);
    ticks(279, 182, {right, 0});
    EXPECT_EQ(cells[26], no_element);
    // Held buttons do not click again: the left one held while the right goes down is a right click only.
    ticks(279, 182, {left, left | right, left | right});
    EXPECT_EQ(cells[26], no_element);
    // With none of the element left, a place is refused and the count flashes red.
    instrument->model = pattern_model_class(0);
    ticks(279, 182, {0, left, 0});
    EXPECT_EQ(cells[26], no_element);
    EXPECT_EQ(instrument->water_button.count_label.tint_anim.count(), 1);
}

} // namespace
