// Playing on the grid: the tokens' wipes, clicks on them and the keyboard's cursor.
#include "instrument_fixture.h"

#include "resources/drawing.h"

namespace {

constexpr int left = 1, right = 2;

class token_test : public instrument_fixture
{
public:
    // Ticks with the mouse at (x, y), each with these buttons down.
    void ticks(int x, int y, std::initializer_list<int> buttons)
    {
        for (int down : buttons)
            tick(input_snapshot{{}, down, x, y});
    }

    void press(int key) { instrument_fixture::press(input_snapshot().key(key)); }

    std::pair<int, int> at() const { return {instrument->cursor.column, instrument->cursor.row}; }
};

TEST_F(token_test, a_token_wipes_its_picture_in_and_out_and_one_shown_again_during_the_wipe_stays_visible)
{
    token_class& t = *instrument->token_grid[0];
    t.show(water_element, true);
    EXPECT_EQ(t.element_sprite.image, get_image("data/images/water.png"));
    advance(0.3);
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
    // A right click clears, as the end-to-end play test hears. Held buttons do not click again: the left one
    // held while the right goes down is a right click only.
    ticks(279, 182, {left, left | right, left | right});
    EXPECT_EQ(cells[26], no_element);
    // With none of the element left, a place is refused and the count flashes red.
    instrument->model = pattern_model_class(0);
    ticks(279, 182, {0, left, 0});
    EXPECT_EQ(instrument->water_button.count_label.tint_anim.count(), 1);
}

// Where the first arrow shows it, the arrows, Home and End inside the grid, and Space, Enter and Delete on its
// cell are played in the end-to-end keyboard test.
TEST_F(token_test, the_cursor_stops_at_the_edges_follows_a_held_arrow_places_once_a_press_and_hides_for_the_mouse)
{
    instrument->current_element = fire_element;
    tick(input_snapshot()); // the cursor's keys watched
    const step_grid& cells = instrument->model.pattern().cells;
    for (int key : {ALLEGRO_KEY_DOWN, ALLEGRO_KEY_UP, ALLEGRO_KEY_LEFT})
        press(key);
    EXPECT_EQ(at(), std::make_pair(0, 0));
    press(ALLEGRO_KEY_END);
    press(ALLEGRO_KEY_RIGHT);
    EXPECT_EQ(at(), std::make_pair(15, 0));
    // Held down, the key's own repeat moves it on, a step a repeat, to the bottom and no further.
    tick(input_snapshot().key(ALLEGRO_KEY_DOWN));
    for (int repeat = 0; repeat < 9; ++repeat) {
        ALLEGRO_EVENT again = key_event(ALLEGRO_KEY_DOWN, true, ALLEGRO_EVENT_KEY_CHAR);
        again.keyboard.repeat = true;
        input.on_event(again);
        tick(input_snapshot().key(ALLEGRO_KEY_DOWN));
    }
    EXPECT_EQ(at(), std::make_pair(15, 7));
    const int cell = cell_index(15, 7);
    const Object& bead = instrument->token_grid[cell]->bead;
    EXPECT_EQ(std::make_pair(instrument->cursor_ring.x, instrument->cursor_ring.y), std::make_pair(bead.x, bead.y));
    tick(input_snapshot().key(ALLEGRO_KEY_SPACE));
    EXPECT_EQ(cells[cell], fire_element);
    instrument->model.clear(cell);
    tick(input_snapshot().key(ALLEGRO_KEY_SPACE));
    EXPECT_EQ(cells[cell], no_element) << "a held Space places once";
    tick(input_snapshot());
    press(ALLEGRO_KEY_ENTER);
    press(ALLEGRO_KEY_BACKSPACE);
    EXPECT_EQ(cells[cell], no_element);
    // The window grown under a still mouse brings it over the grid: no use of the mouse. The mouse moved over
    // the grid hides it; the next key only shows it again, where it was.
    ALLEGRO_EVENT under = mouse_event(0, false, 280, 180);
    under.type = ALLEGRO_EVENT_MOUSE_ENTER_DISPLAY;
    input.on_event(under);
    tick(input_snapshot().at(last_fed.x, last_fed.y));
    EXPECT_EQ(instrument->cursor_ring.opacity, 1.0f);
    tick(input_snapshot().at(280, 180));
    EXPECT_EQ(instrument->cursor_ring.opacity, 0.0f);
    press(ALLEGRO_KEY_SPACE);
    EXPECT_EQ(cells[cell], no_element);
    press(ALLEGRO_KEY_SPACE);
    EXPECT_EQ(cells[cell], fire_element);
    // Down pressed while a held Right repeats is not lost to the repeat.
    press(ALLEGRO_KEY_HOME);
    press(ALLEGRO_KEY_UP);
    tick(input_snapshot().key(ALLEGRO_KEY_RIGHT));
    ALLEGRO_EVENT again = key_event(ALLEGRO_KEY_RIGHT, true, ALLEGRO_EVENT_KEY_CHAR);
    again.keyboard.repeat = true;
    input.on_event(again);
    tick(input_snapshot().key(ALLEGRO_KEY_RIGHT).key(ALLEGRO_KEY_DOWN));
    EXPECT_EQ(at(), std::make_pair(1, 7));
}

} // namespace
