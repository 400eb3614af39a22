// The sequencer's cells on the stage: a 16 x 8 grid of tokens, each a bead that lights up under the mouse
// and the picture of the element its cell holds in the pattern model. A left click places the current element
// on the cell under the mouse, a right click clears it; the tokens only show what the model then holds.
#pragma once

#include "audio/step_grid.h"
#include "instrument/elements.h"
#include "scene/object.h"

#include <vector>

class instrument_class;

constexpr int grid_columns = step_columns;
constexpr int grid_rows = step_rows;
constexpr float grid_top = 80.0f;

class token_class
{
public:
    element_id shown = no_element; // the element its picture shows
    Object bead;                   // also the token's hit area
    Object element_sprite;         // cropped away while the token shows none
    int note_index = 0;            // 7 for the top row down to 0 for the bottom row
    bool hovered = true;           // so the first hover-off after a choice fades every bead in to 0.4

    // (x, y) is the cell's top-left corner; the sprites are centred on its top edge.
    token_class(float x, float y, int note);
    token_class(const token_class&) = delete;
    token_class& operator=(const token_class&) = delete;

    // Shows another element, or none: the picture shown is wiped away downwards, and the new one is
    // uncovered from the bottom up, at once when `uncover` holds, else by a later reveal().
    void show(element_id id, bool uncover);
    void reveal();
};

// Where the grid puts things for grid scale s, also for those that need no tokens (the line's schedule, the
// MIDI export): a column's width and left edge, the centre of a token whose cell starts at x, and the length
// of a sweep (the column widths added up in single precision, so 819.2001342773438 rather than 819.2).
float column_step(float s);
float column_left(int column, float s);
float token_centre_x(float x);
float sweep_length(float s);

// Fills the instrument's token grid with s the grid scale and measures the grid width of the play line.
void create_token_grid(instrument_class& instrument, float s);
// The cell of the first token in grid order whose bead covers the point, or -1.
int token_cell_at(const instrument_class& instrument, float x, float y);
// Places the chosen element on a cell as the player asks; with none of it left, its count flashes.
void place_chosen_element(instrument_class& instrument, int cell);
// A left click places the chosen element on the cell under the mouse, else a right click clears it.
void update_token_clicks(instrument_class& instrument);
