// Counts how often a window's contents change over some seconds, as the X server reports them (the Damage
// extension): every frame a program presents damages its window, so a program that draws nothing leaves the
// count at 0. Damage that comes in one burst (a frame's strips) counts once.
//   count_damage WINDOW SECONDS      prints the count
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: count_damage <window id> <seconds>\n");
        return 2;
    }
    Display* x = XOpenDisplay(nullptr);
    int event_base = 0, error_base = 0;
    if (!x || !XDamageQueryExtension(x, &event_base, &error_base)) {
        std::fprintf(stderr, "no X server with the Damage extension\n");
        return 1;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const Damage damage = XDamageCreate(x, window, XDamageReportNonEmpty);
    // Takes the damage reported since the last call: true when there was some.
    const auto take_damage = [&] {
        bool damaged = false;
        for (XEvent event; XPending(x);) {
            XNextEvent(x, &event);
            damaged |= event.type == event_base + XDamageNotify;
        }
        XDamageSubtract(x, damage, None, None);
        XFlush(x);
        return damaged;
    };
    // A new damage object reports the window's whole contents once: that is not a frame.
    XSync(x, False);
    take_damage();
    using clock = std::chrono::steady_clock;
    const auto end = clock::now() + std::chrono::duration<double>(std::atof(argv[2]));
    int bursts = 0;
    for (bool in_burst = false; clock::now() < end;) {
        const bool damaged = take_damage();
        bursts += damaged && !in_burst;
        in_burst = damaged;
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    std::printf("%d\n", bursts);
    XDamageDestroy(x, damage);
    XCloseDisplay(x);
    return 0;
}
