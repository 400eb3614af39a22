// Playing from the keyboard: the cursor's moves and edits, tick by tick as the frame loop runs them.
#include "instrument_fixture.h"

namespace {

class grid_cursor_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        instrument->current_element = fire_element;
        update = update_grid_cursor;
        tick(input_snapshot()); // every key watched
    }

    void press(int key) { instrument_fixture::press(input_snapshot().key(key)); }

    std::pair<int, int> at() const { return {instrument->cursor.column, instrument->cursor.row}; }
};

TEST_F(grid_cursor_test, arrows_move_it_inside_the_grid_from_where_it_appears_and_repeat_while_held)
{
    EXPECT_FALSE(instrument->cursor.shown);
    press(ALLEGRO_KEY_DOWN);
    EXPECT_TRUE(instrument->cursor.shown);
    EXPECT_EQ(at(), std::make_pair(0, 0)) << "the first arrow shows it at column 0 of the top row";
    for (int key : {ALLEGRO_KEY_UP, ALLEGRO_KEY_LEFT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_DOWN})
        press(key);
    EXPECT_EQ(at(), std::make_pair(2, 1));
    press(ALLEGRO_KEY_END);
    EXPECT_EQ(at(), std::make_pair(15, 1));
    press(ALLEGRO_KEY_RIGHT);
    EXPECT_EQ(at(), std::make_pair(15, 1));
    press(ALLEGRO_KEY_HOME);
    EXPECT_EQ(at(), std::make_pair(0, 1));
    // Held down, the key's own repeat moves it on, a step a repeat, to the bottom and no further.
    tick(input_snapshot().key(ALLEGRO_KEY_DOWN));
    for (int repeat = 0; repeat < 9; ++repeat) {
        ALLEGRO_EVENT again = key_event(ALLEGRO_KEY_DOWN, true, ALLEGRO_EVENT_KEY_CHAR);
        again.keyboard.repeat = true;
        input.on_event(again);
        tick(input_snapshot().key(ALLEGRO_KEY_DOWN));
    }
    EXPECT_EQ(at(), std::make_pair(0, 7));
    const Object& bead = instrument->token_grid[cell_index(0, 7)]->bead;
    EXPECT_EQ(std::make_pair(instrument->cursor_ring.x, instrument->cursor_ring.y), std::make_pair(bead.x, bead.y));
}

TEST_F(grid_cursor_test, space_places_once_backspace_clears_and_the_mouse_on_the_grid_hides_it)
{
    const step_grid& cells = instrument->model.pattern().cells;
    press(ALLEGRO_KEY_RIGHT);
    press(ALLEGRO_KEY_RIGHT);
    tick(input_snapshot().key(ALLEGRO_KEY_SPACE));
    EXPECT_EQ(cells[cell_index(1, 0)], fire_element);
    instrument->model.clear(cell_index(1, 0));
    tick(input_snapshot().key(ALLEGRO_KEY_SPACE));
    EXPECT_EQ(cells[cell_index(1, 0)], no_element) << "a held Space places once";
    tick(input_snapshot());
    press(ALLEGRO_KEY_ENTER);
    EXPECT_EQ(cells[cell_index(1, 0)], fire_element);
    press(ALLEGRO_KEY_BACKSPACE);
    EXPECT_EQ(cells[cell_index(1, 0)], no_element);
    // The mouse moved over the grid hides it; the next key only shows it again, where it was.
    tick(input_snapshot().at(280, 180));
    EXPECT_FALSE(instrument->cursor.shown);
    EXPECT_EQ(instrument->cursor_ring.opacity, 0.0f);
    press(ALLEGRO_KEY_SPACE);
    EXPECT_TRUE(instrument->cursor.shown);
    EXPECT_EQ(cells[cell_index(1, 0)], no_element);
    press(ALLEGRO_KEY_SPACE);
    EXPECT_EQ(cells[cell_index(1, 0)], fire_element);
}

} // namespace
