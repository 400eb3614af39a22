#include "audio_fixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The exact time at which the line reaches a column, in frames, computed independently in long double.
long long exact_frame(long long sweep, int column)
{
    const long double pixels = sweep * static_cast<long double>(grid_sweep) + grid_centres()[column];
    return std::llround(pixels * 44100.0L / 300.0L);
}

TEST(note_schedule, every_note_falls_on_the_frame_nearest_its_exact_time_however_long_the_line_has_run)
{
    const note_schedule_class schedule = grid_schedule();
    // Two days and about a month of sweeps: no rounding is carried from sweep to sweep.
    for (long long sweep : {0LL, 1LL, 5LL, 63281LL, 1000003LL})
        for (int column = 0; column < step_columns; ++column)
            ASSERT_EQ(static_cast<long long>(schedule.frame_of(sweep, column)), exact_frame(sweep, column))
                << "sweep " << sweep << " column " << column;
    EXPECT_EQ(schedule.sweep_start(5), 602112u); // 5 x 120,422.42, not 5 x 120,422
}

TEST(note_schedule, any_split_into_buffers_meets_every_note_once_and_in_order)
{
    const note_schedule_class schedule = grid_schedule();
    const std::uint64_t end = schedule.sweep_start(3) + 5000;
    std::vector<std::pair<std::uint64_t, int>> whole;
    schedule.for_each_note(0, end, [&](std::uint64_t at, int column) { whole.emplace_back(at, column); });
    ASSERT_EQ(whole.size(), 3u * step_columns + 1);
    for (unsigned size : {1u, 517u, 1024u, 3763u, 65536u}) {
        std::vector<std::pair<std::uint64_t, int>> split;
        for (std::uint64_t from = 0; from < end; from += size)
            schedule.for_each_note(from, std::min<std::uint64_t>(end, from + size),
                                   [&](std::uint64_t at, int column) { split.emplace_back(at, column); });
        EXPECT_EQ(split, whole) << "buffers of " << size;
    }
}

} // namespace
