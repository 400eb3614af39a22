#include "instrument/pattern_commands.h"

#include "core/atomic_file.h"
#include "core/file_reading.h"
#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "instrument/pattern_view.h"
#include "instrument/timing_keys.h"

#include <allegro5/allegro_native_dialog.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <sys/stat.h>

static std::string file_name(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

// Whether something is at the path, or may be: only a path that surely leads to nothing (no such file, or a
// link to none yet, which a save writes through) is free for a new pattern. One that cannot be reached is for
// the reading to explain.
static bool taken(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 || errno != ENOENT;
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
    instrument.autosave.reset(); // a run starting again lets go of its autosave first
    file_lock_class lock;
    const std::string autosave = claim_autosave(lock);
    if (autosave != autosave_path())
        report_problem(instrument, "another Tolme is running: this one autosaves to " + file_name(autosave));
    const std::string path = start.resume ? autosave_path() : start.file;
    instrument.pattern_file = start.file;
    instrument.pattern_file_text.clear();
    pattern_class pattern;
    bool resumed = false;
    if (!path.empty() && (start.resume || taken(path))) {
        const pattern_reading reading = read_pattern_file(path);
        if (reading.ok) {
            pattern = reading.pattern;
            instrument.pattern_file_text = reading.text;
            resumed = start.resume;
        } else {
            report_problem(instrument, "could not open " + path + ": " + reading.error);
            // Ctrl+S then asks where to save: a file that could not be read is never written over.
            if (path == start.file)
                instrument.pattern_file.clear();
        }
    }
    override_timing(pattern, start);
    instrument.model.reset(pattern);
    // An autosave this run does not go on from (one that could not be read, or another run's, too) is kept.
    if (!resumed || autosave != path)
        keep_previous_autosave(autosave, start.file);
    instrument.autosave = std::make_unique<autosave_class>(autosave, pattern, std::move(lock));
    follow_pattern(instrument);
}

// Asks the desktop's file dialog for a file to save the pattern to or to open one from; the command goes on
// when the dialog closes.
static void ask_for_path(instrument_class& instrument, bool saving)
{
    instrument.file_dialog.show(al_get_current_display(), instrument.pattern_file,
                                saving ? "Save the pattern" : "Open a pattern", "*.tolme",
                                saving ? ALLEGRO_FILECHOOSER_SAVE : ALLEGRO_FILECHOOSER_FILE_MUST_EXIST);
    instrument.dialog_saves = saving;
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

static void save_pattern(instrument_class& instrument, const std::string& path)
{
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

static void save_to_its_file(instrument_class& instrument)
{
    if (instrument.pattern_file.empty())
        ask_for_path(instrument, true);
    else if (changed_elsewhere(instrument))
        report_problem(instrument, "did not save " + instrument.pattern_file +
                                       ": another program changed it (Ctrl+S again saves over it)");
    else
        save_pattern(instrument, instrument.pattern_file);
}

static void open_pattern(instrument_class& instrument, const std::string& path)
{
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

// The path the player picked, once the dialog has closed, for the command that asked for it.
static void answer_dialog(instrument_class& instrument)
{
    std::optional<file_dialog_answer> answer = instrument.file_dialog.take_answer();
    if (answer && answer->failed)
        return report_problem(instrument, "could not show the file dialog: GTK did not start");
    if (!answer || answer->path.empty())
        return;
    std::string& path = answer->path;
    if (!instrument.dialog_saves)
        return open_pattern(instrument, path);
    // A new name given without an extension is a pattern's. The dialog asked before the file it named was
    // written over, not the one with the extension: that one is left alone.
    if (file_name(path).find('.') == std::string::npos && !taken(path)) {
        path += ".tolme";
        if (taken(path))
            return report_problem(instrument, "did not save " + path +
                                                  ": it is there already (give its whole name to save over it)");
    }
    save_pattern(instrument, path);
}

// An undo or redo. Over an opened pattern, the grid no longer holds what was opened (or, redone, what was
// saved to the file before): Ctrl+S asks where to save it instead of writing over either file. A tempo or
// swing it brings back is told, as the keys tell theirs: what is heard changes.
static void step_history(instrument_class& instrument, bool back)
{
    pattern_model_class& model = instrument.model;
    const pattern_class before = model.pattern();
    if (!(back ? model.undo() : model.redo()))
        return;
    if (model.stepped_over_opening()) {
        instrument.pattern_file.clear();
        instrument.pattern_file_text.clear();
    }
    const pattern_class& after = model.pattern();
    const bool tempo = after.tempo != before.tempo, swing = after.swing != before.swing;
    if (tempo || swing)
        show_notice(instrument, tempo && swing ? tempo_notice(instrument) + ", " + swing_notice(after)
                                               : tempo ? tempo_notice(instrument) : swing_notice(after));
}

static void run_commands(instrument_class& instrument)
{
    if (with_ctrl(ALLEGRO_KEY_S))
        save_to_its_file(instrument);
    else if (with_ctrl(ALLEGRO_KEY_O))
        ask_for_path(instrument, false);
    else if (with_ctrl(ALLEGRO_KEY_N))
        instrument.model.clear_all();
    else if (with_ctrl(ALLEGRO_KEY_Z) && !pressed_with(ALLEGRO_KEY_Z, ALLEGRO_KEYMOD_SHIFT))
        step_history(instrument, true);
    else if (with_ctrl(ALLEGRO_KEY_Z) || with_ctrl(ALLEGRO_KEY_Y))
        step_history(instrument, false);
}

void update_pattern(instrument_class& instrument)
{
    // While a dialog is up the window's keys are not acted on: no second dialog is asked for.
    if (instrument.file_dialog.showing())
        answer_dialog(instrument);
    else
        run_commands(instrument);
    follow_pattern(instrument);
}
