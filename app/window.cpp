#include "app/window.h"

#include "core/screen.h"
#include "resources/image_filtering.h"
#include "scene/object.h"
#include "scene/stage_changes.h"
#include "scene/text_label.h"

#include <allegro5/allegro_color.h>
#include <allegro5/allegro_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <X11/Xlib.h>

// Expose events, so that a window uncovered is drawn again although nothing on the stage moved.
static const int display_flags = ALLEGRO_WINDOWED | ALLEGRO_RESIZABLE | ALLEGRO_GENERATE_EXPOSE_EVENTS;
// The stage at 5/8 of its size: the smallest text is still 9 pixels high.
static const int smallest_width = screen_width * 5 / 8;
static const int smallest_height = screen_height * 5 / 8;

// The desktop's Xft.dpi from the X server's resources, through a connection of our own (Allegro keeps its
// own to itself); empty when the desktop sets none.
static std::string xft_dpi()
{
    Display* x = XOpenDisplay(nullptr);
    if (!x)
        return {};
    const char* value = XGetDefault(x, "Xft", "dpi");
    const std::string dpi = value ? value : "";
    XCloseDisplay(x);
    return dpi;
}

static float scale_to_open_at()
{
    const float asked = desktop_scale(std::getenv("GDK_SCALE"), xft_dpi().c_str());
    // All zero when the screen's size is not known: the stage then opens at its own size.
    ALLEGRO_MONITOR_INFO monitor{};
    al_get_monitor_info(std::max(0, al_get_new_display_adapter()), &monitor);
    return opening_scale(asked, monitor.x2 - monitor.x1, monitor.y2 - monitor.y1);
}

bool open_window(window_class& window)
{
    const float scale = scale_to_open_at();
    al_set_new_display_flags(display_flags);
    window.display = al_create_display(static_cast<int>(std::lround(screen_width * scale)),
                                       static_cast<int>(std::lround(screen_height * scale)));
    if (!window.display)
        return false;
    if (al_have_opengl_extension("GLX_MESA_copy_sub_buffer"))
        window.copy_sub_buffer = reinterpret_cast<decltype(window.copy_sub_buffer)>(
            al_get_opengl_proc_address("glXCopySubBufferMESA"));
    al_set_window_constraints(window.display, smallest_width, smallest_height, 0, 0);
    al_apply_window_constraints(window.display, true);
    fit_stage(window);
    return true;
}

void fit_stage(window_class& window)
{
    const stage_transform_class before = window.transform;
    window.transform = stage_transform_class::fit(al_get_display_width(window.display),
                                                  al_get_display_height(window.display));
    const stage_transform_class& now = window.transform;
    if (!window.stage_buffer || al_get_bitmap_width(window.stage_buffer) != now.width() ||
        al_get_bitmap_height(window.stage_buffer) != now.height()) {
        if (window.stage_buffer)
            al_destroy_bitmap(window.stage_buffer);
        // Without alpha: every draw blends by its own alpha alone, and an opaque buffer is copied to the
        // window as it is, with nothing of the window read back.
        const int format = al_get_new_bitmap_format();
        al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_XRGB_8888);
        window.stage_buffer = al_create_bitmap(now.width(), now.height());
        al_set_new_bitmap_format(format);
    }
    al_set_target_bitmap(window.stage_buffer);
    ALLEGRO_TRANSFORM scaled;
    al_identity_transform(&scaled);
    al_scale_transform(&scaled, now.scale, now.scale);
    al_use_transform(&scaled);
    filter_images(now.scale != 1);
    window.whole_presents = 2;
    if (now.scale != before.scale) {
        release_work_bitmaps();
        render_labels_at(now.scale);
    }
    mark_stage_changed();
}

void toggle_full_screen(window_class& window)
{
    const bool full = (al_get_display_flags(window.display) & ALLEGRO_FULLSCREEN_WINDOW) != 0;
    if (!full) {
        window.windowed_width = al_get_display_width(window.display);
        window.windowed_height = al_get_display_height(window.display);
    }
    al_set_display_flag(window.display, ALLEGRO_FULLSCREEN_WINDOW, !full);
    if (!full)
        return; // the window manager resizes the window and says so in a resize event
    // A size asked for by the program comes with no resize event.
    al_resize_display(window.display, window.windowed_width, window.windowed_height);
    fit_stage(window);
}

void mouse_to_stage(const stage_transform_class& transform, ALLEGRO_EVENT& event)
{
    switch (event.type) {
    case ALLEGRO_EVENT_MOUSE_AXES:
    case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN:
    case ALLEGRO_EVENT_MOUSE_BUTTON_UP:
    case ALLEGRO_EVENT_MOUSE_WARPED:
    case ALLEGRO_EVENT_MOUSE_ENTER_DISPLAY:
    case ALLEGRO_EVENT_MOUSE_LEAVE_DISPLAY:
        event.mouse.x = static_cast<int>(std::floor(transform.to_stage_x(static_cast<float>(event.mouse.x))));
        event.mouse.y = static_cast<int>(std::floor(transform.to_stage_y(static_cast<float>(event.mouse.y))));
        break;
    default:
        break;
    }
}

// Shows one part of the back buffer in the window, the rest of the window keeping the last picture: copying
// the whole window and handing it to the X server cost the software rasterizer some 4 ms a frame.
static void show_part(const window_class& window, int left, int top, int width, int height)
{
    using current_display_function = void* (*)();
    using current_drawable_function = unsigned long (*)();
    static const auto current_display =
        reinterpret_cast<current_display_function>(al_get_opengl_proc_address("glXGetCurrentDisplay"));
    static const auto current_drawable =
        reinterpret_cast<current_drawable_function>(al_get_opengl_proc_address("glXGetCurrentDrawable"));
    // GLX counts rows from the bottom.
    window.copy_sub_buffer(current_display(), current_drawable(), left,
                           al_get_display_height(window.display) - (top + height), width, height);
}

// The parts within the buffer, or the whole buffer where they cover it, or where the driver shows only
// whole windows, or on the ticks after the window took a new size.
static std::vector<stage_rect> parts_to_copy(window_class& window, const std::vector<stage_rect>& changed)
{
    const stage_rect buffer{0, 0, al_get_bitmap_width(window.stage_buffer), al_get_bitmap_height(window.stage_buffer)};
    const bool resized = window.whole_presents > 0;
    if (resized)
        --window.whole_presents;
    if (resized || !window.copy_sub_buffer)
        return {buffer};
    std::vector<stage_rect> parts;
    for (const stage_rect& part : changed) {
        const stage_rect inside = part.within(buffer);
        if (inside == buffer)
            return {buffer};
        if (!inside.empty())
            parts.push_back(inside);
    }
    return parts;
}

void present_stage(window_class& window, const std::vector<stage_rect>& changed)
{
    const std::vector<stage_rect> parts = parts_to_copy(window, changed);
    const stage_transform_class& stage = window.transform;
    const bool whole = parts.size() == 1 &&
                       parts[0] == stage_rect{0, 0, al_get_bitmap_width(window.stage_buffer),
                                              al_get_bitmap_height(window.stage_buffer)};
    al_set_target_backbuffer(window.display);
    if (whole && (stage.left != 0 || stage.top != 0 || stage.width() != al_get_display_width(window.display) ||
                  stage.height() != al_get_display_height(window.display)))
        al_clear_to_color(al_color_name("black")); // the bars beside the stage
    ALLEGRO_STATE blender;
    al_store_state(&blender, ALLEGRO_STATE_BLENDER);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    for (const stage_rect& part : parts)
        al_draw_bitmap_region(window.stage_buffer, static_cast<float>(part.left), static_cast<float>(part.top),
                              static_cast<float>(part.right - part.left), static_cast<float>(part.bottom - part.top),
                              stage.left + static_cast<float>(part.left), stage.top + static_cast<float>(part.top), 0);
    al_restore_state(&blender);
    if (whole)
        al_flip_display();
    else
        for (const stage_rect& part : parts)
            show_part(window, static_cast<int>(stage.left) + part.left, static_cast<int>(stage.top) + part.top,
                      part.right - part.left, part.bottom - part.top);
}
