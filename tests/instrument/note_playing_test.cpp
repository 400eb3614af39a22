#include "instrument/note_playing.h"

#include "instrument/instrument.h"
#include "resources/bins.h"
#include "support/fake_clock.h"
#include "visuals/element_effects.h"
#include "visuals/token.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace {

constexpr int earth = 1;
constexpr int wind = 2;
constexpr int water = 3;
constexpr int fire = 4;
constexpr double two_days = 2 * 24 * 3600.0;

class note_playing_test : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};
    double start = 0.0;

    void SetUp() override
    {
        release_resources();
        create_token_grid(grid_scale);
        setup_note_playing();
        start = clock.now();
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
        current_element = 0;
        release_resources();
    }

    static void fill_grid(int id)
    {
        for (token_class* token : token_grid)
            token->element = id;
    }

    // Where column c's centre lies on the play line.
    static float column_position(int column) { return token_grid[column * grid_rows]->bead.x - grid_origin_x; }

    // Sets the clock so that the line stands at p after the given number of whole sweeps.
    void move_line_to(double sweeps, float p)
    {
        clock.set(start + (sweeps * grid_width + p) / play_speed);
    }

    // The columns whose EARTH tokens pulsed since the last call; the rows of a column always fire together.
    static std::set<int> pulsed_columns()
    {
        std::set<int> columns;
        for (int column = 0; column < grid_columns; ++column) {
            const auto pulsed = [&](int row) {
                return token_grid[column * grid_rows + row]->element_sprite.scale_x_anim.count() > 0;
            };
            for (int row = 1; row < grid_rows; ++row)
                EXPECT_EQ(pulsed(row), pulsed(0)) << "column " << column << " row " << row;
            if (pulsed(0))
                columns.insert(column);
        }
        for (token_class* token : token_grid)
            token->element_sprite.clear_animations();
        return columns;
    }

    void advance(double seconds)
    {
        clock.advance(seconds);
        update_objects();
    }
};

TEST_F(note_playing_test, first_update_fires_every_column_up_to_the_line)
{
    fill_grid(earth);
    move_line_to(0, 200.0f);
    update_play_line();
    EXPECT_EQ(pulsed_columns(), (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(previous_play_position, 200.0f);
}

TEST_F(note_playing_test, a_column_fires_when_the_line_reaches_it_and_not_again_from_there)
{
    fill_grid(earth);
    move_line_to(0, column_position(2));
    ASSERT_EQ(play_position(), column_position(2));
    update_play_line();
    EXPECT_EQ(pulsed_columns(), (std::set<int>{0, 1, 2}));
    move_line_to(0, column_position(3));
    ASSERT_EQ(play_position(), column_position(3));
    update_play_line();
    EXPECT_EQ(pulsed_columns(), std::set<int>{3});
    move_line_to(0, column_position(3) + 40.0f);
    update_play_line();
    EXPECT_TRUE(pulsed_columns().empty());
}

TEST_F(note_playing_test, a_stall_across_the_wrap_fires_both_the_end_and_the_start_of_the_sweep)
{
    fill_grid(earth);
    move_line_to(0, column_position(15) - 5.0f);
    update_play_line();
    pulsed_columns();
    move_line_to(1, column_position(0) + 1.0f);
    update_play_line();
    EXPECT_EQ(pulsed_columns(), (std::set<int>{15, 0}));
}

TEST_F(note_playing_test, after_a_quiet_wrap_the_first_column_fires_at_its_centre)
{
    fill_grid(earth);
    move_line_to(0, 800.0f);
    update_play_line();
    pulsed_columns();
    move_line_to(1, 3.0f);
    update_play_line();
    EXPECT_TRUE(pulsed_columns().empty());
    move_line_to(1, column_position(0) - 0.5f);
    update_play_line();
    EXPECT_TRUE(pulsed_columns().empty());
    move_line_to(1, column_position(0));
    update_play_line();
    EXPECT_EQ(pulsed_columns(), std::set<int>{0});
}

TEST_F(note_playing_test, sixty_ticks_a_second_fire_every_token_once_a_sweep)
{
    fill_grid(earth);
    std::vector<int> fired(grid_columns, 0);
    move_line_to(0, 1.0f);
    update_play_line();
    pulsed_columns();
    const int ticks = static_cast<int>(std::ceil(2 * grid_width / 5.0));
    for (int tick = 0; tick < ticks; ++tick) {
        clock.advance(1.0 / 60);
        update_play_line();
        for (int column : pulsed_columns())
            ++fired[column];
    }
    for (int column = 0; column < grid_columns; ++column)
        EXPECT_EQ(fired[column], 2) << "column " << column;
}

TEST_F(note_playing_test, the_line_stays_exact_after_two_days)
{
    const double sweeps = std::floor(two_days * play_speed / grid_width);
    move_line_to(sweeps, 300.0f);
    EXPECT_NEAR(play_position(), 300.0f, 1e-3);
    update_play_line();
    for (int tick = 1; tick <= 10; ++tick) {
        clock.advance(1.0 / 60);
        EXPECT_NEAR(play_position(), 300.0f + 5.0f * tick, 1e-3);
    }
    move_line_to(sweeps + 1, 0.5f);
    EXPECT_NEAR(play_position(), 0.5f, 1e-3);
}

TEST_F(note_playing_test, set_up_starts_the_clock_and_loads_the_wind_notes_by_index)
{
    const auto old_path = std::filesystem::current_path();
    const auto dir = std::filesystem::temp_directory_path() / "tolme_note_playing_test";
    std::filesystem::create_directories(dir / "data/sounds");
    {
        // 16-bit mono PCM, 100 silent frames.
        const std::int16_t silence[100] = {};
        std::ofstream out(dir / "data/sounds/air_3.wav", std::ios::binary);
        const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
        const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
        out.write("RIFF", 4);
        u32(36 + sizeof silence);
        out.write("WAVEfmt ", 8);
        u32(16);
        u16(1);
        u16(1);
        u32(44100);
        u32(88200);
        u16(2);
        u16(16);
        out.write("data", 4);
        u32(sizeof silence);
        out.write(reinterpret_cast<const char*>(silence), sizeof silence);
    }
    std::filesystem::current_path(dir);
    clock.set(500.0);
    previous_play_position = 12.0f;
    setup_note_playing();
    std::filesystem::current_path(old_path);
    std::filesystem::remove_all(dir);

    EXPECT_EQ(play_start_time, 500.0);
    EXPECT_EQ(previous_play_position, -999.0f);
    for (int note = 0; note < notes_per_element; ++note)
        EXPECT_EQ(wind_samples[note] != nullptr, note == 3) << "note " << note;
    EXPECT_EQ(play_position(), 0.0f);
}

TEST_F(note_playing_test, notes_come_from_the_element_set_and_wind_stays_outside_the_bin)
{
    EXPECT_EQ(note_sample_file(earth, 0), "data/sounds/earth_0.wav");
    EXPECT_EQ(note_sample_file(wind, 7), "data/sounds/air_7.wav");
    EXPECT_EQ(note_sample_file(water, 2), "data/sounds/water_2.wav");
    EXPECT_EQ(note_sample_file(fire, 5), "data/sounds/fire_5.wav");

    const auto known = [](const std::string& file) {
        return samples_bin.loaded.count(file) + samples_bin.missed.count(file);
    };
    token_class& t = *token_grid[2]; // note 5
    t.element = earth;
    trigger(t);
    EXPECT_EQ(known("data/sounds/earth_5.wav"), 1u);
    t.element = wind;
    trigger(t);
    EXPECT_EQ(known("data/sounds/air_5.wav"), 0u);
    EXPECT_EQ(samples_bin.size(true), 1);
    t.element = 0;
    trigger(t);
    EXPECT_EQ(samples_bin.size(true), 1);
}

TEST_F(note_playing_test, notes_outside_the_set_do_nothing)
{
    for (int note : {-1, 8}) {
        token_class t(200.0f, 200.0f, note);
        t.element = fire;
        trigger(t);
        EXPECT_EQ(t.element_sprite.animation_count(), 0);
        EXPECT_TRUE(flame_effects.empty());
    }
}

TEST_F(note_playing_test, earth_swells_and_shrinks_back_without_a_burst)
{
    token_class& t = *token_grid[0];
    t.element = earth;
    trigger(t);
    advance(0.0);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 1.2f);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 1.2f);
    advance(0.3);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 0.8f);
    EXPECT_TRUE(wind_effects.empty() && water_effects.empty() && flame_effects.empty());
}

TEST_F(note_playing_test, wind_shrinks_and_dims_then_recovers_and_puffs_at_the_token)
{
    token_class& t = *token_grid[9];
    t.element = wind;
    pulse(t);
    ASSERT_EQ(wind_effects.size(), 1u);
    EXPECT_EQ(wind_effects[0]->puff_a.x, t.element_sprite.x);
    EXPECT_EQ(wind_effects[0]->puff_a.y, t.element_sprite.y);
    EXPECT_EQ(t.element_sprite.scale_x_anim.animators[1]->curve, curve_ease_in_out);
    EXPECT_EQ(t.element_sprite.opacity_anim.animators[0]->curve, curve_ease_out);
    advance(0.5);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 0.64f);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 0.64f);
    EXPECT_FLOAT_EQ(t.element_sprite.opacity, 0.7f);
    advance(0.4);
    EXPECT_GT(t.element_sprite.scale_x, 0.64f);
    EXPECT_LT(t.element_sprite.scale_x, 0.8f);
    advance(0.4);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 0.8f);
    EXPECT_FLOAT_EQ(t.element_sprite.opacity, 1.0f);
}

TEST_F(note_playing_test, water_starts_wide_turns_tall_and_settles)
{
    token_class& t = *token_grid[9];
    t.element = water;
    pulse(t);
    EXPECT_EQ(water_effects.size(), 1u);
    EXPECT_EQ(water_effects[0]->origin_x, t.element_sprite.x);
    advance(0.0);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 1.04f);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 0.64f);
    advance(0.5);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 0.64f);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 1.04f);
    advance(0.5);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_x, 0.8f);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 0.8f);
}

TEST_F(note_playing_test, fire_shrinks_from_wide_over_a_second_and_flames_at_the_token)
{
    token_class& t = *token_grid[9];
    t.element = fire;
    pulse(t);
    ASSERT_EQ(flame_effects.size(), 1u);
    EXPECT_EQ(flame_effects[0]->origin_y, t.element_sprite.y);
    EXPECT_EQ(t.element_sprite.scale_y_anim.animators[0]->curve, curve_ease_in_out);
    advance(0.0);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 1.04f);
    advance(0.5);
    EXPECT_GT(t.element_sprite.scale_y, 0.8f);
    advance(0.5);
    EXPECT_FLOAT_EQ(t.element_sprite.scale_y, 0.8f);
}

TEST_F(note_playing_test, an_empty_token_neither_pulses_nor_bursts)
{
    token_class& t = *token_grid[9];
    pulse(t);
    EXPECT_EQ(t.element_sprite.animation_count(), 0);
    EXPECT_TRUE(wind_effects.empty() && water_effects.empty() && flame_effects.empty());
}

} // namespace
