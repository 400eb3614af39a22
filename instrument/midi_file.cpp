#include "instrument/midi_file.h"

#include "instrument/elements.h"
#include "resources/manifest.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// By element: General MIDI program (counted from 0), velocity from the element's gain, pan (64 centre).
struct voice_info
{
    int program;
    int velocity;
    int pan;
};
const voice_info voices[element_count] = {
    {12, 100, 64}, // EARTH: Marimba
    {73, 88, 96},  // WIND: Flute, quieter and half right as it plays
    {14, 100, 64}, // WATER: Tubular Bells
    {25, 100, 64}, // FIRE: Acoustic Guitar (steel)
};

struct midi_event
{
    long tick;
    std::string bytes;

    // At the same tick a note ends before the next one starts.
    bool before(const midi_event& other) const
    {
        return tick < other.tick || (tick == other.tick && starts_note() < other.starts_note());
    }
    bool starts_note() const { return (bytes[0] & 0xf0) == 0x90; }
};

std::string big_endian(unsigned long value, int size)
{
    std::string out;
    for (int i = size - 1; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
    return out;
}

std::string variable_length(unsigned long value)
{
    std::string out(1, static_cast<char>(value & 0x7f));
    while (value >>= 7)
        out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7f)));
    return out;
}

std::string meta(int type, const std::string& data)
{
    return std::string{'\xff', static_cast<char>(type)} + variable_length(data.size()) + data;
}

std::string track(std::vector<midi_event> events)
{
    std::stable_sort(events.begin(), events.end(), [](const midi_event& a, const midi_event& b) { return a.before(b); });
    std::string body;
    long last = 0;
    for (const midi_event& event : events) {
        body += variable_length(static_cast<unsigned long>(event.tick - last)) + event.bytes;
        last = event.tick;
    }
    body += variable_length(0) + meta(0x2f, "");
    return "MTrk" + big_endian(body.size(), 4) + body;
}

// A quarter's length in microseconds at the pattern's tempo: 682,667 at the default.
std::string tempo_track(const tempo_class& tempo)
{
    const double quarter = 60e6 * static_cast<double>(tempo.minutes) / static_cast<double>(tempo.beats);
    return track({{0, meta(0x03, "Tolme")},
                  {0, meta(0x51, big_endian(static_cast<unsigned long>(std::lround(quarter)), 3))},
                  {0, meta(0x58, std::string{4, 2, 24, 8})}});
}

// The tick of a column's notes in a sweep: on its sixteenth, an odd column's late by the swing.
long tick_of(int sweep, int column, int swing)
{
    const long late = column % 2 ? std::lround((swing - 50) * midi_ticks_per_column / 50.0) : 0;
    return (static_cast<long>(sweep) * step_columns + column) * midi_ticks_per_column + late;
}

std::string element_track(const pattern_class& pattern, int element, int sweeps)
{
    const int channel = element - 1;
    const voice_info& voice = voices[channel];
    std::vector<midi_event> events = {
        {0, meta(0x03, ::element(element).name)},
        {0, std::string{static_cast<char>(0xc0 | channel), static_cast<char>(voice.program)}},
        {0, std::string{static_cast<char>(0xb0 | channel), 10, static_cast<char>(voice.pan)}}};
    for (int row = 0; row < step_rows; ++row) {
        const char pitch = static_cast<char>(note_pitches[note_of_row(row)]);
        std::vector<long> starts;
        for (int sweep = 0; sweep < sweeps; ++sweep)
            for (int column = 0; column < step_columns; ++column)
                if (pattern.cells[cell_index(column, row)] == element)
                    starts.push_back(tick_of(sweep, column, pattern.swing));
        for (std::size_t i = 0; i < starts.size(); ++i) {
            const long end = starts[i] + midi_ticks_per_column;
            events.push_back({starts[i], std::string{static_cast<char>(0x90 | channel), pitch,
                                                     static_cast<char>(voice.velocity)}});
            events.push_back({i + 1 < starts.size() ? std::min(end, starts[i + 1]) : end,
                              std::string{static_cast<char>(0x80 | channel), pitch, 0}});
        }
    }
    return track(events);
}

} // namespace

std::string midi_file_bytes(const pattern_class& pattern, int sweeps)
{
    std::string tracks = tempo_track(pattern.tempo);
    int count = 1;
    for (const element_info& info : elements)
        if (std::find(pattern.cells.begin(), pattern.cells.end(), info.id) != pattern.cells.end()) {
            tracks += element_track(pattern, info.id, sweeps);
            ++count;
        }
    return "MThd" + big_endian(6, 4) + big_endian(1, 2) + big_endian(static_cast<unsigned long>(count), 2) +
           big_endian(midi_ticks_per_quarter, 2) + tracks;
}

void configure_midi_out(midi_out_class& midi)
{
    for (int note = 0; note < notes_per_set; ++note)
        midi.pitches[note] = static_cast<std::uint8_t>(note_pitches[note]);
    for (const element_info& info : elements)
        midi.velocities[info.id] = static_cast<std::uint8_t>(voices[info.id - 1].velocity);
}
