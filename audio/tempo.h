// A tempo in beats (quarter notes) a minute, kept as an exact fraction so that a column's length in frames
// (a sixteenth: 15 / tempo seconds) carries no rounding however long the line runs. A column is a sixteenth
// note and a sweep of 16 columns a bar of 4/4.
#pragma once

#include <cstdint>

class tempo_class
{
public:
    std::int64_t beats = 0;   // beats in `minutes` minutes
    std::int64_t minutes = 1; // never 0

    double bpm() const { return static_cast<double>(beats) / static_cast<double>(minutes); }
};

inline bool operator==(const tempo_class& a, const tempo_class& b)
{
    return static_cast<__int128>(a.beats) * b.minutes == static_cast<__int128>(b.beats) * a.minutes;
}

inline bool operator!=(const tempo_class& a, const tempo_class& b)
{
    return !(a == b);
}

// The tempo the line has always had: a sweep of 819.2001342773438 px at 300 px/s, that is 240 * 300 * 2^20
// beats in 858,993,600 minutes, about 87.89 BPM.
constexpr tempo_class default_tempo{240LL * 300 * (1LL << 20), 858993600};

// A tempo given in tenths of a beat a minute (1205 is 120.5 BPM).
constexpr tempo_class tempo_in_tenths(int tenths)
{
    return {tenths, 10};
}

// A tempo measured from outside (another machine's clock), kept to a millionth of a beat a minute.
tempo_class tempo_near(double bpm);

// The tempi another machine may lead the line at (Link's own range): a clock or a transport beyond them is
// broken, not fast or slow, and a line that followed it would stall the sound.
constexpr double slowest_followed_bpm = 20, fastest_followed_bpm = 999;
bool followable(double bpm);
