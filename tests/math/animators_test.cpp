#include "math/animators.h"

#include "support/fake_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// Every curve runs from 0 to 1 without a jump; only the overshoot leaves [0, 1], up to 1.2; unknown ids are
// linear.
TEST(curves, ends_range_and_worked_values)
{
    for (int id = curve_linear; id <= curve_overshoot; ++id) {
        const easing_curve curve = static_cast<easing_curve>(id);
        const float top = curve == curve_overshoot ? 1.2f + 1e-6f : 1.0f;
        EXPECT_TRUE(apply_curve(0.0f, curve) == 0.0f && apply_curve(1.0f, curve) == 1.0f) << "curve " << curve;
        for (int i = 1; i <= 1000; ++i) {
            const float now = apply_curve(i / 1000.0f, curve), before = apply_curve((i - 1) / 1000.0f, curve);
            ASSERT_TRUE(std::fabs(now - before) < 0.01f && now >= 0.0f && now <= top) << curve << " at " << i;
        }
    }
    const struct { easing_curve curve; float t, eased; } cases[] = {
        {curve_ease_out, 0.5f, 0.75f}, {curve_ease_in, 0.5f, 0.25f}, {curve_ease_out_in, 0.25f, 0.375f},
        {curve_ease_in_out, 0.25f, 0.125f}, {curve_ease_out_twice, 0.5f, 0.9375f}, {curve_ease_in_cubic, 0.5f, 0.125f},
        {curve_ease_out_in_twice, 0.25f, 0.46875f}, {curve_ease_in_out_twice, 0.25f, 0.03125f},
        {curve_overshoot, 0.45f, 1.2f}, {easing_curve(42), 0.3f, 0.3f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(apply_curve(c.t, c.curve), c.eased) << "curve " << c.curve << " at " << c.t;
}

class animators : public ::testing::Test
{
protected:
    fake_clock_class clock;
    float value = 0.0f;
    animated_value_class<float> holder;

    animators() { holder.bind(&value); }

    struct frame { double after; float value; int count; };
    // Each frame moves the clock, updates the holder once, then checks the field and the animators left.
    void expect_frames(const std::vector<frame>& frames)
    {
        for (std::size_t n = 0; n < frames.size(); ++n) {
            clock.advance(frames[n].after);
            holder.update();
            EXPECT_FLOAT_EQ(value, frames[n].value) << "frame " << n;
            EXPECT_EQ(holder.count(), frames[n].count) << "frame " << n;
        }
    }
};

// Zero and negative durations are the divide-by-zero guard: they must end, at the first update past the delay.
TEST_F(animators, one_tween_frame_by_frame)
{
    const struct { const char* name; float from, to; double delay, duration; easing_curve curve; std::vector<frame> frames; }
        cases[] = {{"delayed", 0, 1, 1, 1, curve_linear, {{0.5, -7, 1}, {0.75, 0.25f, 1}, {0.75, 1, 0}}},
                   {"overshoot", 0, 100, 0, 1, curve_overshoot, {{0.45, 120, 1}, {0.55, 100, 0}}},
                   {"equal ends", 3, 3, 0, 1, curve_overshoot, {{0.5, 3, 1}, {0.5, 3, 0}}},
                   {"zero duration", 1, 2, 0.5, 0, curve_linear, {{0.25, -7, 1}, {0.25, 1, 1}, {0.01, 2, 0}}},
                   {"negative duration", 1, 2, 0, -1, curve_linear, {{0.1, 2, 0}}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        value = -7.0f;
        holder.animate(c.from, c.to, c.delay, c.duration, c.curve);
        expect_frames(c.frames);
    }
}

// The newest animator past its delay decides the field; when it ends, the older one goes on. Erasing a
// finished animator must not skip the next one, and the rest keep their order. Two are still running at the
// end: under the sanitizer build the holder's destructor must free them.
TEST_F(animators, last_added_animator_past_its_delay_decides_the_field)
{
    holder.animate(0.0f, 10.0f, 0.0, 2.0, curve_linear);
    holder.animate(50.0f, 60.0f, 0.0, 1.0, curve_linear);
    holder.animate(20.0f, 30.0f, 0.0, 1.0, curve_linear);
    holder.animate(-1.0f, -2.0f, 1.5, 1.0, curve_linear);
    const std::vector<animator_class<float>*> kept = {holder.animators[0], holder.animators[3]};
    expect_frames({{0.5, 25, 4}, {0.5, 30, 2}});
    EXPECT_EQ(holder.animators, kept);
    expect_frames({{0.25, 6.25f, 2}, {0.5, -1.25f, 2}});
}

TEST_F(animators, to_and_by_start_from_the_value_at_the_call_set_is_overwritten_clear_keeps_the_value)
{
    holder.animate(0.0f, 10.0f, 0.0, 1.0, curve_linear);
    expect_frames({{0.5, 5, 1}});
    holder.animate_to(0.0f, 1.0, curve_linear);
    expect_frames({{0.5, 2.5f, 1}, {0.5, 0, 0}});
    value = 4.0f;
    holder.animate_by(-3.0f, 1.0, curve_linear);
    holder.set(9.0f);
    EXPECT_EQ(value, 9.0f);
    expect_frames({{0.5, 2.5f, 1}});
    holder.clear();
    expect_frames({{1.0, 2.5f, 0}});
}
