// A pattern as the probes take it on their command line: the 8 rows of a version 1 pattern file, top row
// first, joined by '/'.
#pragma once

#include "instrument/pattern_file.h"

#include <algorithm>
#include <string>

inline bool read_cells(std::string rows, step_grid& cells)
{
    std::replace(rows.begin(), rows.end(), '/', '\n');
    const pattern_reading reading = parse_pattern("tolme-pattern 1\n" + rows);
    cells = reading.pattern.cells;
    return reading.ok;
}
