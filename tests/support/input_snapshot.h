// Input for tests, tick by tick: each tick is described by how the devices stand (keys and buttons down,
// where the mouse is); feed() sends the input the events that lead there from the last tick, then runs
// the tick's update. Events can also be sent one by one.
#pragma once

#include "core/input.h"

#include <allegro5/allegro.h>

#include <set>

struct input_snapshot
{
    std::set<int> keys;
    int buttons = 0; // bit 0 the left button, bit 1 the right one
    int x = 0;
    int y = 0;

    input_snapshot& key(int code)
    {
        keys.insert(code);
        return *this;
    }
    // Button 1 is the left one, 2 the right one.
    input_snapshot& button(int number)
    {
        buttons |= 1 << (number - 1);
        return *this;
    }
    input_snapshot& left_button() { return button(1); }
    input_snapshot& at(int new_x, int new_y)
    {
        x = new_x;
        y = new_y;
        return *this;
    }
};

inline ALLEGRO_EVENT key_event(int code, bool down, ALLEGRO_EVENT_TYPE type = 0)
{
    ALLEGRO_EVENT event{};
    event.type = type ? type : down ? unsigned(ALLEGRO_EVENT_KEY_DOWN) : unsigned(ALLEGRO_EVENT_KEY_UP);
    event.keyboard.keycode = code;
    return event;
}

// The modifier flags of the keys held.
inline unsigned modifiers_of(const std::set<int>& keys)
{
    return (keys.count(ALLEGRO_KEY_LCTRL) ? unsigned(ALLEGRO_KEYMOD_CTRL) : 0u) |
           (keys.count(ALLEGRO_KEY_LSHIFT) ? unsigned(ALLEGRO_KEYMOD_SHIFT) : 0u);
}

// Button 0 only moves the mouse.
inline ALLEGRO_EVENT mouse_event(int button, bool down, int x, int y)
{
    ALLEGRO_EVENT event{};
    event.type = button == 0 ? ALLEGRO_EVENT_MOUSE_AXES
                             : down ? ALLEGRO_EVENT_MOUSE_BUTTON_DOWN : ALLEGRO_EVENT_MOUSE_BUTTON_UP;
    event.mouse.button = static_cast<unsigned>(button);
    event.mouse.x = x;
    event.mouse.y = y;
    return event;
}

// How the devices stood at the last fed tick.
inline input_snapshot& fed_state()
{
    static input_snapshot state;
    return state;
}

inline void feed(const input_snapshot& next)
{
    input_snapshot& last = fed_state();
    if (next.x != last.x || next.y != last.y)
        input.on_event(mouse_event(0, false, next.x, next.y));
    for (int button = 1; button <= 2; ++button) {
        const bool down = next.buttons & (1 << (button - 1));
        if (down != bool(last.buttons & (1 << (button - 1))))
            input.on_event(mouse_event(button, down, next.x, next.y));
    }
    for (int code : last.keys)
        if (!next.keys.count(code))
            input.on_event(key_event(code, false));
    for (int code : next.keys)
        if (!last.keys.count(code)) {
            input.on_event(key_event(code, true));
            ALLEGRO_EVENT typed = key_event(code, true, ALLEGRO_EVENT_KEY_CHAR);
            typed.keyboard.modifiers = modifiers_of(next.keys);
            input.on_event(typed);
        }
    last = next;
    input.update();
}

// Every key and button up and no control watched, as at start.
inline void reset_input()
{
    feed(input_snapshot().at(fed_state().x, fed_state().y));
    input.controls.clear();
}
