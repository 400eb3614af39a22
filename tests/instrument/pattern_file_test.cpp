#include "instrument/pattern_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::string rows = "1..............4\n................\n................\n................\n"
                         "................\n................\n................\n2..3............\n";

TEST(pattern_file, reads_the_written_form_and_refuses_everything_else_with_its_line)
{
    const struct { const char* what; std::string text; const char* error; } cases[] = {
        {"plain", "tolme-pattern 1\n" + rows, ""},
        {"comments, blank lines, CRLF and trailing spaces", "# mine\n\ntolme-pattern 1  \r\n# rows\n" + rows, ""},
        {"a byte-order mark", "\xEF\xBB\xBFtolme-pattern 1\n" + rows, ""},
        {"empty", "", "the file is empty"},
        {"only comments", "# nothing\n\n", "not a pattern (\"tolme-pattern 1\" expected)"},
        {"garbage", "RIFF....WAVEfmt \n", "line 1: not a pattern (\"tolme-pattern 1\" expected)"},
        {"another version", "tolme-pattern 2\n" + rows, "line 1: a pattern of another version"},
        {"a short row", "tolme-pattern 1\n1..............\n" + rows, "line 2: a row has 15 cells, not 16"},
        {"a long row", "tolme-pattern 1\n" + rows.substr(0, 17) + "................5\n",
         "line 3: a row has 17 cells, not 16"},
        {"an unknown cell", "tolme-pattern 1\n1......x.......4\n", "line 2: unknown cell 'x' (use . or 1 to 4)"},
        {"too few rows", "tolme-pattern 1\n" + rows.substr(0, 34), "line 3: only 2 of 8 rows"},
        {"too many rows", "tolme-pattern 1\n" + rows + "................\n", "line 10: more than 8 rows"},
        {"NUL bytes", "tolme-pattern 1\n" + std::string(16, '\0') + "\n", "it holds NUL bytes: not a text file"}};
    for (const auto& c : cases) {
        const pattern_reading reading = parse_pattern(c.text);
        EXPECT_EQ(reading.ok, std::string(c.error).empty()) << c.what;
        EXPECT_EQ(reading.error, c.error) << c.what;
        if (reading.ok) {
            EXPECT_EQ(reading.cells[cell_index(15, 0)], 4) << c.what;
            EXPECT_EQ(reading.cells[cell_index(3, 7)], 3) << c.what;
            EXPECT_EQ(format_pattern(reading.cells).substr(format_pattern(reading.cells).find("tolme")),
                      "tolme-pattern 1\n" + rows);
            EXPECT_EQ(parse_pattern(format_pattern(reading.cells)).cells, reading.cells) << c.what;
        }
    }
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
