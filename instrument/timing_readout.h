// The tempo and swing on the play screen: a line of small grey type in the bottom right corner, clear of the
// grid and the buttons, that shows with the grid and follows every change.
#pragma once

#include "audio/pattern.h"
#include "audio/studio_cycle.h"

#include <string>

class instrument_class;

// Whose tempo the line keeps, as the readout last showed it.
class follow_reading
{
public:
    sync_source source = sync_source::internal;
    follow_state state = follow_state::leading;
    double bpm = 0; // followed, to a tenth
    bool link = false; // in a Link session, with this many peers
    int peers = 0;

    bool operator==(const follow_reading& other) const
    {
        return source == other.source && state == other.state && bpm == other.bpm && link == other.link &&
               peers == other.peers;
    }
};

// "87.89 BPM   SWING 50 %" ("87.89 BPM · STOPPED ..." once the player stopped); while following,
// "120.0 BPM · MIDI   SWING 50 %" (the MIDI clock; JACK for its transport; "LINK 2" in a Link session with two
// peers), with STOPPED or NO CLOCK in place of the tempo while the line holds.
std::string timing_text(const pattern_class& pattern, const follow_reading& follow = {});

// Places the readout, hidden until the play screen shows.
void setup_timing_readout(instrument_class& instrument);
void show_timing_readout(instrument_class& instrument);
// Renders the readout afresh for the pattern's tempo and swing.
void show_timing(instrument_class& instrument);
// Every tick: while the line follows another machine, the readout follows its tempo and state, and a clock
// that has not come for two seconds is told, as are peers that join or leave a Link session.
void update_following(instrument_class& instrument);
