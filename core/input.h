// Input: keyboard and mouse events are gathered as they arrive, and once per tick every control that code has
// ever asked about is re-evaluated into held, pressed, repeated and released flags. Controls register lazily on their
// first query. A press released again before the tick (a touchpad's tap, a remote desktop's key) still
// counts: the control reads pressed and held in that tick and released in the next, and the tick reports
// the mouse where the press happened. Presses that came together (events held up by a slow frame) are
// each told, one after another. Codes are Allegro key codes; -1 is the left mouse button, -2 the
// right one.
#pragma once

#include <allegro5/allegro.h>

#include <array>
#include <initializer_list>
#include <vector>

class control_button_class
{
public:
    bool held = false;
    bool pressed = false;
    bool released = false;
    bool repeated = false;    // held, and typed again by the keyboard's own repeat since the last tick
    int code = 0;
    bool release_due = false; // a tap: it was let go before its tick, so it reads released in the next
    int presses_waiting = 0;  // presses that came in one tick with the one told, to be told next
    unsigned modifiers = 0;   // Allegro's modifier keys (ALLEGRO_KEYMOD_...) held when it was last pressed
    double pressed_at = 0;    // when it was last pressed: the event's time, finer than the tick

    explicit control_button_class(int code) : code(code) {}
};

constexpr int mouse_left_button = -1;
constexpr int mouse_right_button = -2;

class input_class
{
public:
    std::vector<control_button_class> controls;
    // The mouse as the last update saw it: where a button went down, else where it was last; and whether it
    // moved since the update before (the window coming under it or going from it is not a move).
    int mouse_x = 0;
    int mouse_y = 0;
    bool mouse_moved = false;

    // Takes a keyboard, mouse or display event; others are ignored.
    void on_event(const ALLEGRO_EVENT& event);
    // Re-evaluates every control from the events since the last update; once per tick.
    void update();
    // Every key and button counts as let go: the window lost the keyboard to another one (or a dialog).
    void let_go();
    // Events stamped before the time are dropped as they come: what was typed or clicked into the window while
    // a dialog held the program waited in the queue, and is not what the player now means.
    void drop_before(double time);

    control_button_class& control(int code);

private:
    // What the devices did since the last update, and how they stand now: keys by their code, the two mouse
    // buttons after them.
    static constexpr int flag_count = ALLEGRO_KEY_MAX + 2;
    std::array<bool, flag_count> down{};
    std::array<int, flag_count> presses{}; // since the last update
    std::array<unsigned, ALLEGRO_KEY_MAX> key_modifiers{};
    std::array<double, flag_count> press_times{};
    std::array<bool, ALLEGRO_KEY_MAX> typed_again{};
    int latest_x = 0;
    int latest_y = 0;
    double dropped_before = 0;
    bool press_seen = false;
    bool motion_seen = false;
    int press_x = 0;
    int press_y = 0;

    static int flag_of(int code);
    void set(int code, bool is_down, double time);
    void update_control(control_button_class& control);
};

extern input_class input;

bool held(int code);
bool pressed(int code);
// Pressed, or typed again by the key's repeat while held: for keys that step on while held down.
bool pressed_or_repeated(int code);
// Of the keys, those pressed in this tick in the order they went down; when none was, the first one the
// keyboard's repeat typed again. A held key steps on, and a key pressed meanwhile is not lost to it.
std::vector<int> typed_keys(std::initializer_list<int> codes);
// Pressed with the modifier key held (ALLEGRO_KEYMOD_CTRL, ALLEGRO_KEYMOD_SHIFT): a chord such as Ctrl+S
// counts even when Ctrl is let go in the same tick as the S.
bool pressed_with(int code, unsigned modifier);
bool released(int code);
int mouse_x();
int mouse_y();
