// Ground for the audio tests: the grid's geometry (column centres 51.2 px apart from 25.6, a sweep of sixteen
// columns added up in single precision at 300 px/s), and sounds made by hand rather than loaded. With it come
// GoogleTest and the headers below.
#pragma once

#include "audio/mixer.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

inline std::array<double, step_columns> grid_centres()
{
    std::array<double, step_columns> centres{};
    for (int column = 0; column < step_columns; ++column)
        centres[column] = 25.6f + 51.2f * static_cast<float>(column);
    return centres;
}

constexpr double grid_sweep = 819.2001342773438;

inline note_schedule_class grid_schedule(unsigned rate = mixer_class::desktop_rate)
{
    return note_schedule_class(grid_centres(), grid_sweep, rate);
}

// Notes on the beat (each column's halfway through its sixteenth), as on JACK: at 48 kHz and 120 BPM a column
// is exactly 6000 frames, at the default tempo a quarter is exactly 32768.
inline note_schedule_class beat_schedule(unsigned rate = 48000)
{
    std::array<double, step_columns> centres{};
    for (int column = 0; column < step_columns; ++column)
        centres[column] = (column + 0.5) * grid_sweep / step_columns;
    return note_schedule_class(centres, grid_sweep, rate);
}

// A mono 16-bit sound: a full-scale click, then `level` held for the rest of its length.
class test_sound
{
public:
    std::vector<std::int16_t> frames;
    sound_class sound;

    test_sound(unsigned length, float level, unsigned rate = mixer_class::desktop_rate)
        : frames(length, static_cast<std::int16_t>(std::lround(level * 32767)))
    {
        frames[0] = 32767;
        sound = {frames.data(), ALLEGRO_AUDIO_DEPTH_INT16, 1, length, rate};
    }
};
