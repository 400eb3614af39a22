// Input for tests, tick by tick: a snapshot says how the devices stand in a tick (keys and buttons down, where
// the mouse is); feed() sends the input the events that lead there from the last fed tick, then runs the
// tick's update. Events can also be sent one by one.
#pragma once

#include "core/input.h"
#include "math/clock.h"

#include <set>

struct input_snapshot
{
    std::set<int> keys;
    int buttons = 0; // Allegro's button numbers as bits: 1 the left button, 2 the right one
    int x = 0, y = 0;

    input_snapshot& key(int code) { return keys.insert(code), *this; }
    input_snapshot& left_button() { return buttons |= 1, *this; }
    input_snapshot& right_button() { return buttons |= 2, *this; }
    input_snapshot& at(int new_x, int new_y) { return x = new_x, y = new_y, *this; }
};

// Stamped with the clock's time, as Allegro stamps its events.
inline ALLEGRO_EVENT key_event(int code, bool down, ALLEGRO_EVENT_TYPE type = 0)
{
    ALLEGRO_EVENT event{};
    event.any.timestamp = current_time();
    event.type = type ? type : down ? unsigned(ALLEGRO_EVENT_KEY_DOWN) : unsigned(ALLEGRO_EVENT_KEY_UP);
    event.keyboard.keycode = code;
    return event;
}

// Button 1 is the left one, 2 the right one; button 0 only moves the mouse.
inline ALLEGRO_EVENT mouse_event(int button, bool down, int x, int y)
{
    ALLEGRO_EVENT event{};
    event.type = button == 0 ? ALLEGRO_EVENT_MOUSE_AXES : down ? ALLEGRO_EVENT_MOUSE_BUTTON_DOWN : ALLEGRO_EVENT_MOUSE_BUTTON_UP;
    event.mouse.button = static_cast<unsigned>(button);
    event.mouse.x = x;
    event.mouse.y = y;
    return event;
}

inline input_snapshot last_fed;

inline void feed(const input_snapshot& next)
{
    if (next.x != last_fed.x || next.y != last_fed.y) {
        ALLEGRO_EVENT moved = mouse_event(0, false, next.x, next.y);
        moved.mouse.dx = next.x - last_fed.x;
        moved.mouse.dy = next.y - last_fed.y;
        input.on_event(moved);
    }
    for (int button : {1, 2})
        if ((next.buttons ^ last_fed.buttons) & button)
            input.on_event(mouse_event(button, next.buttons & button, next.x, next.y));
    for (int code : last_fed.keys)
        if (!next.keys.count(code))
            input.on_event(key_event(code, false));
    for (int code : next.keys)
        if (!last_fed.keys.count(code)) {
            input.on_event(key_event(code, true));
            ALLEGRO_EVENT typed = key_event(code, true, ALLEGRO_EVENT_KEY_CHAR);
            // The modifier flags of the keys held as it goes down.
            typed.keyboard.modifiers = (next.keys.count(ALLEGRO_KEY_LCTRL) ? unsigned(ALLEGRO_KEYMOD_CTRL) : 0u) |
                                       (next.keys.count(ALLEGRO_KEY_LSHIFT) ? unsigned(ALLEGRO_KEYMOD_SHIFT) : 0u);
            input.on_event(typed);
        }
    last_fed = next;
    input.update();
}

// Every key and button up and no control watched, as at start.
inline void reset_input()
{
    feed(input_snapshot().at(last_fed.x, last_fed.y));
    input.controls.clear();
}
