#include "instrument/timing_keys.h"

#include "audio/link_follower.h"
#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"
#include "instrument/pattern_file.h"
#include "math/clock.h"

// The pattern's tempo, which a Link session is also asked to take: even when the pattern has it already, the
// session may not.
static void set_tempo(instrument_class& instrument, const tempo_class& tempo)
{
    instrument.model.set_tempo(tempo, current_time());
    const tempo_class& set = instrument.model.pattern().tempo;
    if (instrument.link)
        instrument.link->ask_tempo(set);
    show_notice(instrument, tempo_notice(instrument));
}

std::string tempo_notice(const instrument_class& instrument)
{
    const sync_source leader = instrument.following.source;
    return "Tempo " + tempo_text(instrument.model.pattern().tempo) + " BPM" +
           (leader == sync_source::midi_clock       ? " (the MIDI clock leads)"
            : leader == sync_source::jack_transport ? " (the JACK transport leads)"
                                                    : "");
}

std::string swing_notice(const pattern_class& pattern)
{
    return "Swing " + std::to_string(pattern.swing) + " %";
}

// While a Link session leads, the keys step from its tempo, which the readout shows. Shift counts as it was
// when the key went down, also for its repeats: a chord typed faster than a tick still steps finely.
static void step_tempo(instrument_class& instrument, int key)
{
    const bool linked = instrument.link && instrument.link->on();
    const tempo_class from = linked ? tempo_near(instrument.link->bpm.load()) : instrument.model.pattern().tempo;
    const int direction = key == ALLEGRO_KEY_EQUALS || key == ALLEGRO_KEY_PAD_PLUS ? 1 : -1;
    const bool fine = input.control(key).modifiers & ALLEGRO_KEYMOD_SHIFT;
    set_tempo(instrument, stepped_tempo(from, direction, fine ? 1 : 10));
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
    show_notice(instrument, swing_notice(instrument.model.pattern()));
}

// Held, the tempo and swing keys step on: a far tempo is one long press away.
void update_timing_keys(instrument_class& instrument)
{
    for (const int key : typed_keys({ALLEGRO_KEY_EQUALS, ALLEGRO_KEY_PAD_PLUS, ALLEGRO_KEY_MINUS, ALLEGRO_KEY_PAD_MINUS}))
        step_tempo(instrument, key);
    if (pressed(ALLEGRO_KEY_T) && !pressed_with(ALLEGRO_KEY_T, ALLEGRO_KEYMOD_CTRL))
        tap(instrument);
    for (const int key : typed_keys({ALLEGRO_KEY_CLOSEBRACE, ALLEGRO_KEY_OPENBRACE}))
        step_swing(instrument, key == ALLEGRO_KEY_CLOSEBRACE ? 1 : -1);
}
