#include "instrument/timing_readout.h"

#include "audio/link_follower.h"
#include "core/screen.h"
#include "instrument/element_menu.h"
#include "instrument/instrument.h"
#include "instrument/pattern_file.h"
#include "instrument/notice.h"
#include "resources/bins.h"

#include <cmath>
#include <cstdlib>
#include <cstdio>

static const int readout_size = -15;
// Inside the overlay's frame, whose lines run 12 to 18 px from the window's edges.
static const float readout_margin = 28.0f;

// Short, so that the line stays clear of the FIRE button.
static const char* source_name(sync_source source)
{
    return source == sync_source::midi_clock ? "MIDI" : "JACK";
}

std::string timing_text(const pattern_class& pattern, const follow_reading& follow)
{
    const std::string swing = "   SWING " + std::to_string(pattern.swing) + " %";
    const std::string separator = " \u00b7 ";
    if (follow.source == sync_source::internal && !follow.link)
        return tempo_text(pattern.tempo) + " BPM" + (follow.state == follow_state::stopped ? separator + "STOPPED" : "") +
               swing;
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.1f BPM", follow.bpm);
    const std::string shown = follow.state == follow_state::following ? tempo
                              : follow.state == follow_state::no_clock ? "NO CLOCK"
                                                                       : "STOPPED";
    const std::string source = follow.link ? "LINK " + std::to_string(follow.peers) : source_name(follow.source);
    return shown + separator + source + swing;
}

// The tempo to a tenth, so that the readout changes only when it shows.
static double tenths(double bpm)
{
    return std::round(bpm * 10) / 10;
}

// What the Link session or the studio cycle says now, or whether the player stopped the line.
static follow_reading read_following(const instrument_class& instrument)
{
    follow_reading now;
    if (const link_follower_class* link = instrument.link; link && link->on()) {
        const auto phase = static_cast<link_phase>(link->phase.load(std::memory_order_relaxed));
        now.link = true;
        now.peers = link->peers();
        now.state = phase == link_phase::stopped ? follow_state::stopped : follow_state::following;
        now.bpm = tenths(link->bpm.load(std::memory_order_relaxed));
    } else if (const studio_cycle_class* studio = instrument.studio; studio && studio->sync != sync_source::internal) {
        now.source = studio->sync;
        now.state = static_cast<follow_state>(studio->state.load(std::memory_order_relaxed));
        now.bpm = tenths(studio->followed_bpm.load(std::memory_order_relaxed));
    } else if (instrument.mixer.stop_asked.load(std::memory_order_relaxed)) {
        now.state = follow_state::stopped;
    }
    return now;
}

// "Link: 1 peer joined", "Link: a peer left", "Link: 2 peers left".
static std::string peers_changed(int change)
{
    const int count = std::abs(change);
    const std::string who = count > 1 ? std::to_string(count) + " peers" : change > 0 ? "1 peer" : "a peer";
    return "Link: " + who + (change > 0 ? " joined" : " left");
}

void update_following(instrument_class& instrument)
{
    const follow_reading now = read_following(instrument);
    if (now == instrument.following)
        return;
    if (now.state == follow_state::no_clock && instrument.following.state != follow_state::no_clock)
        report_problem(instrument, now.source == sync_source::midi_clock
                                       ? "No MIDI clock on midi_in for 2 s: the line holds"
                                       : "No JACK transport master for 2 s: the line holds");
    if (now.link && instrument.following.link && now.peers != instrument.following.peers)
        show_notice(instrument, peers_changed(now.peers - instrument.following.peers));
    instrument.following = now;
    show_timing(instrument);
}

void setup_timing_readout(instrument_class& instrument)
{
    Object& readout = instrument.readout;
    readout.move_to(static_cast<float>(screen_width) - readout_margin, static_cast<float>(screen_height) - readout_margin);
    readout.set_anchor(1.0f, 1.0f);
    readout.blend_mode = blend_additive;
    readout.tint_anim.set(al_map_rgb(128, 128, 128));
    readout.z_anim.set(30.0f);
    readout.opacity_anim.set(0.0f);
    show_timing(instrument);
}

void show_timing_readout(instrument_class& instrument)
{
    instrument.readout.opacity_anim.animate(0.0f, 1.0f, 0.0, 0.5, curve_ease_out);
}

void show_timing(instrument_class& instrument)
{
    instrument.readout.show(menu_font, readout_size, timing_text(instrument.model.pattern(), instrument.following));
}
