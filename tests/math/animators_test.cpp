#include "math/animators.h"

#include "math/colors.h"

#include "support/fake_clock.h"
#include "support/printers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class animators : public ::testing::Test
{
protected:
    fake_clock_class clock;
    float value = 0.0f;
    animated_value_class<float> holder;

    void SetUp() override { holder.bind(&value); }

    // Moves the clock and updates the holder once, like one frame.
    void frame_after(double seconds)
    {
        clock.advance(seconds);
        holder.update();
    }
};

TEST(curves, every_curve_starts_at_zero_and_ends_at_one)
{
    for (int curve = curve_linear; curve <= curve_overshoot; ++curve) {
        EXPECT_EQ(apply_curve(0.0f, curve), 0.0f) << "curve " << curve;
        EXPECT_EQ(apply_curve(1.0f, curve), 1.0f) << "curve " << curve;
    }
}

TEST(curves, only_the_overshoot_leaves_the_unit_range)
{
    for (int curve = curve_linear; curve < curve_overshoot; ++curve)
        for (int i = 0; i <= 100; ++i) {
            const float e = apply_curve(i / 100.0f, curve);
            ASSERT_GE(e, 0.0f) << "curve " << curve;
            ASSERT_LE(e, 1.0f) << "curve " << curve;
        }
    EXPECT_FLOAT_EQ(apply_curve(0.45f, curve_overshoot), 1.2f);
}

TEST(curves, worked_midpoints)
{
    EXPECT_EQ(apply_curve(0.5f, curve_ease_out), 0.75f);
    EXPECT_EQ(apply_curve(0.5f, curve_ease_in), 0.25f);
    EXPECT_EQ(apply_curve(0.25f, curve_ease_out_in), 0.375f);
    EXPECT_EQ(apply_curve(0.25f, curve_ease_in_out), 0.125f);
    EXPECT_EQ(apply_curve(0.75f, curve_ease_in_out), 0.875f);
    EXPECT_EQ(apply_curve(0.5f, curve_ease_out_twice), 0.9375f);
    EXPECT_EQ(apply_curve(0.5f, curve_ease_in_cubic), 0.125f);
    EXPECT_EQ(apply_curve(0.25f, curve_ease_out_in_twice), apply_curve(0.375f, curve_ease_out_in));
    EXPECT_EQ(apply_curve(0.25f, curve_ease_in_out_twice), apply_curve(0.125f, curve_ease_in_out));
}

TEST(curves, unknown_ids_are_linear)
{
    EXPECT_EQ(apply_curve(0.3f, 42), 0.3f);
    EXPECT_EQ(apply_curve(0.3f, -1), 0.3f);
}

TEST(tween_interpolation, numbers_and_colours_blend_switches_wait_for_the_end)
{
    EXPECT_FLOAT_EQ(interpolate(0.0f, 100.0f, 1.2f), 120.0f);
    EXPECT_TRUE(interpolate(true, false, 0.999f));
    EXPECT_FALSE(interpolate(true, false, 1.0f));
    ALLEGRO_BITMAP* a = reinterpret_cast<ALLEGRO_BITMAP*>(0x10);
    ALLEGRO_BITMAP* b = reinterpret_cast<ALLEGRO_BITMAP*>(0x20);
    EXPECT_EQ(interpolate(a, b, 0.5f), a);
    EXPECT_EQ(interpolate(a, b, 1.0f), b);
    const ALLEGRO_COLOR c = interpolate(ALLEGRO_COLOR{0, 0, 0, 1}, ALLEGRO_COLOR{1, 0.5f, 0, 1}, 0.5f);
    EXPECT_TRUE(colors_equal(c, ALLEGRO_COLOR{0.5f, 0.25f, 0, 1}));
}

TEST_F(animators, linear_tween_is_halfway_after_half_its_duration_and_exact_at_the_end)
{
    holder.animate(0.0f, 10.0f, 0.0, 2.0, curve_linear);
    frame_after(1.0);
    EXPECT_EQ(value, 5.0f);
    EXPECT_EQ(holder.count(), 1);
    frame_after(1.0);
    EXPECT_EQ(value, 10.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, delay_leaves_the_field_alone_until_it_has_passed)
{
    value = -7.0f;
    holder.animate(0.0f, 1.0f, 1.0, 1.0, curve_linear);
    frame_after(0.5);
    EXPECT_EQ(value, -7.0f);
    frame_after(0.75);
    EXPECT_EQ(value, 0.25f);
    frame_after(0.75);
    EXPECT_EQ(value, 1.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, equal_ends_hold_the_field_until_the_duration_has_passed)
{
    holder.animate(3.0f, 3.0f, 0.0, 1.0, curve_overshoot);
    frame_after(0.5);
    EXPECT_EQ(value, 3.0f);
    value = 9.0f;
    frame_after(0.25);
    EXPECT_EQ(value, 3.0f);
    EXPECT_EQ(holder.count(), 1);
    frame_after(0.25);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, overshoot_peaks_and_ends_exactly)
{
    holder.animate(0.0f, 100.0f, 0.0, 1.0, curve_overshoot);
    frame_after(0.45);
    EXPECT_NEAR(value, 120.0f, 0.01f);
    frame_after(0.55);
    EXPECT_EQ(value, 100.0f);
}

TEST_F(animators, unknown_curve_id_moves_linearly)
{
    holder.animate(0.0f, 8.0f, 0.0, 1.0, 42);
    frame_after(0.25);
    EXPECT_EQ(value, 2.0f);
}

TEST_F(animators, zero_duration_finishes_at_the_first_update_after_the_delay)
{
    value = 5.0f;
    holder.animate(1.0f, 2.0f, 0.5, 0.0, curve_linear);
    frame_after(0.25);
    EXPECT_EQ(value, 5.0f);
    frame_after(0.25);
    EXPECT_EQ(value, 1.0f) << "no time has passed since the delay ended";
    EXPECT_EQ(holder.count(), 1);
    frame_after(0.01);
    EXPECT_EQ(value, 2.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, negative_duration_ends_like_a_zero_one)
{
    holder.animate(1.0f, 2.0f, 0.0, -1.0, curve_linear);
    frame_after(0.1);
    EXPECT_EQ(value, 2.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, pausing_for_three_seconds_halfway_stretches_the_tween)
{
    holder.animate(0.0f, 10.0f, 0.0, 2.0, curve_linear);
    frame_after(1.0);
    holder.pause();
    frame_after(3.0);
    EXPECT_EQ(value, 5.0f);
    holder.resume();
    frame_after(0.5);
    EXPECT_EQ(value, 7.5f);
    frame_after(0.49);
    EXPECT_EQ(holder.count(), 1);
    frame_after(0.01);
    EXPECT_EQ(value, 10.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, pausing_during_the_delay_lengthens_it)
{
    holder.animate(0.0f, 1.0f, 1.0, 1.0, curve_linear);
    frame_after(0.5);
    holder.pause();
    frame_after(2.0);
    holder.resume();
    frame_after(0.4);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(holder.animators[0]->progress, 0.0f);
    frame_after(0.6);
    EXPECT_FLOAT_EQ(value, 0.5f);
}

TEST(animator_pause, second_pause_keeps_the_first_start_and_lone_resume_changes_nothing)
{
    animator_class<float> animator;
    animator.resume(5.0);
    EXPECT_EQ(animator.paused_total, 0.0);
    EXPECT_FALSE(animator.paused);
    animator.pause(10.0);
    animator.pause(12.0);
    EXPECT_EQ(animator.pause_start, 10.0);
    animator.resume(13.0);
    EXPECT_EQ(animator.paused_total, 3.0);
    animator.resume(20.0);
    EXPECT_EQ(animator.paused_total, 3.0);
}

TEST(animator_pause, start_while_paused_does_nothing)
{
    fake_clock_class clock;
    animator_class<float> animator;
    animator.pause(1.0);
    animator.start(1.0f, 2.0f, 3.0, 4.0, curve_ease_in);
    EXPECT_EQ(animator.state, animator_idle);
    EXPECT_EQ(animator.duration, 1.0);
}

TEST_F(animators, last_added_animator_past_its_delay_decides_the_field)
{
    holder.animate(0.0f, 10.0f, 0.0, 1.0, curve_linear);
    holder.animate(100.0f, 200.0f, 0.0, 2.0, curve_linear);
    frame_after(0.5);
    EXPECT_EQ(value, 125.0f);
    holder.animate(-1.0f, -2.0f, 1.0, 1.0, curve_linear);
    frame_after(0.25);
    EXPECT_EQ(value, 137.5f) << "the newest one is still waiting";
}

TEST_F(animators, sequence_hands_over_on_the_frame_the_first_finishes)
{
    holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    holder.animate(1.0f, 0.0f, 1.0, 1.0, curve_linear);
    frame_after(0.5);
    EXPECT_EQ(value, 0.5f);
    frame_after(0.75);
    EXPECT_EQ(value, 0.75f);
    EXPECT_EQ(holder.count(), 1);
    frame_after(0.75);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(holder.count(), 0);
}

TEST_F(animators, when_the_newer_one_ends_first_the_older_one_goes_on)
{
    holder.animate(0.0f, 10.0f, 0.0, 2.0, curve_linear);
    holder.animate(50.0f, 60.0f, 0.0, 1.0, curve_linear);
    frame_after(0.5);
    EXPECT_EQ(value, 55.0f);
    frame_after(0.5);
    EXPECT_EQ(value, 60.0f);
    frame_after(0.5);
    EXPECT_EQ(value, 7.5f);
}

TEST_F(animators, removal_keeps_the_order_of_the_rest)
{
    holder.animate(0.0f, 1.0f, 0.0, 3.0, curve_linear);
    holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    holder.animate(0.0f, 1.0f, 0.0, 2.0, curve_linear);
    animator_class<float>* first = holder.animators[0];
    animator_class<float>* last = holder.animators[3];
    frame_after(1.0);
    ASSERT_EQ(holder.count(), 2) << "two adjacent finished animators are both removed";
    EXPECT_EQ(holder.animators[0], first);
    EXPECT_EQ(holder.animators[1], last);
}

TEST_F(animators, animate_to_starts_from_the_current_value_even_with_a_moving_field)
{
    holder.animate(0.0f, 10.0f, 0.0, 1.0, curve_linear);
    frame_after(0.5);
    holder.animate_to(0.0f, 1.0, curve_linear);
    EXPECT_EQ(holder.animators[1]->from, 5.0f);
    frame_after(0.5);
    EXPECT_EQ(value, 2.5f);
}

TEST_F(animators, animate_by_moves_relative_to_the_value_at_the_call)
{
    value = 4.0f;
    holder.animate_by(-3.0f, 1.0, curve_linear);
    value = 100.0f;
    frame_after(1.0);
    EXPECT_EQ(value, 1.0f);
}

TEST_F(animators, set_writes_at_once_and_running_tweens_overwrite_it)
{
    holder.set(3.0f);
    EXPECT_EQ(value, 3.0f);
    holder.animate(0.0f, 4.0f, 0.0, 1.0, curve_linear);
    holder.set(9.0f);
    EXPECT_EQ(value, 9.0f);
    frame_after(0.5);
    EXPECT_EQ(value, 2.0f);
}

TEST_F(animators, clear_keeps_the_last_written_value)
{
    holder.animate(0.0f, 10.0f, 0.0, 1.0, curve_linear);
    frame_after(0.3);
    const float written = value;
    holder.clear();
    EXPECT_EQ(holder.count(), 0);
    frame_after(1.0);
    EXPECT_EQ(value, written);
}

TEST_F(animators, later_bind_does_not_retarget_running_animators)
{
    float other = 0.0f;
    holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    holder.bind(&other);
    holder.animate(0.0f, 2.0f, 0.0, 1.0, curve_linear);
    frame_after(0.5);
    EXPECT_EQ(value, 0.5f);
    EXPECT_EQ(other, 1.0f);
}

TEST(unbound_holder, animations_vanish_and_relative_ones_are_ignored)
{
    fake_clock_class clock;
    animated_value_class<float> holder;
    holder.set(1.0f);
    holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    EXPECT_EQ(holder.count(), 1);
    holder.update();
    EXPECT_EQ(holder.count(), 0);
    holder.animate_to(1.0f, 1.0, curve_linear);
    holder.animate_by(1.0f, 1.0, curve_linear);
    EXPECT_EQ(holder.count(), 0);
}

TEST(switches, bool_keeps_its_start_value_until_the_full_duration)
{
    fake_clock_class clock;
    bool flag = false;
    animated_value_class<bool> holder;
    holder.bind(&flag);
    holder.animate(true, false, 0.0, 1.0, curve_linear);
    clock.advance(0.1);
    holder.update();
    EXPECT_TRUE(flag);
    clock.advance(0.89);
    holder.update();
    EXPECT_TRUE(flag);
    clock.advance(0.01);
    holder.update();
    EXPECT_FALSE(flag);
    EXPECT_EQ(holder.count(), 0);
}

TEST(switches, zero_duration_bitmap_tween_is_a_timed_switch)
{
    fake_clock_class clock;
    ALLEGRO_BITMAP* first = reinterpret_cast<ALLEGRO_BITMAP*>(0x10);
    ALLEGRO_BITMAP* second = reinterpret_cast<ALLEGRO_BITMAP*>(0x20);
    ALLEGRO_BITMAP* image = nullptr;
    animated_value_class<ALLEGRO_BITMAP*> holder;
    holder.bind(&image);
    holder.animate(first, second, 2.0, 0.0, curve_linear);
    clock.advance(1.9);
    holder.update();
    EXPECT_EQ(image, nullptr);
    clock.advance(0.2);
    holder.update();
    EXPECT_EQ(image, second);
    EXPECT_EQ(holder.count(), 0);
}

TEST(colour_tweens, blend_every_channel_and_end_exactly)
{
    fake_clock_class clock;
    ALLEGRO_COLOR tint{1, 1, 1, 1};
    animated_value_class<ALLEGRO_COLOR> holder;
    holder.bind(&tint);
    holder.animate_to(ALLEGRO_COLOR{0, 0.5f, 1, 0}, 1.0, curve_linear);
    clock.advance(0.5);
    holder.update();
    EXPECT_TRUE(colors_equal(tint, ALLEGRO_COLOR{0.5f, 0.75f, 1, 0.5f})) << ::testing::PrintToString(tint);
    clock.advance(0.5);
    holder.update();
    EXPECT_TRUE(colors_equal(tint, ALLEGRO_COLOR{0, 0.5f, 1, 0})) << ::testing::PrintToString(tint);
}

TEST(holder_lifetime, destruction_frees_running_animators_and_leaves_the_field)
{
    fake_clock_class clock;
    float value = 0.0f;
    {
        animated_value_class<float> holder;
        holder.bind(&value);
        holder.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
        clock.advance(0.25);
        holder.update();
    }
    EXPECT_EQ(value, 0.25f);
}

} // namespace
