// The note sets, the selection chime and the fallback sound. All four sets play one C major pentatonic
// scale (C4 to E5), so any pattern is consonant; they differ by timbre only, and are balanced so that they
// sound equally loud after the gains and pan the instrument plays them with.
#include "canvas.h"
#include "families.h"
#include "noise.h"
#include "wav.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using buffer = std::vector<double>;

constexpr double two_pi = 2.0 * M_PI;
// Loudness is the RMS of a note's first half second, which is what the ear weighs in a 0.17 s step.
constexpr double loudness_window = 0.5;
// The loudest column of eight notes peaks here, 1 dB under full scale.
constexpr double column_peak_limit = 0.89;

// Equal temperament around A4 = 440 Hz (MIDI note 69).
double note_frequency(int n)
{
    return 440.0 * std::pow(2.0, (note_pitches[n] - 69) / 12.0);
}

double rise(double t, double seconds)
{
    return t >= seconds ? 1.0 : 0.5 - 0.5 * std::cos(M_PI * t / seconds);
}

buffer silence(double seconds)
{
    return buffer(static_cast<size_t>(seconds * sample_rate), 0.0);
}

double time_of(size_t i)
{
    return static_cast<double>(i) / sample_rate;
}

// Struck wooden bar: a strong fundamental and the bar's fourth harmonic, both dying quickly.
buffer marimba(double f)
{
    buffer out = silence(1.0);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        out[i] = rise(t, 0.003) * (std::sin(two_pi * f * t) * std::exp(-t / 0.32) +
                                   0.3 * std::sin(two_pi * 4.0 * f * t) * std::exp(-t / 0.07) +
                                   0.08 * std::sin(two_pi * 9.9 * f * t) * std::exp(-t / 0.02));
    }
    return out;
}

// Soft flute: few harmonics, a slow onset with a puff of breath, a gentle vibrato that sets in late.
buffer flute(double f)
{
    buffer out = silence(1.3);
    noise_class noise(static_cast<uint32_t>(f));
    double phase = 0.0;
    double breath = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        const double vibrato = 1.0 + 0.003 * std::sin(two_pi * 5.0 * t) * std::min(1.0, t / 0.4);
        phase += two_pi * f * vibrato / sample_rate;
        breath += 0.12 * (noise.next_signed() - breath);
        const double tone = std::sin(phase) + 0.25 * std::sin(2.0 * phase) + 0.1 * std::sin(3.0 * phase);
        const double air = breath * (0.9 * std::exp(-t / 0.06) + 0.25);
        out[i] = rise(t, 0.07) * std::exp(-t / 1.6) * (tone + air);
    }
    return out;
}

// A drop falling into a bell: the pitch slides up into place, then bell-like inharmonic partials ring out.
buffer water_bell(double f)
{
    buffer out = silence(1.4);
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        phase += two_pi * f * (1.0 - 0.25 * std::exp(-t / 0.012)) / sample_rate;
        out[i] = rise(t, 0.002) * (std::sin(phase) * std::exp(-t / 0.45) +
                                   0.35 * std::sin(2.76 * phase) * std::exp(-t / 0.1) +
                                   0.18 * std::sin(5.4 * phase) * std::exp(-t / 0.05) +
                                   0.07 * std::sin(8.93 * phase) * std::exp(-t / 0.03));
    }
    return out;
}

// Bright pluck: a full harmonic series whose upper partials fade first, as on a plucked string.
buffer bright_pluck(double f)
{
    buffer out = silence(1.2);
    const int partials = std::min(20, static_cast<int>(11000.0 / f));
    for (int k = 1; k <= partials; ++k) {
        const double decay = 0.55 / (1.0 + 0.4 * (k - 1));
        // Spread phases keep the partials from all peaking at once at the onset.
        const double offset = 0.7 * k * k;
        for (size_t i = 0; i < out.size(); ++i) {
            const double t = time_of(i);
            out[i] += std::sin(two_pi * k * f * t + offset) * std::exp(-t / decay) / k;
        }
    }
    for (size_t i = 0; i < out.size(); ++i)
        out[i] *= rise(time_of(i), 0.002);
    return out;
}

// Every note ends in silence, so that cutting it off never clicks.
void fade_out(buffer& out, double seconds)
{
    const size_t n = std::min(out.size(), static_cast<size_t>(seconds * sample_rate));
    for (size_t i = 0; i < n; ++i)
        out[out.size() - n + i] *= 0.5 + 0.5 * std::cos(M_PI * (i + 1) / n);
}

double loudness(const buffer& b)
{
    const size_t n = std::min(b.size(), static_cast<size_t>(loudness_window * sample_rate));
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i)
        sum += b[i] * b[i];
    return std::sqrt(sum / n);
}

void scale(buffer& b, double factor)
{
    for (double& s : b)
        s *= factor;
}

struct note_set_class
{
    buffer (*voice)(double f);
    double release;
    // How the instrument plays the set: its gain and the per-channel factors of its pan (Allegro mixes a
    // mono sample with sqrt((1 -/+ pan) / 2) into left and right).
    double gain;
    double pan;
    buffer notes[notes_per_set];

    double played_power() const { return gain * gain; }

    double loudest_channel() const { return gain * std::sqrt((1.0 + std::fabs(pan)) / 2.0); }

    double column_peak() const
    {
        double peak = 0.0;
        for (size_t i = 0; i < notes[0].size(); ++i) {
            double sum = 0.0;
            for (const buffer& note : notes)
                sum += i < note.size() ? note[i] : 0.0;
            peak = std::max(peak, std::fabs(sum));
        }
        return peak * loudest_channel();
    }
};

// Renders each note at one played loudness, then scales all sets alike so the loudest column stays clear
// of clipping.
void render_sets(std::vector<note_set_class>& sets)
{
    double worst_column = 0.0;
    for (note_set_class& set : sets) {
        for (int n = 0; n < notes_per_set; ++n) {
            buffer& note = set.notes[n];
            note = set.voice(note_frequency(n));
            fade_out(note, set.release);
            scale(note, 1.0 / (loudness(note) * std::sqrt(set.played_power())));
        }
        worst_column = std::max(worst_column, set.column_peak());
    }
    for (note_set_class& set : sets)
        for (buffer& note : set.notes)
            scale(note, column_peak_limit / worst_column);
}

buffer chime()
{
    buffer out = silence(0.6);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        out[i] = 0.3 * rise(t, 0.004) *
                 (std::sin(two_pi * 1318.5 * t) * std::exp(-t / 0.18) +
                  0.6 * std::sin(two_pi * 1975.5 * t) * std::exp(-t / 0.12));
    }
    fade_out(out, 0.05);
    return out;
}

buffer neutral_blip()
{
    buffer out = silence(0.25);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = time_of(i);
        out[i] = 0.25 * rise(t, 0.01) * std::sin(two_pi * 440.0 * t) * std::exp(-t / 0.08);
    }
    fade_out(out, 0.05);
    return out;
}

} // namespace

bool write_sounds(const std::string& data_dir)
{
    std::vector<note_set_class> sets = {
        {marimba, 0.08, 0.8, 0.0, {}},
        {flute, 0.45, 0.7, 0.5, {}},
        {water_bell, 0.25, 0.8, 0.0, {}},
        {bright_pluck, 0.15, 0.8, 0.0, {}},
    };
    render_sets(sets);

    bool ok = true;
    for (int set = 0; set < note_set_count; ++set)
        for (int n = 0; n < notes_per_set; ++n)
            ok &= save_wav(sets[set].notes[n], data_path(data_dir, note_sound_file(set, n).c_str()));
    ok &= save_wav(chime(), data_path(data_dir, select_sound_file));
    ok &= save_wav(neutral_blip(), data_path(data_dir, missing_sample_file));
    return ok;
}
