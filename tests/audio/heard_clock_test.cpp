#include "audio/audio_output.h"
#include "audio/heard_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double rate = 44100;

// A device that plays from t = 10 s and, 4096 frames ahead of what it plays, takes 1024 frames each time a
// buffer's room frees up, up to 3 ms late at random. The frame loop's heard frame stays within a tick of the
// truth, never going backwards nor past what the device was given; the rendering side's heard times stay
// within the lateness of the truth: the best anchor of the last few steps about, while the smoothed ones (which
// steer the line to a Link session) glide.
TEST(heard_clock, tells_the_frame_heard_within_a_tick_never_past_what_was_given_and_smoothed_times_that_glide)
{
    heard_clock_class plain(rate), smoothed(rate, 1.0);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> late(0, 0.003);
    plain.restart(4096);
    smoothed.restart(4096);
    double heard = 0, step[2] = {0, 0}, last[2] = {0, 0}, reading = -1, worst = 0;
    EXPECT_FALSE(plain.heard_time(0, heard)) << "no pull yet";
    std::uint64_t handed = 0;
    for (double t = 10; t < 25; t += 1.0 / 60) {
        while (handed < (t - 10) * rate + 4096) {
            handed += 1024;
            const double due = 10 + (handed - 4096.0) / rate;
            int i = 0;
            for (heard_clock_class* clock : {&plain, &smoothed}) {
                clock->record_pull(handed, due + late(random));
                ASSERT_TRUE(clock->heard_time(handed, heard));
                EXPECT_NEAR(heard, 10 + handed / rate, 0.003);
                if (handed > 200 * 1024)
                    step[i] = std::max(step[i], std::fabs(heard - last[i] - 1024 / rate));
                last[i++] = heard;
            }
        }
        EXPECT_GE(plain.frame_at(t), reading);
        reading = plain.frame_at(t);
        worst = std::max(worst, std::fabs(reading - (t - 10) * rate));
    }
    EXPECT_LT(worst, rate / 60) << "more than a tick off";
    EXPECT_GT(step[0], 0.0003) << "the best anchor steps";
    EXPECT_LT(step[1], 0.00005) << "the smoothed one glides";
    // Pulls on time but the last: the promptest of the last few tells the heard time exactly.
    for (int k = 0; k < 8; ++k) {
        handed += 1024;
        plain.record_pull(handed, 10 + (handed - 4096.0) / rate + (k == 7 ? 0.004 : 0));
    }
    ASSERT_TRUE(plain.heard_time(handed, heard));
    EXPECT_NEAR(heard, 10 + handed / rate, 1e-9);
    // The device stalls: the heard frame stops at what it was given.
    EXPECT_EQ(plain.frame_at(40), static_cast<double>(handed));
    EXPECT_EQ(plain.frame_at(41), static_cast<double>(handed));
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
