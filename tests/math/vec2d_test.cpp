#include "math/vec2d.h"

#include <gtest/gtest.h>

#include <iterator>

TEST(vec2d_operations, worked_results)
{
    vec2d p(10.0f, 0.0f), q(12.0f, 5.0f);
    rotate_around(p, vec2d(0.0f, 0.0f), 90.0f);
    rotate_around(q, vec2d(2.0f, 5.0f), 180.0f);
    translate(q, 2.0f, -3.0f);
    // A positive angle turns counter-clockwise on screen, where y grows downwards.
    const struct { vec2d actual, expected; } cases[] = {
        {{vec2d(3, 4).length(), dot(1, 2, 3, 4)}, {5, 11}}, {vec2d(3, 4).normalized(), {0.6f, 0.8f}}, {q, {-6, 2}},
        {difference(5, 1, 2, 3), {3, -2}}, {project_onto(vec2d(3, 4), vec2d(2, 0)), {3, 0}}, {p, {0, -10}},
        {segment_normal({vec2d(0, 0), vec2d(10, 0)}, 0), {0, -1}},
        {segment_normal({vec2d(5, 5), vec2d(0, 0), vec2d(0, 10)}, 1), {1, 0}}};
    for (std::size_t n = 0; n < std::size(cases); ++n)
        EXPECT_NEAR(distance(cases[n].actual.x, cases[n].actual.y, cases[n].expected.x, cases[n].expected.y), 0.0f,
                    1e-5f) << "case " << n;
}
