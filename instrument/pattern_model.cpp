#include "instrument/pattern_model.h"

#include <algorithm>
#include <cassert>
#include <utility>

tempo_class stepped_tempo(const tempo_class& from, int direction, int step_tenths)
{
    assert((direction == 1 || direction == -1) && step_tenths > 0 && "one step up or down");
    // The grid value at or below the tempo, exactly: beats * 10 / (minutes * step) rounded down.
    const __int128 scaled = static_cast<__int128>(from.beats) * 10;
    const __int128 grid = static_cast<__int128>(from.minutes) * step_tenths;
    const __int128 below = scaled / grid;
    const bool on_grid = below * grid == scaled;
    const __int128 next = direction > 0 ? below + 1 : on_grid ? below - 1 : below;
    const long long tenths = static_cast<long long>(next * step_tenths);
    return tempo_in_tenths(static_cast<int>(std::clamp<long long>(tenths, slowest_tempo_tenths, fastest_tempo_tenths)));
}

pattern_model_class::pattern_model_class(int tokens_per_element) : per_element(tokens_per_element)
{
}

int pattern_model_class::remaining(int element) const
{
    return per_element - static_cast<int>(std::count(current.cells.begin(), current.cells.end(), element));
}

void pattern_model_class::change_to(const pattern_class& next)
{
    for (int cell = 0; cell < step_cells; ++cell)
        if (next.cells[cell] != current.cells[cell])
            changes.cells.set(cell);
    changes.tempo = changes.tempo || next.tempo != current.tempo;
    changes.swing = changes.swing || next.swing != current.swing;
    current = next;
}

void pattern_model_class::edit_to(const pattern_class& next, bool timing, double now)
{
    if (next == current) {
        if (timing)
            history.keep_run(now);
        return;
    }
    history.record(current, timing, now);
    change_to(next);
}

void pattern_model_class::reset(const pattern_class& start)
{
    history = pattern_history_class();
    change_to(start);
    changes.cells.set();
}

place_result pattern_model_class::place(int cell, int element)
{
    assert(cell >= 0 && cell < step_cells && element >= 1 && element <= 4 && "a cell of the grid and an element");
    if (current.cells[cell] != 0)
        return place_result::cell_taken;
    if (remaining(element) <= 0)
        return place_result::none_left;
    pattern_class next = current;
    next.cells[cell] = static_cast<std::uint8_t>(element);
    edit_to(next);
    return place_result::placed;
}

void pattern_model_class::clear(int cell)
{
    assert(cell >= 0 && cell < step_cells && "a cell of the grid");
    pattern_class next = current;
    next.cells[cell] = 0;
    edit_to(next);
}

void pattern_model_class::clear_all()
{
    pattern_class next = current;
    next.cells = step_grid{};
    edit_to(next);
}

void pattern_model_class::replace(const pattern_class& next)
{
    // A step even when the grid stays as it was: the file it comes from is another.
    history.record(current, false, 0, true);
    change_to(next);
}

void pattern_model_class::set_tempo(const tempo_class& tempo, double now)
{
    pattern_class next = current;
    next.tempo = tempo.bpm() < slowest_tempo_tenths / 10.0   ? tempo_in_tenths(slowest_tempo_tenths)
                 : tempo.bpm() > fastest_tempo_tenths / 10.0 ? tempo_in_tenths(fastest_tempo_tenths)
                                                             : tempo;
    edit_to(next, true, now);
}

void pattern_model_class::set_swing(int swing, double now)
{
    pattern_class next = current;
    next.swing = std::clamp(swing, straight_swing, most_swing);
    edit_to(next, true, now);
}

bool pattern_model_class::step_to(bool stepped, const pattern_history_class::entry& to)
{
    over_opening = stepped && to.opening;
    if (stepped)
        change_to(to.pattern);
    return stepped;
}

bool pattern_model_class::undo()
{
    pattern_history_class::entry to;
    return step_to(history.undo(current, to), to);
}

bool pattern_model_class::redo()
{
    pattern_history_class::entry to;
    return step_to(history.redo(current, to), to);
}

pattern_changes pattern_model_class::take_changes()
{
    return std::exchange(changes, pattern_changes());
}
