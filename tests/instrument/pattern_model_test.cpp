// The pattern's rules on the model alone: no display, bitmap or sound.
#include "instrument/pattern_model.h"
#include "instrument/tap_tempo.h"

#include <gtest/gtest.h>

namespace {

TEST(pattern_model, edits_change_cells_and_counts_and_are_told_once)
{
    pattern_model_class model(2);
    EXPECT_EQ(model.place(5, 3), place_result::placed);
    EXPECT_EQ(model.place(5, 4), place_result::cell_taken);
    EXPECT_EQ(model.place(6, 3), place_result::placed);
    EXPECT_EQ(model.place(7, 3), place_result::none_left) << "two of each element";
    EXPECT_EQ(model.remaining(3), 0);
    EXPECT_EQ(model.remaining(4), 2);
    pattern_changes changes = model.take_changes();
    EXPECT_EQ(changes.cells.count(), 2u);
    EXPECT_TRUE(changes.cells[5] && changes.cells[6] && !changes.tempo && !changes.swing);
    EXPECT_FALSE(model.take_changes().any()) << "told once";
    model.clear(6);
    model.clear(7); // empty already: no change
    EXPECT_EQ(model.remaining(3), 1);
    model.clear_all();
    EXPECT_EQ(model.pattern().cells, step_grid{});
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
    for (double at : {11.7, 12.3, 12.9})
        taps.tap(at);
    EXPECT_EQ(taps.tap(13.5), tempo_in_tenths(1000)) << "only the last four intervals";
    EXPECT_FALSE(taps.tap(15.1)) << "after a pause a new count";
    EXPECT_EQ(taps.tap(15.35), tempo_in_tenths(2400));
}

} // namespace
