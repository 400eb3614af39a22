// The sequencer's pattern as the audio side sees it: 16 steps of 8 notes, one cell per token. A cell holds
// the sound set (element) that plays its row's note, 0 when it is silent.
#pragma once

#include <array>
#include <cstdint>

constexpr int step_columns = 16;
constexpr int step_rows = 8;
constexpr int step_cells = step_columns * step_rows;

// Column-major, as the token grid: index = column * step_rows + row, row 0 at the top.
using step_grid = std::array<std::uint8_t, step_cells>;

constexpr int cell_index(int column, int row)
{
    return column * step_rows + row;
}

// The top row plays the highest note of its set.
constexpr int note_of_row(int row)
{
    return step_rows - 1 - row;
}
