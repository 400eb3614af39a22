#include "instrument/pattern_commands.h"

#include "core/atomic_file.h"
#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "math/clock.h"

#include <allegro5/allegro_native_dialog.h>

#include <memory>
#include <unistd.h>

step_grid grid_cells()
{
    step_grid cells{};
    for (std::size_t i = 0; i < instrument->token_grid.size() && i < cells.size(); ++i)
        cells[i] = static_cast<std::uint8_t>(instrument->token_grid[i]->element);
    return cells;
}

void apply_pattern(const step_grid& cells)
{
    const bool shown = instrument->grid_shown;
    for (std::size_t i = 0; i < instrument->token_grid.size() && i < cells.size(); ++i) {
        token_class& token = *instrument->token_grid[i];
        if (token.element == cells[i])
            continue;
        token.clear_element();
        if (cells[i] != no_element && token.take_element(cells[i]) && shown)
            token.show_element();
    }
}

static std::string file_name(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

void start_pattern(const std::string& file, bool resume)
{
    const std::string path = resume ? autosave_path() : file;
    instrument->pattern_file = file;
    if (!path.empty() && (resume || access(path.c_str(), F_OK) == 0)) {
        const pattern_reading reading = read_pattern_file(path);
        if (reading.ok)
            apply_pattern(reading.cells);
        else
            report_problem("could not open " + path + ": " + reading.error);
    }
    instrument->history = pattern_history_class();
    instrument->history.current = grid_cells();
    instrument->autosave = std::make_unique<autosave_class>(autosave_path(), grid_cells());
}

// A path the player picks in the desktop's file dialog, or empty when the dialog was cancelled.
static std::string ask_for_path(bool saving)
{
    ALLEGRO_FILECHOOSER* dialog = al_create_native_file_dialog(
        instrument->pattern_file.empty() ? nullptr : instrument->pattern_file.c_str(),
        saving ? "Save the pattern" : "Open a pattern", "*.tolme",
        saving ? ALLEGRO_FILECHOOSER_SAVE : ALLEGRO_FILECHOOSER_FILE_MUST_EXIST);
    std::string path;
    if (dialog && al_show_native_file_dialog(al_get_current_display(), dialog) &&
        al_get_native_file_dialog_count(dialog) > 0)
        path = al_get_native_file_dialog_path(dialog, 0);
    if (dialog)
        al_destroy_native_file_dialog(dialog);
    // The dialog had the keyboard: Ctrl and the letter were let go there.
    input.let_go();
    if (saving && !path.empty() && file_name(path).find('.') == std::string::npos)
        path += ".tolme";
    return path;
}

static void save_pattern()
{
    const std::string path = instrument->pattern_file.empty() ? ask_for_path(true) : instrument->pattern_file;
    if (path.empty())
        return;
    const std::string why = write_file_atomically(path, format_pattern(grid_cells()));
    if (!why.empty()) {
        report_problem("could not save " + path + ": " + why);
        return;
    }
    instrument->pattern_file = path;
    show_notice("Saved " + file_name(path));
}

static void open_pattern()
{
    const std::string path = ask_for_path(false);
    if (path.empty())
        return;
    const pattern_reading reading = read_pattern_file(path);
    if (!reading.ok) {
        report_problem("could not open " + path + ": " + reading.error);
        return;
    }
    apply_pattern(reading.cells);
    instrument->pattern_file = path;
    show_notice("Opened " + file_name(path));
}

static void step_history(bool back)
{
    step_grid cells{};
    if (back ? instrument->history.undo(cells) : instrument->history.redo(cells))
        apply_pattern(cells);
}

static bool with_ctrl(int letter)
{
    return pressed_with(letter, ALLEGRO_KEYMOD_CTRL);
}

static void run_commands()
{
    if (with_ctrl(ALLEGRO_KEY_S))
        save_pattern();
    else if (with_ctrl(ALLEGRO_KEY_O))
        open_pattern();
    else if (with_ctrl(ALLEGRO_KEY_N))
        apply_pattern(step_grid{});
    else if (with_ctrl(ALLEGRO_KEY_Z))
        step_history(!pressed_with(ALLEGRO_KEY_Z, ALLEGRO_KEYMOD_SHIFT));
    else if (with_ctrl(ALLEGRO_KEY_Y))
        step_history(false);
}

void update_pattern()
{
    run_commands();
    const step_grid cells = grid_cells();
    instrument->history.record(cells);
    if (!instrument->autosave)
        return;
    instrument->autosave->update(cells, current_time());
    const std::string error = instrument->autosave->take_error();
    if (!error.empty())
        report_problem(error);
}
