// When the play line reaches each column, counted in output frames and exact for as long as the program runs:
// positions are kept as whole multiples of 2^-20 pixel (every float the grid is built from is one), so a
// sweep of 819.2001342773438 px at 300 px/s is 120,422.4197... frames without any rounding carried over from
// one sweep to the next. A note sounds at the frame nearest the moment the line reaches its column's centre.
#pragma once

#include "audio/step_grid.h"

#include <array>
#include <cstdint>

class note_schedule_class
{
public:
    // Column centres relative to the line's zero, the sweep's length (pixels), the line's speed (pixels per
    // second, a whole number) and the output rate (frames per second).
    note_schedule_class(const std::array<float, step_columns>& column_centres, float sweep_length, float speed,
                        unsigned rate);

    // The frame at which the line reaches a column in the given sweep (0 is the first).
    std::uint64_t frame_of(std::uint64_t sweep, int column) const;
    // The first frame of a sweep: the line at its zero.
    std::uint64_t sweep_start(std::uint64_t sweep) const;

    // Calls note(frame, column) for every column the line reaches in [from, to), in time order.
    template <typename F>
    void for_each_note(std::uint64_t from, std::uint64_t to, F note) const
    {
        for (std::uint64_t sweep = sweep_at(from); sweep_start(sweep) < to; ++sweep)
            for (int column = 0; column < step_columns; ++column) {
                const std::uint64_t at = frame_of(sweep, column);
                if (at >= from && at < to)
                    note(at, column);
            }
    }

    // The sweep that frame lies in (the line's position modulo the sweep).
    std::uint64_t sweep_at(std::uint64_t frame) const;

private:
    using wide = unsigned __int128;
    std::array<std::int64_t, step_columns> centres{}; // in 2^-20 pixel
    std::int64_t sweep_units = 1;
    std::int64_t speed_per_second = 1;
    unsigned rate = 1;

    std::uint64_t frame_at_units(wide units) const;
    wide units_at_frame(std::uint64_t frame) const;
};
