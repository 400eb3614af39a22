// The desktop's file dialog for a file to save to or open, shown from a thread of its own: while the player
// looks for a file the window goes on drawing and the sound on playing. What is typed or clicked into the
// window meanwhile is not acted on, as under any dialog that waits for an answer.
#pragma once

#include <allegro5/allegro.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// What a dialog answered: the path picked, empty when it was cancelled, or that the desktop could not show it.
struct file_dialog_answer
{
    std::string path;
    bool failed = false;
};

class file_dialog_class
{
public:
    file_dialog_class() = default;
    file_dialog_class(const file_dialog_class&) = delete;
    file_dialog_class& operator=(const file_dialog_class&) = delete;
    // A dialog still up is left to the end of the program: see dialogs_left_open().
    ~file_dialog_class();

    // Shows the dialog over the display, at the path when there is one, with its title, file patterns and
    // Allegro's ALLEGRO_FILECHOOSER_... mode. The window's input counts as let go from now until the dialog
    // has closed. Asserts that no dialog is up.
    void show(ALLEGRO_DISPLAY* display, const std::string& path, const char* title, const char* patterns, int mode);
    bool showing() const { return thread.joinable(); }
    // Once the dialog has closed and every key is up: its answer; nothing before or when none was asked for.
    std::optional<file_dialog_answer> take_answer();

private:
    // Shared with the dialog's thread, which may outlive this object at the program's end.
    struct shown_class;
    std::shared_ptr<shown_class> shown;
    std::thread thread;

    // The dialog's thread joined and its chooser freed, once it has closed.
    void finish();
};

// Whether a dialog was still up when its owner went: the program then ends without waiting for the desktop
// to close it.
bool dialogs_left_open();
