#include "instrument/pattern_history.h"

void pattern_history_class::record(const pattern_class& before, bool timing, double now, bool opening)
{
    const bool same_run = timing && in_timing_run && now - last_timing_change < timing_run_seconds;
    in_timing_run = timing;
    last_timing_change = now;
    if (same_run)
        return;
    undone.push_back({before, opening});
    if (undone.size() > depth)
        undone.pop_front();
    redone.clear();
}

void pattern_history_class::keep_run(double now)
{
    if (in_timing_run && now - last_timing_change < timing_run_seconds)
        last_timing_change = now;
}

// Moves the newest entry of `from` out as the one to go to, keeping the current pattern on `to_side` with
// the step between them.
static bool step(std::deque<pattern_history_class::entry>& from, std::deque<pattern_history_class::entry>& to_side,
                 const pattern_class& current, pattern_history_class::entry& to)
{
    if (from.empty())
        return false;
    to = from.back();
    from.pop_back();
    to_side.push_back({current, to.opening});
    return true;
}

bool pattern_history_class::undo(const pattern_class& current, entry& to)
{
    in_timing_run = false;
    return step(undone, redone, current, to);
}

bool pattern_history_class::redo(const pattern_class& current, entry& to)
{
    in_timing_run = false;
    return step(redone, undone, current, to);
}
