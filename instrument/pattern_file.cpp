#include "instrument/pattern_file.h"

#include "core/file_reading.h"
#include "instrument/pattern_model.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <utility>

static const char* const first_line = "tolme-pattern 1";
static const char* const second_version_line = "tolme-pattern 2";

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

// A line without its CRLF end and trailing spaces or tabs.
static std::string trimmed(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

static bool all_digits(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string read_tempo(const std::string& text, int& tenths)
{
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "0" : text.substr(point + 1);
    if (!all_digits(whole) || whole.size() > 6 || !all_digits(fraction) || fraction.size() != 1)
        return "tempo " + text + ": not a number of BPM with at most one digit after the point";
    tenths = std::stoi(whole) * 10 + (fraction[0] - '0');
    if (tenths < slowest_tempo_tenths || tenths > fastest_tempo_tenths)
        return "tempo " + text + ": not from 40 to 240 BPM";
    return "";
}

std::string read_swing(const std::string& text, int& percent)
{
    if (!all_digits(text) || text.size() > 6)
        return "swing " + text + ": not a whole number of percent";
    percent = std::stoi(text);
    if (percent < straight_swing || percent > most_swing)
        return "swing " + text + ": not from 50 to 75 percent";
    return "";
}

std::string tempo_text(const tempo_class& tempo)
{
    const double bpm = tempo.bpm();
    const long tenths = std::lround(bpm * 10);
    char text[32];
    if (tempo == tempo_in_tenths(static_cast<int>(tenths)))
        std::snprintf(text, sizeof text, tenths % 10 ? "%.1f" : "%.0f", bpm);
    else
        std::snprintf(text, sizeof text, "%.2f", bpm);
    return text;
}

static std::string row_problem(const std::string& row)
{
    // Cells are counted as characters (UTF-8 continuation bytes go with the byte before them).
    const auto cells = std::count_if(row.begin(), row.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; });
    if (cells != step_columns)
        return "a row has " + std::to_string(cells) + " cells, not " + std::to_string(step_columns);
    for (char c : row)
        if (c != '.' && (c < '1' || c > '4'))
            return std::string("unknown cell '") + (c >= ' ' && c <= '~' ? std::string(1, c) : "?") +
                   "' (use . or 1 to 4)";
    return "";
}

namespace {

// The parse of one file, line by line.
class pattern_parser
{
public:
    pattern_reading reading;
    int version = 0;
    int rows = 0;
    bool tempo_given = false;
    bool swing_given = false;

    // The reason a line (neither blank nor a comment) is refused, or the empty string.
    std::string take(const std::string& line)
    {
        if (version == 0)
            return take_version(line);
        const std::string word = line.substr(0, line.find_first_of(" \t"));
        if (word == "tempo" || word == "swing")
            return version == 2
                       ? take_setting(word, line.substr(std::min(line.size(), line.find_first_not_of(" \t", word.size()))))
                       : word + " needs version 2 (\"tolme-pattern 2\")";
        if (rows == step_rows)
            return "more than " + std::to_string(step_rows) + " rows";
        const std::string problem = row_problem(line);
        if (!problem.empty())
            return problem;
        for (int column = 0; column < step_columns; ++column)
            reading.pattern.cells[cell_index(column, rows)] =
                line[column] == '.' ? 0 : static_cast<std::uint8_t>(line[column] - '0');
        ++rows;
        return "";
    }

private:
    std::string take_version(const std::string& line)
    {
        version = line == first_line ? 1 : line == second_version_line ? 2 : 0;
        if (version == 0)
            return line.rfind("tolme-pattern", 0) == 0 ? "a pattern of another version"
                                                      : "not a pattern (\"tolme-pattern 1\" expected)";
        return "";
    }

    std::string take_setting(const std::string& word, const std::string& value)
    {
        const bool tempo = word == "tempo";
        if (rows > 0)
            return word + " after the rows";
        if (std::exchange(tempo ? tempo_given : swing_given, true))
            return "a second " + word + " line";
        if (!tempo)
            return read_swing(value, reading.pattern.swing);
        int tenths = 0;
        const std::string problem = read_tempo(value, tenths);
        reading.pattern.tempo = tempo_in_tenths(tenths);
        return problem;
    }
};

} // namespace

pattern_reading parse_pattern(const std::string& text)
{
    if (std::memchr(text.data(), '\0', text.size()))
        return refused("it holds NUL bytes: not a text file");
    std::istringstream lines(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
    pattern_parser parser;
    int number = 0;
    for (std::string raw; std::getline(lines, raw);) {
        ++number;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        const std::string problem = parser.take(line);
        if (!problem.empty())
            return refused(number, problem);
    }
    if (parser.version == 0)
        return refused(number == 0 ? "the file is empty" : "not a pattern (\"tolme-pattern 1\" expected)");
    if (parser.rows < step_rows)
        return refused(number, "only " + std::to_string(parser.rows) + " of " + std::to_string(step_rows) + " rows");
    parser.reading.ok = true;
    return parser.reading;
}

std::string format_pattern(const pattern_class& pattern)
{
    const bool default_tempo_kept = pattern.tempo == default_tempo;
    const bool timed = !default_tempo_kept || pattern.swing != straight_swing;
    std::string text = "# A Tolme pattern: 8 rows of 16 steps, the top row plays the highest note.\n"
                       "# . empty, 1 EARTH, 2 WIND, 3 WATER, 4 FIRE\n";
    text += timed ? second_version_line : first_line;
    text += '\n';
    if (!default_tempo_kept) {
        assert(pattern.tempo == tempo_in_tenths(static_cast<int>(std::lround(pattern.tempo.bpm() * 10))) &&
               "a pattern's tempo is the default or in tenths");
        text += "tempo " + tempo_text(pattern.tempo) + "\n";
    }
    if (pattern.swing != straight_swing)
        text += "swing " + std::to_string(pattern.swing) + "\n";
    for (int row = 0; row < step_rows; ++row) {
        for (int column = 0; column < step_columns; ++column) {
            const int element = pattern.cells[cell_index(column, row)];
            text += element >= 1 && element <= 4 ? static_cast<char>('0' + element) : '.';
        }
        text += '\n';
    }
    return text;
}

pattern_reading read_pattern_file(const std::string& path)
{
    std::string text;
    const std::string why = read_small_file(path, largest_pattern_file, text);
    if (!why.empty())
        return refused(why);
    if (text.size() > largest_pattern_file)
        return refused("it is larger than 1 MiB: not a pattern");
    pattern_reading reading = parse_pattern(text);
    reading.text = std::move(text);
    return reading;
}
