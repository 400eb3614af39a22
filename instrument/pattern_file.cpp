#include "instrument/pattern_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

static const char* const first_line = "tolme-pattern 1";

static pattern_reading refused(const std::string& error)
{
    pattern_reading reading;
    reading.error = error;
    return reading;
}

static pattern_reading refused(int line, const std::string& reason)
{
    return refused("line " + std::to_string(line) + ": " + reason);
}

// A line without its CRLF end and trailing spaces.
static std::string trimmed(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line;
}

static std::string row_problem(const std::string& row)
{
    if (row.size() != step_columns)
        return "a row has " + std::to_string(row.size()) + " cells, not " + std::to_string(step_columns);
    for (char c : row)
        if (c != '.' && (c < '1' || c > '4'))
            return std::string("unknown cell '") + (c >= ' ' && c <= '~' ? std::string(1, c) : "?") +
                   "' (use . or 1 to 4)";
    return "";
}

pattern_reading parse_pattern(const std::string& text)
{
    if (std::memchr(text.data(), '\0', text.size()))
        return refused("it holds NUL bytes: not a text file");
    std::istringstream lines(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
    pattern_reading reading;
    int number = 0, rows = 0;
    bool headed = false;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (!headed) {
            if (line != first_line)
                return refused(number, line.rfind("tolme-pattern", 0) == 0 ? "a pattern of another version"
                                                                          : "not a pattern (\"tolme-pattern 1\" expected)");
            headed = true;
            continue;
        }
        if (rows == step_rows)
            return refused(number, "more than " + std::to_string(step_rows) + " rows");
        const std::string problem = row_problem(line);
        if (!problem.empty())
            return refused(number, problem);
        for (int column = 0; column < step_columns; ++column)
            reading.cells[cell_index(column, rows)] = line[column] == '.' ? 0 : static_cast<std::uint8_t>(line[column] - '0');
        ++rows;
    }
    if (!headed)
        return refused(number == 0 ? "the file is empty" : "not a pattern (\"tolme-pattern 1\" expected)");
    if (rows < step_rows)
        return refused(number, "only " + std::to_string(rows) + " of " + std::to_string(step_rows) + " rows");
    reading.ok = true;
    return reading;
}

std::string format_pattern(const step_grid& cells)
{
    std::string text = std::string("# A Tolme pattern: 8 rows of 16 steps, the top row plays the highest note.\n"
                                   "# . empty, 1 EARTH, 2 WIND, 3 WATER, 4 FIRE\n") +
                       first_line + "\n";
    for (int row = 0; row < step_rows; ++row) {
        for (int column = 0; column < step_columns; ++column) {
            const int element = cells[cell_index(column, row)];
            text += element >= 1 && element <= 4 ? static_cast<char>('0' + element) : '.';
        }
        text += '\n';
    }
    return text;
}

pattern_reading read_pattern_file(const std::string& path)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return refused(std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return refused("it is a folder");
    if (info.st_size > largest_pattern_file)
        return refused("it is larger than 1 MiB: not a pattern");
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf()) && info.st_size > 0)
        return refused("it cannot be read");
    return parse_pattern(text.str());
}
