// The play line's pulses, as the frame loop meets the notes heard, and the bursts they start.
#include "instrument_fixture.h"

#include "instrument/note_playing.h"

#include <array>
#include <map>
#include <tuple>
#include <vector>

namespace {

using note_playing_test = instrument_fixture;

// A sound device that starts playing at the set-up and, 4096 frames ahead of what it plays, takes a buffer
// each time one has been played; the frame loop ticks at 60 Hz beside it.
TEST_F(note_playing_test, each_note_pulses_its_token_in_the_tick_in_which_its_frame_is_heard_once_a_sweep)
{
    const std::map<int, element_id> placed = {{cell_index(0, 7), earth_element}, {cell_index(5, 0), wind_element},
                                              {cell_index(10, 3), water_element}, {cell_index(15, 4), fire_element}};
    pattern_class pattern;
    for (const auto& [cell, element] : placed)
        pattern.cells[cell] = element;
    pattern.tempo = tempo_in_tenths(1000);
    instrument->model.reset(pattern);
    instrument->note_sounds.load();
    instrument->grid_shown = true;
    start_note_playing(*instrument);

    const double start = clock.now(), lead = 4096, tick = 1.0 / 60;
    output->clock.restart(static_cast<std::uint64_t>(lead));
    std::vector<float> buffer(2 * 1024);
    std::map<int, int> pulses;
    const double two_sweeps = 2 * 2.4; // a sweep takes 2.4 s at 100 BPM
    for (double t = start; t < start + two_sweeps; t += tick) {
        clock.set(t);
        while (mixer->frame < (t - start) * mixer_class::desktop_rate + lead) {
            mixer->render(buffer.data(), 1024);
            output->clock.record_pull(mixer->frame, start + (mixer->frame - lead) / mixer_class::desktop_rate);
        }
        update_play_line(*instrument);
        for (int cell = 0; cell < step_cells; ++cell) {
            Object& sprite = instrument->token_grid[cell]->element_sprite;
            if (sprite.scale_x_anim.count() == 0)
                continue;
            sprite.clear_animations();
            ++pulses[cell];
            const double heard = (t - start) * mixer_class::desktop_rate;
            double at = 0;
            for (std::uint64_t sweep = 0; mixer->schedule->frame_of(sweep, cell / grid_rows) <= heard; ++sweep)
                at = static_cast<double>(mixer->schedule->frame_of(sweep, cell / grid_rows));
            EXPECT_GT(at, heard - tick * mixer_class::desktop_rate) << "pulsed a tick late, or before it was heard";
        }
    }
    EXPECT_EQ(pulses.size(), placed.size()) << "an empty token pulsed";
    for (const auto& [cell, element] : placed)
        EXPECT_EQ(pulses[cell], 2) << "cell " << cell << " of element " << element;
}

// A pulse brings the element's sprite back to its rest (0.8 and opaque) within 1.3 s, and starts the
// element's burst where the sprite is: none for EARTH or an empty token. That it moves is seen as notes play.
TEST_F(note_playing_test, a_pulse_swings_the_sprite_back_to_rest_and_starts_the_elements_burst_at_it)
{
    const auto sprite = [&](int element) -> Object& { return instrument->token_grid[9 + element]->element_sprite; };
    for (element_id element : {no_element, earth_element, wind_element, water_element, fire_element})
        pulse(*instrument, *instrument->token_grid[9 + element], element);
    advance(1.4);
    for (int element = no_element; element <= fire_element; ++element) {
        Object& at_rest = sprite(element);
        EXPECT_EQ(std::make_tuple(at_rest.scale_x, at_rest.scale_y, at_rest.opacity, at_rest.animation_count()),
                  std::make_tuple(0.8f, 0.8f, 1.0f, 0))
            << "element " << element;
    }
    ASSERT_TRUE(instrument->wind_effects.size() == 1 && instrument->water_effects.size() == 1 &&
                instrument->flame_effects.size() == 1);
    EXPECT_EQ(instrument->wind_effects[0]->puff_a.y, sprite(wind_element).y);
}

// Every burst goes on the first removal pass after its lifetime (a wind's 1.2 s, a water's 1 s, a flame's
// 0.7 s), taking its sprites along; the rest keep their order.
TEST_F(note_playing_test, every_finished_burst_goes_on_the_first_pass_after_its_lifetime_the_rest_keep_order)
{
    const double start = clock.now();
    const std::size_t objects_before = objects_bin.size();
    for (int i = 1; i <= 5; ++i) {
        clock.set(start + (i == 3 ? 0.5 : i == 5 ? 0.6 : 0.0)); // winds 3 and 5 start later
        spawn_wind(*instrument, static_cast<float>(i), 0);
    }
    clock.set(start);
    spawn_water(*instrument, 0, 0);
    spawn_flame(*instrument, 0, 0);
    // Seconds since the start, then the winds, waters and flames still running.
    const std::pair<double, std::array<std::size_t, 3>> frames[] = {
        {0.69, {5, 1, 1}}, {0.7, {5, 1, 0}}, {0.99, {5, 1, 0}}, {1.0, {5, 0, 0}}, {1.19, {5, 0, 0}}, {1.2, {2, 0, 0}}};
    for (const auto& [at, running] : frames) {
        clock.set(start + at);
        update_objects();
        remove_finished_effects(*instrument);
        EXPECT_EQ((std::array<std::size_t, 3>{instrument->wind_effects.size(), instrument->water_effects.size(),
                                              instrument->flame_effects.size()}),
                  running)
            << "at " << at;
    }
    ASSERT_EQ(instrument->wind_effects.size(), 2u);
    EXPECT_EQ(instrument->wind_effects[0]->puff_a.x, 3.0f);
    EXPECT_EQ(instrument->wind_effects[1]->puff_a.x, 5.0f);
    EXPECT_EQ(objects_bin.size(), objects_before + 4);
}

} // namespace
