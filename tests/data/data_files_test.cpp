// Every data file the instrument names is generated the same on every run and loads through Allegro the way
// the program loads it; the art has the sizes and layout the scene relies on, and the sounds their pitch and
// balance.
#include "resources/wav_check.h"
#include "support/data_files.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <set>

namespace {

// The build wrote data/; a second run into an empty folder must write exactly the same files, byte for byte.
TEST(data_files, generator_writes_every_file_and_the_same_bytes_on_every_run)
{
    // The generator is built beside the test program: <build>/tools next to <build>/tests.
    const std::string build = std::filesystem::canonical("/proc/self/exe").parent_path().parent_path().string();
    const std::string generator = "'" + build + "/tools/tolme_datagen'";
    EXPECT_NE(std::system((generator + " 2>/dev/null").c_str()), 0) << "ran without a folder";
    char root[] = "/tmp/tolme_datagen_XXXXXX";
    ASSERT_NE(mkdtemp(root), nullptr);
    ASSERT_EQ(std::system((generator + " " + root).c_str()), 0);
    for (const std::string& file : data_files())
        EXPECT_EQ(std::system(("cmp -s " + file + " " + root + file.substr(4)).c_str()), 0) << file << " differs";
    // Besides those files, only the images, sounds and fonts folders.
    const size_t entries = std::distance(std::filesystem::recursive_directory_iterator(root), {});
    EXPECT_EQ(entries, data_files().size() + 3) << "files left over";
    std::filesystem::remove_all(root);
}

// Every image loads at the size the manifest gives. The cursors are drawn with their top-left corner at the
// mouse position, so their tips must be right there. Additive art adds its color to the stage: anything but
// black at an edge shows as a seam (the glow stands on its bottom edge).
TEST(data_files, images_have_their_sizes_cursor_tips_and_black_borders)
{
    const std::set<const data_image*> cursors = {&arrow_cursor_image, &pointer_cursor_image};
    std::set<const data_image*> additive = {&air_puff_image, &flame_tongue_image, &flame_core_image, &bead_image, &glow_image};
    for (const data_image& stroke : title_stroke_images)
        additive.insert(&stroke);
    for (const data_image* image : all_images) {
        const bitmap_ptr b(al_load_bitmap(image->path));
        const int w = image->width, h = image->height;
        ASSERT_TRUE(b && al_get_bitmap_width(b.get()) == w && al_get_bitmap_height(b.get()) == h) << image->path;
        int left = w, top = h;
        float brightest = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const ALLEGRO_COLOR c = al_get_pixel(b.get(), x, y);
                if (c.a > 0.5f)
                    left = std::min(left, x), top = std::min(top, y);
                if (x == 0 || x == w - 1 || y == 0 || (y == h - 1 && image != &glow_image))
                    brightest = std::max({brightest, c.r, c.g, c.b});
            }
        EXPECT_TRUE(!cursors.count(image) || (std::abs(left - 2) <= 1 && std::abs(top - 2) <= 1))
            << image->path << " tip at " << left << ", " << top;
        EXPECT_TRUE(!additive.count(image) || brightest <= 2.0f / 255) << image->path;
    }
}

// The sounds are measured as Allegro loads them. A whole column sounding at once goes through the mixer's
// limiter.
constexpr int rate = 44100;
using sound = std::vector<float>;

// The samples in [-1, 1); empty unless the file loads as mono 16-bit at 44100 Hz.
sound load_sound(const std::string& file)
{
    ALLEGRO_SAMPLE* sample = load_checked_sample(file);
    sound samples;
    if (sample && al_get_sample_frequency(sample) == rate && al_get_sample_channels(sample) == ALLEGRO_CHANNEL_CONF_1 &&
        al_get_sample_depth(sample) == ALLEGRO_AUDIO_DEPTH_INT16) {
        const int16_t* data = static_cast<const int16_t*>(al_get_sample_data(sample));
        for (unsigned i = 0; i < al_get_sample_length(sample); ++i)
            samples.push_back(data[i] / 32768.0f);
    }
    al_destroy_sample(sample);
    return samples;
}

// Fundamental by normalised autocorrelation over a steady stretch of the note: the shortest lag that comes
// close to the best match, refined between samples.
double pitch(const sound& note)
{
    const size_t from = 0.15 * rate, span = 0.2 * rate;
    const int min_lag = rate / 1200, max_lag = rate / 120;
    std::vector<double> r(max_lag + 2, 0.0);
    for (int lag = min_lag; lag <= max_lag + 1; ++lag) {
        const auto x = note.begin() + from, y = x + lag;
        const double xx = std::inner_product(x, x + span, x, 0.0), yy = std::inner_product(y, y + span, y, 0.0);
        r[lag] = std::inner_product(x, x + span, y, 0.0) / std::sqrt(xx * yy);
    }
    const double best = *std::max_element(r.begin() + min_lag, r.end());
    for (int lag = min_lag + 1; lag <= max_lag; ++lag)
        if (r[lag] >= 0.95 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double bend = r[lag - 1] - 2 * r[lag] + r[lag + 1];
            return rate / (lag + (bend != 0 ? 0.5 * (r[lag - 1] - r[lag + 1]) / bend : 0.0));
        }
    return 0.0;
}

// RMS of the first half second: the part of a note that a 0.17 s step lets the ear weigh.
double loudness(const sound& samples)
{
    const size_t n = std::min<size_t>(samples.size(), rate / 2);
    return std::sqrt(std::inner_product(samples.begin(), samples.begin() + n, samples.begin(), 0.0) / n);
}

double spread_in_decibels(const std::vector<double>& levels)
{
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    return 20.0 * std::log10(*loudest / *quietest);
}

// The gain at which the instrument plays each set, by element: the power over both channels goes with its
// square, whatever the pan.
const double playback_gain[note_set_count] = {0.8, 0.7, 0.8, 0.8};

TEST(sound_files, load_as_short_mono_16_bit_at_44100_hz_with_silent_ends)
{
    for (const std::string& file : sound_files()) {
        const sound samples = load_sound(file);
        ASSERT_FALSE(samples.empty()) << file;
        EXPECT_TRUE(samples.size() > 0.1 * rate && samples.size() <= 1.5 * rate) << file << ": " << samples.size();
        // Starting and stopping at zero is what keeps a note from clicking.
        EXPECT_LT(std::max(std::fabs(samples.front()), std::fabs(samples.back())), 0.01f) << file;
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        const float peak = std::max(-*low, *high);
        EXPECT_TRUE(peak > 0.05f && peak < 0.99f) << file << " peaks at " << peak;
    }
}

// Each note sounds at the manifest's pitch, a MIDI note number (69 is A4 at 440 Hz). Loudness is balanced within
// 2 dB: the notes of each set, and the sets after their gains. The chime, played at gain 1, stays short and below
// the notes.
TEST(note_sets, every_set_plays_the_manifests_scale_at_balanced_loudness_and_the_chime_is_soft)
{
    std::vector<double> played;
    for (int set = 0; set < note_set_count; ++set) {
        std::vector<double> levels;
        for (int note = 0; note < notes_per_set; ++note) {
            const sound samples = load_sound(note_sound_file(set, note));
            ASSERT_GE(samples.size(), 0.4 * rate) << "too short to measure: " << note_sound_file(set, note);
            const double hertz = 440.0 * std::pow(2.0, (note_pitches[note] - 69) / 12.0);
            EXPECT_NEAR(pitch(samples), hertz, hertz * 0.01) << set << " note " << note;
            levels.push_back(loudness(samples));
        }
        EXPECT_LT(spread_in_decibels(levels), 2.0) << "notes of set " << set;
        const double power = std::inner_product(levels.begin(), levels.end(), levels.begin(), 0.0) / notes_per_set;
        played.push_back(playback_gain[set] * std::sqrt(power));
    }
    EXPECT_LT(spread_in_decibels(played), 2.0) << "between sets";
    const sound chime = load_sound("data/sounds/select.wav");
    EXPECT_LE(chime.size(), static_cast<size_t>(rate));
    EXPECT_LT(loudness(chime), 0.8 * loudness(load_sound(note_sound_file(0, 4))));
}

} // namespace
