#include "instrument/pattern_history.h"

void pattern_history_class::record(const step_grid& now)
{
    if (now == current)
        return;
    undone.push_back(current);
    if (undone.size() > depth)
        undone.erase(undone.begin());
    redone.clear();
    current = now;
}

// Moves the newest state of `from` into current, keeping current on `to_side`.
static bool step(std::vector<step_grid>& from, std::vector<step_grid>& to_side, step_grid& current, step_grid& to)
{
    if (from.empty())
        return false;
    to_side.push_back(current);
    current = from.back();
    from.pop_back();
    to = current;
    return true;
}

bool pattern_history_class::undo(step_grid& to)
{
    return step(undone, redone, current, to);
}

bool pattern_history_class::redo(step_grid& to)
{
    return step(redone, undone, current, to);
}
