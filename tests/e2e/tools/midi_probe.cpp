// Checks what jack_midi_dump -a wrote ("  51712: 90 3c 64 ...", one MIDI message a line with its frame)
// against what Tolme should have sent, to the frame.
//   midi_probe grid <dump> <pattern> <quarter frames> [<xruns>]
//     Every note-on on the beat grid (a column a quarter's fourth, anchored on the first note of the key
//     that only column 0 holds) and of a cell the pattern holds, none left out, every key ended by a
//     note-off a column later or at its next note-on, never two note-ons without one, every clock on its
//     frame (a quarter's 24th, from the anchor) and none left out; messages after the first All Notes Off
//     are only the ending; a leap of whole cycles moves the grid, and the clock of the cycle lost may be
//     missing, as may one clock for each cycle the server said a client lost (an xrun) while the dump ran;
//     each Song Position Pointer comes with Continue on a column's clock and names that column. Prints: grid
//     <notes> <clocks> <worst note frames> <worst clock frames> <leaps> <song position pointers>
//   midi_probe follow <dump>
//     The dump holds a MIDI clock's Start, clocks and Stop and Tolme's notes: after each Start the first
//     note-on comes with the first clock, each later one on a clock a whole number of columns (six clocks)
//     after the one before (a clock off for each interval the source's lost cycles made uneven), and the
//     Stop brings All Notes Off at its frame with no note after it. Prints: follow <notes>
//     <worst frames from its clock>
//   midi_probe match <dump> <onsets> [<xruns>]
//     Each audio onset's frame (the third field of the timing probe's "onset" lines) lies a constant number
//     of frames, a whole number of 256-frame cycles, before a note-on; for each cycle the server said a client
//     lost, that number may move once by whole cycles (the recorder or the dump missed one). Prints: match
//     <onsets> <offset> <moves>
// The pattern is 8 rows of 16 cells as for the timing probe. Exits 1 on the first fault, naming it.
#include "probe_pattern.h"
#include "resources/manifest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct message
{
    long frame;
    std::vector<int> bytes;
};

std::vector<message> read_dump(const char* path)
{
    std::vector<message> out;
    std::ifstream in(path);
    for (std::string line, byte; std::getline(in, line);) {
        std::istringstream words(line);
        message m{};
        char colon = 0;
        if (!(words >> m.frame >> colon) || colon != ':')
            continue;
        while (words >> byte && byte.size() == 2 && std::isxdigit(byte[0]) && std::isxdigit(byte[1]))
            m.bytes.push_back(std::stoi(byte, nullptr, 16));
        if (!m.bytes.empty())
            out.push_back(m);
    }
    return out;
}

int fault(const std::string& why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
}

bool is(const message& m, int status) { return (m.bytes[0] & 0xf0) == status; }
bool note_on(const message& m) { return is(m, 0x90) && m.bytes.size() == 3 && m.bytes[2] > 0; }
bool note_off(const message& m) { return is(m, 0x80) || (is(m, 0x90) && m.bytes.size() == 3 && m.bytes[2] == 0); }
bool all_off(const message& m) { return is(m, 0xb0) && m.bytes.size() == 3 && m.bytes[1] == 123; }
int key_of(const message& m) { return (m.bytes[0] & 0x0f) * 128 + m.bytes[1]; }
long nearest(double x) { return long(std::floor(x + 0.5)); }

constexpr long jack_cycle = 256; // the test server's frames a cycle

// The cell's key: channel by element, pitch by row.
int key_of_cell(int element, int row) { return (element - 1) * 128 + note_pitches[note_of_row(row)]; }

int grid(const std::vector<message>& dump, const std::string& pattern, double quarter, long xruns)
{
    step_grid cells{};
    if (!read_cells(pattern, cells))
        return fault("a pattern is 8 rows of 16 cells");
    std::map<int, std::vector<int>> columns_of_key; // each key's columns in the pattern, in order
    for (int cell = 0; cell < step_cells; ++cell)
        if (cells[cell])
            columns_of_key[key_of_cell(cells[cell], cell % step_rows)].push_back(cell / step_rows);
    // The anchor: the first note of a key that only column 0 holds.
    const auto first = std::find_if(dump.begin(), dump.end(), [&](const message& m) {
        return note_on(m) && columns_of_key[key_of(m)] == std::vector<int>{0};
    });
    if (first == dump.end())
        return fault("no note of a key that only column 0 holds");
    long anchor = first->frame, leaps = 0;
    // A frame's place on a grid of `step` frames from the anchor. Off by whole cycles, a client lost a cycle
    // on the busy machine (the line follows it, or the dump counts one short): the grid moves, counted.
    // A lost cycle may also have taken the messages in it: `leaped` says the frame moved the grid.
    bool leaped = false;
    const auto place = [&](long frame, double step, long& worst) {
        const long index = nearest((frame - anchor) / step), off = frame - anchor - nearest(index * step);
        leaped = off != 0 && off % jack_cycle == 0;
        if (leaped)
            anchor += off, ++leaps;
        else
            worst = std::max(worst, std::labs(off));
        return index;
    };
    const double column = quarter / 4, clock = quarter / 24;
    const long start = dump.front().frame; // notes before the anchor count once the dump runs
    std::map<long, std::vector<int>> heard; // column number from the anchor: keys
    std::map<int, long> sounding;          // key: frame of its note-on
    std::map<int, bool> seen;
    long worst_note = 0, worst_clock = 0, clocks = 0, notes = 0, last_clock = 0, joins = 0;
    bool ending = false;
    for (const message& m : dump) {
        if (all_off(m))
            ending = true;
        if (ending) {
            if (note_on(m) || m.bytes[0] == 0xf8)
                return fault("a note or clock after All Notes Off at " + std::to_string(m.frame));
            continue;
        }
        if (note_on(m)) {
            const long k = place(m.frame, column, worst_note);
            const int in_sweep = int(((k % step_columns) + step_columns) % step_columns);
            const std::vector<int>& columns = columns_of_key[key_of(m)];
            if (std::find(columns.begin(), columns.end(), in_sweep) == columns.end())
                return fault("a note-on of no cell at " + std::to_string(m.frame));
            if (sounding.count(key_of(m)))
                return fault("two note-ons of a key without a note-off, at " + std::to_string(m.frame));
            sounding[key_of(m)] = m.frame;
            seen[key_of(m)] = true;
            heard[k].push_back(key_of(m));
            ++notes;
        } else if (note_off(m)) {
            const auto on = sounding.find(key_of(m));
            if (on == sounding.end()) {
                if (seen.count(key_of(m)))
                    return fault("a note-off of a silent key at " + std::to_string(m.frame));
                continue; // its note-on came before the dump began
            }
            if (m.frame - on->second > nearest(column) + 1)
                return fault("a note held past its column, ended at " + std::to_string(m.frame));
            sounding.erase(on);
        } else if (m.bytes[0] == 0xf2 && m.bytes.size() == 3) {
            const long k = place(m.frame, column, worst_clock), position = m.bytes[1] | m.bytes[2] << 7;
            const message* next = &m + 1;
            if (next == dump.data() + dump.size() || next->bytes[0] != 0xfb || next->frame != m.frame)
                return fault("a Song Position Pointer without Continue at " + std::to_string(m.frame));
            if (position % step_columns != ((k % step_columns) + step_columns) % step_columns)
                return fault("a Song Position Pointer off its column at " + std::to_string(m.frame));
            ++joins;
        } else if (m.bytes[0] == 0xf8) {
            const long j = place(m.frame, clock, worst_clock);
            const bool lost = j == last_clock + 2 && (leaped || xruns-- > 0);
            if (clocks > 0 && j != last_clock + 1 && !lost)
                return fault("a clock left out or doubled before " + std::to_string(m.frame));
            last_clock = j;
            ++clocks;
        }
    }
    // Every column wholly inside the dump holds all of its notes.
    const long from = nearest((start - anchor) / column) + 1, to = heard.empty() ? from : heard.rbegin()->first;
    for (long k = from; k < to; ++k) {
        const int in_sweep = int(((k % step_columns) + step_columns) % step_columns);
        const auto rows = cells.begin() + cell_index(in_sweep, 0);
        const std::size_t expected = step_rows - std::count(rows, rows + step_rows, 0);
        if (heard[k].size() != expected)
            return fault("column " + std::to_string(k) + " sounded " + std::to_string(heard[k].size()) + " of " +
                         std::to_string(expected) + " notes");
    }
    std::printf("grid %ld %ld %ld %ld %ld %ld\n", notes, clocks, worst_note, worst_clock, leaps, joins);
    return 0;
}

int follow(const std::vector<message>& dump)
{
    std::vector<long> clocks; // the other machine's: Tolme sends none while it follows
    for (const message& m : dump)
        if (m.bytes[0] == 0xf8)
            clocks.push_back(m.frame);
    if (clocks.size() < 3)
        return fault("fewer than three clocks");
    // The clock's period is its most usual interval. Where a client lost a cycle, the source sends a clock
    // early, twice or not at all, and what Tolme heard may differ from what the dump shows: each interval
    // off the period lets the count between two notes be one clock off.
    std::vector<long> intervals;
    for (std::size_t i = 1; i < clocks.size(); ++i)
        intervals.push_back(clocks[i] - clocks[i - 1]);
    std::nth_element(intervals.begin(), intervals.begin() + long(intervals.size() / 2), intervals.end());
    const long period = intervals[intervals.size() / 2];
    std::vector<long> uneven(clocks.size(), 0); // intervals off the period up to each clock
    for (std::size_t i = 1; i < clocks.size(); ++i)
        uneven[i] = uneven[i - 1] + (std::labs(clocks[i] - clocks[i - 1] - period) > 2);
    long worst = 0, notes = 0, last_clock = -1, stop_at = -1;
    bool start_due = false;
    for (const message& m : dump) {
        if (m.bytes[0] == 0xfa) {
            start_due = true;
            stop_at = -1;
        } else if (m.bytes[0] == 0xfc) {
            stop_at = m.frame;
        } else if (all_off(m) && stop_at >= 0 && m.frame != stop_at) {
            return fault("All Notes Off at " + std::to_string(m.frame) + ", not at the Stop's " + std::to_string(stop_at));
        } else if (note_on(m)) {
            if (stop_at >= 0)
                return fault("a note after the Stop, at " + std::to_string(m.frame));
            // The clock at or nearest the note.
            const long at = long(std::lower_bound(clocks.begin(), clocks.end(), m.frame) - clocks.begin());
            const long nearest_clock = at > 0 && (at == long(clocks.size()) || m.frame - clocks[at - 1] < clocks[at] - m.frame) ? at - 1 : at;
            if (start_due) {
                start_due = false;
                last_clock = nearest_clock;
                if (clocks[nearest_clock] != m.frame)
                    return fault("column 0's note at " + std::to_string(m.frame) + " is not on the Start's first clock");
            }
            if (last_clock < 0)
                continue;
            const long apart = nearest_clock - last_clock, off_columns = std::labs(apart - 6 * nearest(apart / 6.0));
            if (off_columns > uneven[nearest_clock] - uneven[last_clock])
                return fault("a note " + std::to_string(apart) + " clocks after the one before, not whole columns, at " +
                             std::to_string(m.frame));
            last_clock = nearest_clock;
            worst = std::max(worst, std::labs(m.frame - clocks[nearest_clock]));
            ++notes;
        }
    }
    if (notes < 2)
        return fault("fewer than two notes followed the clock");
    std::printf("follow %ld %ld\n", notes, worst);
    return 0;
}

int match(const std::vector<message>& dump, const char* onsets_path, long xruns)
{
    std::vector<long> ons, onsets;
    for (const message& m : dump)
        if (note_on(m) && (ons.empty() || ons.back() != m.frame))
            ons.push_back(m.frame);
    std::ifstream in(onsets_path);
    std::string word;
    double seconds = 0, deviation = 0;
    long frame = 0;
    while (in >> word)
        if (word == "onset" && in >> seconds >> deviation >> frame)
            onsets.push_back(frame);
    if (onsets.empty() || ons.empty())
        return fault("no onsets or no note-ons");
    const auto is_on = [&](long f) { return std::binary_search(ons.begin(), ons.end(), f); };
    // How often the offset had to move by whole cycles for every onset to land on a note-on from this start,
    // or -1 when some onset lies on none within a few cycles.
    const auto moves_from = [&](long offset) {
        long moves = 0;
        for (const long onset : onsets) {
            if (is_on(onset + offset))
                continue;
            long k = 1;
            for (; k <= 8 && !is_on(onset + offset + 256 * k) && !is_on(onset + offset - 256 * k); ++k) {}
            if (k > 8)
                return -1L;
            offset += is_on(onset + offset + 256 * k) ? 256 * k : -256 * k;
            ++moves;
        }
        return moves;
    };
    // The note-on of the first onset: the one that puts every later onset on a note-on too, moving the offset by
    // whole cycles only where a client lost one (at most once per xrun).
    const auto first = std::find_if(ons.begin(), ons.end(), [&](long on) {
        const long moves = moves_from(on - onsets.front());
        return moves >= 0 && moves <= xruns;
    });
    if (first == ons.end())
        return fault("no offset, moved by whole cycles at most once per xrun, puts every onset on a note-on");
    const long best = *first - onsets.front();
    if (best % 256 != 0)
        return fault("the onsets lie " + std::to_string(best) + " frames before their note-ons, not whole cycles");
    std::printf("match %zu %ld %ld\n", onsets.size(), best, moves_from(best));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "grid" && (argc == 5 || argc == 6))
        return grid(read_dump(argv[2]), argv[3], std::atof(argv[4]), argc == 6 ? std::atol(argv[5]) : 0);
    if (mode == "follow" && argc == 3)
        return follow(read_dump(argv[2]));
    if (mode == "match" && (argc == 4 || argc == 5))
        return match(read_dump(argv[2]), argv[3], argc == 5 ? std::atol(argv[4]) : 0);
    std::fprintf(stderr, "usage: midi_probe grid <dump> <pattern> <quarter frames> [<xruns>] | follow <dump> | "
                         "match <dump> <onsets> [<xruns>]\n");
    return 2;
}
