#include "instrument/midi_file.h"

#include "instrument/elements.h"
#include "instrument/instrument.h"
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
    std::stable_sort(events.begin(), events.end(), [](const midi_event& a, const midi_event& b) { return a.tick < b.tick; });
    std::string body;
    long last = 0;
    for (const midi_event& event : events) {
        body += variable_length(static_cast<unsigned long>(event.tick - last)) + event.bytes;
        last = event.tick;
    }
    body += variable_length(0) + meta(0x2f, "");
    return "MTrk" + big_endian(body.size(), 4) + body;
}

// One column is a sixteenth: 51.2 px of the line at 300 px/s, 170.67 ms, so a quarter lasts 682,667 us.
std::string tempo_track()
{
    const double quarter = 4 * static_cast<double>(column_step(grid_scale)) / play_speed * 1e6;
    return track({{0, meta(0x03, "Tolme")},
                  {0, meta(0x51, big_endian(static_cast<unsigned long>(std::lround(quarter)), 3))},
                  {0, meta(0x58, std::string{4, 2, 24, 8})}});
}

// The tick at which the line reaches a column in a sweep: its centre is half a column in.
long tick_of(int sweep, int column)
{
    const double columns = sweep * static_cast<double>(sweep_length(grid_scale)) / column_step(grid_scale) + column + 0.5;
    return std::lround(columns * midi_ticks_per_column);
}

std::string element_track(const step_grid& cells, int element, int sweeps)
{
    const int channel = element - 1;
    const voice_info& voice = voices[channel];
    std::vector<midi_event> events = {
        {0, meta(0x03, ::element(element).name)},
        {0, std::string{static_cast<char>(0xc0 | channel), static_cast<char>(voice.program)}},
        {0, std::string{static_cast<char>(0xb0 | channel), 10, static_cast<char>(voice.pan)}}};
    for (int sweep = 0; sweep < sweeps; ++sweep)
        for (int cell = 0; cell < step_cells; ++cell)
            if (cells[cell] == element) {
                const char pitch = static_cast<char>(note_pitches[note_of_row(cell % step_rows)]);
                const long on = tick_of(sweep, cell / step_rows);
                events.push_back({on, std::string{static_cast<char>(0x90 | channel), pitch,
                                                  static_cast<char>(voice.velocity)}});
                events.push_back({on + midi_ticks_per_column, std::string{static_cast<char>(0x80 | channel), pitch, 0}});
            }
    return track(events);
}

} // namespace

std::string midi_file_bytes(const step_grid& cells, int sweeps)
{
    std::string tracks = tempo_track();
    int count = 1;
    for (const element_info& info : elements)
        if (std::find(cells.begin(), cells.end(), info.id) != cells.end()) {
            tracks += element_track(cells, info.id, sweeps);
            ++count;
        }
    return "MThd" + big_endian(6, 4) + big_endian(1, 2) + big_endian(static_cast<unsigned long>(count), 2) +
           big_endian(midi_ticks_per_quarter, 2) + tracks;
}
