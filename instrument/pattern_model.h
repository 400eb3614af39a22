// The player's pattern and every way to change it. Clicks, keys, opened files, clearing, undo and redo and
// the command line all go through these operations and nothing else writes the pattern. Each change is kept
// for undo and noted for the frame loop, which takes the notes once a tick and brings the token pictures,
// the buttons' counts, the mixer, the autosave and the readout up to date. The model knows no sprite, sound
// or clock: callers say when a timing change happens.
#pragma once

#include "audio/pattern.h"
#include "instrument/pattern_history.h"

#include <bitset>

// What changed since the frame loop last asked.
class pattern_changes
{
public:
    std::bitset<step_cells> cells;
    bool tempo = false;
    bool swing = false;

    bool any() const { return cells.any() || tempo || swing; }
};

// What came of placing an element on a cell.
enum class place_result
{
    placed,
    cell_taken, // the cell holds an element already
    none_left   // every token of the element is placed
};

// Tempos a player can set, in tenths of a beat a minute (40 to 240 BPM).
constexpr int slowest_tempo_tenths = 400;
constexpr int fastest_tempo_tenths = 2400;

// The tempo one step up (direction +1) or down (-1) from `from`, on a grid of step_tenths (10 for whole
// BPM): the next grid value strictly beyond it, within the range.
tempo_class stepped_tempo(const tempo_class& from, int direction, int step_tenths);

class pattern_model_class
{
public:
    static constexpr int tokens_per_element = 999;

    explicit pattern_model_class(int tokens_per_element = pattern_model_class::tokens_per_element);

    const pattern_class& pattern() const { return current; }
    // How many more tokens of an element (1 to 4) the player may place.
    int remaining(int element) const;

    // Starts afresh from a pattern (the one the program opens with): no history, every cell noted.
    void reset(const pattern_class& start);
    // Puts an element (1 to 4) on an empty cell; nothing changes unless it was placed.
    place_result place(int cell, int element);
    void clear(int cell);
    void clear_all();
    // An opened pattern, as one step (also when it is the pattern on the grid).
    void replace(const pattern_class& next);
    // Limited to 40 to 240 BPM (the default tempo is within) and a swing of 50 to 75; a run of timing changes
    // less than a second apart is one step of undo.
    void set_tempo(const tempo_class& tempo, double now);
    void set_swing(int swing, double now);
    bool undo();
    bool redo();
    // Whether the last undo or redo stepped over an opened pattern (to the one before it, or back to it).
    bool stepped_over_opening() const { return over_opening; }

    // The changes since the last call, which forgets them.
    pattern_changes take_changes();

private:
    pattern_class current;
    pattern_history_class history;
    pattern_changes changes;
    int per_element;
    bool over_opening = false;

    // Every change goes through change_to, which notes it for the frame loop; every edit (all but undo and
    // redo) through edit_to, which also keeps it for undo.
    void change_to(const pattern_class& next);
    void edit_to(const pattern_class& next, bool timing = false, double now = 0);
    bool step_to(bool stepped, const pattern_history_class::entry& to);
};
