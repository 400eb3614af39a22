// Which frame of the mixer's output a listener hears now, so that a pulse shows in the frame loop's tick in
// which its note is heard. The thread that renders records each pull: the frames handed over so far, when,
// and how far the device plays behind what it was handed (its lead). The frame loop extrapolates from the
// promptest recent pulls at the output rate, never past what was handed over and never backwards.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class heard_clock_class
{
public:
    // Smoothing of the rendering side's heard times, for a device whose pulls come unevenly (0: none).
    explicit heard_clock_class(double rate, double smoothing_seconds = 0)
        : rate(rate), smoothing_seconds(smoothing_seconds)
    {
    }

    // Forgets every pull: time starts again. Only while nothing renders.
    void reset();
    // Rendering side. A device (or the silent stand-in) starts pulling, playing lead frames behind them.
    void restart(std::uint64_t lead_frames);
    // count frames were just handed over, ending at frame_end, at the given time.
    void record_pull(std::uint64_t frame_end, double time);
    // Rendering side: the time at which a frame will be heard, as the recent pulls tell it (the frame loop's
    // reading turned round, smoothed as asked); false before the first pull since the last restart.
    bool heard_time(std::uint64_t frame, double& time) const;

    // Frame loop side: the frame heard at the given time; negative before the first frame is heard.
    double frame_at(double time);

private:
    const double rate;

    // Rendering side.
    static constexpr int window = 8;
    std::array<double, window> anchors{};
    int anchor_count = 0;
    int next_anchor = 0;
    const double smoothing_seconds;
    double smooth_anchor = 0;
    std::uint64_t smoothed_to = 0;
    std::uint64_t lead = 0;

    // Shared, consistent through the sequence number (odd while the writer is in the middle).
    std::atomic<std::uint64_t> sequence{0};
    std::atomic<double> shared_anchor{0};
    std::atomic<double> shared_end{0};
    std::atomic<bool> shared_valid{false};

    // Frame loop side.
    double last_reading = -1;
};
