#include "audio_fixture.h"

#include "audio/studio_cycle.h"

#include <memory>
#include <random>
#include <tuple>

namespace {

constexpr unsigned rate = 48000;
constexpr int earth = 1, fire = 4;

struct sent
{
    std::uint64_t frame;
    std::vector<std::uint8_t> bytes;
};

// A mixer at 48 kHz on the beat grid at 120 BPM (a column is 6000 frames, a clock 1000), its cycles' MIDI
// gathered with their frames.
class studio_test : public ::testing::Test
{
public:
    std::unique_ptr<mixer_class> mixer = std::make_unique<mixer_class>(rate);
    std::unique_ptr<studio_cycle_class> studio;
    test_sound click{100, 0.5f, rate};
    pattern_class pattern;
    std::vector<sent> midi;

    void make(sync_source sync)
    {
        mixer->schedule.emplace(beat_schedule(rate));
        mixer->schedule->locate(0, 0.5);
        for (auto& set : mixer->notes)
            set.fill({click.sound, gains_for(0.8f, 0.0f, 1)});
        pattern.tempo = tempo_in_tenths(1200);
        mixer->pattern.write(pattern);
        studio = std::make_unique<studio_cycle_class>(*mixer, sync);
        studio->midi.pitches = {60, 62, 64, 67, 69, 72, 74, 76};
        studio->prepare();
    }

    // Cycles of `size` up to frame `end`, each taking the incoming messages due in it.
    void run(std::uint64_t end, unsigned size, const std::vector<sent>& in = {}, const transport_position& transport = {})
    {
        std::vector<float> left(size), right(size);
        auto next = in.begin();
        while (mixer->frame < end) {
            const std::uint64_t first = mixer->frame;
            std::vector<incoming_midi> due;
            for (; next != in.end() && next->frame < first + size; ++next)
                due.push_back({static_cast<std::uint32_t>(next->frame - first), {next->bytes[0], 0, 0}});
            studio->run(left.data(), right.data(), size, due.data(), static_cast<unsigned>(due.size()), transport,
                       [&](std::uint32_t offset, const std::uint8_t* bytes, std::uint8_t count) {
                           midi.push_back({first + offset, {bytes, bytes + count}});
                       });
        }
    }

    std::vector<std::uint64_t> frames_of(std::uint8_t status) const
    {
        std::vector<std::uint64_t> found;
        for (const sent& m : midi)
            if ((m.bytes[0] & (m.bytes.size() == 3 ? 0xf0 : 0xff)) == status)
                found.push_back(m.frame);
        return found;
    }
};

TEST_F(studio_test, notes_and_clocks_go_out_on_their_frames_in_any_cycles_and_every_key_ends_before_it_sounds_again)
{
    // Swung to 75 %, column 1's note comes half a column late, and column 2's, the same key, cuts it short.
    pattern.swing = 75;
    for (int column : {0, 1, 2})
        pattern.cells[cell_index(column, 7)] = earth;
    pattern.cells[cell_index(9, 0)] = fire;
    for (unsigned size : {256u, 1000u, 4093u}) {
        SCOPED_TRACE(size);
        mixer = std::make_unique<mixer_class>(rate);
        midi.clear();
        make(sync_source::internal);
        run(2 * 96000, size);
        // Every note-on and note-off of the first two sweeps in the order sent: frame, status, pitch.
        std::vector<std::tuple<std::uint64_t, int, int>> notes;
        for (const sent& m : midi)
            if (m.bytes.size() == 3 && (m.bytes[0] & 0xe0) == 0x80 && m.frame < 2 * 96000)
                notes.emplace_back(m.frame, m.bytes[0], m.bytes[1]);
        const int on = 0x90, off = 0x80, fire_on = 0x93, fire_off = 0x83;
        EXPECT_EQ(notes, (decltype(notes){{0, on, 60}, {6000, off, 60}, {9000, on, 60}, {12000, off, 60},
                                          {12000, on, 60}, {18000, off, 60}, {57000, fire_on, 76},
                                          {63000, fire_off, 76}, {96000, on, 60}, {102000, off, 60}, {105000, on, 60},
                                          {108000, off, 60}, {108000, on, 60}, {114000, off, 60},
                                          {153000, fire_on, 76}, {159000, fire_off, 76}}));
        const std::vector<std::uint64_t> clocks = frames_of(0xf8);
        ASSERT_GE(clocks.size(), 192u);
        for (std::size_t k = 0; k < clocks.size(); ++k)
            ASSERT_EQ(clocks[k], 1000 * k);
        EXPECT_EQ(frames_of(0xfa), std::vector<std::uint64_t>{0});
    }
}

// A clock 24 a quarter at 97.3 BPM whose every tick comes up to half a millisecond early or late, and whose
// second tick comes with its first (a burst: no period, and then a wrong one): after a few seconds the notes
// fall within a quarter of a millisecond of the clock's own beat grid. A jump in its tempo is followed, and a
// ramp faster than the loop follows leaves no lasting offset.
TEST_F(studio_test, the_line_locks_onto_a_jittery_midi_clock)
{
    pattern.cells[cell_index(0, 7)] = earth;
    pattern.cells[cell_index(8, 7)] = fire;
    make(sync_source::midi_clock);
    const double clock = 60.0 * rate / (24 * 97.3), start = 5000;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-24, 24);
    std::vector<sent> in = {{static_cast<std::uint64_t>(start) - 10, {0xfa}}};
    for (int k = 0; k < 24 * 40; ++k)
        in.push_back({k == 1 ? in.back().frame : std::uint64_t(std::llround(start + k * clock + jitter(random))), {0xf8}});
    run(in.back().frame, 256, in);
    const std::vector<std::uint64_t> notes = frames_of(0x90);
    ASSERT_GE(notes.size(), 18u);
    EXPECT_NEAR(static_cast<double>(notes[0]), start, 24.0) << "column 0 on the Start's first clock";
    for (std::uint64_t note : notes) { // frames off the clock's column grid, after five seconds
        const double off = std::remainder(note - start, clocks_per_column * clock);
        EXPECT_TRUE(note <= start + 5 * rate || std::fabs(off) <= 12) << off << " frames off at " << note;
    }
    EXPECT_NEAR(studio->followed_bpm.load(), 97.3, 0.05);
    // The clock jumps to 110 BPM: two leaps alike measure the new tempo.
    std::vector<sent> faster;
    for (int k = 1; k <= 48; ++k)
        faster.push_back({in.back().frame + std::uint64_t(std::llround(k * 60.0 * rate / (24 * 110))), {0xf8}});
    run(faster.back().frame, 256, faster);
    EXPECT_NEAR(studio->followed_bpm.load(), 110, 0.05);
    // It ramps up to 125 BPM over 20 beats, then holds: from 2 s after the ramp every note is on a clock.
    std::vector<sent> ramp;
    double at = static_cast<double>(faster.back().frame);
    for (int k = 0; k < 720; ++k) {
        at += 60.0 * rate / (24 * (110 + std::min(k, 480) / 32.0));
        ramp.push_back({static_cast<std::uint64_t>(std::llround(at)), {0xf8}});
    }
    midi.clear();
    run(ramp.back().frame, 256, ramp);
    int checked = 0;
    for (std::uint64_t note : frames_of(0x90)) {
        if (note <= ramp[480].frame + 2 * rate)
            continue;
        ++checked;
        EXPECT_TRUE(std::any_of(ramp.begin(), ramp.end(),
                                [&](const sent& c) { return c.frame + 2 >= note && note + 2 >= c.frame; }))
            << note;
    }
    EXPECT_GE(checked, 2);
}

// A MIDI clock at 120 BPM, every clock on time: Start, 60 clocks, Stop, Continue a second later without a Song
// Position Pointer, then a pause of half a second mid-column without a Stop. With a note in every column, a
// note sounds on every sixth clock of the song, counted only while it ran, and on no other frame. A clock heard
// again after it was lost for 2 s is told as stopped: the line waits for Start or Continue.
TEST_F(studio_test, continue_goes_on_from_the_clocks_counted_and_a_pause_neither_runs_ahead_nor_plays_again)
{
    for (int column = 0; column < step_columns; ++column)
        pattern.cells[cell_index(column, 7)] = earth;
    make(sync_source::midi_clock);
    std::vector<sent> in = {{4990, {0xfa}}};
    std::vector<std::uint64_t> song_clocks;
    const auto clocks = [&](std::uint64_t from, int count) {
        for (int k = 0; k < count; ++k)
            in.push_back({song_clocks.emplace_back(from + 1000 * k), {0xf8}});
    };
    clocks(5000, 60);
    in.push_back({64500, {0xfc}});
    in.push_back({100000, {0xfb}});
    clocks(100010, 28); // up to clock 87, half a column on
    clocks(155000, 40);
    run(in.back().frame + 10, 256, in);
    std::vector<std::uint64_t> expected;
    for (std::size_t k = 0; k < song_clocks.size(); k += clocks_per_column)
        expected.push_back(song_clocks[k]);
    EXPECT_EQ(frames_of(0x90), expected);
    EXPECT_TRUE(frames_of(0xfc).empty()) << "a Stop sent back to the clock's source";
    run(mixer->frame + 2 * rate + 1000, 256);
    EXPECT_EQ(studio->state.load(), static_cast<int>(follow_state::no_clock));
    run(mixer->frame + 512, 256, {{mixer->frame + 100, {0xf8}}});
    EXPECT_EQ(studio->state.load(), static_cast<int>(follow_state::stopped));
}

// The player's stop holds the line at the next cycle, with every note ended and Stop at its frame; playing
// again starts at once from column 0's notes, with Start. A cleared grid silences every channel at once.
// A machine that connects while the line plays missed its Start: it gets the song's place and Continue with
// the next column's clock; one that connects while stopped gets the Start.
TEST_F(studio_test, the_players_stop_and_a_cleared_grid_silence_every_channel_and_play_starts_at_column_0)
{
    pattern.cells[cell_index(0, 7)] = earth;
    pattern.cells[cell_index(5, 0)] = fire;
    make(sync_source::internal);
    run(13500, 256);
    studio->listener_joined = true;
    run(30000, 256);
    mixer->stop_asked = true;
    run(40000, 256);
    studio->listener_joined = true;
    run(60000, 256);
    mixer->stop_asked = false;
    run(63000, 256);
    mixer->pattern.write(pattern_class{{}, pattern.tempo, pattern.swing});
    run(72000, 256);
    EXPECT_EQ(frames_of(0x90), (std::vector<std::uint64_t>{0, 30000, 60160}));
    EXPECT_EQ(frames_of(0x80), (std::vector<std::uint64_t>{6000, 30208, 63232})) << "each sounding key ends";
    EXPECT_EQ(frames_of(0xb0), (std::vector<std::uint64_t>{30208, 30208, 30208, 30208, 63232, 63232, 63232, 63232}))
        << "All Notes Off on each of the four channels";
    EXPECT_EQ(frames_of(0xfc), (std::vector<std::uint64_t>{30208}));
    EXPECT_EQ(frames_of(0xfa), (std::vector<std::uint64_t>{0, 60160}));
    std::vector<std::vector<std::uint8_t>> joining;
    for (const sent& m : midi)
        if (m.bytes[0] == 0xf2 || m.bytes[0] == 0xfb || (m.frame == 18000 && m.bytes[0] == 0xf8))
            joining.push_back(m.bytes);
    EXPECT_EQ(joining, (decltype(joining){{0xf2, 3, 0}, {0xfb}, {0xf8}})) << "at column 3's clock, in this order";
}

// A timebase master that gives a broken position (no ticks a beat, no tempo, a tempo no line can play) is not
// followed: the line holds, silent, rather than stalling the sound, and after 2 s it is told as no clock; a
// sound position is followed at once. A locate while rolling, which passes through a starting cycle, is no
// stop: nothing ends, and Start comes on the column 0 it rolls from; a quarter of a second starting is.
TEST_F(studio_test, a_broken_timebase_master_is_not_followed_and_a_locate_is_no_stop)
{
    pattern.cells[cell_index(0, 7)] = earth;
    make(sync_source::jack_transport);
    transport_position position{true, true};
    for (const auto& [ticks_per_beat, bpm] : {std::pair{0.0, 120.0}, {1920.0, NAN}, {1920.0, 1e9}}) {
        std::tie(position.ticks_per_beat, position.bpm) = std::tie(ticks_per_beat, bpm);
        run(mixer->frame + rate * 7 / 10, 256, {}, position);
    }
    EXPECT_TRUE(frames_of(0x90).empty());
    EXPECT_EQ(studio->state.load(), static_cast<int>(follow_state::no_clock));
    position.bpm = 120;
    run(mixer->frame + 4096, 256, {}, position);
    EXPECT_EQ(frames_of(0x90).size(), 1u);
    midi.clear();
    std::tie(position.rolling, position.starting, position.bar) = std::tuple{false, true, 3};
    run(mixer->frame + 256, 256, {}, position);
    std::tie(position.rolling, position.starting) = std::pair{true, false};
    run(mixer->frame + 1024, 256, {}, position);
    EXPECT_TRUE(frames_of(0xfc).empty() && frames_of(0xb0).empty());
    EXPECT_EQ(frames_of(0xfa).size(), 1u);
    // Clients slow to follow the locate keep the transport starting for longer: then the line stops.
    std::tie(position.rolling, position.starting) = std::pair{false, true};
    run(mixer->frame + rate * 3 / 10, 256, {}, position);
    EXPECT_EQ(frames_of(0xfc).size(), 1u);
}

} // namespace
