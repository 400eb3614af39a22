// What the instrument needs of whatever plays its mixer (the desktop's sound device through Allegro, or a
// JACK server): which frame is heard now, for the pulses, and whether sound reaches anyone (or is late to).
#pragma once

#include "audio/heard_clock.h"

class sound_output_class
{
public:
    heard_clock_class clock;

    explicit sound_output_class(double rate, double smoothing_seconds = 0) : clock(rate, smoothing_seconds) {}
    virtual ~sound_output_class() = default;
    sound_output_class(const sound_output_class&) = delete;
    sound_output_class& operator=(const sound_output_class&) = delete;

    // Whether sound is reaching a device (false while it is replaced by silence).
    virtual bool playing() const = 0;
    // Whether it has been trying for a while and no sound has reached a device yet.
    virtual bool late(double) const { return false; }
};
