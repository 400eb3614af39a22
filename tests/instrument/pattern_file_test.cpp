#include "instrument/pattern_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string rows = "1..............4\n................\n................\n................\n"
                         "................\n................\n................\n2..3............\n";

TEST(pattern_file, reads_both_versions_and_refuses_everything_else_with_its_line)
{
    const struct { const char* what; std::string text; const char* error; double bpm; int swing; } cases[] = {
        {"plain", "tolme-pattern 1\n" + rows, "", 0, 50},
        {"comments, blank lines, CRLF and trailing spaces", "# mine\n\ntolme-pattern 1  \r\n# rows\n" + rows, "", 0, 50},
        {"a byte-order mark", "\xEF\xBB\xBFtolme-pattern 1\n" + rows, "", 0, 50},
        {"version 2 alone", "tolme-pattern 2\n" + rows, "", 0, 50},
        {"tempo and swing", "tolme-pattern 2\ntempo 120.5\nswing 60\n" + rows, "", 120.5, 60},
        {"swing first, tempo whole", "tolme-pattern 2\r\nswing 75 \r\n# fast\ntempo 240\n" + rows, "", 240, 75},
        {"empty", "", "the file is empty"},
        {"only comments", "# nothing\n\n", "not a pattern (\"tolme-pattern 1\" expected)"},
        {"garbage", "RIFF....WAVEfmt \n", "line 1: not a pattern (\"tolme-pattern 1\" expected)"},
        {"another version", "tolme-pattern 3\n" + rows, "line 1: a pattern of another version"},
        {"a tempo in version 1", "tolme-pattern 1\ntempo 120\n" + rows, "line 2: a row has 9 cells, not 16"},
        {"a slow tempo", "tolme-pattern 2\ntempo 39.9\n" + rows, "line 2: tempo 39.9: not from 40 to 240 BPM"},
        {"two digits after the point", "tolme-pattern 2\ntempo 120.25\n" + rows,
         "line 2: tempo 120.25: not a number of BPM with at most one digit after the point"},
        {"a tempo twice", "tolme-pattern 2\ntempo 120\ntempo 121\n" + rows, "line 3: a second tempo line"},
        {"a tempo after the rows", "tolme-pattern 2\n" + rows + "tempo 120\n", "line 10: tempo after the rows"},
        {"a wide swing", "tolme-pattern 2\nswing 80\n" + rows, "line 2: swing 80: not from 50 to 75 percent"},
        {"a fractional swing", "tolme-pattern 2\nswing 60.5\n" + rows, "line 2: swing 60.5: not a whole number of percent"},
        {"a short row", "tolme-pattern 1\n1..............\n" + rows, "line 2: a row has 15 cells, not 16"},
        {"an unknown cell", "tolme-pattern 1\n1......x.......4\n", "line 2: unknown cell 'x' (use . or 1 to 4)"},
        {"too few rows", "tolme-pattern 1\n" + rows.substr(0, 34), "line 3: only 2 of 8 rows"},
        {"too many rows", "tolme-pattern 1\n" + rows + "................\n", "line 10: more than 8 rows"},
        {"NUL bytes", "tolme-pattern 1\n" + std::string(16, '\0') + "\n", "it holds NUL bytes: not a text file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const pattern_reading reading = parse_pattern(c.text);
        EXPECT_EQ(reading.ok, std::string(c.error).empty());
        EXPECT_EQ(reading.error, c.error);
        if (!reading.ok)
            continue;
        EXPECT_EQ(reading.pattern.cells[cell_index(15, 0)], 4);
        EXPECT_EQ(reading.pattern.cells[cell_index(3, 7)], 3);
        EXPECT_EQ(reading.pattern.tempo, c.bpm ? tempo_in_tenths(static_cast<int>(c.bpm * 10)) : default_tempo);
        EXPECT_EQ(reading.pattern.swing, c.swing);
        EXPECT_EQ(parse_pattern(format_pattern(reading.pattern)).pattern, reading.pattern);
    }
}

// Every Tolme reads a pattern at the default timing, so it is written as version 1; any other as version 2.
TEST(pattern_file, is_written_as_version_1_at_the_default_timing_and_as_version_2_otherwise)
{
    pattern_class pattern = parse_pattern("tolme-pattern 1\n" + rows).pattern;
    const auto body = [](const pattern_class& p) { return format_pattern(p).substr(format_pattern(p).find("tolme")); };
    EXPECT_EQ(body(pattern), "tolme-pattern 1\n" + rows);
    pattern.swing = 55;
    EXPECT_EQ(body(pattern), "tolme-pattern 2\nswing 55\n" + rows);
    pattern.tempo = tempo_in_tenths(875);
    EXPECT_EQ(body(pattern), "tolme-pattern 2\ntempo 87.5\nswing 55\n" + rows);
    pattern.swing = 50;
    pattern.tempo = tempo_in_tenths(1200);
    EXPECT_EQ(body(pattern), "tolme-pattern 2\ntempo 120\n" + rows);
}

TEST(pattern_file, a_folder_a_missing_file_and_one_over_a_mebibyte_are_refused_unread)
{
    const std::string big = (std::filesystem::temp_directory_path() / "tolme_big.tolme").string();
    std::ofstream(big) << "tolme-pattern 1\n" << rows << std::string(largest_pattern_file, '#');
    EXPECT_EQ(read_pattern_file(big).error, "it is larger than 1 MiB: not a pattern");
    EXPECT_EQ(read_pattern_file(std::filesystem::temp_directory_path().string()).error, "it is a folder");
    EXPECT_EQ(read_pattern_file("/no/such/pattern.tolme").error, "No such file or directory");
    std::filesystem::remove(big);
}

} // namespace
