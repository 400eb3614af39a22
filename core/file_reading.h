// Reading a whole file that should be small: a player's pattern, a sound of the program's own.
#pragma once

#include <cstddef>
#include <string>

// Reads the plain file at the path into contents: the empty string, else why not. It stops after limit + 1
// bytes, so contents longer than limit tell of a larger file. A pipe or a device is refused rather than
// waited on or read without end.
std::string read_small_file(const std::string& path, std::size_t limit, std::string& contents);
