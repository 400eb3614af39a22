// The player's pattern over time: undo and redo through the Ctrl keys, and the autosave on its schedule.
#include "instrument/pattern_commands.h"
#include "instrument/pattern_file.h"

#include "instrument_fixture.h"

#include <filesystem>

namespace {

class pattern_state_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        instrument->grid_shown = true;
    }

    // One tick of the pattern's keys with Ctrl (and Shift) held and a letter pressed.
    static void command(int letter, bool shift = false)
    {
        input_snapshot keys = input_snapshot().key(ALLEGRO_KEY_LCTRL);
        if (shift)
            keys.key(ALLEGRO_KEY_LSHIFT);
        for (const input_snapshot& tick : {keys, input_snapshot(keys).key(letter), input_snapshot()}) {
            feed(tick);
            update_pattern();
        }
    }

    static int placed() { return std::count_if(instrument->token_grid.begin(), instrument->token_grid.end(),
                                                [](const token_class* t) { return t->element != no_element; }); }
};

TEST_F(pattern_state_test, ctrl_n_clears_and_ctrl_z_brings_every_token_back_with_its_count)
{
    update_pattern();
    for (int i : {0, 9, 50}) {
        instrument->token_grid[i]->place_element(i == 9 ? fire_element : water_element);
        update_pattern();
    }
    const step_grid full = grid_cells();
    command(ALLEGRO_KEY_N);
    EXPECT_EQ(placed(), 0);
    EXPECT_EQ(instrument->water_button.count, 999);
    // Step by step: undo the clear, then two places, redo one, and a new change forgets the rest.
    const struct { int letter; bool shift; int tokens; } steps[] = {
        {ALLEGRO_KEY_Z, false, 3}, {ALLEGRO_KEY_Z, false, 2}, {ALLEGRO_KEY_Z, false, 1},
        {ALLEGRO_KEY_Z, true, 2},  {ALLEGRO_KEY_Y, false, 3}, {ALLEGRO_KEY_Z, true, 0}, {ALLEGRO_KEY_Z, false, 3}};
    for (const auto& step : steps) {
        command(step.letter, step.shift);
        EXPECT_EQ(placed(), step.tokens) << "after " << step.letter << (step.shift ? " with Shift" : "");
    }
    EXPECT_EQ(grid_cells(), full);
    EXPECT_EQ(instrument->water_button.count, 997);
    feed(input_snapshot().key(ALLEGRO_KEY_LCTRL));
    feed(input_snapshot().key(ALLEGRO_KEY_LCTRL).key(ALLEGRO_KEY_D));
    update_element_menu();
    EXPECT_EQ(instrument->current_element, no_element) << "with Ctrl held, D is no element";
    instrument->token_grid[1]->place_element(earth_element);
    update_pattern();
    command(ALLEGRO_KEY_Y);
    EXPECT_EQ(placed(), 4);
}

TEST(pattern_history, keeps_at_least_a_hundred_steps)
{
    pattern_history_class history;
    step_grid cells{};
    for (int i = 1; i <= 150; ++i) {
        cells[i % step_cells] = static_cast<std::uint8_t>(1 + i % 4);
        history.record(cells);
    }
    int steps = 0;
    for (step_grid back; history.undo(back);)
        ++steps;
    EXPECT_GE(steps, 100);
}

// Half a second after the first change the grid goes to the writer, later changes ride along; what is on
// the disk is the pattern file of the grid.
TEST_F(pattern_state_test, the_autosave_writes_half_a_second_after_a_change)
{
    const std::string path = (std::filesystem::temp_directory_path() / "tolme_autosave_test" / "a.tolme").string();
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
    autosave_class autosave(path, grid_cells());
    EXPECT_FALSE(autosave.update(grid_cells(), 10.0));
    instrument->token_grid[3]->place_element(earth_element);
    EXPECT_FALSE(autosave.update(grid_cells(), 10.1));
    instrument->token_grid[4]->place_element(earth_element);
    EXPECT_FALSE(autosave.update(grid_cells(), 10.59));
    EXPECT_TRUE(autosave.update(grid_cells(), 10.6));
    EXPECT_FALSE(autosave.update(grid_cells(), 20.0)) << "nothing new to write";
    autosave.flush();
    EXPECT_EQ(read_pattern_file(path).cells, grid_cells());
    instrument->token_grid[3]->clear_element();
    autosave.update(grid_cells(), 20.1);
    autosave.flush(); // as at exit: without waiting
    EXPECT_EQ(read_pattern_file(path).cells, grid_cells());
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

} // namespace
