// Polled input: once per tick the keyboard and mouse are read into snapshots and every control that code
// has ever asked about is re-evaluated into held, pressed and released flags. Controls register lazily on
// their first query. Codes are Allegro key codes; -1 is the left mouse button, -2 the right one.
#pragma once

#include <allegro5/allegro.h>

#include <vector>

class control_button_class
{
public:
    bool held = false;
    bool pressed = false;
    bool released = false;
    int code = 0;

    explicit control_button_class(int code) : code(code) {}
};

constexpr int mouse_left_button = -1;
constexpr int mouse_right_button = -2;

class input_class
{
public:
    std::vector<control_button_class> controls;

    // Takes fresh snapshots from the devices and re-evaluates every control.
    void update();
    // The same from given snapshots: the seam through which tests feed input.
    void update_from(const ALLEGRO_KEYBOARD_STATE& keyboard, const ALLEGRO_MOUSE_STATE& mouse);

    control_button_class& control(int code);
};

extern input_class input;
extern ALLEGRO_KEYBOARD_STATE keyboard_snapshot;
extern ALLEGRO_MOUSE_STATE mouse_snapshot;

bool held(int code);
bool pressed(int code);
bool released(int code);
int mouse_x();
int mouse_y();
