#include "audio/note_schedule.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

static constexpr double units_per_pixel = 1048576.0; // 2^20

// Exact for every float from 2^-20 up: the grid's positions lose nothing.
static std::int64_t to_units(double pixels)
{
    return std::llround(pixels * units_per_pixel);
}

static __int128 greatest_divisor(__int128 a, __int128 b)
{
    while (b != 0)
        a = std::exchange(b, a % b);
    return a;
}

// Rounded down, also below zero.
static __int128 floor_divide(__int128 n, __int128 d)
{
    const __int128 q = n / d;
    return q * d != n && (n < 0) != (d < 0) ? q - 1 : q;
}

note_schedule_class::note_schedule_class(const std::array<double, step_columns>& column_centres,
                                         double sweep_length, unsigned rate)
    : sweep_units(std::max<std::int64_t>(1, to_units(sweep_length))), rate(rate)
{
    for (int column = 0; column < step_columns; ++column)
        centres[column] = to_units(column_centres[column]);
    clock_zero = centres[0];
    set_speed(default_tempo);
}

// A sweep of 16 sixteenths lasts 240 / tempo seconds: units a frame = sweep * beats / (240 * minutes * rate).
void note_schedule_class::set_speed(const tempo_class& tempo)
{
    assert(tempo.beats > 0 && tempo.minutes > 0 && "a tempo is a positive fraction");
    current_tempo = tempo;
    speed_units = static_cast<wide>(sweep_units) * tempo.beats;
    speed_frames = static_cast<wide>(240) * tempo.minutes * rate;
    const wide common = greatest_divisor(speed_units, speed_frames);
    speed_units /= common;
    speed_frames /= common;
}

void note_schedule_class::set_timing(std::uint64_t at, const tempo_class& tempo, int swing)
{
    assert(at >= origin_frame && "timing changes go forward in time");
    if (tempo != current_tempo) {
        move_origin(at, units_at_frame(at));
        set_speed(tempo);
    }
    current_swing = swing;
    swing_units = static_cast<std::int64_t>(static_cast<wide>(sweep_units) * (swing - 50) / (16 * 50));
}

void note_schedule_class::move_origin(std::uint64_t at, wide units)
{
    assert(at >= origin_frame && "the line moves forward in time");
    origin_frame = at;
    origin_units = units;
}

void note_schedule_class::locate(std::uint64_t at, double columns)
{
    origin_frame = at;
    origin_units = units_of_columns(columns);
    holding = false;
    next_note = static_cast<std::uint64_t>(std::max<wide>(0, origin_units / sweep_units - 1)) * step_columns;
    while (units_of_note(next_note) < origin_units)
        ++next_note;
    const std::uint64_t first_bar = (next_note + step_columns - 1) / step_columns * step_columns;
    clock_zero = units_of_note(first_bar);
    next_clock = -static_cast<std::int64_t>(floor_divide((clock_zero - origin_units) * clocks_per_sweep, sweep_units));
}

void note_schedule_class::steer(std::uint64_t at, double columns, const tempo_class& tempo)
{
    move_origin(at, units_of_columns(columns));
    set_speed(tempo);
}

void note_schedule_class::hold(std::uint64_t at)
{
    move_origin(at, units_at_frame(at));
    holding = true;
}

void note_schedule_class::resume(std::uint64_t at)
{
    move_origin(at, origin_units);
    holding = false;
}

note_schedule_class::wide note_schedule_class::units_of_note(std::uint64_t note) const
{
    const int column = static_cast<int>(note % step_columns);
    return static_cast<wide>(note / step_columns) * sweep_units + centres[column] + (column % 2 ? swing_units : 0);
}

// Each clock from clock 0 on its own, so no rounding is carried from one to the next.
note_schedule_class::wide note_schedule_class::units_of_clock(std::int64_t clock) const
{
    return clock_zero + floor_divide(static_cast<wide>(clock) * sweep_units, clocks_per_sweep);
}

note_schedule_class::wide note_schedule_class::units_of_columns(double columns) const
{
    return static_cast<wide>(std::llround(static_cast<long double>(columns) * sweep_units / step_columns));
}

// The nearest frame, halves rounded up; never before frame 0.
std::uint64_t note_schedule_class::frame_at_units(wide units) const
{
    const wide frames = floor_divide(2 * (units - origin_units) * speed_frames + speed_units, 2 * speed_units);
    return static_cast<std::uint64_t>(std::max<wide>(0, static_cast<wide>(origin_frame) + frames));
}

note_schedule_class::wide note_schedule_class::units_at_frame(std::uint64_t frame) const
{
    if (holding)
        return origin_units;
    return origin_units + floor_divide((static_cast<wide>(frame) - origin_frame) * speed_units, speed_frames);
}

std::uint64_t note_schedule_class::frame_at(double columns) const
{
    return frame_at_units(units_of_columns(columns));
}

std::uint64_t note_schedule_class::frame_of(std::uint64_t sweep, int column) const
{
    return frame_at_units(units_of_note(sweep * step_columns + static_cast<std::uint64_t>(column)));
}

double note_schedule_class::columns_at(std::uint64_t frame) const
{
    return static_cast<double>(static_cast<long double>(units_at_frame(frame)) * step_columns / sweep_units);
}

std::uint64_t note_schedule_class::column_after(std::uint64_t frame) const
{
    return frame_at_units(units_at_frame(frame) + sweep_units / step_columns);
}

double note_schedule_class::column_zero() const
{
    return static_cast<double>(static_cast<long double>(centres[0]) * step_columns / sweep_units);
}
