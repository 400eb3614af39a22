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
        const double omega = 2.0 * M_PI * bandwidth_hz * smoothed_period / rate;
        b = std::sqrt(2.0) * omega;
        c = omega * omega;
    } else {
        const double error = at - predicted;
        predicted += b * error + smoothed_period;
        smoothed_period += c * error;
    }
    ++count;
}

double clock_follower_class::clocks_at(std::uint64_t frame) const
{
    if (!locked())
        return 0;
    return static_cast<double>(count) - (predicted - static_cast<double>(frame)) / smoothed_period;
}
