// The player's pattern as a whole: what the grid holds, the file it is saved to, its autosave and its undo
// history. With Ctrl held: S saves (to the pattern's file, else where a dialog asks), O opens a pattern
// through a dialog, N clears the grid, Z undoes the last change of the grid and Shift+Z (or Y) redoes it.
#pragma once

#include "audio/step_grid.h"

#include <string>

// What the tokens hold, cell by cell.
step_grid grid_cells();
// Puts a pattern on the tokens as clicks would: tokens that differ are cleared (counts given back) and then
// take their new element (counts taken); while the grid is not yet on show, the elements wait hidden.
void apply_pattern(const step_grid& cells);
// Opens the pattern the program was started with: a file (which need not exist yet: the first save makes
// it), or the autosave when resuming; a file that cannot be read is reported and the grid starts empty.
// Starts the autosave.
void start_pattern(const std::string& file, bool resume);
// Every tick: the Ctrl commands, then the history and the autosave take note of any change.
void update_pattern();
