#include "audio/note_schedule.h"

#include <algorithm>
#include <cmath>

static constexpr double units_per_pixel = 1048576.0; // 2^20
static constexpr unsigned unit_bits = 20;

// Exact for every float from 2^-20 up: the grid's positions lose nothing.
static std::int64_t to_units(double pixels)
{
    return std::llround(pixels * units_per_pixel);
}

note_schedule_class::note_schedule_class(const std::array<float, step_columns>& column_centres,
                                         float sweep_length, float speed, unsigned rate)
    : sweep_units(std::max<std::int64_t>(1, to_units(sweep_length))),
      speed_per_second(std::max<std::int64_t>(1, std::llround(speed))), rate(rate)
{
    for (int column = 0; column < step_columns; ++column)
        centres[column] = to_units(column_centres[column]);
}

// frames = units * rate / (speed * 2^20), to the nearest frame.
std::uint64_t note_schedule_class::frame_at_units(wide units) const
{
    const wide denominator = static_cast<wide>(speed_per_second) << unit_bits;
    return static_cast<std::uint64_t>((units * rate + denominator / 2) / denominator);
}

note_schedule_class::wide note_schedule_class::units_at_frame(std::uint64_t frame) const
{
    return (static_cast<wide>(frame) * speed_per_second << unit_bits) / rate;
}

std::uint64_t note_schedule_class::frame_of(std::uint64_t sweep, int column) const
{
    return frame_at_units(static_cast<wide>(sweep) * sweep_units + centres[column]);
}

std::uint64_t note_schedule_class::sweep_start(std::uint64_t sweep) const
{
    return frame_at_units(static_cast<wide>(sweep) * sweep_units);
}

std::uint64_t note_schedule_class::sweep_at(std::uint64_t frame) const
{
    return static_cast<std::uint64_t>(units_at_frame(frame) / sweep_units);
}
