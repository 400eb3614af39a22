#include "instrument/play_keys.h"

#include "audio/link_follower.h"
#include "core/input.h"
#include "instrument/instrument.h"
#include "instrument/notice.h"

// The MIDI clock or the JACK transport that the line follows, if it follows one: it plays and stops the line.
static const char* followed_machine(const instrument_class& instrument)
{
    if (!instrument.studio || instrument.studio->sync == sync_source::internal)
        return nullptr;
    return instrument.studio->sync == sync_source::midi_clock ? "the MIDI clock" : "the JACK transport";
}

static bool link_leads(const instrument_class& instrument)
{
    return instrument.link && instrument.link->on();
}

static void play_or_stop(instrument_class& instrument)
{
    if (const char* machine = followed_machine(instrument)) {
        show_notice(instrument, std::string("The line follows ") + machine + ": it plays and stops it");
        return;
    }
    if (link_leads(instrument) && instrument.link->shared_start_stop) {
        const bool play = !instrument.link->session_playing.load();
        instrument.link->ask_playing(play);
        instrument.mixer.stop_asked.store(false);
        show_notice(instrument, play ? "Play: the Link session starts on its next bar" : "Stop: the Link session stops");
        return;
    }
    const bool stop = !instrument.mixer.stop_asked.load();
    instrument.mixer.stop_asked.store(stop);
    show_notice(instrument, stop ? "Stop" : link_leads(instrument) ? "Play: on the Link session's next bar" : "Play");
}

static void join_or_leave(instrument_class& instrument)
{
    link_follower_class& link = *instrument.link;
    if (const char* machine = followed_machine(instrument)) {
        show_notice(instrument, std::string("Link: the line follows ") + machine);
        return;
    }
    if (link.on()) {
        link.turn_off();
    } else {
        link.turn_on(instrument.model.pattern().tempo, !instrument.mixer.stop_asked.load());
        // A session that shares start and stop holds the player's stop from now on.
        if (link.shared_start_stop)
            instrument.mixer.stop_asked.store(false);
    }
    show_notice(instrument, link.on() ? "Link on" : "Link off");
}

void update_play_keys(instrument_class& instrument)
{
    if (pressed(ALLEGRO_KEY_P))
        play_or_stop(instrument);
    if (pressed(ALLEGRO_KEY_L) && instrument.link)
        join_or_leave(instrument);
}
