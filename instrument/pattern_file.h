// Pattern files: the player's pattern as UTF-8 text. Lines starting with '#' are comments and blank lines are
// ignored; the first other line is "tolme-pattern 1" or "tolme-pattern 2". Version 2 may then give
// "tempo BPM" (40 to 240, at most one digit after the point) and "swing PERCENT" (a whole number, 50 to 75),
// each at most once, in either order. Then come 8 rows of 16 cells, the top row (the highest note) first:
// '.' empty, '1' EARTH, '2' WIND, '3' WATER, '4' FIRE. Trailing spaces and CRLF line ends are accepted;
// anything else is refused with its line number and the reason. A pattern at the default tempo and swing is
// written as version 1, which every Tolme reads; any other as version 2.
#pragma once

#include "audio/pattern.h"

#include <string>

// Larger than any pattern written by hand; refused once so much was read.
constexpr std::size_t largest_pattern_file = std::size_t{1} << 20;

class pattern_reading
{
public:
    bool ok = false;
    pattern_class pattern;
    std::string error; // "line 3: ..." or what was wrong with the file
    std::string text;  // the file's bytes, when it was read
};

// The pattern in the text, or why it is not one.
pattern_reading parse_pattern(const std::string& text);
// The pattern's file contents, ending with a newline. Its tempo is the default or in tenths.
std::string format_pattern(const pattern_class& pattern);
// Reads and parses a file; a missing, unreadable, oversized or folder path is refused too.
pattern_reading read_pattern_file(const std::string& path);

// A tempo or swing as files and the command line give them: the empty string and the value in `tenths` (of
// a BPM) or `percent`, else why the text is not one.
std::string read_tempo(const std::string& text, int& tenths);
std::string read_swing(const std::string& text, int& percent);
// A tempo as the player reads it: "120", "87.5", or to two places when it is finer ("87.89").
std::string tempo_text(const tempo_class& tempo);
