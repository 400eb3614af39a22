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

// Moves the cursor as the arrows, Home and End typed in this tick ask, in their order; false when none was.
static bool moved_by_keys(grid_cursor_class& cursor)
{
    const std::vector<int> keys = typed_keys({ALLEGRO_KEY_LEFT, ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_UP, ALLEGRO_KEY_DOWN,
                                              ALLEGRO_KEY_HOME, ALLEGRO_KEY_END});
    for (const int key : keys) {
        if (!cursor.started || !cursor.shown)
            break; // the first arrow only shows it (at column 0 of the top row), as a key shows it when hidden
        if (key == ALLEGRO_KEY_HOME || key == ALLEGRO_KEY_END)
            cursor.column = key == ALLEGRO_KEY_HOME ? 0 : grid_columns - 1;
        else
            cursor.move(key == ALLEGRO_KEY_LEFT ? -1 : key == ALLEGRO_KEY_RIGHT ? 1 : 0,
                        key == ALLEGRO_KEY_UP ? -1 : key == ALLEGRO_KEY_DOWN ? 1 : 0);
    }
    return !keys.empty();
}

static bool any_pressed(std::initializer_list<int> keys)
{
    return std::any_of(keys.begin(), keys.end(), [](int key) { return pressed(key); });
}

// The mouse moved or clicked over the grid since the last tick; a window that grew or moved under a still
// mouse is no use of it.
static bool mouse_used_on_grid(const instrument_class& instrument)
{
    const bool over_grid = token_cell_at(instrument, static_cast<float>(mouse_x()), static_cast<float>(mouse_y())) >= 0;
    return over_grid && (input.mouse_moved || pressed(mouse_left_button) || pressed(mouse_right_button));
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
    const bool move = moved_by_keys(cursor);
    const bool place = any_pressed({ALLEGRO_KEY_SPACE, ALLEGRO_KEY_ENTER, ALLEGRO_KEY_PAD_ENTER});
    const bool clear = any_pressed({ALLEGRO_KEY_DELETE, ALLEGRO_KEY_BACKSPACE});
    cursor.started = cursor.started || move;
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
