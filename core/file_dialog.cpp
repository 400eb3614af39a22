#include "core/file_dialog.h"

#include "core/input.h"
#include "math/clock.h"

#include <X11/Xlib.h>
#include <allegro5/allegro_native_dialog.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>

struct file_dialog_class::shown_class
{
    ALLEGRO_FILECHOOSER* chooser = nullptr;
    file_dialog_answer answer;
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
        finish();
        return;
    }
    // Nothing can close the desktop's dialog from here: its thread keeps what it shares and is let run.
    ++dialogs_left;
    thread.detach();
}

void file_dialog_class::finish()
{
    thread.join();
    if (shown->chooser)
        al_destroy_native_file_dialog(shown->chooser);
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
        // False when the desktop's toolkit could not start (no display it can reach).
        if (!shown->chooser || !al_show_native_file_dialog(display, shown->chooser))
            shown->answer.failed = true;
        else if (al_get_native_file_dialog_count(shown->chooser) > 0)
            shown->answer.path = al_get_native_file_dialog_path(shown->chooser, 0);
        shown->closed = true;
    });
}

// Whether a key is down anywhere on the keyboard, as the X server knows it: Allegro knows only what reached
// its own window. False when there is no X server to ask.
static bool any_key_down()
{
    Display* x = XOpenDisplay(nullptr);
    if (!x)
        return false;
    char keys[32] = {};
    XQueryKeymap(x, keys);
    XCloseDisplay(x);
    return std::any_of(std::begin(keys), std::end(keys), [](char bits) { return bits != 0; });
}

std::optional<file_dialog_answer> file_dialog_class::take_answer()
{
    // A key that closed the dialog and is still held (Return, Escape) would repeat into the window as a new
    // press: the dialog counts as up until the keyboard is let go.
    if (!showing() || !shown->closed || any_key_down())
        return std::nullopt;
    finish();
    input.drop_before(current_time());
    return std::move(shown->answer);
}
