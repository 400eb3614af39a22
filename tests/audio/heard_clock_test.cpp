#include "audio/audio_output.h"
#include "audio/heard_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double rate = 44100;

// A device that plays from t = 10 s and, lead frames ahead of what it plays, takes 1024 frames each time a
// buffer's room frees up, sometimes a few milliseconds late.
TEST(heard_clock, tells_the_frame_heard_within_a_tick_never_backwards_never_past_what_the_device_was_given)
{
    heard_clock_class clock(rate);
    const double lead = 4096, start = 10.0;
    clock.restart(static_cast<std::uint64_t>(lead));
    double heard = 0;
    EXPECT_FALSE(clock.heard_time(0, heard)) << "no pull yet";
    double last = -1, worst = 0;
    std::uint64_t handed = 0;
    for (double t = start; t < start + 30; t += 1.0 / 60) {
        while (handed < (t - start) * rate + lead) {
            handed += 1024;
            const double due = start + (handed - lead) / rate;
            clock.record_pull(handed, due + (handed % 5120 == 0 ? 0.004 : 0.0));
        }
        const double frame = clock.frame_at(t);
        EXPECT_GE(frame, last);
        last = frame;
        worst = std::max(worst, std::fabs(frame - (t - start) * rate));
    }
    EXPECT_LT(worst, rate / 60) << "more than a tick off";
    // The rendering side's view: the next frame to render is heard its lead after the prompt pulls.
    ASSERT_TRUE(clock.heard_time(handed, heard));
    EXPECT_NEAR(heard, start + handed / rate, 1e-9);

    // The device stalls: the heard frame stops at what it was given.
    const double stalled = clock.frame_at(start + 40);
    EXPECT_EQ(stalled, static_cast<double>(handed));
    EXPECT_EQ(clock.frame_at(start + 41), stalled);
}

// Pulls up to 3 ms late, at random: the best anchor of the last few steps about, the smoothed heard times
// (which steer the line to a Link session) glide, and both stay within the lateness of the truth.
TEST(heard_clock, smoothed_heard_times_glide_over_uneven_pulls)
{
    heard_clock_class plain(rate), smoothed(rate, 1.0);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> late(0, 0.003);
    double step[2] = {0, 0}, last[2] = {0, 0};
    plain.restart(4096);
    smoothed.restart(4096);
    for (std::uint64_t handed = 1024; handed < 600 * 1024; handed += 1024) {
        const double due = 10.0 + (handed - 4096.0) / rate;
        int i = 0;
        for (heard_clock_class* clock : {&plain, &smoothed}) {
            clock->record_pull(handed, due + late(random));
            double heard = 0;
            ASSERT_TRUE(clock->heard_time(handed, heard));
            EXPECT_NEAR(heard, 10.0 + handed / rate, 0.003);
            if (handed > 200 * 1024)
                step[i] = std::max(step[i], std::fabs(heard - last[i] - 1024 / rate));
            last[i++] = heard;
        }
    }
    EXPECT_GT(step[0], 0.0003) << "the best anchor steps";
    EXPECT_LT(step[1], 0.00005) << "the smoothed one glides";
}

TEST(audio_output, a_device_that_takes_nothing_for_half_a_second_or_races_ahead_is_given_up)
{
    // now, started, last pull, window seconds, frames pulled in the window
    EXPECT_EQ(judge_device(10.0, 0.0, 9.9, 0.5, rate / 2), device_health::playing);
    EXPECT_EQ(judge_device(10.0, 0.0, 9.4, 0.5, 0), device_health::stalled);
    EXPECT_EQ(judge_device(2.0, 0.0, 0.1, 0.5, 0), device_health::playing) << "still starting";
    EXPECT_EQ(judge_device(2.0, 0.0, 1.99, 0.5, 50 * rate / 2), device_health::racing);
    EXPECT_EQ(judge_device(2.0, 0.0, 1.99, 0.1, 50 * rate / 10), device_health::playing) << "too short to judge";
}

} // namespace
