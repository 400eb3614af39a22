#include "instrument/timing_keys.h"

#include "audio/link_follower.h"
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

// The pattern's tempo, which a Link session is also asked to take: even when the pattern has it already, the
// session may not.
static void set_tempo(instrument_class& instrument, const tempo_class& tempo)
{
    instrument.model.set_tempo(tempo, current_time());
    const tempo_class& set = instrument.model.pattern().tempo;
    if (instrument.link)
        instrument.link->ask_tempo(set);
    show_notice(instrument, "Tempo " + tempo_text(set) + " BPM");
}

// While a Link session leads, the keys step from its tempo, which the readout shows.
static void step_tempo(instrument_class& instrument, int direction)
{
    const bool linked = instrument.link && instrument.link->on();
    const tempo_class from = linked ? tempo_near(instrument.link->bpm.load()) : instrument.model.pattern().tempo;
    set_tempo(instrument, stepped_tempo(from, direction, fine_step() ? 1 : 10));
}

static void tap(instrument_class& instrument)
{
    const control_button_class& key = input.control(ALLEGRO_KEY_T);
    if (const std::optional<tempo_class> tapped = instrument.tap_tempo.tap(key.pressed_at))
        set_tempo(instrument, *tapped);
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
