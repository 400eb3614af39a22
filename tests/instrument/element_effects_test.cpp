#include "instrument_fixture.h"

#include <array>

using element_effects_test = instrument_fixture;

// Every burst goes on the first removal pass after its lifetime (a wind's 1.2 s, a water's 1 s, a flame's
// 0.7 s), taking its sprites along; the rest keep their order.
TEST_F(element_effects_test, every_finished_burst_goes_on_the_first_pass_after_its_lifetime_the_rest_keep_order)
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
