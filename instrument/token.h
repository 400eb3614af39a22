// The sequencer's cells: a 16 x 8 grid of tokens, each a bead that lights up under the mouse and, once the
// player has put an element on it, that element's image. A left click places the current element (if the
// element menu still has one to give), a right click clears it and gives it back.
#pragma once

#include "audio/step_grid.h"
#include "instrument/elements.h"
#include "scene/object.h"

#include <vector>

constexpr int grid_columns = step_columns;
constexpr int grid_rows = step_rows;
constexpr float grid_top = 80.0f;

class token_class
{
public:
    element_id element = no_element;
    Object bead;     // also the token's hit area
    Object element_sprite; // cropped away while the token is empty
    int note_index = 0;    // 7 for the top row down to 0 for the bottom row
    bool hovered = true;   // so the first hover-off after a choice fades every bead in to 0.4

    // (x, y) is the cell's top-left corner; the sprites are centred on its top edge.
    token_class(float x, float y, int note);
    token_class(const token_class&) = delete;
    token_class& operator=(const token_class&) = delete;

    void place_element(int id);
    void clear_element();
    // The two halves of a place: the element taken (false when the token holds one, or the menu has none
    // to give), and its image uncovered from the bottom up.
    bool take_element(int id);
    void show_element();
};

// Where the grid puts things for grid scale s, also for those that need no tokens (the line's schedule, the
// MIDI export): a column's width and left edge, the centre of a token whose cell starts at x, and the length
// of a sweep (the column widths added up in single precision, so 819.2001342773438 rather than 819.2).
float column_step(float s);
float column_left(int column, float s);
float token_centre_x(float x);
float sweep_length(float s);

// Fills token_grid with s the grid scale and measures the grid width of the play line.
void create_token_grid(float s);

// A left click places the current element on the token under the mouse, else a right click clears it.
void update_token_clicks();
