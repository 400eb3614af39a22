#include "audio/clock_follower.h"

#include "audio/tempo.h"

#include <cmath>

double clock_follower_class::bpm() const
{
    return 60.0 * rate / (24.0 * smoothed_period);
}

// The period from the last clock to this one, when it is one of a followed tempo.
void clock_follower_class::measure(double at)
{
    const double period = at - last;
    if (followable(60.0 * rate / (24.0 * period))) {
        smoothed_period = period;
        predicted = at + period;
    }
}

void clock_follower_class::clock(std::uint64_t frame)
{
    const double at = static_cast<double>(frame);
    const double error = at - predicted, leap_frames = leap_seconds * rate;
    const bool leap = locked() && std::fabs(error) > leap_frames;
    const bool period_off = leap && leap_error != 0 && std::fabs(error - leap_error) <= leap_frames;
    if (count > 0 && (!locked() || period_off)) {
        measure(at);
    } else if (leap) {
        predicted = at + smoothed_period;
    } else if (locked()) {
        // A critically damped loop at the bandwidth for this clock.
        const double bandwidth = last_bandwidth_hz + (first_bandwidth_hz - last_bandwidth_hz) *
                                                         std::exp(-static_cast<double>(count) / narrowing_clocks);
        const double omega = 2.0 * M_PI * bandwidth * smoothed_period / rate;
        predicted += std::sqrt(2.0) * omega * error + smoothed_period;
        smoothed_period += omega * omega * error;
    }
    leap_error = leap && !period_off ? error : 0;
    last = at;
    ++count;
}

double clock_follower_class::clocks_at(std::uint64_t frame) const
{
    if (!locked())
        return 0;
    return static_cast<double>(count) - (predicted - static_cast<double>(frame)) / smoothed_period;
}
