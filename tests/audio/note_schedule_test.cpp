#include "audio_fixture.h"

#include <utility>

namespace {

// The exact time at which the line reaches a column at the default tempo (300 px/s), in frames, computed
// independently in long double.
long long exact_frame(long long sweep, int column)
{
    const long double pixels = sweep * static_cast<long double>(grid_sweep) + grid_centres()[column];
    return std::llround(pixels * 44100.0L / 300.0L);
}

using note_list = std::vector<std::pair<std::uint64_t, int>>;

// The notes from `from` up to `to`, taken in one span.
note_list notes_of(note_schedule_class& schedule, std::uint64_t from, std::uint64_t to)
{
    note_list notes;
    schedule.for_each_note(from, to, [&](std::uint64_t at, int column) { notes.emplace_back(at, column); });
    return notes;
}

TEST(note_schedule, at_the_default_tempo_every_note_falls_on_the_frame_nearest_its_exact_time_however_long)
{
    const note_schedule_class schedule = grid_schedule();
    // Two days and about a month of sweeps: no rounding is carried from sweep to sweep.
    for (long long sweep : {0LL, 1LL, 5LL, 63281LL, 1000003LL})
        for (int column = 0; column < step_columns; ++column)
            ASSERT_EQ(static_cast<long long>(schedule.frame_of(sweep, column)), exact_frame(sweep, column))
                << "sweep " << sweep << " column " << column;
    EXPECT_EQ(schedule.frame_at(5 * step_columns), 602112u); // 5 x 120,422.42, not 5 x 120,422
    EXPECT_EQ(beat_schedule().frame_at(4), 32768u);
}

// From the frame of the change the line goes on from where it is at its new speed: the next note comes when
// the rest of the way to it is covered at that speed, and each note after it a column later.
TEST(note_schedule, a_tempo_change_goes_on_from_where_the_line_is_at_that_frame)
{
    const std::uint64_t change = 8192 * 4 + 4096 + 1000; // at the default tempo, 1000 frames past column 4's note
    note_schedule_class schedule = beat_schedule();
    ASSERT_EQ(notes_of(schedule, 0, change).back(), (std::pair<std::uint64_t, int>(4096 + 8192 * 4, 4)));
    schedule.set_timing(change, tempo_in_tenths(1200), straight_swing);
    const note_list notes = notes_of(schedule, change, 100000);
    // 7192 of 8192 frames were left at 87.89 BPM: the same distance at 120 BPM is 7192 * 6000 / 8192 frames.
    EXPECT_NEAR(static_cast<double>(notes[0].first), change + 7192.0 * 6000 / 8192, 1.0);
    EXPECT_EQ(notes[0].second, 5);
    for (std::size_t i = 1; i < notes.size(); ++i)
        EXPECT_EQ(notes[i].first - notes[i - 1].first, 6000u);
}

// Put on a column's notes, the line sounds them at that frame and goes on from there. Put between two clocks,
// its clock goes on at the next one of the new grid, without a gap, up to clock 0 on the next bar.
TEST(note_schedule, swing_puts_every_odd_columns_notes_late_for_days_and_a_located_line_goes_on_from_there)
{
    note_schedule_class schedule = beat_schedule();
    const struct { int swing; std::uint64_t late; } cases[] = {{50, 0}, {60, 1200}, {75, 3000}};
    for (const auto& c : cases) {
        schedule.set_timing(0, tempo_in_tenths(1200), c.swing);
        for (std::uint64_t sweep : {0ull, 1ull, 1000000ull}) // a million bars at 120 BPM: 23 days
            for (int column : {0, 1, 6, 15})
                EXPECT_EQ(schedule.frame_of(sweep, column), sweep * 96000 + 6000 * column + 3000 + (column % 2) * c.late)
                    << "swing " << c.swing << " sweep " << sweep << " column " << column;
    }
    schedule.set_timing(0, tempo_in_tenths(1200), straight_swing);
    schedule.locate(500000, 16 * 3 + 2.5);
    EXPECT_EQ(notes_of(schedule, 500000, 520000), (note_list{{500000, 2}, {506000, 3}, {512000, 4}, {518000, 5}}));
    schedule.locate(600000, 16 * 3 + 2.6);
    std::vector<std::pair<std::uint64_t, std::int64_t>> clocks;
    schedule.for_each_clock(600000, 690000, [&](std::uint64_t at, std::int64_t k) { clocks.emplace_back(at, k); });
    ASSERT_EQ(clocks.size(), 90u);
    for (std::size_t i = 0; i < clocks.size(); ++i)
        EXPECT_EQ(clocks[i], std::make_pair(600400 + 1000 * i, static_cast<std::int64_t>(i) - 83));
}

// Clock k sits k quarters' 24ths after column 0's notes, each on the frame nearest its exact time (halves up):
// 60 rate minutes / (24 beats) frames a clock, its fraction carried for a whole day, none left out.
TEST(note_schedule, the_midi_clock_keeps_its_exact_frames_for_a_day_at_every_rate_and_tempo)
{
    for (unsigned rate : {44100u, 48000u, 88200u, 96000u})
        for (tempo_class tempo : {default_tempo, tempo_in_tenths(1201), tempo_in_tenths(2400)}) {
            SCOPED_TRACE(::testing::Message() << rate << " Hz, " << tempo.bpm() << " BPM");
            note_schedule_class schedule = beat_schedule(rate);
            schedule.set_timing(0, tempo, straight_swing);
            schedule.locate(0, 0.5);
            const __int128 numerator = static_cast<__int128>(60) * rate * tempo.minutes, denominator = 24 * tempo.beats;
            const std::uint64_t day = 86400ull * rate;
            std::uint64_t expected = 0, wrong = 0;
            schedule.for_each_clock(0, day, [&](std::uint64_t at, std::uint64_t k) {
                wrong += k != expected || at != static_cast<std::uint64_t>((2 * k * numerator + denominator) / (2 * denominator));
                ++expected;
            });
            EXPECT_EQ(wrong, 0u);
            EXPECT_EQ(expected, static_cast<std::uint64_t>((day * denominator + numerator - 1) / numerator));
        }
}

} // namespace
