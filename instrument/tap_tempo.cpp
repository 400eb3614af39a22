#include "instrument/tap_tempo.h"

#include <cmath>
#include <numeric>

std::optional<tempo_class> tap_tempo_class::tap(double at)
{
    const double interval = last_tap ? at - *last_tap : longest_interval + 1;
    if (interval < shortest_interval)
        return std::nullopt;
    last_tap = at;
    if (interval > longest_interval) {
        intervals.clear();
        return std::nullopt;
    }
    intervals.push_back(interval);
    if (intervals.size() > intervals_kept)
        intervals.pop_front();
    const double mean = std::accumulate(intervals.begin(), intervals.end(), 0.0) / static_cast<double>(intervals.size());
    return tempo_in_tenths(static_cast<int>(std::lround(600.0 / mean)));
}
