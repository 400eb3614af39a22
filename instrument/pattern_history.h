// Undo and redo of the grid: every change (a place, a clear, a new grid, an opened pattern) keeps the grid
// as it was before, so the player can step back through the last changes and forward again.
#pragma once

#include "audio/step_grid.h"

#include <vector>

class pattern_history_class
{
public:
    static constexpr std::size_t depth = 256;

    step_grid current{};
    std::vector<step_grid> undone; // older states, the last one the newest
    std::vector<step_grid> redone; // states stepped back from, the last one the most recent

    // Notes the grid as it stands after a change; nothing happens when it did not change.
    void record(const step_grid& now);
    // The grid to go back (or forward) to, or false when there is none; it becomes the current grid.
    bool undo(step_grid& to);
    bool redo(step_grid& to);
};
