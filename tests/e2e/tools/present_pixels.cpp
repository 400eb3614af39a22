// Shows a changed part of the stage as the frame loop does, in a window the stage fills and in one with bars
// beside it, and reads the window back from the X server: ends with status 0 when every pixel is the stage
// buffer's (the part just changed and the rest kept from before) or the bars' black.
//   present_pixels      (under a display server)
#include "app/window.h"

#include <allegro5/allegro_x.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <initializer_list>

namespace {

void paint(window_class& window, const stage_rect& part, ALLEGRO_COLOR color)
{
    al_set_target_bitmap(window.stage_buffer);
    al_set_clipping_rectangle(part.left, part.top, part.right - part.left, part.bottom - part.top);
    al_clear_to_color(color);
    al_reset_clipping_rectangle();
    present_stage(window, {part});
}

int differing_pixels(Display* x, const window_class& window)
{
    XSync(x, False);
    const int w = al_get_display_width(window.display), h = al_get_display_height(window.display);
    XImage* shown = XGetImage(x, al_get_x_window_id(window.display), 0, 0, w, h, AllPlanes, ZPixmap);
    ALLEGRO_LOCKED_REGION* stage =
        al_lock_bitmap(window.stage_buffer, ALLEGRO_PIXEL_FORMAT_XRGB_8888, ALLEGRO_LOCK_READONLY);
    const int left = static_cast<int>(window.transform.left), top = static_cast<int>(window.transform.top);
    int differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x - left, sy = y - top;
            const bool on_stage = sx >= 0 && sy >= 0 && sx < window.transform.width() && sy < window.transform.height();
            const auto* row = static_cast<const unsigned char*>(stage->data) + sy * stage->pitch;
            const unsigned want = on_stage ? *reinterpret_cast<const unsigned*>(row + 4 * sx) & 0xffffff : 0;
            differing += (XGetPixel(shown, x, y) & 0xffffff) != want;
        }
    al_unlock_bitmap(window.stage_buffer);
    XDestroyImage(shown);
    return differing;
}

} // namespace

int main()
{
    Display* x = XOpenDisplay(nullptr);
    window_class window;
    if (!x || !al_init() || !open_window(window)) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    ALLEGRO_EVENT_QUEUE* events = al_create_event_queue();
    al_register_event_source(events, al_get_display_event_source(window.display));
    int differing = 0;
    for (const int width : {al_get_display_width(window.display), 1200}) {
        // As the frame loop does: the whole stage once the window is shown at its new size.
        al_resize_display(window.display, width, al_get_display_height(window.display));
        ALLEGRO_EVENT event;
        while (al_wait_for_event_timed(events, &event, 1.0) && event.type != ALLEGRO_EVENT_DISPLAY_EXPOSE) {
        }
        fit_stage(window);
        const int w = window.transform.width(), h = window.transform.height();
        paint(window, {0, 0, w, h}, al_map_rgb(40, 80, 120));
        paint(window, {w / 3, h / 2, w / 3 + 50, h / 2 + 30}, al_map_rgb(200, 20, 90));
        paint(window, {0, h - 7, 9, h}, al_map_rgb(10, 250, 10));
        const int now = differing_pixels(x, window);
        std::printf("%d x %d window: %d pixels differ from the stage\n", width, al_get_display_height(window.display), now);
        differing += now;
    }
    al_destroy_event_queue(events);
    al_destroy_display(window.display);
    XCloseDisplay(x);
    return differing == 0 ? 0 : 1;
}
