// A loaded sound as the mixer reads it: Allegro's sample frames in the format it loaded them, never copied.
// The sample must outlive every voice that plays it (the bins keep theirs for the whole run).
#pragma once

#include <allegro5/allegro_audio.h>

#include <cstdint>

class sound_class
{
public:
    const void* frames = nullptr;
    ALLEGRO_AUDIO_DEPTH depth = ALLEGRO_AUDIO_DEPTH_INT16;
    int channels = 0;  // 1 or 2
    unsigned length = 0; // in frames
    unsigned rate = 0;

    bool empty() const { return frames == nullptr || length == 0; }
};

// The sample's frames; empty for nullptr or a layout the mixer cannot read (more than two channels, or a
// depth other than 8-bit, 16-bit or float).
sound_class sound_of(ALLEGRO_SAMPLE* sample);

// A frame's value in each of the depths the mixer reads, from -1 to 1.
inline float value_of(std::int16_t v) { return static_cast<float>(v) / 32767.5f; }
inline float value_of(std::int8_t v) { return static_cast<float>(v) / 127.5f; }
inline float value_of(std::uint8_t v) { return static_cast<float>(v) / 127.5f - 1.0f; }
inline float value_of(float v) { return v; }

// Calls read(T{}) with the C++ type of a depth the mixer reads, and returns what it returns.
template <typename F>
auto with_sample_type(ALLEGRO_AUDIO_DEPTH depth, F read)
{
    switch (depth) {
    case ALLEGRO_AUDIO_DEPTH_INT16:
        return read(std::int16_t{});
    case ALLEGRO_AUDIO_DEPTH_INT8:
        return read(std::int8_t{});
    case ALLEGRO_AUDIO_DEPTH_UINT8:
        return read(std::uint8_t{});
    default:
        return read(float{});
    }
}
