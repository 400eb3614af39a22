// Undo and redo of the pattern: every change (a place, a clear, a new grid, an opened pattern, a tempo or
// swing) keeps the pattern as it was before, so the player can step back through the last changes and
// forward again. Tempo and swing changes less than a second apart make one step, so that a held run of
// taps or key presses is undone at once. The oldest step goes first when the history is full.
#pragma once

#include "audio/pattern.h"

#include <deque>

class pattern_history_class
{
public:
    static constexpr std::size_t depth = 256;
    static constexpr double timing_run_seconds = 1.0;

    // A pattern to step to, and whether the step between it and the pattern beside it opened a file.
    struct entry
    {
        pattern_class pattern;
        bool opening = false;
    };
    std::deque<entry> undone; // older patterns, the last one the newest
    std::deque<entry> redone; // patterns stepped back from, the last one the most recent

    // Notes the pattern as it was before a change; `timing` for a tempo or swing change at the time `now`,
    // `opening` for an opened pattern.
    void record(const pattern_class& before, bool timing = false, double now = 0, bool opening = false);
    // A tempo or swing set to what it was already (a tap at the same tempo): a run of changes goes on.
    void keep_run(double now);
    // The entry to go back (or forward) to from the current pattern, or false when there is none.
    bool undo(const pattern_class& current, entry& to);
    bool redo(const pattern_class& current, entry& to);

private:
    bool in_timing_run = false;
    double last_timing_change = 0;
};
