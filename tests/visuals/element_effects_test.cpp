#include "visuals/element_effects.h"

#include "math/numeric.h"
#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

class element_effects_test : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};

    void TearDown() override { clear_effects(); }

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
        EXPECT_EQ((std::array<std::size_t, 3>{wind_effects.size(), water_effects.size(), flame_effects.size()}),
                  running)
            << "at " << at;
    }
    ASSERT_EQ(wind_effects.size(), 2u);
    EXPECT_EQ(wind_effects[0]->puff_a.x, 3.0f);
    EXPECT_EQ(wind_effects[1]->puff_a.x, 5.0f);
    EXPECT_EQ(objects_bin.size(), objects_before + 4); // the deleted bursts took their sprites along
    clear_effects();
    EXPECT_EQ(objects_bin.size(), objects_before);
}

// A droplet's randomly drawn values in the order they are drawn; a sign is 1 for minus.
std::vector<double> drawn_values(const Object& d)
{
    std::vector<double> values{double(d.flip_horizontal), double(d.flip_vertical), d.scale_x, d.scale_y, d.rotation,
                               d.tint.a, d.tint.g, d.tint.r, d.opacity_anim.animators.front()->duration};
    for (const auto* scale : {&d.scale_x_anim, &d.scale_y_anim})
        values.insert(values.end(), {scale->animators.front()->duration, scale->animators.front()->to});
    for (const auto* position : {&d.x_anim, &d.y_anim}) {
        const animator_class<float>& drift = *position->animators.front();
        const float delta = drift.to - drift.from;
        values.insert(values.end(), {drift.duration, std::fabs(delta), double(delta < 0)});
    }
    return values;
}

// The same values drawn straight from the generator; a braced list is evaluated in order.
std::vector<double> replayed_values()
{
    const auto duration = [] { return random_float(0.7f, 1.0f); };
    return {double(random_bool()), double(random_bool()), random_float(0.3f, 1.2f), random_float(0.3f, 1.2f),
            random_float(0.0f, 6.2831854820251465f), random_float(0.8f, 1.0f), random_float(0.4f, 0.6f),
            random_float(0.0f, 0.6f), duration(), duration(), random_float(0.8f, 3.0f), duration(),
            random_float(0.8f, 3.0f), duration(), random_float(0.0f, 20.0f), double(random_bool()), duration(),
            random_float(0.0f, 20.0f), double(random_bool())};
}

TEST_F(element_effects_test, droplets_draw_their_random_values_in_a_fixed_order)
{
    std::srand(1234);
    water_animation_class first(0.0f, 0.0f);
    water_animation_class second(0.0f, 0.0f);
    std::srand(1234);
    for (const auto* burst : {&first, &second})
        for (const Object& droplet : burst->droplets)
            EXPECT_EQ(drawn_values(droplet), replayed_values());
}

} // namespace
