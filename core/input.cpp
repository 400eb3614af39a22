#include "core/input.h"

#include <algorithm>
#include <iterator>

input_class input;

// Where a code's flags are, or -1 for a code no device has (outside Allegro's key table, say): such a code
// is never down.
int input_class::flag_of(int code)
{
    if (code == mouse_left_button || code == mouse_right_button)
        return ALLEGRO_KEY_MAX - code - 1;
    return code > 0 && code < ALLEGRO_KEY_MAX ? code : -1;
}

void input_class::set(int code, bool is_down, double time)
{
    const int flag = flag_of(code);
    if (flag < 0)
        return;
    if (is_down && !down[flag]) {
        // A key pressed twice in a tick is told now by its first press, and placed among others by it.
        if (presses[flag] == 0)
            press_times[flag] = time;
        ++presses[flag];
    }
    down[flag] = is_down;
}

static int button_code(unsigned button)
{
    return button == 1 ? mouse_left_button : button == 2 ? mouse_right_button : 0;
}

void input_class::on_event(const ALLEGRO_EVENT& event)
{
    if (event.any.timestamp < dropped_before)
        return;
    switch (event.type) {
    case ALLEGRO_EVENT_KEY_DOWN:
    case ALLEGRO_EVENT_KEY_UP:
        set(event.keyboard.keycode, event.type == ALLEGRO_EVENT_KEY_DOWN, event.any.timestamp);
        break;
    case ALLEGRO_EVENT_KEY_CHAR:
        // Follows each key's press with the modifiers held at that moment, then comes again as the key repeats.
        if (event.keyboard.keycode <= 0 || event.keyboard.keycode >= ALLEGRO_KEY_MAX)
            break;
        if (event.keyboard.repeat)
            typed_again[event.keyboard.keycode] = true;
        else
            key_modifiers[event.keyboard.keycode] = event.keyboard.modifiers;
        break;
    case ALLEGRO_EVENT_MOUSE_BUTTON_DOWN:
        if (!press_seen) {
            press_seen = true;
            press_x = event.mouse.x;
            press_y = event.mouse.y;
        }
        [[fallthrough]];
    case ALLEGRO_EVENT_MOUSE_BUTTON_UP:
        set(button_code(event.mouse.button), event.type == ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, event.any.timestamp);
        [[fallthrough]];
    case ALLEGRO_EVENT_MOUSE_AXES:
        motion_seen = motion_seen || event.mouse.dx != 0 || event.mouse.dy != 0;
        [[fallthrough]];
    case ALLEGRO_EVENT_MOUSE_WARPED:
    case ALLEGRO_EVENT_MOUSE_ENTER_DISPLAY:
    case ALLEGRO_EVENT_MOUSE_LEAVE_DISPLAY:
        latest_x = event.mouse.x;
        latest_y = event.mouse.y;
        break;
    case ALLEGRO_EVENT_DISPLAY_SWITCH_OUT:
        let_go();
        break;
    default:
        break;
    }
}

// Keys let go in another window never send their release here.
void input_class::let_go()
{
    down.fill(false);
}

void input_class::drop_before(double time)
{
    dropped_before = time;
}

void input_class::update_control(control_button_class& control)
{
    const int flag = flag_of(control.code);
    const bool is_down = flag >= 0 && down[flag];
    control.pressed = false;
    control.released = false;
    control.repeated = control.held && is_down && control.code > 0 && control.code < ALLEGRO_KEY_MAX &&
                       typed_again[control.code];
    if (flag >= 0)
        control.presses_waiting += presses[flag];
    if (control.release_due) {
        // Last tick's tap is let go now; a press since then waits for the next tick.
        control.release_due = false;
        control.released = true;
        control.held = false;
        return;
    }
    if (!control.held && (is_down || control.presses_waiting > 0)) {
        control.pressed = true;
        control.pressed_at = flag >= 0 ? press_times[flag] : 0;
        control.modifiers = control.code > 0 && control.code < ALLEGRO_KEY_MAX ? key_modifiers[control.code] : 0;
        control.held = true;
        control.presses_waiting = std::max(0, control.presses_waiting - 1);
        // Let go before its tick, or with another press after it: it reads released in the next.
        control.release_due = !is_down || control.presses_waiting > 0;
    } else if (control.held && !is_down) {
        control.released = true;
        control.held = false;
    }
}

void input_class::update()
{
    mouse_x = press_seen ? press_x : latest_x;
    mouse_y = press_seen ? press_y : latest_y;
    mouse_moved = motion_seen;
    press_seen = false;
    motion_seen = false;
    for (control_button_class& control : controls)
        update_control(control);
    // A press of a control nobody has asked about yet is not remembered for later.
    presses.fill(0);
    typed_again.fill(false);
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

bool pressed_or_repeated(int code)
{
    const control_button_class& control = input.control(code);
    return control.pressed || control.repeated;
}

std::vector<int> typed_keys(std::initializer_list<int> codes)
{
    std::vector<int> typed;
    std::copy_if(codes.begin(), codes.end(), std::back_inserter(typed), pressed);
    std::stable_sort(typed.begin(), typed.end(),
                     [](int a, int b) { return input.control(a).pressed_at < input.control(b).pressed_at; });
    if (typed.empty())
        if (const auto again = std::find_if(codes.begin(), codes.end(), pressed_or_repeated); again != codes.end())
            typed.push_back(*again);
    return typed;
}

bool pressed_with(int code, unsigned modifier)
{
    const control_button_class& control = input.control(code);
    return control.pressed && (control.modifiers & modifier);
}
int mouse_x() { return input.mouse_x; }
int mouse_y() { return input.mouse_y; }
