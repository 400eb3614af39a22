#include "audio/tempo.h"

#include <cmath>

tempo_class tempo_near(double bpm)
{
    constexpr std::int64_t millionths = 1000000;
    return {std::llround(bpm * millionths), millionths};
}

bool followable(double bpm)
{
    return bpm >= slowest_followed_bpm && bpm <= fastest_followed_bpm; // false for NaN
}
