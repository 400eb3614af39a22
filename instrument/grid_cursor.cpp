#include "instrument/grid_cursor.h"

#include "core/input.h"
#include "instrument/instrument.h"
#include "resources/manifest.h"

#include <algorithm>

void grid_cursor_class::move(int columns, int rows)
{
    column = std::clamp(column + columns, 0, grid_columns - 1);
    row = std::clamp(row + rows, 0, grid_rows - 1);
}

int grid_cursor_class::cell() const
{
    return cell_index(column, row);
}

void setup_grid_cursor(instrument_class& instrument)
{
    Object& ring = instrument.cursor_ring;
    ring.set_image(grid_cursor_image.path, true);
    ring.set_anchor(0.5f, 0.5f);
    ring.scale_x_anim.set(grid_scale);
    ring.scale_y_anim.set(grid_scale);
    // Above the tokens and their bursts, below the overlay and the notice.
    ring.z_anim.set(10.0f);
    ring.opacity_anim.set(0.0f);
}

// The move an arrow, Home or End asks for this tick, if any.
static bool asked_move(const grid_cursor_class& cursor, int& columns, int& rows)
{
    const struct { int key, columns, rows; } moves[] = {
        {ALLEGRO_KEY_LEFT, -1, 0}, {ALLEGRO_KEY_RIGHT, 1, 0}, {ALLEGRO_KEY_UP, 0, -1}, {ALLEGRO_KEY_DOWN, 0, 1},
        {ALLEGRO_KEY_HOME, -cursor.column, 0}, {ALLEGRO_KEY_END, grid_columns - 1 - cursor.column, 0}};
    for (const auto& m : moves)
        if (pressed_or_repeated(m.key)) {
            columns = m.columns;
            rows = m.rows;
            return true;
        }
    return false;
}

static bool any_pressed(std::initializer_list<int> keys)
{
    return std::any_of(keys.begin(), keys.end(), [](int key) { return pressed(key); });
}

// The mouse moved or clicked over the grid since the last tick.
static bool mouse_used_on_grid(instrument_class& instrument)
{
    grid_cursor_class& cursor = instrument.cursor;
    const bool moved = mouse_x() != cursor.last_mouse_x || mouse_y() != cursor.last_mouse_y;
    cursor.last_mouse_x = mouse_x();
    cursor.last_mouse_y = mouse_y();
    const bool over_grid = token_cell_at(instrument, static_cast<float>(mouse_x()), static_cast<float>(mouse_y())) >= 0;
    return over_grid && (moved || pressed(mouse_left_button) || pressed(mouse_right_button));
}

static void show_ring(instrument_class& instrument)
{
    grid_cursor_class& cursor = instrument.cursor;
    Object& ring = instrument.cursor_ring;
    const Object& bead = instrument.token_grid[cursor.cell()]->bead;
    ring.move_to(bead.x, bead.y);
    ring.tint_anim.set(element_button(instrument, instrument.current_element)->color);
    ring.opacity_anim.set(cursor.shown ? 1.0f : 0.0f);
}

void update_grid_cursor(instrument_class& instrument)
{
    grid_cursor_class& cursor = instrument.cursor;
    if (mouse_used_on_grid(instrument))
        cursor.shown = false;
    int columns = 0, rows = 0;
    const bool move = asked_move(cursor, columns, rows);
    const bool place = any_pressed({ALLEGRO_KEY_SPACE, ALLEGRO_KEY_ENTER, ALLEGRO_KEY_PAD_ENTER});
    const bool clear = any_pressed({ALLEGRO_KEY_DELETE, ALLEGRO_KEY_BACKSPACE});
    if (move && !cursor.started)
        cursor.started = true; // the first arrow only shows it, at column 0 of the top row
    else if (move && cursor.shown)
        cursor.move(columns, rows);
    if (!cursor.started || !(move || place || clear)) {
        show_ring(instrument);
        return;
    }
    // A key shows a hidden cursor again where it was; only then does the next one act on it.
    if (cursor.shown && place)
        place_chosen_element(instrument, cursor.cell());
    else if (cursor.shown && clear)
        instrument.model.clear(cursor.cell());
    cursor.shown = true;
    show_ring(instrument);
}
