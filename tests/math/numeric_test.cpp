#include "math/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <set>

// glibc's rand() reaches 2^31 - 1: uncut, random ranges would overshoot their ends.
TEST(random_ranges, raw_ends_map_onto_range_ends_and_draws_reach_both_signs)
{
    EXPECT_EQ(static_cast<float>(random_in_range(0, 2.0, 4.0)), 2.0f);
    EXPECT_EQ(random_in_range(random_raw_max, -1.5, 1.5), 1.5);
    std::srand(7);
    std::set<int> signs;
    for (int i = 0; i < 5000; ++i) {
        const int raw = random_raw();
        const float f = random_float(2.0f, 4.0f);
        ASSERT_TRUE(raw >= 0 && raw <= random_raw_max && f >= 2.0f && f <= 4.0f) << raw << " " << f;
        signs.insert(random_sign());
    }
    EXPECT_EQ(signs, (std::set<int>{-1, 1}));
}

// Clamping passes NaN on. Easing (the curves of the animators test on [0, 1], where the overshoot is seen to
// be continuous) on shifted and reversed ranges, at the midpoint where the two halves meet, and a NaN position
// gives 0 for the two-halves curves; the overshoot passes NaN on.
TEST(interpolation, clamp_and_range_easing)
{
    EXPECT_EQ(clamp(1.5, 0.0, 1.0), 1.0);
    EXPECT_EQ(clamp(-0.5, 0.0, 1.0), 0.0);
    EXPECT_TRUE(std::isnan(clamp(NAN, 0.0, 1.0)));
    const struct { float (*ease)(float, float, float); float a, b, x, expected; } cases[] = {
        {range_fraction, 10, 20, 15, 0.5f}, {range_fraction, 20, 10, 10, 1},
        {ease_in, 20, 10, 15, 0.25f}, {ease_out, 10, 20, 12.5f, 0.4375f}, {ease_in_out, 0, 1, 0.5f, 0.5f},
        {ease_out_in, 0, 1, 0.5f, 0.5f}, {ease_out_in, 0, 1, 0.75f, 0.625f}, {ease_in_out, 10, 20, 17.5f, 0.875f},
        {ease_out_in, 20, 10, 17.5f, 0.375f}, {ease_in_out, 0, 1, NAN, 0}, {ease_out_in, 0, 1, NAN, 0},
        {overshoot_curve, 0, 1, 0.3f, 1}, {overshoot_curve, 0, 1, 0.6f, 1}, {overshoot_curve, 0, 1, 0.75f, 0.92f}};
    for (std::size_t n = 0; n < std::size(cases); ++n)
        EXPECT_FLOAT_EQ(cases[n].ease(cases[n].a, cases[n].b, cases[n].x), cases[n].expected) << "case " << n;
    EXPECT_TRUE(std::isnan(overshoot_curve(0.0f, 1.0f, NAN)));
}
