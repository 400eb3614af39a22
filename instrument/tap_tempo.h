// Tap tempo: from the second tap on, the tempo is a minute divided by the mean of the last intervals between
// taps (at most four, each 0.25 to 1.5 s), rounded to 0.1 BPM. A tap after a longer pause starts a new
// count; one sooner than 0.25 s after the last is a bounce of the key and is let go.
#pragma once

#include "audio/tempo.h"

#include <deque>
#include <optional>

class tap_tempo_class
{
public:
    static constexpr double shortest_interval = 0.25;
    static constexpr double longest_interval = 1.5;
    static constexpr std::size_t intervals_kept = 4;

    // A tap at the given time (seconds); the tempo it makes, if any.
    std::optional<tempo_class> tap(double at);

private:
    std::deque<double> intervals;
    std::optional<double> last_tap;
};
