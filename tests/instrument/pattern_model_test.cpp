// The pattern's rules on the model alone and its file format: no display, bitmap or sound.
#include "instrument/pattern_file.h"
#include "instrument/pattern_model.h"
#include "instrument/tap_tempo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <utility>

namespace {

TEST(pattern_model, edits_change_cells_and_counts_and_are_told_once)
{
    pattern_model_class model(2);
    EXPECT_EQ(model.place(5, 3), place_result::placed);
    EXPECT_EQ(model.place(5, 4), place_result::cell_taken);
    EXPECT_EQ(model.place(6, 3), place_result::placed);
    EXPECT_EQ(model.place(7, 3), place_result::none_left) << "two of each element";
    EXPECT_EQ(model.remaining(4), 2);
    pattern_changes changes = model.take_changes();
    EXPECT_EQ(changes.cells.count(), 2u);
    EXPECT_TRUE(changes.cells[5] && changes.cells[6] && !changes.tempo && !changes.swing);
    EXPECT_FALSE(model.take_changes().any()) << "told once";
    model.clear(6);
    model.clear(7); // empty already: no change
    EXPECT_EQ(model.remaining(3), 1);
    model.clear_all();
    EXPECT_EQ(model.take_changes().cells.count(), 2u);
}

// Each edit is a step; tempo and swing changes less than a second apart are one step, and a cell edit or a
// pause ends the run.
TEST(pattern_model, undo_and_redo_step_through_cells_tempo_and_swing)
{
    pattern_model_class model;
    model.place(0, 1);
    for (double at : {10.0, 10.5, 11.4})
        model.set_tempo(tempo_in_tenths(static_cast<int>(at * 100)), at);
    model.set_swing(60, 12.3); // 0.9 s later: the same run
    model.set_tempo(tempo_in_tenths(1500), 13.4);
    model.place(1, 2);
    const pattern_class last = model.pattern();
    const struct { int tenths; int swing; int cells; } back[] = {{1500, 60, 1}, {1140, 60, 1}, {0, 50, 1}, {0, 50, 0}};
    for (const auto& b : back) {
        ASSERT_TRUE(model.undo());
        EXPECT_EQ(model.pattern().tempo, b.tenths ? tempo_in_tenths(b.tenths) : default_tempo);
        EXPECT_EQ(model.pattern().swing, b.swing);
        EXPECT_EQ(model.pattern().cells[0] + model.pattern().cells[1], b.cells);
    }
    EXPECT_FALSE(model.undo());
    EXPECT_TRUE(model.take_changes().tempo);
    while (model.redo()) {
    }
    EXPECT_EQ(model.pattern(), last);
    model.undo();
    model.set_swing(70, 20.0); // a new change forgets what was undone
    EXPECT_FALSE(model.redo());

    // An opened pattern is a step, also one that is the grid's already, and undo and redo say when they step
    // over one.
    pattern_class opened;
    opened.cells[5] = 4;
    model.replace(opened);
    model.replace(opened);
    model.place(6, 4);
    for (const bool over : {false, true, true}) {
        model.undo();
        EXPECT_EQ(model.stepped_over_opening(), over);
    }
    model.redo();
    EXPECT_TRUE(model.stepped_over_opening()) << "an opening redone";

    // A tempo set to what it is already (a tap at the same tempo) keeps a run going.
    for (const auto& [tenths, at] : {std::pair{1000, 30.0}, {1000, 30.8}, {1100, 31.6}})
        model.set_tempo(tempo_in_tenths(tenths), at);
    model.undo();
    EXPECT_EQ(model.pattern(), opened);
}

TEST(pattern_model, a_full_history_lets_the_oldest_steps_go_first)
{
    pattern_model_class model;
    for (int i = 0; i <= 256; ++i)
        model.set_tempo(tempo_in_tenths(400 + i), 2.0 * i); // far enough apart to be a step each
    int steps = 0;
    while (model.undo())
        ++steps;
    EXPECT_EQ(steps, 256);
    EXPECT_EQ(model.pattern().tempo, tempo_in_tenths(400)) << "only the first step went";
    model.redo();
    EXPECT_EQ(model.pattern().tempo, tempo_in_tenths(401));
}

TEST(pattern_model, tempo_steps_go_to_the_next_whole_or_tenth_bpm_and_stay_in_range)
{
    const struct { tempo_class from; int direction; int step; int to; } cases[] = {
        {default_tempo, 1, 10, 880}, {default_tempo, -1, 10, 870}, {default_tempo, 1, 1, 879},
        {default_tempo, -1, 1, 878}, {tempo_in_tenths(880), 1, 10, 890}, {tempo_in_tenths(880), -1, 10, 870},
        {tempo_in_tenths(885), -1, 10, 880}, {tempo_in_tenths(880), 1, 1, 881}, {tempo_in_tenths(2400), 1, 10, 2400},
        {tempo_in_tenths(400), -1, 1, 400}};
    for (const auto& c : cases)
        EXPECT_EQ(stepped_tempo(c.from, c.direction, c.step), tempo_in_tenths(c.to))
            << c.from.bpm() << " stepped " << c.direction << " by " << c.step;
    pattern_model_class model;
    model.set_tempo(tempo_in_tenths(3000), 0);
    model.set_swing(90, 0);
    EXPECT_EQ(model.pattern().tempo, tempo_in_tenths(2400));
    EXPECT_EQ(model.pattern().swing, most_swing);
}

TEST(tap_tempo, is_a_minute_over_the_mean_of_the_last_four_good_intervals)
{
    tap_tempo_class taps;
    EXPECT_FALSE(taps.tap(10.0));
    EXPECT_EQ(taps.tap(10.5), tempo_in_tenths(1200));
    EXPECT_FALSE(taps.tap(10.6)) << "a bounce";
    EXPECT_EQ(taps.tap(11.1), tempo_in_tenths(1091)) << "600 / 0.55, rounded to 0.1 BPM";
    for (double at : {11.6, 12.2, 12.8, 13.4})
        taps.tap(at);
    EXPECT_EQ(taps.tap(14.0), tempo_in_tenths(1000)) << "only the last four intervals";
    EXPECT_FALSE(taps.tap(15.6)) << "after a pause a new count";
    EXPECT_EQ(taps.tap(15.85), tempo_in_tenths(2400));
}

const std::string rows = "1..............4\n................\n................\n................\n"
                         "................\n................\n................\n2..3............\n";

// A hand-written file with comments, a blank line, CRLF ends and trailing spaces is heard in the end-to-end
// pattern test. Every pattern read is written and read back the same; which version is written for the
// default timing and for another the end-to-end timing test sees.
TEST(pattern_file, reads_both_versions_and_refuses_everything_else_with_its_line)
{
    const struct { const char* what; std::string text; const char* error; double bpm = 0; int swing = 50; } cases[] = {
        {"plain", "tolme-pattern 1\n" + rows, "", 0, 50},
        {"a byte-order mark", "\xEF\xBB\xBFtolme-pattern 1\n" + rows, "", 0, 50},
        {"version 2 alone", "tolme-pattern 2\n" + rows, "", 0, 50},
        {"swing alone", "tolme-pattern 2\nswing 55\n" + rows, "", 0, 55},
        {"tempo and swing", "tolme-pattern 2\ntempo 120.5\nswing 60\n" + rows, "", 120.5, 60},
        {"swing first, tempo whole", "tolme-pattern 2\r\nswing 75 \r\n# fast\ntempo 240\n" + rows, "", 240, 75},
        {"empty", "", "the file is empty"},
        {"only comments", "# nothing\n\n", "not a pattern (\"tolme-pattern 1\" expected)"},
        {"garbage", "RIFF....WAVEfmt \n", "line 1: not a pattern (\"tolme-pattern 1\" expected)"},
        {"another version", "tolme-pattern 3\n" + rows, "line 1: a pattern of another version"},
        {"a tempo in version 1", "tolme-pattern 1\ntempo 120\n" + rows, "line 2: tempo needs version 2 (\"tolme-pattern 2\")"},
        {"tabs", "tolme-pattern 2\t\ntempo\t120\t\n" + rows, "", 120},
        {"a slow tempo", "tolme-pattern 2\ntempo 39.9\n" + rows, "line 2: tempo 39.9: not from 40 to 240 BPM"},
        {"two digits after the point", "tolme-pattern 2\ntempo 120.25\n" + rows,
         "line 2: tempo 120.25: not a number of BPM with at most one digit after the point"},
        {"a tempo twice", "tolme-pattern 2\ntempo 120\ntempo 121\n" + rows, "line 3: a second tempo line"},
        {"a tempo after the rows", "tolme-pattern 2\n" + rows + "tempo 120\n", "line 10: tempo after the rows"},
        {"a wide swing", "tolme-pattern 2\nswing 80\n" + rows, "line 2: swing 80: not from 50 to 75 percent"},
        {"a fractional swing", "tolme-pattern 2\nswing 60.5\n" + rows, "line 2: swing 60.5: not a whole number of percent"},
        {"a short row", "tolme-pattern 1\n1..............\n" + rows, "line 2: a row has 15 cells, not 16"},
        {"an unknown cell", "tolme-pattern 1\n1......x.......4\n", "line 2: unknown cell 'x' (use . or 1 to 4)"},
        {"a letter of two bytes", "tolme-pattern 1\n\xC3\xA9...............\n", "line 2: unknown cell '?' (use . or 1 to 4)"},
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
        const char* version = c.bpm || c.swing != 50 ? "tolme-pattern 2" : "tolme-pattern 1"; // 1 is read by all
        EXPECT_NE(format_pattern(reading.pattern).find(version), std::string::npos);
    }
}

// A device or a pipe would be read without end or waited on for good.
TEST(pattern_file, a_folder_a_device_a_pipe_a_missing_file_and_one_over_a_mebibyte_are_refused)
{
    const std::string big = (std::filesystem::temp_directory_path() / "tolme_big.tolme").string();
    const std::string pipe = (std::filesystem::temp_directory_path() / "tolme_pipe.tolme").string();
    std::ofstream(big) << "tolme-pattern 1\n" << rows << std::string(largest_pattern_file, '#');
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(read_pattern_file(big).error, "it is larger than 1 MiB: not a pattern");
    EXPECT_EQ(read_pattern_file(std::filesystem::temp_directory_path().string()).error, "it is a folder");
    EXPECT_EQ(read_pattern_file("/dev/zero").error, "it is not a plain file");
    EXPECT_EQ(read_pattern_file(pipe).error, "it is not a plain file");
    EXPECT_EQ(read_pattern_file("/no/such/pattern.tolme").error, "No such file or directory");
    std::filesystem::remove(big);
    std::filesystem::remove(pipe);
}

} // namespace
