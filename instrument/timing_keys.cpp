#include "instrument/timing_keys.h"

#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "math/clock.h"

// +1 for a key that raises the tempo, -1 for one that lowers it, 0 when none was pressed.
static int tempo_direction()
{
    for (int key : {ALLEGRO_KEY_EQUALS, ALLEGRO_KEY_PAD_PLUS})
        if (pressed(key))
            return 1;
    for (int key : {ALLEGRO_KEY_MINUS, ALLEGRO_KEY_PAD_MINUS})
        if (pressed(key))
            return -1;
    return 0;
}

static bool fine_step()
{
    return held(ALLEGRO_KEY_LSHIFT) || held(ALLEGRO_KEY_RSHIFT);
}

static void tell_tempo(instrument_class& instrument)
{
    show_notice(instrument, "Tempo " + tempo_text(instrument.model.pattern().tempo) + " BPM");
}

static void step_tempo(instrument_class& instrument, int direction)
{
    const tempo_class from = instrument.model.pattern().tempo;
    instrument.model.set_tempo(stepped_tempo(from, direction, fine_step() ? 1 : 10), current_time());
    tell_tempo(instrument);
}

static void tap(instrument_class& instrument)
{
    const control_button_class& key = input.control(ALLEGRO_KEY_T);
    if (const std::optional<tempo_class> tapped = instrument.tap_tempo.tap(key.pressed_at)) {
        instrument.model.set_tempo(*tapped, current_time());
        tell_tempo(instrument);
    }
}

static void step_swing(instrument_class& instrument, int direction)
{
    instrument.model.set_swing(instrument.model.pattern().swing + direction, current_time());
    show_notice(instrument, "Swing " + std::to_string(instrument.model.pattern().swing) + " %");
}

void update_timing_keys(instrument_class& instrument)
{
    if (const int direction = tempo_direction())
        step_tempo(instrument, direction);
    if (pressed(ALLEGRO_KEY_T) && !pressed_with(ALLEGRO_KEY_T, ALLEGRO_KEYMOD_CTRL))
        tap(instrument);
    if (pressed(ALLEGRO_KEY_CLOSEBRACE))
        step_swing(instrument, 1);
    else if (pressed(ALLEGRO_KEY_OPENBRACE))
        step_swing(instrument, -1);
}
