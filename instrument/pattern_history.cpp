#include "instrument/pattern_history.h"

void pattern_history_class::record(const pattern_class& before, bool timing, double now)
{
    const bool same_run = timing && in_timing_run && now - last_timing_change < timing_run_seconds;
    in_timing_run = timing;
    last_timing_change = now;
    if (same_run)
        return;
    undone.push_back(before);
    if (undone.size() > depth)
        undone.pop_front();
    redone.clear();
}

// Moves the newest pattern of `from` out as the one to go to, keeping the current one on `to_side`.
static bool step(std::deque<pattern_class>& from, std::deque<pattern_class>& to_side, const pattern_class& current,
                 pattern_class& to)
{
    if (from.empty())
        return false;
    to_side.push_back(current);
    to = from.back();
    from.pop_back();
    return true;
}

bool pattern_history_class::undo(const pattern_class& current, pattern_class& to)
{
    in_timing_run = false;
    return step(undone, redone, current, to);
}

bool pattern_history_class::redo(const pattern_class& current, pattern_class& to)
{
    in_timing_run = false;
    return step(redone, undone, current, to);
}
