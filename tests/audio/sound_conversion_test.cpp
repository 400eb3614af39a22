#include "audio/sound_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

// A second of a 1 kHz tone at 44.1 kHz becomes a second of the same tone at each studio rate, kept once.
TEST(sound_conversion, a_sound_is_resampled_once_to_the_rate_and_keeps_its_pitch_and_level)
{
    std::vector<std::int16_t> tone(44100);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::int16_t>(std::lround(16000 * std::sin(2 * M_PI * 1000 * i / 44100.0)));
    const sound_class original{tone.data(), ALLEGRO_AUDIO_DEPTH_INT16, 1, 44100, 44100};
    for (unsigned rate : {44100u, 48000u, 96000u}) {
        SCOPED_TRACE(rate);
        sound_conversion_class conversion(rate);
        const sound_class converted = conversion.at_rate(original);
        EXPECT_EQ(conversion.at_rate(original).frames, converted.frames) << "converted once";
        ASSERT_NEAR(converted.length, rate, 2);
        EXPECT_EQ(converted.rate, rate);
        if (rate == 44100) {
            EXPECT_EQ(converted.frames, original.frames) << "at its own rate a sound is used as it is";
            continue;
        }
        const float* frames = static_cast<const float*>(converted.frames);
        double worst = 0;
        for (unsigned i = rate / 10; i < rate * 9 / 10; ++i)
            worst = std::max(worst, std::fabs(frames[i] - 16000 / 32767.5 * std::sin(2 * M_PI * 1000 * i / rate)));
        EXPECT_LT(worst, 1e-3);
    }
}
