#include "audio/heard_clock.h"

#include <algorithm>

void heard_clock_class::reset()
{
    restart(0);
    shared_valid = false;
    last_reading = -1;
}

void heard_clock_class::restart(std::uint64_t lead_frames)
{
    lead = lead_frames;
    anchor_count = 0;
    next_anchor = 0;
}

void heard_clock_class::record_pull(std::uint64_t frame_end, double time)
{
    // Where this pull puts frame 0 on the time axis; a pull that came late puts it too early, so the
    // latest of the recent anchors is the best.
    anchors[next_anchor] = static_cast<double>(frame_end) - static_cast<double>(lead) - rate * time;
    next_anchor = (next_anchor + 1) % window;
    anchor_count = std::min(anchor_count + 1, window);
    const double best = *std::max_element(anchors.begin(), anchors.begin() + anchor_count);
    // The best anchor steps as prompt pulls come and go; what steers the line follows it smoothly, once the
    // first few pulls have found it.
    const double span = static_cast<double>(frame_end - smoothed_to) / rate;
    const double weight = smoothing_seconds > 0 ? std::min(1.0, span / smoothing_seconds) : 1.0;
    smooth_anchor = anchor_count < window ? best : smooth_anchor + (best - smooth_anchor) * weight;
    smoothed_to = frame_end;

    const std::uint64_t s = sequence.load(std::memory_order_relaxed);
    sequence.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    shared_anchor.store(best, std::memory_order_relaxed);
    shared_end.store(static_cast<double>(frame_end), std::memory_order_relaxed);
    shared_valid.store(true, std::memory_order_relaxed);
    sequence.store(s + 2, std::memory_order_release);
}

bool heard_clock_class::heard_time(std::uint64_t frame, double& time) const
{
    if (anchor_count == 0)
        return false;
    time = (static_cast<double>(frame) - smooth_anchor) / rate;
    return true;
}

double heard_clock_class::frame_at(double time)
{
    double anchor = 0, end = 0;
    bool valid = false;
    std::uint64_t before = 0, after = 0;
    do {
        before = sequence.load(std::memory_order_acquire);
        anchor = shared_anchor.load(std::memory_order_relaxed);
        end = shared_end.load(std::memory_order_relaxed);
        valid = shared_valid.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        after = sequence.load(std::memory_order_relaxed);
    } while (before != after || (before & 1));
    if (valid)
        last_reading = std::max(last_reading, std::min(end, anchor + rate * time));
    return last_reading;
}
