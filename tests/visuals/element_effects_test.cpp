#include "visuals/element_effects.h"

#include "math/numeric.h"
#include "support/fake_clock.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr double pi = 3.141592653589793;

class element_effects_test : public ::testing::Test
{
public:
    fake_clock_class clock{100.0};

    void TearDown() override { clear_effects(); }

    void advance(double seconds)
    {
        clock.advance(seconds);
        update_objects();
    }

    // One frame: tweens, then the removal pass.
    void tick_to(double since_spawn, double spawn_time)
    {
        clock.set(spawn_time + since_spawn);
        update_objects();
        remove_finished_effects();
    }
};

TEST_F(element_effects_test, wind_puff_drifts_right_flattens_and_fades_in_one_point_two_seconds)
{
    wind_animation_class wind(300.0f, 200.0f);
    EXPECT_EQ(wind.puff_b.z, 2.0f);
    EXPECT_EQ(wind.puff_a.blend_mode, 1);
    advance(1.1);
    EXPECT_FALSE(wind.finished());
    EXPECT_GT(wind.puff_b.x, 305.0f);
    advance(0.1);
    EXPECT_FLOAT_EQ(wind.puff_b.x, 310.0f);
    EXPECT_FLOAT_EQ(wind.puff_b.scale_x, 1.5f);
    EXPECT_FLOAT_EQ(wind.puff_b.scale_y, 0.5f);
    EXPECT_EQ(wind.puff_b.opacity, 0.0f);
    EXPECT_EQ(wind.puff_a.opacity, 0.0f);
    EXPECT_TRUE(wind.finished());
}

TEST_F(element_effects_test, water_clock_droplet_fades_linearly_and_ends_the_burst_at_one_second)
{
    water_animation_class water(50.0f, 60.0f);
    advance(0.25);
    EXPECT_FLOAT_EQ(water.droplets[5].opacity, 0.75f);
    advance(0.25);
    EXPECT_FLOAT_EQ(water.droplets[5].opacity, 0.5f);
    EXPECT_EQ(water.ring.opacity, 0.0f);
    EXPECT_FLOAT_EQ(water.ring.scale_x, 2.0f);
    advance(0.49);
    EXPECT_FALSE(water.finished());
    advance(0.01);
    EXPECT_TRUE(water.finished());
}

TEST_F(element_effects_test, other_droplets_fade_along_the_cubic_ease_in)
{
    water_animation_class water(0.0f, 0.0f);
    const animator_class<float>& fade = *water.droplets[0].opacity_anim.animators.front();
    EXPECT_EQ(fade.curve, curve_ease_in_cubic);
    const double half = fade.duration / 2;
    advance(half);
    EXPECT_NEAR(water.droplets[0].opacity, 1.0f - apply_curve(0.5f, curve_ease_in_cubic), 1e-4);
    EXPECT_GT(water.droplets[0].opacity, 0.5f);
}

TEST_F(element_effects_test, flame_tongues_swing_half_a_turn_from_a_third_of_a_turn_apart)
{
    flame_animation_class flame(10.0f, 20.0f);
    EXPECT_EQ(flame.tongues[1].rotation, 2.094395160675049f);
    EXPECT_EQ(flame.tongues[0].anchor_x, 1.3f);
    advance(0.69);
    EXPECT_FALSE(flame.finished());
    advance(0.01);
    EXPECT_TRUE(flame.finished());
    EXPECT_NEAR(flame.tongues[0].rotation, -pi, 1e-5);
    EXPECT_NEAR(flame.tongues[1].rotation, -pi / 3, 1e-5);
    EXPECT_NEAR(flame.tongues[2].rotation, pi / 3, 1e-5);
    EXPECT_FLOAT_EQ(flame.tongues[2].scale_x, 1.0f);
    EXPECT_GT(flame.core.opacity, 0.0f); // its fade would end at 0.8 s
    EXPECT_FLOAT_EQ(flame.core.scale_x, 1.3f + 0.1f * apply_curve(0.6f, curve_ease_in));
}

TEST_F(element_effects_test, bursts_are_removed_on_the_first_pass_after_their_lifetime)
{
    const double start = clock.now();
    spawn_wind(0, 0);
    spawn_water(0, 0);
    spawn_flame(0, 0);
    tick_to(0.69, start);
    EXPECT_EQ(flame_effects.size(), 1u);
    tick_to(0.7, start);
    EXPECT_TRUE(flame_effects.empty());
    tick_to(0.99, start);
    EXPECT_EQ(water_effects.size(), 1u);
    tick_to(1.0, start);
    EXPECT_TRUE(water_effects.empty());
    tick_to(1.19, start);
    EXPECT_EQ(wind_effects.size(), 1u);
    tick_to(1.2, start);
    EXPECT_TRUE(wind_effects.empty());
}

TEST_F(element_effects_test, adjacent_finished_bursts_all_go_in_one_pass_and_the_rest_keep_order)
{
    const size_t objects_before = objects_bin.size();
    const double start = clock.now();
    spawn_wind(1, 0);
    spawn_wind(2, 0);
    clock.advance(0.5);
    spawn_wind(3, 0);
    clock.set(start);
    spawn_wind(4, 0);
    clock.advance(0.6);
    spawn_wind(5, 0);
    tick_to(1.2, start);
    ASSERT_EQ(wind_effects.size(), 2u);
    EXPECT_EQ(wind_effects[0]->puff_a.x, 3.0f);
    EXPECT_EQ(wind_effects[1]->puff_a.x, 5.0f);
    EXPECT_EQ(objects_bin.size(), objects_before + 4);
}

TEST_F(element_effects_test, deleting_a_burst_takes_all_its_sprites_out_of_the_bin)
{
    const size_t objects_before = objects_bin.size();
    spawn_water(0, 0);
    spawn_flame(0, 0);
    spawn_wind(0, 0);
    EXPECT_EQ(objects_bin.size(), objects_before + 16);
    clear_effects();
    EXPECT_EQ(objects_bin.size(), objects_before);
    EXPECT_TRUE(wind_effects.empty() && water_effects.empty() && flame_effects.empty());
}

// Replays the generator as the droplet set-up draws from it.
class rand_replay
{
public:
    double next(double min, double max) { return random_in_range(std::rand() % (random_raw_max + 1), min, max); }
    float next_float(float min, float max) { return static_cast<float>(next(min, max)); }
    bool next_bool() { return std::rand() % (random_raw_max + 1) % 2 == 1; }
};

void expect_droplet_replayed(const Object& d, rand_replay& r)
{
    EXPECT_EQ(d.flip_horizontal, r.next_bool());
    EXPECT_EQ(d.flip_vertical, r.next_bool());
    EXPECT_EQ(d.scale_x, r.next_float(0.3f, 1.2f));
    EXPECT_EQ(d.scale_y, r.next_float(0.3f, 1.2f));
    EXPECT_EQ(d.rotation, r.next_float(0.0f, 6.2831854820251465f));
    const float a = r.next_float(0.8f, 1.0f);
    const float g = r.next_float(0.4f, 0.6f);
    const float red = r.next_float(0.0f, 0.6f);
    EXPECT_EQ(d.tint.a, a);
    EXPECT_EQ(d.tint.g, g);
    EXPECT_EQ(d.tint.r, red);
    EXPECT_EQ(d.tint.b, 1.0f);
    EXPECT_DOUBLE_EQ(d.opacity_anim.animators.front()->duration, r.next_float(0.7f, 1.0f));
    for (const auto* scale : {&d.scale_x_anim, &d.scale_y_anim}) {
        EXPECT_DOUBLE_EQ(scale->animators.front()->duration, r.next_float(0.7f, 1.0f));
        EXPECT_EQ(scale->animators.front()->to, r.next_float(0.8f, 3.0f));
    }
    for (const auto* position : {&d.x_anim, &d.y_anim}) {
        const animator_class<float>& drift = *position->animators.front();
        EXPECT_DOUBLE_EQ(drift.duration, r.next_float(0.7f, 1.0f));
        const float distance = r.next_float(0.0f, 20.0f);
        const float sign = r.next_bool() ? -1.0f : 1.0f;
        EXPECT_FLOAT_EQ(drift.to - drift.from, sign * distance);
    }
}

TEST_F(element_effects_test, droplets_draw_their_random_values_in_a_fixed_order)
{
    std::srand(1234);
    water_animation_class first(0.0f, 0.0f);
    water_animation_class second(0.0f, 0.0f);
    std::srand(1234);
    rand_replay replay;
    for (const Object& droplet : first.droplets)
        expect_droplet_replayed(droplet, replay);
    for (const Object& droplet : second.droplets)
        expect_droplet_replayed(droplet, replay);
    EXPECT_NE(first.droplets[0].scale_x, second.droplets[0].scale_x);
}

} // namespace
