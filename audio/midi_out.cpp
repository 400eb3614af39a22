#include "audio/midi_out.h"

#include <cassert>

namespace {

// Ranks at one frame, in the top bits of a message's order; the sequence keeps the rest as queued.
constexpr std::uint32_t ending = 0, timing = 1u << 30, starting = 2u << 30;

std::uint8_t on_channel(std::uint8_t status, int channel)
{
    return static_cast<std::uint8_t>(status | channel);
}

} // namespace

void midi_out_class::queue(std::uint64_t frame, std::uint32_t rank, std::array<std::uint8_t, 3> bytes,
                           std::uint8_t size)
{
    if (queued_count == queued.size()) {
        ++dropped;
        return;
    }
    queued[queued_count++] = {frame, bytes, size, rank | (sequence++ & (timing - 1))};
}

void midi_out_class::end_key(int key, std::uint64_t frame)
{
    const int channel = key / step_rows;
    queue(frame, ending, {on_channel(midi_status::note_off, channel), pitches[key % step_rows], 0}, 3);
    off_at[key] = never;
}

void midi_out_class::note(const note_event& event, std::uint64_t off)
{
    assert(event.element >= 1 && event.element <= midi_channels && "a note is of one of the four elements");
    assert(off > event.frame && "a note ends after it starts");
    const int channel = event.element - 1;
    const int pitch = note_of_row(event.cell % step_rows);
    const int key = channel * step_rows + pitch;
    if (off_at[key] != never)
        end_key(key, std::min(off_at[key], event.frame));
    queue(event.frame, starting,
          {on_channel(midi_status::note_on, channel), pitches[pitch], velocities[event.element]}, 3);
    off_at[key] = off;
}

void midi_out_class::realtime(std::uint64_t frame, std::uint8_t status)
{
    queue(frame, status == midi_status::stop ? ending : timing, {status, 0, 0}, 1);
}

void midi_out_class::song_position(std::uint64_t frame, unsigned sixteenths)
{
    assert(sixteenths < 1u << 14 && "a song position has 14 bits");
    const auto low = static_cast<std::uint8_t>(sixteenths & 0x7f), high = static_cast<std::uint8_t>(sixteenths >> 7);
    queue(frame, timing, {midi_status::song_position, low, high}, 3);
}

void midi_out_class::all_notes_off(std::uint64_t frame)
{
    for (int key = 0; key < key_count; ++key)
        if (off_at[key] != never)
            end_key(key, frame);
    for (int channel = 0; channel < midi_channels; ++channel)
        queue(frame, ending, {on_channel(midi_status::control, channel), all_notes_off_control, 0}, 3);
}
