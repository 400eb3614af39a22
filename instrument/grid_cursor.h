// Play from the keyboard: a cursor over the grid that the arrows move (Home and End go to the row's ends),
// staying inside it. Space or Enter places the chosen element under it as a left click there does, Delete or
// Backspace clears it as a right click does. It appears at the first arrow press, at column 0 of the top row,
// drawn as a ring in the chosen element's colour; it hides when the mouse is used on the grid and shows
// again where it was at the next key press. Held arrows move it on with the key's repeat; a held Space
// places once.
#pragma once

class instrument_class;

class grid_cursor_class
{
public:
    int column = 0;
    int row = 0;
    bool shown = false;
    bool started = false; // an arrow has been pressed: it exists from then on

    // Moves by whole cells, never out of the grid.
    void move(int columns, int rows);
    int cell() const;
};

// Places the ring over the cursor's token and sets it up hidden.
void setup_grid_cursor(instrument_class& instrument);
// Every tick once an element is chosen: the keys move the cursor and edit the pattern at it; the mouse hides it.
void update_grid_cursor(instrument_class& instrument);
