// The player's pattern as a whole: the file it is saved to, its autosave and its commands. With Ctrl held:
// S saves (to the pattern's file, else where a dialog asks), O opens a pattern through a dialog, N clears the
// grid, Z undoes the last change and Shift+Z (or Y) redoes it. While a dialog is up the window plays on.
#pragma once

#include "audio/pattern.h"

#include <string>

class instrument_class;

// What the command line asks of the pattern the program opens with: a file (which need not exist yet: the
// first save makes it) or the autosave, and a tempo or swing in place of the file's (0 keeps the file's).
class pattern_start
{
public:
    std::string file;
    bool resume = false;
    int tempo_tenths = 0;
    int swing = 0;
};

// Puts the start's tempo and swing, where it gives them, in place of the pattern's own.
void override_timing(pattern_class& pattern, const pattern_start& start);
// Puts the pattern the start asks for in the model (an empty one when its file cannot be read, which is
// reported and left alone) and starts the autosave.
void start_pattern(instrument_class& instrument, const pattern_start& start);
// Every tick: the Ctrl commands, then the model's changes reach the tokens, the mixer and the autosave.
void update_pattern(instrument_class& instrument);
