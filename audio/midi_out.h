// The notes and the clock as MIDI, each message at its frame: a note's note-on when it sounds (on the
// element's channel: EARTH 1, WIND 2, WATER 3, FIRE 4), its note-off a column later or, when the same key
// sounds again before that, just before it, so that a key never has two note-ons without a note-off between
// them. All Notes Off ends every key at once. Messages gather through a span of frames and are handed over
// in the order of their frames. Nothing here allocates: what does not fit is counted and dropped.
#pragma once

#include "audio/mixer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace midi_status {
constexpr std::uint8_t note_off = 0x80;
constexpr std::uint8_t note_on = 0x90;
constexpr std::uint8_t control = 0xb0;
constexpr std::uint8_t song_position = 0xf2;
constexpr std::uint8_t clock = 0xf8;
constexpr std::uint8_t start = 0xfa;
constexpr std::uint8_t resume = 0xfb; // MIDI's Continue
constexpr std::uint8_t stop = 0xfc;
} // namespace midi_status
constexpr std::uint8_t all_notes_off_control = 123;
constexpr int midi_channels = mixer_class::sound_sets - 1; // one an element

class midi_message
{
public:
    std::uint64_t frame = 0;
    std::array<std::uint8_t, 3> bytes{};
    std::uint8_t size = 0;
    std::uint32_t order = 0; // at one frame: endings first, then the clock, then note-ons; else as queued

    bool operator<(const midi_message& other) const
    {
        return frame != other.frame ? frame < other.frame : order < other.order;
    }
};

class midi_out_class
{
public:
    // By note (0 the lowest) and by element: set before playing starts.
    std::array<std::uint8_t, step_rows> pitches{};
    std::array<std::uint8_t, mixer_class::sound_sets> velocities{};
    unsigned dropped = 0; // messages that found no room

    // A note the mixer started, with the frame of its note-off.
    void note(const note_event& event, std::uint64_t off);
    // A one-byte message: clock, start, continue or stop.
    void realtime(std::uint64_t frame, std::uint8_t status);
    // Song Position Pointer: the song's place in sixteenths (14 bits), queued as the clock is.
    void song_position(std::uint64_t frame, unsigned sixteenths);
    // Every sounding key's note-off, then All Notes Off on the four channels.
    void all_notes_off(std::uint64_t frame);

    // Hands every message due before frame `to` to write(frame, bytes, size), in order; later note-offs wait.
    template <typename F>
    void flush(std::uint64_t to, F write)
    {
        for (int key = 0; key < key_count; ++key)
            if (off_at[key] < to)
                end_key(key, off_at[key]);
        std::sort(queued.begin(), queued.begin() + queued_count);
        for (unsigned i = 0; i < queued_count; ++i)
            write(queued[i].frame, queued[i].bytes.data(), queued[i].size);
        queued_count = 0;
        sequence = 0;
    }

private:
    static constexpr int key_count = midi_channels * step_rows;
    static constexpr std::uint64_t never = std::numeric_limits<std::uint64_t>::max();
    std::array<std::uint64_t, key_count> off_at = filled_with_never();
    std::array<midi_message, 1024> queued{};
    unsigned queued_count = 0;
    std::uint32_t sequence = 0;

    static std::array<std::uint64_t, key_count> filled_with_never()
    {
        std::array<std::uint64_t, key_count> all{};
        all.fill(never);
        return all;
    }
    void queue(std::uint64_t frame, std::uint32_t rank, std::array<std::uint8_t, 3> bytes, std::uint8_t size);
    void end_key(int key, std::uint64_t frame);
};
