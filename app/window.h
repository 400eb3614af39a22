// The window the stage is shown in. It opens at the multiple of the stage's size that the desktop asks for
// (GDK_SCALE, or a high Xft.dpi) where that fits the screen; it can be resized, never below a size at which
// the text stays readable, and F11 makes it cover the screen (a window, not a change of video mode) and back.
// The stage is drawn at its size in the window into a buffer that keeps the picture between frames, and
// copied to the window's middle (only its changed parts, where the driver can show part of a window), the
// rest of the window black; mouse positions go back to the stage through the same transform.
#pragma once

#include "core/stage_transform.h"
#include "scene/stage_changes.h"

#include <vector>

#include <allegro5/allegro.h>

class window_class
{
public:
    ALLEGRO_DISPLAY* display = nullptr;
    // The stage at its size in the window; its transform is the stage's scale.
    ALLEGRO_BITMAP* stage_buffer = nullptr;
    stage_transform_class transform;
    // The size the window had before it went full screen.
    int windowed_width = 0;
    int windowed_height = 0;
    // GLX_MESA_copy_sub_buffer, where the driver has it: shows part of the back buffer, leaving the rest of
    // the window as it was (null without it).
    void (*copy_sub_buffer)(void* x_display, unsigned long drawable, int x, int y, int width, int height) = nullptr;
    // Presents still to be whole: the driver takes a window's new size at its next whole present only.
    int whole_presents = 0;
};

// Opens the window and fits the stage to it; false when no display could be made.
bool open_window(window_class& window);
// Fits the stage to the window's size now: a buffer of the stage's new size, and at a new scale the images
// filtered and the text rendered for it; the whole stage is drawn at the next frame.
void fit_stage(window_class& window);
// Full screen on or off; off brings back the window's size from before.
void toggle_full_screen(window_class& window);
// A mouse event's position in stage units (over the bars beside the stage, outside it); other events stay.
void mouse_to_stage(const stage_transform_class& transform, ALLEGRO_EVENT& event);
// Copies the stage's buffer into the window, the rest of it black, and shows it. Where the driver can show
// part of a window, only the changed parts of the buffer (in its own pixels) are copied and shown.
void present_stage(window_class& window, const std::vector<stage_rect>& changed);
