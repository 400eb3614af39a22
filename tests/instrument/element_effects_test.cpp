#include "instrument/element_effects.h"

#include "instrument/instrument.h"

#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

class element_effects_test : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};

    void SetUp() override { instrument = new instrument_class; }
    void TearDown() override { instrument_teardown(); }

    // One frame at the given time since the start: tweens, then the removal pass.
    void frame_at(double since_start)
    {
        clock.set(100.0 + since_start);
        update_objects();
        remove_finished_effects();
    }
};

TEST_F(element_effects_test, flame_tongues_swing_half_a_turn_and_the_outer_wind_puff_drifts_and_flattens)
{
    wind_animation_class wind(300.0f, 200.0f);
    flame_animation_class flame(10.0f, 20.0f);
    frame_at(0.7);
    EXPECT_NEAR(flame.tongues[0].rotation, -ALLEGRO_PI, 1e-5); // half a turn back from a third of a turn apart
    EXPECT_NEAR(flame.tongues[1].rotation, -ALLEGRO_PI / 3, 1e-5);
    EXPECT_NEAR(flame.tongues[2].rotation, ALLEGRO_PI / 3, 1e-5);
    frame_at(1.2);
    EXPECT_FLOAT_EQ(wind.puff_b.x, 310.0f); // the outer puff drifts right and flattens
    EXPECT_FLOAT_EQ(wind.puff_b.scale_y, 0.5f);
}

TEST_F(element_effects_test, every_finished_burst_goes_on_the_first_pass_after_its_lifetime_the_rest_keep_order)
{
    const std::size_t objects_before = objects_bin.size();
    for (int i = 1; i <= 5; ++i) {
        clock.set(100.0 + (i == 3 ? 0.5 : i == 5 ? 0.6 : 0.0)); // winds 3 and 5 start later
        spawn_wind(static_cast<float>(i), 0);
    }
    clock.set(100.0);
    spawn_water(0, 0);
    spawn_flame(0, 0);
    // Seconds since the start, then the winds, waters and flames still running.
    const std::pair<double, std::array<std::size_t, 3>> frames[] = {
        {0.69, {5, 1, 1}}, {0.7, {5, 1, 0}}, {0.99, {5, 1, 0}}, {1.0, {5, 0, 0}}, {1.19, {5, 0, 0}}, {1.2, {2, 0, 0}}};
    for (const auto& [at, running] : frames) {
        frame_at(at);
        EXPECT_EQ((std::array<std::size_t, 3>{instrument->wind_effects.size(), instrument->water_effects.size(), instrument->flame_effects.size()}),
                  running)
            << "at " << at;
    }
    ASSERT_EQ(instrument->wind_effects.size(), 2u);
    EXPECT_EQ(instrument->wind_effects[0]->puff_a.x, 3.0f);
    EXPECT_EQ(instrument->wind_effects[1]->puff_a.x, 5.0f);
    EXPECT_EQ(objects_bin.size(), objects_before + 4); // the deleted bursts took their sprites along
}

} // namespace
