#include "math/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>

namespace {

const float nan_f = std::numeric_limits<float>::quiet_NaN();

TEST(random_ranges, raw_ends_map_exactly_onto_range_ends)
{
    EXPECT_EQ(static_cast<float>(random_in_range(0, 2.0, 4.0)), 2.0f);
    EXPECT_EQ(static_cast<float>(random_in_range(random_raw_max, 2.0, 4.0)), 4.0f);
    EXPECT_EQ(random_in_range(random_raw_max, -1.5, 1.5), 1.5);
    EXPECT_EQ(random_int_in_range(0, 1, 6), 1);
    EXPECT_EQ(random_int_in_range(5, 1, 6), 6);
    EXPECT_EQ(random_int_in_range(6, 1, 6), 1);
}

TEST(random_ranges, raw_values_stay_within_the_documented_maximum)
{
    std::srand(7);
    for (int i = 0; i < 5000; ++i) {
        const int raw = random_raw();
        ASSERT_GE(raw, 0);
        ASSERT_LE(raw, random_raw_max);
    }
}

TEST(random_ranges, random_float_stays_inside_its_range)
{
    std::srand(11);
    for (int i = 0; i < 5000; ++i) {
        const float v = random_float(2.0f, 4.0f);
        ASSERT_GE(v, 2.0f);
        ASSERT_LE(v, 4.0f);
        const double d = random_double(-3.0, -1.0);
        ASSERT_GE(d, -3.0);
        ASSERT_LE(d, -1.0);
    }
}

TEST(random_ranges, random_int_yields_every_value_of_a_die_and_nothing_else)
{
    std::srand(3);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(random_int(1, 6));
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6}));
}

TEST(random_ranges, signs_and_bools_take_both_values)
{
    std::srand(5);
    std::set<int> signs;
    std::set<bool> bools;
    for (int i = 0; i < 200; ++i) {
        signs.insert(random_sign());
        bools.insert(random_bool());
    }
    EXPECT_EQ(signs, (std::set<int>{-1, 1}));
    EXPECT_EQ(bools.size(), 2u);
}

TEST(angles, convert_both_ways)
{
    EXPECT_EQ(deg_to_rad(180.0f), static_cast<float>(M_PI));
    EXPECT_FLOAT_EQ(rad_to_deg(static_cast<float>(M_PI)), 180.0f);
    EXPECT_FLOAT_EQ(deg_to_rad(-90.0f), static_cast<float>(-M_PI / 2));
}

TEST(float_wrappers, round_the_double_result)
{
    EXPECT_EQ(sqrt_f(2.0f), static_cast<float>(std::sqrt(2.0)));
    EXPECT_EQ(pow_f(1.5f, 3), 3.375f);
    EXPECT_EQ(pow_f(2.0f, -1), 0.5f);
    EXPECT_EQ(fmod_f(7.5f, 2.0f), 1.5f);
    EXPECT_EQ(fabs_f(-3.25f), 3.25f);
    EXPECT_FLOAT_EQ(asin_f(1.0f), static_cast<float>(M_PI / 2));
    EXPECT_FLOAT_EQ(cos_f(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(sin_f(static_cast<float>(M_PI / 2)), 1.0f);
}

TEST(clamping, limits_and_passes_through)
{
    EXPECT_EQ(clamp(1.5, 0.0, 1.0), 1.0);
    EXPECT_EQ(clamp(-0.5, 0.0, 1.0), 0.0);
    EXPECT_EQ(clamp(0.25, 0.0, 1.0), 0.25);
    EXPECT_TRUE(std::isnan(clamp(std::nan(""), 0.0, 1.0)));
}

TEST(interpolation, lerp_extrapolates_and_is_between_excludes_ends)
{
    EXPECT_EQ(lerp(2.0f, 4.0f, 0.5f), 3.0f);
    EXPECT_EQ(lerp(2.0f, 4.0f, 1.5f), 5.0f);
    EXPECT_FALSE(is_between(0.3f, 0.3f, 0.45f));
    EXPECT_FALSE(is_between(0.45f, 0.3f, 0.45f));
    EXPECT_TRUE(is_between(0.4f, 0.3f, 0.45f));
}

TEST(range_easing, fraction_runs_backwards_for_reversed_ranges)
{
    EXPECT_EQ(range_fraction(10.0f, 20.0f, 15.0f), 0.5f);
    EXPECT_EQ(range_fraction(20.0f, 10.0f, 10.0f), 1.0f);
    EXPECT_EQ(range_fraction(20.0f, 10.0f, 20.0f), 0.0f);
}

TEST(range_easing, worked_midpoints)
{
    EXPECT_EQ(ease_out(0.0f, 1.0f, 0.5f), 0.75f);
    EXPECT_EQ(ease_in(0.0f, 1.0f, 0.5f), 0.25f);
    const float xs[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    const float in_out[] = {0.0f, 0.125f, 0.5f, 0.875f, 1.0f};
    const float out_in[] = {0.0f, 0.375f, 0.5f, 0.625f, 1.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ease_in_out(0.0f, 1.0f, xs[i]), in_out[i]) << "x = " << xs[i];
        EXPECT_EQ(ease_out_in(0.0f, 1.0f, xs[i]), out_in[i]) << "x = " << xs[i];
    }
}

TEST(range_easing, halves_work_on_shifted_ranges)
{
    EXPECT_EQ(ease_in_out(10.0f, 20.0f, 12.5f), 0.125f);
    EXPECT_EQ(ease_in_out(10.0f, 20.0f, 17.5f), 0.875f);
    EXPECT_EQ(ease_out_in(20.0f, 10.0f, 17.5f), 0.375f);
}

TEST(range_easing, not_a_number_gives_zero_for_the_halves)
{
    EXPECT_EQ(ease_in_out(0.0f, 1.0f, nan_f), 0.0f);
    EXPECT_EQ(ease_out_in(0.0f, 1.0f, nan_f), 0.0f);
}

TEST(overshoot, passes_through_its_knots)
{
    EXPECT_EQ(overshoot_curve(0.0f, 1.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(overshoot_curve(0.0f, 1.0f, 0.3f), 1.0f);
    EXPECT_FLOAT_EQ(overshoot_curve(0.0f, 1.0f, 0.45f), 1.2f);
    EXPECT_FLOAT_EQ(overshoot_curve(0.0f, 1.0f, 0.6f), 1.0f);
    EXPECT_FLOAT_EQ(overshoot_curve(0.0f, 1.0f, 0.75f), 0.92f);
    EXPECT_EQ(overshoot_curve(0.0f, 1.0f, 1.0f), 1.0f);
    EXPECT_TRUE(std::isnan(overshoot_curve(0.0f, 1.0f, nan_f)));
}

TEST(overshoot, is_continuous)
{
    float previous = overshoot_curve(0.0f, 1.0f, 0.0f);
    for (int i = 1; i <= 1000; ++i) {
        const float now = overshoot_curve(0.0f, 1.0f, i / 1000.0f);
        ASSERT_LT(std::fabs(now - previous), 0.01f) << "at t = " << i / 1000.0f;
        ASSERT_GE(now, 0.0f);
        ASSERT_LE(now, 1.2f + 1e-6f);
        previous = now;
    }
}

} // namespace
