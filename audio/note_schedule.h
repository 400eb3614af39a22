// When the play line reaches each column's notes, counted in output frames and exact for as long as the
// program runs. Positions are whole multiples of 2^-20 pixel (every float the grid is built from is one),
// and the line's speed, from the tempo, is an exact fraction of those units a frame: at the default tempo a
// sweep of 819.2001342773438 px takes 120,422.4197... frames, with no rounding carried from one sweep to the
// next. A tempo change starts the line afresh from the unit where it is at that frame. A note sounds at the
// frame nearest the moment the line reaches it; swing puts every odd column's notes late by a fraction of a
// column, while the line itself moves evenly.
// The same line gives the MIDI clock's frames: 96 clocks a sweep (24 a quarter) from a column 0's notes on,
// each walked by a cursor of its own, so that notes and clocks can never disagree. A line that follows
// another machine is steered (moved a little, its notes neither repeated nor lost), held and resumed.
#pragma once

#include "audio/step_grid.h"
#include "audio/tempo.h"

#include <array>
#include <cstdint>

constexpr int clocks_per_sweep = 96;
constexpr int clocks_per_column = clocks_per_sweep / step_columns;

class note_schedule_class
{
public:
    // Where each column's notes sound, measured from the line's zero, and the sweep's length, in pixels. The
    // line starts at its zero at frame 0, at the default tempo, straight, its clock from column 0's notes.
    note_schedule_class(const std::array<double, step_columns>& column_centres, double sweep_length,
                        unsigned rate);

    // From frame `at` on (no earlier than the last change), the line runs at this tempo from where it is
    // then, and odd columns' notes come (swing - 50) / 50 of a column late.
    void set_timing(std::uint64_t at, const tempo_class& tempo, int swing);
    // Puts the line at a position at frame `at` (columns from the zero of the first sweep: 16 is the second
    // sweep's zero) and lets it run; the next note is the first at or after it, and the clock starts again
    // (clock 0) with the first column 0's notes at or after it. Up to there the clock goes on at its
    // intervals on the new grid, counted below 0, so that a machine following it hears no pause.
    void locate(std::uint64_t at, double columns);
    // Moves the line to a position near where it is at frame `at`, at this tempo, keeping its cursors: a note
    // the move passed over sounds at once, one it moved back over is not sounded again.
    void steer(std::uint64_t at, double columns, const tempo_class& tempo);
    // The line stops where it is at frame `at` (no note or clock comes while it is held), and goes on from
    // there at frame `at` of resume.
    void hold(std::uint64_t at);
    void resume(std::uint64_t at);
    bool held() const { return holding; }
    // The frame at which the line was last held; only while it is.
    std::uint64_t held_since() const { return origin_frame; }

    const tempo_class& tempo() const { return current_tempo; }
    int swing() const { return current_swing; }

    // As the line runs now: the frame at which it reaches a position (columns as for locate), and the frame
    // of a column's notes in a sweep.
    std::uint64_t frame_at(double columns) const;
    std::uint64_t frame_of(std::uint64_t sweep, int column) const;
    // Where the line is at a frame, in columns as for locate.
    double columns_at(std::uint64_t frame) const;
    // The frame at which the line will be one column further than at `frame`.
    std::uint64_t column_after(std::uint64_t frame) const;
    // Where the first sweep's column 0's notes lie, in columns as for locate.
    double column_zero() const;

    // Calls note(frame, column) for each note from the next one on whose frame comes before `to`, in order
    // and each once: spans follow one another. A note that a change of timing moved before `from` sounds at
    // `from`, so none is lost.
    template <typename F>
    void for_each_note(std::uint64_t from, std::uint64_t to, F note)
    {
        walk(next_note, from, to, [this](std::uint64_t n) { return units_of_note(n); },
             [&](std::uint64_t at, std::uint64_t n) { note(at, static_cast<int>(n % step_columns)); });
    }
    // The same for the MIDI clock: clock(frame, k), k (an std::int64_t) counted from clock 0.
    template <typename F>
    void for_each_clock(std::uint64_t from, std::uint64_t to, F clock)
    {
        walk(next_clock, from, to, [this](std::int64_t k) { return units_of_clock(k); }, clock);
    }

private:
    using wide = __int128;
    std::array<std::int64_t, step_columns> centres{}; // in 2^-20 pixel
    std::int64_t sweep_units = 1;
    unsigned rate = 1;
    tempo_class current_tempo = default_tempo;
    int current_swing = 50;
    std::int64_t swing_units = 0; // how late an odd column's notes come

    // The line is at origin_units at origin_frame and moves speed_units / speed_frames units a frame.
    std::uint64_t origin_frame = 0;
    wide origin_units = 0;
    wide speed_units = 1;
    wide speed_frames = 1;
    bool holding = false;
    std::uint64_t next_note = 0; // sweep * 16 + column
    wide clock_zero = 0;         // where clock 0 is
    std::int64_t next_clock = 0;

    template <typename C, typename U, typename F>
    void walk(C& cursor, std::uint64_t from, std::uint64_t to, U units_of, F mark)
    {
        if (holding)
            return;
        for (;; ++cursor) {
            const std::uint64_t at = frame_at_units(units_of(cursor));
            if (at >= to)
                return;
            mark(at > from ? at : from, cursor);
        }
    }

    wide units_of_note(std::uint64_t note) const;
    wide units_of_clock(std::int64_t clock) const;
    wide units_of_columns(double columns) const;
    std::uint64_t frame_at_units(wide units) const;
    wide units_at_frame(std::uint64_t frame) const;
    void set_speed(const tempo_class& tempo);
    void move_origin(std::uint64_t at, wide units);
};
