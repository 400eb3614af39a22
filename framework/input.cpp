#include "framework/input.h"

input_class input;
ALLEGRO_KEYBOARD_STATE keyboard_snapshot;
ALLEGRO_MOUSE_STATE mouse_snapshot;

void input_class::update()
{
    ALLEGRO_KEYBOARD_STATE keyboard;
    ALLEGRO_MOUSE_STATE mouse;
    al_get_keyboard_state(&keyboard);
    al_get_mouse_state(&mouse);
    update_from(keyboard, mouse);
}

static bool is_down(const control_button_class& control, const ALLEGRO_KEYBOARD_STATE& keyboard,
                    const ALLEGRO_MOUSE_STATE& mouse)
{
    if (control.code == mouse_left_button)
        return al_mouse_button_down(&mouse, 1);
    if (control.code == mouse_right_button)
        return al_mouse_button_down(&mouse, 2);
    // Codes outside Allegro's key table would read past the snapshot: such a code is never down.
    return control.code > 0 && control.code < ALLEGRO_KEY_MAX && al_key_down(&keyboard, control.code);
}

void input_class::update_from(const ALLEGRO_KEYBOARD_STATE& keyboard, const ALLEGRO_MOUSE_STATE& mouse)
{
    keyboard_snapshot = keyboard;
    mouse_snapshot = mouse;
    for (control_button_class& control : controls) {
        const bool down = is_down(control, keyboard, mouse);
        control.pressed = down && !control.held;
        control.released = !down && control.held;
        control.held = down;
    }
}

control_button_class& input_class::control(int code)
{
    for (control_button_class& control : controls)
        if (control.code == code)
            return control;
    return controls.emplace_back(code);
}

bool held(int code) { return input.control(code).held; }
bool pressed(int code) { return input.control(code).pressed; }
bool released(int code) { return input.control(code).released; }
int mouse_x() { return mouse_snapshot.x; }
int mouse_y() { return mouse_snapshot.y; }
