#include "audio/clock_follower.h"

#include <cmath>

double clock_follower_class::bpm() const
{
    return 60.0 * rate / (24.0 * smoothed_period);
}

void clock_follower_class::clock(std::uint64_t frame)
{
    const double at = static_cast<double>(frame);
    if (count == 0) {
        first = at;
    } else if (count == 1) {
        // The second clock gives the first period; the gains follow from it (a critically damped loop).
        smoothed_period = at - first;
        predicted = at + smoothed_period;
    } else {
        // A critically damped loop at the bandwidth for this clock.
        const double bandwidth = last_bandwidth_hz + (first_bandwidth_hz - last_bandwidth_hz) *
                                                         std::exp(-static_cast<double>(count) / narrowing_clocks);
        const double omega = 2.0 * M_PI * bandwidth * smoothed_period / rate;
        const double error = at - predicted;
        if (std::fabs(error) > leap_seconds * rate) {
            predicted = at + smoothed_period;
        } else {
            predicted += std::sqrt(2.0) * omega * error + smoothed_period;
            smoothed_period += omega * omega * error;
        }
    }
    ++count;
}

double clock_follower_class::clocks_at(std::uint64_t frame) const
{
    if (!locked())
        return 0;
    return static_cast<double>(count) - (predicted - static_cast<double>(frame)) / smoothed_period;
}
