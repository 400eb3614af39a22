#include "instrument/note_playing.h"

#include "instrument/instrument.h"
#include "resources/bins.h"
#include "support/fake_clock.h"
#include "visuals/element_effects.h"
#include "visuals/token.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace {

constexpr int earth = 1, wind = 2, water = 3, fire = 4;

// Every token holds EARTH, whose pulse shows as a scale tween.
class note_playing_test : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};

    void SetUp() override
    {
        release_resources();
        create_token_grid(grid_scale);
        for (token_class* token : token_grid)
            token->element = earth;
        setup_note_playing();
    }

    void TearDown() override
    {
        for (ALLEGRO_SAMPLE*& sample : wind_samples) {
            if (sample)
                al_destroy_sample(sample);
            sample = nullptr;
        }
        delete_token_grid();
        clear_effects();
        release_resources();
    }

    // Sets the clock so that the line stands at p after the given number of whole sweeps.
    void move_line_to(double sweeps, float p) { clock.set(100.0 + (sweeps * grid_width + p) / play_speed); }

    // The columns whose tokens pulsed since the last call.
    static std::set<int> pulsed_columns()
    {
        std::set<int> columns;
        int tokens = 0;
        for (int i = 0; i < grid_columns * grid_rows; ++i) {
            if (token_grid[i]->element_sprite.scale_x_anim.count() > 0) {
                columns.insert(i / grid_rows);
                ++tokens;
            }
            token_grid[i]->element_sprite.clear_animations();
        }
        EXPECT_EQ(tokens, grid_rows * static_cast<int>(columns.size())) << "a column fires all its rows";
        return columns;
    }
};

TEST_F(note_playing_test, each_tick_fires_the_columns_whose_centres_the_line_passed_or_reached_even_days_later)
{
    struct step
    {
        double sweeps;
        int column; // the line stands offset from this column's centre, 25.6 + 51.2 column; -1 the grid's edge
        float offset;
        int first, count; // the columns fired: count of them from first on, wrapping after the last
    };
    const double two_days = std::floor(2 * 24 * 3600.0 * play_speed / grid_width); // in sweeps
    const std::vector<std::vector<step>> scenarios = {
        {{0, -1, 200.0f, 0, 4}}, // the first tick fires everything up to the line
        {{0, 2, 0, 0, 3}, {0, 3, 0, 3, 1}, {0, 3, 40.0f, 0, 0}},
        {{0, 15, -5.0f, 0, 15}, {1, 0, 1.0f, 15, 2}}, // a stall across the wrap
        {{0, -1, 800.0f, 0, 16}, {1, -1, 3.0f, 0, 0}, {1, 0, -0.5f, 0, 0}, {1, 0, 0, 0, 1}},
        {{two_days, 2, 0, 0, 3}, {two_days, 3, 0, 3, 1}}, // the line stays exact however long it runs
    };
    for (std::size_t s = 0; s < scenarios.size(); ++s) {
        previous_play_position = -999.0f; // as the set-up leaves it
        for (const step& at : scenarios[s]) {
            const float edge = at.column < 0 ? 0.0f : token_grid[at.column * grid_rows]->bead.x - grid_origin_x;
            move_line_to(at.sweeps, edge + at.offset);
            ASSERT_TRUE(at.offset != 0 || play_position() == edge) << "not exactly on the centre";
            update_play_line();
            std::set<int> fired;
            for (int i = 0; i < at.count; ++i)
                fired.insert((at.first + i) % grid_columns);
            EXPECT_EQ(pulsed_columns(), fired) << "scenario " << s << " at " << edge + at.offset;
        }
    }
}

TEST_F(note_playing_test, a_trigger_of_a_note_in_the_set_plays_it_and_pulses_the_sprite_back_to_rest_with_a_burst_at_it)
{
    for (int note : {-1, 8}) { // outside the set: nothing at all
        token_class odd(200.0f, 200.0f, note);
        odd.element = fire;
        trigger(odd);
        EXPECT_EQ(odd.element_sprite.animation_count(), 0);
    }
    const double start = clock.now();
    for (int element : {0, earth, wind, water, fire}) {
        token_grid[9 + element]->element = element;
        trigger(*token_grid[9 + element]); // tokens 9 to 13: column 1, notes 6 down to 2
    }
    // Seconds after the pulse, element, then its sprite's scale x, scale y and opacity; 0.8 is the rest scale.
    const double checkpoints[][5] = {
        {0.0, earth, 1.2, 1.2, 1}, {0.0, water, 1.04, 0.64, 1}, {0.0, fire, 1.04, 1.04, 1}, {0.0, 0, 0.8, 0.8, 1},
        {0.3, earth, 0.8, 0.8, 1}, {0.5, wind, 0.64, 0.64, 0.7}, {0.5, water, 0.64, 1.04, 1},
        {1.0, water, 0.8, 0.8, 1}, {1.0, fire, 0.8, 0.8, 1},     {1.3, wind, 0.8, 0.8, 1}};
    for (const auto& [at, element, scale_x, scale_y, opacity] : checkpoints) {
        SCOPED_TRACE(testing::Message() << "element " << element << " at " << at);
        clock.set(start + at);
        update_objects();
        const Object& sprite = token_grid[9 + static_cast<int>(element)]->element_sprite;
        EXPECT_FLOAT_EQ(sprite.scale_x, static_cast<float>(scale_x));
        EXPECT_FLOAT_EQ(sprite.scale_y, static_cast<float>(scale_y));
        EXPECT_FLOAT_EQ(sprite.opacity, static_cast<float>(opacity));
    }
    // EARTH, WATER and FIRE play through the bin, WIND outside it, an empty token nothing.
    EXPECT_EQ(note_sample_file(wind, 7), "data/sounds/air_7.wav");
    EXPECT_EQ(samples_bin.size(true), 3);
    const std::string earth_note = "data/sounds/earth_5.wav";
    EXPECT_EQ(samples_bin.loaded.count(earth_note) + samples_bin.missed.count(earth_note), 1u);
    // One burst each for wind, water and fire where the token's sprite is, none for earth or an empty token.
    ASSERT_TRUE(wind_effects.size() == 1 && water_effects.size() == 1 && flame_effects.size() == 1);
    EXPECT_EQ(wind_effects[0]->puff_a.y, token_grid[9 + wind]->element_sprite.y);
}

} // namespace
