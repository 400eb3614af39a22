// Follows another machine's MIDI clock (24 a quarter) through a delay-locked loop: each clock's frame
// corrects the predicted frame of the next and, more slowly, the clock's period, so that the jitter of
// single clocks is smoothed away while the tempo and the phase are kept. A clock far from where it was
// expected is a leap of the other machine's (a cycle it lost), not jitter: the phase takes it at once. Two
// leaps in a row by about the same amount say the period itself is off (its first measure was, or the other
// machine's tempo jumped), so the last two clocks measure it anew. Clocks closer together than the fastest
// tempo followed (a burst, after the other machine stalled) are counted but measure nothing. Counts in frames.
#pragma once

#include <cstdint>

class clock_follower_class
{
public:
    // The loop's bandwidth (about how often a second it corrects itself): wide at first, so that it locks
    // within a few beats, then narrowing, so that single clocks' jitter is smoothed away.
    static constexpr double first_bandwidth_hz = 2.0;
    static constexpr double last_bandwidth_hz = 0.5;
    static constexpr double narrowing_clocks = 96;
    static constexpr double leap_seconds = 0.002;
    static constexpr double drift_clocks = 24;

    explicit clock_follower_class(double rate) : rate(rate) {}

    // A clock arrived at this frame.
    void clock(std::uint64_t frame);
    // Forgets the clock (it stopped coming); the next one starts the count again.
    void forget() { count = 0, smoothed_period = 0, leap_error = 0, drift_error = 0; }

    // Whether two clocks have measured the period.
    bool locked() const { return smoothed_period > 0; }
    // Frames a clock, smoothed; only when locked.
    double period() const { return smoothed_period; }
    // Beats a minute at that period.
    double bpm() const;
    // Clocks since the first one at a frame near the last clock, smoothed (0 at the first clock).
    double clocks_at(std::uint64_t frame) const;
    // Clocks counted so far.
    std::uint64_t clocks() const { return count; }

private:
    double rate;
    std::uint64_t count = 0;
    double last = 0;            // the last clock's frame
    double predicted = 0;       // the next clock's frame, as the loop expects it
    double smoothed_period = 0; // 0 until two clocks measured it
    double leap_error = 0;      // how far the last clock leaped; 0 when it did not
    double drift_at = 0;        // the last leap's frame, count and error, however long ago
    std::uint64_t drift_from = 0;
    double drift_error = 0;

    void measure(double at, double since, double clocks);
};
