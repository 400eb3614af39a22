// The sequencer's pattern as a value: what each of the 16 x 8 cells holds, the tempo and the swing. The
// pattern model edits one; the mixer plays a copy of it.
#pragma once

#include "audio/step_grid.h"
#include "audio/tempo.h"

// Swing in percent of a pair of columns taken by its first: 50 is straight, 75 the most (a triplet feel and
// beyond: every odd column's notes half a column late).
constexpr int straight_swing = 50;
constexpr int most_swing = 75;

class pattern_class
{
public:
    step_grid cells{};
    tempo_class tempo = default_tempo;
    int swing = straight_swing;
};

inline bool operator==(const pattern_class& a, const pattern_class& b)
{
    return a.cells == b.cells && a.tempo == b.tempo && a.swing == b.swing;
}

inline bool operator!=(const pattern_class& a, const pattern_class& b)
{
    return !(a == b);
}
