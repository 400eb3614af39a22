#include "instrument/timing_readout.h"

#include "core/screen.h"
#include "instrument/element_menu.h"
#include "instrument/instrument.h"
#include "instrument/pattern_file.h"
#include "instrument/notice.h"
#include "resources/bins.h"

#include <cmath>
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
    if (follow.source == sync_source::internal)
        return tempo_text(pattern.tempo) + " BPM" + swing;
    char tempo[32];
    std::snprintf(tempo, sizeof tempo, "%.1f BPM", follow.bpm);
    const std::string shown = follow.state == follow_state::following ? tempo
                              : follow.state == follow_state::no_clock ? "NO CLOCK"
                                                                       : "STOPPED";
    return shown + " \u00b7 " + source_name(follow.source) + swing;
}

// What the studio cycle says now, the tempo to a tenth so that the readout changes only when it shows.
static follow_reading read_following(const studio_cycle_class& studio)
{
    follow_reading now;
    now.source = studio.sync;
    now.state = static_cast<follow_state>(studio.state.load(std::memory_order_relaxed));
    now.bpm = std::round(studio.followed_bpm.load(std::memory_order_relaxed) * 10) / 10;
    return now;
}

void update_following(instrument_class& instrument)
{
    if (!instrument.studio || instrument.studio->sync == sync_source::internal)
        return;
    const follow_reading now = read_following(*instrument.studio);
    if (now == instrument.following)
        return;
    if (now.state == follow_state::no_clock)
        report_problem(instrument, now.source == sync_source::midi_clock
                                       ? "No MIDI clock on midi_in for 2 s: the line holds"
                                       : "No JACK transport master for 2 s: the line holds");
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
