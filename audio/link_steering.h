// Keeps the line on a Link session's beat. A bar of four beats (Link's quantum) is a sweep, four columns a
// beat: column 0's notes sound on beat 0 of each bar, read at the moment a frame is heard. Joining waits for
// the session's next bar, where the line is put on column 0's notes (Link's quantized launch), so that it
// never jumps mid-bar; from then on the line runs at the session's tempo, and small differences (a heard
// time read a little early or late, a session's tempo change heard after frames already rendered) are
// steered out by running it a little faster or slower for a moment. A difference too large for that (the
// session re-mapped its beat, the sound moved to another device) is a new join. While the session (or the
// player) stops, the line holds; it starts again on a bar. Runs on the audio thread.
#pragma once

#include "audio/note_schedule.h"

#include <cstdint>

constexpr double beats_per_bar = 4;
constexpr double columns_per_beat = step_columns / beats_per_bar;

// What the session says at the moment a frame is heard.
class link_reading
{
public:
    double beat = 0; // for a quantum of a bar: its phase in the bar is the session's
    double bpm = 120;
    bool playing = true; // the session's start and stop, and the player's own
};

enum class link_phase : int
{
    waiting,   // for the session's next bar
    following, // on its beat
    stopped    // held while it stops
};

class link_steering_class
{
public:
    // How long a difference takes to shrink by e times, at most how much faster or slower the line runs for
    // it, and the largest difference steered rather than joined afresh.
    static constexpr double settle_seconds = 0.5;
    static constexpr double most_correction = 0.05;
    static constexpr double jump_seconds = 0.05;

    link_phase phase = link_phase::waiting;

    explicit link_steering_class(double rate) : rate(rate) {}

    // Sets the line at frame `at` (no later frame rendered yet) to the session as read for it; returns the
    // frame up to which the line may run so before the next call: `end`, or a bar that starts before it.
    std::uint64_t steer(note_schedule_class& schedule, std::uint64_t at, std::uint64_t end,
                        const link_reading& session) noexcept;

private:
    double rate;

    std::uint64_t wait_for_bar(note_schedule_class& schedule, std::uint64_t at, std::uint64_t end,
                               const link_reading& session) noexcept;
};
