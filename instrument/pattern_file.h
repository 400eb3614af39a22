// Pattern files: the player's grid as UTF-8 text. Lines starting with '#' are comments and blank lines are
// ignored; the first other line is exactly "tolme-pattern 1", then come 8 rows of 16 cells, the top row (the
// highest note) first: '.' empty, '1' EARTH, '2' WIND, '3' WATER, '4' FIRE. Trailing spaces and CRLF line
// ends are accepted; anything else is refused with its line number and the reason.
#pragma once

#include "audio/step_grid.h"

#include <string>

// Larger than any pattern written by hand; refused unread.
constexpr long largest_pattern_file = 1L << 20;

class pattern_reading
{
public:
    bool ok = false;
    step_grid cells{};
    std::string error; // "line 3: ..." or what was wrong with the file
};

// The pattern in the text, or why it is not one.
pattern_reading parse_pattern(const std::string& text);
// The pattern's file contents, ending with a newline.
std::string format_pattern(const step_grid& cells);
// Reads and parses a file; a missing, unreadable, oversized or folder path is refused too.
pattern_reading read_pattern_file(const std::string& path);
