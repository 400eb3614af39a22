// Measures, to the frame, when each note of a known pattern was heard in a captured mix: the same pattern is
// rendered offline by the program's own mixer and data, the capture is aligned with that reference as a
// whole (one constant latency), and then each column's onset is aligned on its own. A note counts as heard
// only where the capture matches the reference closely, so a wrong sound, pitch, gain or pan, or a note
// that should be silent, shows as a lost note.
//   timing_probe [--tempo BPM] [--swing PERCENT] [--rate HZ] [--beat] <capture.wav> <pattern> <from s> [<until s>]
// The pattern is 8 rows of 16 cells, top row first, rows joined by '/': '.' silent, '1' to '4' an element;
// it plays at the default tempo, straight, at 44.1 kHz with the notes where the line meets their tokens,
// unless the options say otherwise (--beat: on the beat grid, as on JACK).
// Only onsets between <from> and <until> (capture time) count. Prints
//   timing <onsets> <lost> <mean deviation ms> <standard deviation ms> <worst ms> <sweep ms> <latency ms>
//          <sound start s>
// the sweep being the period measured in the capture, the latency the capture's offset against the mixer's
// frame 0 (modulo a sweep when the capture began late) and the sound start the capture time at which sound
// first appears. With TIMING_PROBE_EACH set, each onset's capture time and deviation come first. For an empty
// pattern it checks for silence instead, printing nothing.
//   timing_probe --onsets <capture.wav> <from s> <until s>
// needs no pattern: it prints the capture time of every sharp rise in loudness (a note's attack over the
// tails before it), one "onset <s>" a line, to follow a capture whose tempo changes.
#include "audio/mixer.h"
#include "instrument/note_playing.h"
#include "instrument/note_sounds.h"
#include "instrument/pattern_file.h"
#include "probe_pattern.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

namespace {

double rate = mixer_class::desktop_rate;
note_placement placement = note_placement::token;
constexpr double heard_match = 0.9; // the capture is the same frames, give or take its 16-bit rounding

uint32_t u32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

float sample_at(const unsigned char* q, int format, int bits)
{
    float f = bits == 16 ? int16_t(u16(q)) / 32768.0f : 0.0f;
    if (format == 3 && bits == 32)
        std::memcpy(&f, q, 4); // little-endian, as the machine
    return f;
}

// A captured mix made mono, as the reference is: OpenAL Soft's wave writer (32-bit float, extensible header,
// sizes possibly unset while it was still writing) or parecord's 16-bit PCM, any channel count (the first two
// heard). Its rate, 0 when it is not one.
int read_mix(const std::string& path, std::vector<float>& mono)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4))
        return 0;
    int channels = 0, bits = 0, format = 0, hz = 0;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        const uint32_t size = u32(chunk + 4);
        if (!std::memcmp(chunk, "fmt ", 4)) {
            format = u16(chunk + 8);
            channels = u16(chunk + 10);
            hz = int(u32(chunk + 12));
            bits = u16(chunk + 22);
            if (format == 0xFFFE)
                format = u16(chunk + 32);
        } else if (!std::memcmp(chunk, "data", 4)) {
            // A writer that was not closed leaves the size unset: take the rest of the file.
            const size_t end = (size == 0 || pos + 8 + size > bytes.size()) ? bytes.size() : pos + 8 + size;
            const size_t frame = size_t(channels) * bits / 8;
            for (size_t p = pos + 8; frame && p + frame <= end; p += frame) {
                const float left = sample_at(bytes.data() + p, format, bits);
                mono.push_back(channels > 1 ? (left + sample_at(bytes.data() + p + bits / 8, format, bits)) / 2 : left);
            }
            return hz;
        }
        pos += 8 + size + (size & 1);
    }
    return 0;
}

// Each group of n values averaged: a stereo mix made mono (n = 2), or a sound at a lower rate.
std::vector<float> averaged(const float* values, std::size_t size, std::size_t n)
{
    std::vector<float> out(size / n);
    for (std::size_t i = 0; i < out.size(); ++i) {
        for (std::size_t k = 0; k < n; ++k)
            out[i] += values[n * i + k];
        out[i] /= float(n);
    }
    return out;
}

// Normalised correlation of reference[at, at + n) with capture[at + lag, ...); -1 out of range.
double match(const std::vector<float>& reference, const std::vector<float>& capture, long at, long lag, long n)
{
    if (at < 0 || at + n > long(reference.size()) || at + lag < 0 || at + lag + n > long(capture.size()))
        return -1;
    double rc = 0, rr = 0, cc = 0;
    for (long i = 0; i < n; ++i) {
        const double r = reference[at + i], c = capture[at + lag + i];
        rc += r * c, rr += r * r, cc += c * c;
    }
    return rr > 0 && cc > 0 ? rc / std::sqrt(rr * cc) : -1;
}

// The lag in [low, high] at which the stretch matches best, and how well.
std::pair<long, double> best_lag(const std::vector<float>& reference, const std::vector<float>& capture, long at,
                                 long low, long high, long n)
{
    std::pair<long, double> best{low, -2};
    for (long lag = low; lag <= high; ++lag) {
        const double m = match(reference, capture, at, lag, n);
        if (m > best.second)
            best = {lag, m};
    }
    return best;
}

// Where in the reference the capture's stretch from `from` on fits, as a lag: correlated at a quarter of the
// rate over a sweep of offsets about the capture's own position (the pattern repeats every sweep, so the fit
// nearest it is taken), then to the frame within a low note's few periods, so that no neighbouring side lobe
// of its waveform is taken for it. A quiet stretch of the reference would score high on little: it must be
// about as loud. The reference's first sweep lacks the tails of a sweep before it, so the fit a sweep later
// wins when it is much the better.
std::pair<long, double> find_latency(const std::vector<float>& reference, const std::vector<float>& capture,
                                     long from, double sweep)
{
    const long window = 1 << 16;
    if (from + window > long(capture.size()) || long(reference.size()) < window)
        return {0, -1};
    const std::vector<float> r = averaged(reference.data(), reference.size(), 4);
    const std::vector<float> c = averaged(capture.data() + from, window, 4);
    const double captured = std::inner_product(c.begin(), c.end(), c.begin(), 0.0);
    std::vector<double> energy(r.size() + 1, 0.0); // prefix sums of the reference's energy
    for (std::size_t i = 0; i < r.size(); ++i)
        energy[i + 1] = energy[i] + double(r[i]) * r[i];
    const auto score = [&](std::size_t k) {
        const double e = k + c.size() < energy.size() ? energy[k + c.size()] - energy[k] : 0;
        if (e <= 0.25 * captured)
            return -1.0;
        return std::inner_product(c.begin(), c.end(), r.begin() + long(k), 0.0) / std::sqrt(e);
    };
    const std::size_t first = std::size_t(std::max(0.0, double(from) - sweep / 2) / 4);
    const std::size_t repeat = std::size_t(std::lround(sweep / 4));
    std::size_t best = first;
    double best_score = -2;
    for (std::size_t k = first; k < first + repeat; ++k)
        if (const double s = score(k); s > best_score)
            best = k, best_score = s;
    if (score(best + repeat) * 0.9 > best_score)
        best += repeat;
    const long at = 4 * long(best);
    return best_lag(reference, capture, at, from - at - 1024, from - at + 1024, window);
}

int probe(const std::vector<float>& capture, const note_sounds_class& sounds, const pattern_class& pattern,
          char** argv, int argc)
{
    const step_grid& cells = pattern.cells;
    const long size = long(capture.size()), until = std::min(argc > 4 ? long(std::atof(argv[4]) * rate) : size, size);
    const long from = long(std::atof(argv[3]) * rate);
    if (cells == step_grid{}) // silence: nothing above a quiet capture's rounding
        return std::any_of(capture.begin() + std::min(from, until), capture.begin() + until,
                           [](float v) { return std::fabs(v) >= 1e-3f; });
    const auto schedule_only = std::make_unique<mixer_class>(unsigned(rate));
    configure_mixer(*schedule_only, sounds, placement);
    note_schedule_class& schedule = *schedule_only->schedule;
    schedule.set_timing(0, pattern.tempo, pattern.swing);
    if (placement == note_placement::beat)
        schedule.locate(0, 0.5);
    const double sweep = double(schedule.frame_at(16000.5) - schedule.frame_at(0.5)) / 1000.0;
    const int sweeps = int((double(capture.size()) + 5 * rate) / sweep) + 2;
    const std::vector<float> stereo = render_pattern(sounds, pattern, sweeps, placement, unsigned(rate));
    const std::vector<float> reference = averaged(stereo.data(), stereo.size(), 2);
    std::vector<long> onsets; // one a column: the notes of a column start together
    schedule.for_each_note(0, reference.size(), [&](std::uint64_t at, int column) {
        const auto rows = cells.begin() + cell_index(column, 0);
        if (std::any_of(rows, rows + step_rows, [](std::uint8_t cell) { return cell != 0; }))
            onsets.push_back(long(at));
    });

    // Only whole notes count: none cut by the sound's start (a device that came back mid-note) or end.
    const auto audible = [&](float v) { return std::fabs(v) > 1e-4f; };
    const long sound_start = long(std::find_if(capture.begin(), capture.end(), audible) - capture.begin());
    const long sound_end = long(capture.rend() - std::find_if(capture.rbegin(), capture.rend(), audible));
    const long start = std::max(from, sound_start + 2048), end = std::min(until, sound_end) - 4096;
    const auto [latency, quality] = find_latency(reference, capture, start, sweep);
    if (quality < heard_match) {
        std::fprintf(stderr, "the capture does not match the pattern (best match %.2f)\n", quality);
        return 1;
    }

    std::vector<double> deviations, heard_at, expected_at;
    long lost = 0;
    for (long onset : onsets) {
        const long at = onset - 256;
        if (onset + latency < start || at + latency > end)
            continue;
        // Near the constant latency first; a note that far off is looked for further away.
        auto [lag, m] = best_lag(reference, capture, at, latency - 256, latency + 256, 2048);
        if (m < heard_match)
            std::tie(lag, m) = best_lag(reference, capture, at, latency - 2048, latency + 2048, 2048);
        if (m < heard_match) {
            ++lost;
            continue;
        }
        deviations.push_back(double(lag - latency) * 1000.0 / rate);
        heard_at.push_back(double(onset + lag));
        expected_at.push_back(double(onset));
        if (std::getenv("TIMING_PROBE_EACH"))
            std::printf("onset %.3f %.4f %ld\n", heard_at.back() / rate, deviations.back(), onset + lag);
    }
    if (deviations.size() < 2) {
        std::fprintf(stderr, "too few onsets to measure (%ld lost)\n", lost);
        return 1;
    }
    const double n = double(deviations.size()), mean = std::accumulate(deviations.begin(), deviations.end(), 0.0) / n;
    double worst = 0, variance = 0;
    for (double d : deviations)
        worst = std::max(worst, std::fabs(d)), variance += (d - mean) * (d - mean) / n;
    // How the capture's clock ran against the mixer's, from the first note heard to the last.
    const double slope = (heard_at.back() - heard_at.front()) / (expected_at.back() - expected_at.front());
    std::printf("timing %zu %ld %.4f %.4f %.4f %.5f %.3f %.3f\n", deviations.size(), lost, mean,
                std::sqrt(variance), worst, slope * sweep * 1000.0 / rate, double(latency) * 1000.0 / rate,
                double(sound_start) / rate);
    return 0;
}

// Sharp rises of the loudness in 128-frame blocks: a block two and a half times as loud as any of the seven
// before the one before it (an attack may straddle two blocks).
int print_onsets(const std::vector<float>& capture, double from, double until)
{
    constexpr std::size_t block = 128;
    std::vector<double> loudness(capture.size() / block);
    for (std::size_t b = 0; b < loudness.size(); ++b) {
        for (std::size_t i = 0; i < block; ++i)
            loudness[b] += double(capture[b * block + i]) * capture[b * block + i];
        loudness[b] = std::sqrt(loudness[b] / block);
    }
    for (std::size_t b = 8; b < loudness.size(); ++b) {
        const double seconds = double(b * block) / rate;
        const double before = *std::max_element(loudness.begin() + long(b) - 8, loudness.begin() + long(b) - 1);
        if (seconds < from || seconds > until || loudness[b] < 0.01 || loudness[b] < 2.5 * before)
            continue;
        std::printf("onset %.4f\n", seconds);
        b += 16; // one attack can span a few blocks
    }
    return 0;
}

// The options before the arguments: --tempo BPM and --swing PERCENT, as the program takes them, the rate and
// the placement.
bool read_options(int& argc, char**& argv, pattern_class& pattern)
{
    for (; argc > 1 && std::string(argv[1]).rfind("--", 0) == 0; --argc, ++argv) {
        const std::string option = argv[1], value = argc > 2 ? argv[2] : "";
        int tenths = 0;
        if (option == "--beat")
            placement = note_placement::beat;
        else if (option == "--rate")
            rate = std::atof(value.c_str());
        else if (option == "--tempo" && read_tempo(value, tenths).empty())
            pattern.tempo = tempo_in_tenths(tenths);
        else if (option != "--swing" || !read_swing(value, pattern.swing).empty())
            return false;
        if (option != "--beat")
            --argc, ++argv; // past its value
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<float> capture;
    if (argc == 5 && std::string(argv[1]) == "--onsets" && read_mix(argv[2], capture) == int(rate))
        return print_onsets(capture, std::atof(argv[3]), std::atof(argv[4]));
    pattern_class pattern;
    if (!read_options(argc, argv, pattern) || argc < 4 || argc > 5 || !read_cells(argv[2], pattern.cells)) {
        std::fprintf(stderr, "usage: timing_probe [--tempo BPM] [--swing PERCENT] <capture.wav> "
                             "<8 rows of 16 cells joined by '/'> <from s> [<until s>]\n");
        return 2;
    }
    if (read_mix(argv[1], capture) != int(rate)) {
        std::fprintf(stderr, "cannot read %s as a %g Hz capture\n", argv[1], rate);
        return 2;
    }
    // Samples load only after audio was installed once; no device is needed for it.
    setenv("ALSOFT_DRIVERS", "null", 0);
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_install_audio();
    al_init_acodec_addon();
    int status = 0;
    {
        note_sounds_class sounds;
        sounds.load();
        status = probe(capture, sounds, pattern, argv, argc);
    }
    al_uninstall_system();
    return status;
}
