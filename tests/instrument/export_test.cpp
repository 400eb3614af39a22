// Exports read back: the WAV file Allegro wrote, and the MIDI file's bytes parsed as another program would.
#include "instrument/export.h"
#include "instrument/midi_file.h"

#include "audio/mixer.h"
#include "instrument/instrument.h"
#include "resources/bins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <tuple>
#include <vector>

namespace {

class export_test : public ::testing::Test
{
public:
    step_grid cells{};

    void SetUp() override
    {
        release_resources();
        instrument = new instrument_class;
        setup_note_playing();
        cells[cell_index(2, 0)] = fire_element;  // note 7, E5
        cells[cell_index(9, 7)] = wind_element;  // note 0, C4
        cells[cell_index(15, 7)] = wind_element;
    }
    void TearDown() override
    {
        instrument_teardown();
        release_resources();
    }
};

TEST_F(export_test, the_wav_file_holds_each_note_from_its_exact_frame_and_the_last_tails)
{
    const std::string path = (std::filesystem::temp_directory_path() / "tolme_export_test.wav").string();
    ASSERT_EQ(export_wav(cells, 2, path), "");
    ALLEGRO_SAMPLE* sample = al_load_sample(path.c_str());
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(al_get_sample_channels(sample), ALLEGRO_CHANNEL_CONF_2);
    EXPECT_EQ(al_get_sample_depth(sample), ALLEGRO_AUDIO_DEPTH_INT16);
    const auto* frames = static_cast<const std::int16_t*>(al_get_sample_data(sample));
    // The rendering the program plays, rounded to 16 bits, frame for frame.
    const std::vector<float> rendered = render_pattern(cells, 2);
    ASSERT_EQ(al_get_sample_length(sample), rendered.size() / 2);
    for (std::size_t i = 0; i < rendered.size(); i += 997)
        ASSERT_NEAR(frames[i] / 32767.0f, rendered[i], 1.0f / 32767) << "frame " << i / 2;
    al_destroy_sample(sample);
    std::filesystem::remove(path);
}

// Tick, channel, pitch and whether the note starts: sorted, two lists compare and print whole.
using midi_note = std::tuple<long, int, int, bool>;

unsigned long read_length(const std::string& bytes, std::size_t& at)
{
    unsigned long value = 0;
    for (unsigned char c = 0x80; c & 0x80; value = (value << 7) | (c & 0x7f))
        c = static_cast<unsigned char>(bytes[at++]);
    return value;
}

unsigned long big(const std::string& bytes, std::size_t at, int size)
{
    unsigned long value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST_F(export_test, the_midi_file_has_a_tempo_track_and_a_named_track_per_element_with_each_note_in_time)
{
    const std::string bytes = midi_file_bytes(cells, 2);
    ASSERT_EQ(bytes.substr(0, 4), "MThd");
    EXPECT_EQ(big(bytes, 8, 2), 1u) << "type 1";
    EXPECT_EQ(big(bytes, 10, 2), 3u) << "tempo, FIRE and WIND";
    const unsigned long per_quarter = big(bytes, 12, 2);
    std::vector<std::string> names;
    std::vector<midi_note> notes;
    unsigned long tempo = 0;
    for (std::size_t at = 14; at < bytes.size();) {
        ASSERT_EQ(bytes.substr(at, 4), "MTrk");
        const std::size_t end = at + 8 + big(bytes, at + 4, 4);
        long tick = 0;
        for (at += 8; at < end;) {
            tick += static_cast<long>(read_length(bytes, at));
            const unsigned char status = static_cast<unsigned char>(bytes[at++]);
            if (status == 0xff) {
                const int type = bytes[at++];
                const unsigned long size = read_length(bytes, at);
                if (type == 0x03)
                    names.push_back(bytes.substr(at, size));
                if (type == 0x51)
                    tempo = big(bytes, at, 3);
                at += size;
            } else if ((status & 0xe0) == 0x80) { // note on or off
                notes.emplace_back(tick, status & 0x0f, bytes[at], (status & 0xf0) == 0x90);
                at += 2;
            } else {
                at += (status & 0xf0) == 0xc0 ? 1 : 2;
            }
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Tolme", "WIND", "FIRE"}));
    EXPECT_EQ(tempo, 682667u) << "a column is a sixteenth";
    // A column is a sixteenth, a quarter of the ticks of a quarter note; the line reaches mid-column.
    const long column = static_cast<long>(per_quarter) / 4, sweep = 16 * column;
    std::vector<midi_note> expected;
    for (long s : {0L, 1L})
        for (const auto& [c, channel, pitch] : {std::tuple{2, 3, 76}, std::tuple{9, 1, 60}, std::tuple{15, 1, 60}}) {
            expected.emplace_back(s * sweep + c * column + column / 2, channel, pitch, true);
            expected.emplace_back(s * sweep + (c + 1) * column + column / 2, channel, pitch, false);
        }
    std::sort(notes.begin(), notes.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(notes, expected);
}

} // namespace
