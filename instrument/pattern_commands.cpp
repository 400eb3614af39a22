#include "instrument/pattern_commands.h"

#include "core/atomic_file.h"
#include "core/file_reading.h"
#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "instrument/pattern_view.h"
#include "math/clock.h"

#include <allegro5/allegro_native_dialog.h>

#include <memory>
#include <unistd.h>

static std::string file_name(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

void override_timing(pattern_class& pattern, const pattern_start& start)
{
    if (start.tempo_tenths)
        pattern.tempo = tempo_in_tenths(start.tempo_tenths);
    if (start.swing)
        pattern.swing = start.swing;
}

void start_pattern(instrument_class& instrument, const pattern_start& start)
{
    const std::string path = start.resume ? autosave_path() : start.file;
    instrument.pattern_file = start.file;
    instrument.pattern_file_text.clear();
    pattern_class pattern;
    if (!path.empty() && (start.resume || access(path.c_str(), F_OK) == 0)) {
        const pattern_reading reading = read_pattern_file(path);
        if (reading.ok) {
            pattern = reading.pattern;
            instrument.pattern_file_text = reading.text;
        } else {
            report_problem(instrument, "could not open " + path + ": " + reading.error);
            // Ctrl+S then asks where to save: a file that could not be read is never written over.
            if (path == start.file)
                instrument.pattern_file.clear();
        }
    }
    override_timing(pattern, start);
    instrument.model.reset(pattern);
    instrument.autosave = std::make_unique<autosave_class>(autosave_path(), pattern);
    follow_pattern(instrument);
}

// A path the player picks in the desktop's file dialog, or empty when the dialog was cancelled.
static std::string ask_for_path(const instrument_class& instrument, bool saving)
{
    ALLEGRO_FILECHOOSER* dialog = al_create_native_file_dialog(
        instrument.pattern_file.empty() ? nullptr : instrument.pattern_file.c_str(),
        saving ? "Save the pattern" : "Open a pattern", "*.tolme",
        saving ? ALLEGRO_FILECHOOSER_SAVE : ALLEGRO_FILECHOOSER_FILE_MUST_EXIST);
    std::string path;
    if (dialog && al_show_native_file_dialog(al_get_current_display(), dialog) &&
        al_get_native_file_dialog_count(dialog) > 0)
        path = al_get_native_file_dialog_path(dialog, 0);
    if (dialog)
        al_destroy_native_file_dialog(dialog);
    // The dialog had the keyboard: Ctrl and the letter were let go there. Clicks and keys that reached the
    // window meanwhile are not acted on now.
    input.let_go();
    input.drop_before(current_time());
    if (saving && !path.empty() && file_name(path).find('.') == std::string::npos)
        path += ".tolme";
    return path;
}

// Whether another program changed the pattern's file since Tolme last read or wrote it (a hand edit, say),
// so that saving would lose its change. Told once: the next Ctrl+S saves over it. A file that cannot be read
// is left for the write to report.
static bool changed_elsewhere(instrument_class& instrument)
{
    std::string text;
    if (!read_small_file(instrument.pattern_file, largest_pattern_file, text).empty() ||
        text == instrument.pattern_file_text)
        return false;
    instrument.pattern_file_text = text;
    return true;
}

static void save_pattern(instrument_class& instrument)
{
    const bool asked = instrument.pattern_file.empty();
    const std::string path = asked ? ask_for_path(instrument, true) : instrument.pattern_file;
    if (path.empty())
        return;
    if (!asked && changed_elsewhere(instrument)) {
        report_problem(instrument, "did not save " + path + ": another program changed it (Ctrl+S again saves over it)");
        return;
    }
    const std::string text = format_pattern(instrument.model.pattern());
    const std::string why = write_file_atomically(path, text);
    if (!why.empty()) {
        report_problem(instrument, "could not save " + path + ": " + why);
        return;
    }
    instrument.pattern_file = path;
    instrument.pattern_file_text = text;
    show_notice(instrument, "Saved " + file_name(path));
}

static void open_pattern(instrument_class& instrument)
{
    const std::string path = ask_for_path(instrument, false);
    if (path.empty())
        return;
    const pattern_reading reading = read_pattern_file(path);
    if (!reading.ok) {
        report_problem(instrument, "could not open " + path + ": " + reading.error);
        return;
    }
    instrument.model.replace(reading.pattern);
    instrument.pattern_file = path;
    instrument.pattern_file_text = reading.text;
    show_notice(instrument, "Opened " + file_name(path));
}

static bool with_ctrl(int letter)
{
    return pressed_with(letter, ALLEGRO_KEYMOD_CTRL);
}

static void run_commands(instrument_class& instrument)
{
    if (with_ctrl(ALLEGRO_KEY_S))
        save_pattern(instrument);
    else if (with_ctrl(ALLEGRO_KEY_O))
        open_pattern(instrument);
    else if (with_ctrl(ALLEGRO_KEY_N))
        instrument.model.clear_all();
    else if (with_ctrl(ALLEGRO_KEY_Z) && !pressed_with(ALLEGRO_KEY_Z, ALLEGRO_KEYMOD_SHIFT))
        instrument.model.undo();
    else if (with_ctrl(ALLEGRO_KEY_Z) || with_ctrl(ALLEGRO_KEY_Y))
        instrument.model.redo();
}

void update_pattern(instrument_class& instrument)
{
    run_commands(instrument);
    follow_pattern(instrument);
}
