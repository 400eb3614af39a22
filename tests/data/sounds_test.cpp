// Measurements of the generated sounds: format, pitch and scale, clean ends, loudness balance after the
// instrument's gains, and headroom for a whole column sounding at once.
#include "data/data_files.h"
#include "data/wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double pentatonic_c4_to_e5[8] = {261.63, 293.66, 329.63, 392.00, 440.00, 523.25, 587.33, 659.26};

// How the instrument plays each set: gain, and the louder channel's factor of its pan (Allegro mixes a mono
// sample into left and right with sqrt((1 -/+ pan) / 2)). Total power over both channels is gain squared.
struct playback_class
{
    double gain;
    double pan;
    double loudest_channel() const { return gain * std::sqrt((1.0 + pan) / 2.0); }
};

const playback_class playback[4] = {{0.8, 0.0}, {0.7, 0.5}, {0.8, 0.0}, {0.8, 0.0}};

// Fundamental by normalised autocorrelation over a steady stretch of the note: the shortest lag that comes
// close to the best match, refined between samples.
double pitch(const wav_file_class& wav)
{
    const size_t from = static_cast<size_t>(0.15 * wav.rate), span = static_cast<size_t>(0.2 * wav.rate);
    const int min_lag = wav.rate / 1200, max_lag = wav.rate / 120;
    std::vector<double> r(max_lag + 2, 0.0);
    for (int lag = min_lag; lag <= max_lag + 1; ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = from; i < from + span; ++i) {
            xy += wav.samples[i] * wav.samples[i + lag];
            xx += wav.samples[i] * wav.samples[i];
            yy += wav.samples[i + lag] * wav.samples[i + lag];
        }
        r[lag] = xy / std::sqrt(xx * yy);
    }
    const double best = *std::max_element(r.begin() + min_lag, r.end());
    for (int lag = min_lag + 1; lag <= max_lag; ++lag)
        if (r[lag] >= 0.95 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double bend = r[lag - 1] - 2 * r[lag] + r[lag + 1];
            const double shift = bend != 0 ? 0.5 * (r[lag - 1] - r[lag + 1]) / bend : 0.0;
            return wav.rate / (lag + shift);
        }
    return 0.0;
}

// RMS of the first half second: the part of a note that a 0.17 s step lets the ear weigh.
double loudness(const wav_file_class& wav)
{
    const size_t n = std::min(wav.samples.size(), static_cast<size_t>(0.5 * wav.rate));
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += wav.samples[i] * wav.samples[i];
    return std::sqrt(sum / n);
}

double decibels(double ratio)
{
    return 20.0 * std::log10(ratio);
}

class note_sets : public ::testing::Test
{
protected:
    std::vector<std::vector<wav_file_class>> sets;

    void SetUp() override
    {
        for (const std::string& prefix : note_set_prefixes()) {
            sets.emplace_back();
            for (int n = 0; n < 8; ++n) {
                sets.back().push_back(read_wav(note_file(prefix, n)));
                ASSERT_TRUE(sets.back().back().read) << note_file(prefix, n);
            }
        }
    }
};

} // namespace

TEST(sound_files, are_short_mono_16_bit_pcm_at_44100_hz_with_silent_ends)
{
    for (const std::string& file : sound_files()) {
        const wav_file_class wav = read_wav(file);
        ASSERT_TRUE(wav.read) << file;
        EXPECT_EQ(wav.channels, 1) << file;
        EXPECT_EQ(wav.rate, 44100) << file;
        EXPECT_GT(wav.seconds(), 0.1) << file;
        EXPECT_LE(wav.seconds(), 1.5) << file;
        // Starting and stopping at zero is what keeps a note from clicking.
        EXPECT_LT(std::fabs(wav.samples.front()), 0.01f) << file;
        EXPECT_LT(std::fabs(wav.samples.back()), 0.01f) << file;
        float peak = 0;
        for (float s : wav.samples)
            peak = std::max(peak, std::fabs(s));
        EXPECT_LT(peak, 0.99f) << file;
        EXPECT_GT(peak, 0.05f) << file;
    }
}

TEST(sound_files, select_chime_is_soft)
{
    const wav_file_class chime = read_wav("data/sounds/select.wav");
    ASSERT_TRUE(chime.read);
    EXPECT_LE(chime.seconds(), 1.0);
    // Played at gain 1.0 it stays below the notes' level.
    EXPECT_LT(loudness(chime), 0.8 * loudness(read_wav(note_file("earth", 4))));
}

TEST_F(note_sets, every_set_plays_the_same_pentatonic_scale_from_the_bottom_row_up)
{
    for (size_t set = 0; set < sets.size(); ++set)
        for (int n = 0; n < 8; ++n) {
            const double f = pitch(sets[set][n]);
            EXPECT_NEAR(f, pentatonic_c4_to_e5[n], pentatonic_c4_to_e5[n] * 0.01)
                << note_set_prefixes()[set] << " note " << n;
        }
}

TEST_F(note_sets, sets_sound_equally_loud_after_their_gains)
{
    std::vector<double> played;
    for (size_t set = 0; set < sets.size(); ++set) {
        double power = 0;
        for (const wav_file_class& note : sets[set])
            power += std::pow(loudness(note) * playback[set].gain, 2) / 8;
        played.push_back(std::sqrt(power));
    }
    const auto [quietest, loudest] = std::minmax_element(played.begin(), played.end());
    EXPECT_LT(decibels(*loudest / *quietest), 2.0);
}

TEST_F(note_sets, notes_within_a_set_are_even)
{
    for (size_t set = 0; set < sets.size(); ++set) {
        std::vector<double> levels;
        for (const wav_file_class& note : sets[set])
            levels.push_back(loudness(note));
        const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
        EXPECT_LT(decibels(*loudest / *quietest), 2.0) << note_set_prefixes()[set];
    }
}

TEST_F(note_sets, a_full_column_does_not_clip)
{
    for (size_t set = 0; set < sets.size(); ++set) {
        size_t length = 0;
        for (const wav_file_class& note : sets[set])
            length = std::max(length, note.samples.size());
        double peak = 0;
        for (size_t i = 0; i < length; ++i) {
            double sum = 0;
            for (const wav_file_class& note : sets[set])
                sum += i < note.samples.size() ? note.samples[i] : 0.0f;
            peak = std::max(peak, std::fabs(sum));
        }
        EXPECT_LT(peak * playback[set].loudest_channel(), 1.0) << note_set_prefixes()[set];
    }
}
