#include "core/file_dialog.h"

#include "core/input.h"
#include "math/clock.h"

#include <allegro5/allegro_native_dialog.h>

#include <cassert>
#include <cmath>

struct file_dialog_class::shown_class
{
    ALLEGRO_FILECHOOSER* chooser = nullptr;
    std::string path;
    std::atomic<bool> closed{false};
};

static std::atomic<int> dialogs_left{0};

bool dialogs_left_open()
{
    return dialogs_left.load() > 0;
}

file_dialog_class::~file_dialog_class()
{
    if (!showing())
        return;
    if (shown->closed) {
        take_path();
        return;
    }
    // Nothing can close the desktop's dialog from here: its thread keeps what it shares and is let run.
    ++dialogs_left;
    thread.detach();
}

void file_dialog_class::show(ALLEGRO_DISPLAY* display, const std::string& path, const char* title,
                             const char* patterns, int mode)
{
    assert(!showing() && "one file dialog at a time");
    input.let_go();
    input.drop_before(HUGE_VAL);
    shown = std::make_shared<shown_class>();
    shown->chooser = al_create_native_file_dialog(path.empty() ? nullptr : path.c_str(), title, patterns, mode);
    // Allegro's dialog blocks the thread that shows it until the player answers.
    thread = std::thread([shown = shown, display] {
        if (shown->chooser && al_show_native_file_dialog(display, shown->chooser) &&
            al_get_native_file_dialog_count(shown->chooser) > 0)
            shown->path = al_get_native_file_dialog_path(shown->chooser, 0);
        shown->closed = true;
    });
}

std::optional<std::string> file_dialog_class::take_path()
{
    if (!showing() || !shown->closed)
        return std::nullopt;
    thread.join();
    if (shown->chooser)
        al_destroy_native_file_dialog(shown->chooser);
    // The dialog had the keyboard: keys held when it opened were let go there.
    input.let_go();
    input.drop_before(current_time());
    return std::move(shown->path);
}
