// Exports read back: the WAV file Allegro wrote and the MIDI file's bytes, parsed as another program would,
// both on the beat grid at the pattern's tempo and swing.
#include "instrument/export.h"
#include "instrument/midi_file.h"

#include "instrument/note_sounds.h"
#include "resources/bins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <tuple>
#include <vector>

namespace {

// A lone full-scale click at the start of these frames, so each note's first frame shows in the file.
ALLEGRO_SAMPLE* click_sample(std::vector<std::int16_t>& frames)
{
    frames[0] = 32767;
    return al_create_sample(frames.data(), static_cast<unsigned>(frames.size()), 44100, ALLEGRO_AUDIO_DEPTH_INT16,
                            ALLEGRO_CHANNEL_CONF_1, false);
}

// At 120 BPM a column is 5512.5 frames and 120 ticks; at a swing of 60 % odd columns come a fifth late.
class export_test : public ::testing::Test
{
public:
    pattern_class pattern;
    note_sounds_class sounds;
    std::vector<std::int16_t> click = std::vector<std::int16_t>(100, 0);
    // WIND rings on: its last note outlasts the last bar.
    std::vector<std::int16_t> wind_click = std::vector<std::int16_t>(40000, 0);

    void SetUp() override
    {
        release_resources();
        for (int element : {1, 3, 4})
            for (int note = 0; note < notes_per_set; ++note)
                samples_bin.loaded[note_sample_file(element, note)] = click_sample(click);
        for (ALLEGRO_SAMPLE*& sample : sounds.wind_samples)
            sample = click_sample(wind_click);
        pattern.cells[cell_index(0, 0)] = 4; // FIRE, note 7, E5
        pattern.cells[cell_index(1, 7)] = 2; // WIND, note 0, C4
        pattern.cells[cell_index(9, 7)] = 2;
        pattern.tempo = tempo_in_tenths(1200);
        pattern.swing = 60;
    }
    void TearDown() override { release_resources(); }
};

TEST_F(export_test, the_wav_file_opens_on_column_0s_notes_and_holds_every_note_at_its_exact_frame)
{
    const std::string path = (std::filesystem::temp_directory_path() / "tolme_export_test.wav").string();
    ASSERT_EQ(export_wav(sounds, pattern, 2, path, std::atomic<bool>{false}), "");
    ALLEGRO_SAMPLE* sample = al_load_sample(path.c_str());
    ASSERT_NE(sample, nullptr);
    EXPECT_GE(al_get_sample_length(sample), 138915u + 40000) << "the last tail was cut";
    const auto* frames = static_cast<const std::int16_t*>(al_get_sample_data(sample));
    std::vector<std::uint64_t> clicks;
    for (std::uint64_t frame = 0; frame < al_get_sample_length(sample); ++frame)
        if (frames[2 * frame] > 8000 || frames[2 * frame + 1] > 8000)
            clicks.push_back(frame);
    // Column 1 at 5512.5 + 1102.5 frames, column 9 at 9 x 5512.5 + 1102.5, halves rounded up.
    EXPECT_EQ(clicks, (std::vector<std::uint64_t>{0, 6615, 50715, 88200, 94815, 138915}));
    al_destroy_sample(sample);
    std::filesystem::remove(path);
}

// Tick, channel, pitch and whether the note starts: sorted, two lists compare and print whole.
using midi_note = std::tuple<long, int, int, bool>;

TEST_F(export_test, the_midi_file_has_the_tempo_and_a_named_track_per_element_with_each_note_on_its_tick)
{
    pattern.cells[cell_index(2, 7)] = 2; // the swung WIND note of column 1 ends as this one starts
    const std::string bytes = midi_file_bytes(pattern, 2);
    // A variable-length quantity, read on past its end, and a big-endian number of `size` bytes.
    const auto read_length = [&](std::size_t& at) {
        unsigned long value = 0;
        for (unsigned char c = 0x80; c & 0x80; value = (value << 7) | (c & 0x7f))
            c = static_cast<unsigned char>(bytes[at++]);
        return value;
    };
    const auto big = [&](std::size_t at, int size) {
        unsigned long value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    // Type 1 with three tracks (tempo, WIND and FIRE) at 480 ticks a quarter.
    ASSERT_EQ(bytes.substr(0, 14), std::string("MThd\0\0\0\6\0\1\0\3\x01\xe0", 14));
    std::vector<std::string> names;
    std::vector<midi_note> notes;
    unsigned long tempo = 0;
    for (std::size_t at = 14; at < bytes.size();) {
        ASSERT_EQ(bytes.substr(at, 4), "MTrk");
        const std::size_t end = at + 8 + big(at + 4, 4);
        long tick = 0;
        for (at += 8; at < end;) {
            tick += static_cast<long>(read_length(at));
            const unsigned char status = static_cast<unsigned char>(bytes[at++]);
            if (status == 0xff) {
                const int type = bytes[at++];
                const unsigned long size = read_length(at);
                if (type == 0x03)
                    names.push_back(bytes.substr(at, size));
                if (type == 0x51)
                    tempo = big(at, 3);
                at += size;
            } else { // a channel message: a note on or off, or another with one or two data bytes
                if ((status & 0xe0) == 0x80)
                    notes.emplace_back(tick, status & 0x0f, bytes[at], (status & 0xf0) == 0x90);
                at += (status & 0xf0) == 0xc0 ? 1 : 2;
            }
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Tolme", "WIND", "FIRE"}));
    EXPECT_EQ(tempo, 500000u) << "microseconds a quarter at 120 BPM";
    // 120 ticks a column, odd columns 24 late; each note a column long unless its key sounds again sooner.
    std::vector<midi_note> expected;
    for (long bar : {0L, 1920L})
        for (const auto& [on, off, channel, pitch] : {std::tuple{0L, 120L, 3, 76}, std::tuple{144L, 240L, 1, 60},
                                                      std::tuple{240L, 360L, 1, 60}, std::tuple{1104L, 1224L, 1, 60}}) {
            expected.emplace_back(bar + on, channel, pitch, true);
            expected.emplace_back(bar + off, channel, pitch, false);
        }
    // In time, and at the same tick the note that ends before the one that starts, as the file has them.
    std::stable_sort(notes.begin(), notes.end(),
                     [](const midi_note& a, const midi_note& b) { return std::get<0>(a) < std::get<0>(b); });
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(notes, expected);
    pattern.tempo = default_tempo;
    EXPECT_NE(midi_file_bytes(pattern, 1).find(std::string("\xff\x51\x03\x0a\x6a\xab", 6)), std::string::npos)
        << "682,667 us a quarter at the default tempo";
}

} // namespace
