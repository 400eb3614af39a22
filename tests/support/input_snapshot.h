// Hand-made keyboard and mouse snapshots, fed to the input object through input_class::update_from.
#pragma once

#include <allegro5/allegro.h>

#include <cstring>

struct input_snapshot
{
    ALLEGRO_KEYBOARD_STATE keyboard;
    ALLEGRO_MOUSE_STATE mouse;
    input_snapshot()
    {
        std::memset(&keyboard, 0, sizeof keyboard);
        std::memset(&mouse, 0, sizeof mouse);
    }
    input_snapshot& key(int code)
    {
        keyboard.__key_down__internal__[code / 32] |= 1u << (code % 32);
        return *this;
    }
    // Button 1 is the left one, 2 the right one.
    input_snapshot& button(int number)
    {
        mouse.buttons |= 1 << (number - 1);
        return *this;
    }
    input_snapshot& left_button() { return button(1); }
    input_snapshot& at(int x, int y)
    {
        mouse.x = x;
        mouse.y = y;
        return *this;
    }
};
