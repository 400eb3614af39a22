#include "audio/clock_follower.h"

#include "audio/tempo.h"

#include <cmath>

double clock_follower_class::bpm() const
{
    return 60.0 * rate / (24.0 * smoothed_period);
}

// The mean period of the clocks from one at `since` to this one, when it is one of a followed tempo.
void clock_follower_class::measure(double at, double since, double clocks)
{
    const double period = (at - since) / clocks;
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
    // Leaps a few clocks apart the same way, each just past the bound, are a tempo that moved faster than the
    // loop follows (a ramp): the clocks since the one before measure it. A lost cycle leaps further.
    const double since_leap = static_cast<double>(count - drift_from);
    const bool drift = leap && !period_off && drift_error * error > 0 && since_leap >= 2 &&
                       since_leap <= drift_clocks && std::fabs(error) < 2 * leap_frames &&
                       std::fabs(drift_error) < 2 * leap_frames;
    if (count > 0 && (!locked() || period_off)) {
        measure(at, last, 1);
    } else if (drift) {
        measure(at, drift_at, since_leap);
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
    if (leap)
        drift_at = at, drift_from = count, drift_error = error;
    last = at;
    ++count;
}

double clock_follower_class::clocks_at(std::uint64_t frame) const
{
    if (!locked())
        return 0;
    return static_cast<double>(count) - (predicted - static_cast<double>(frame)) / smoothed_period;
}
