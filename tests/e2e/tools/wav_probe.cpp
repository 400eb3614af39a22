// Reads a captured mix (OpenAL Soft's wave writer: 32-bit float or 16-bit PCM, any channel count, possibly
// with unfinished chunk sizes) and prints what was heard: one line per note onset with its time, pitch,
// level and left/right balance, then a summary line.
//   onset <seconds> <pitch Hz> <peak> <right/left energy ratio>
//   summary <duration seconds> <peak> <onset count>
// Given a lattice period (seconds), a start time and a number of voices, it also compares the onsets from that
// time on with a schedule of one note every period, the voices taking turns:
//   lattice <slots> <lost> <doubled> <mean error ms> <99th percentile ms> <worst ms> <measured period s>
// Errors are measured against the ideal period; each voice's constant latency (its sound's attack) is taken
// out by its earliest onset.
#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct mix
{
    int rate = 0;
    std::vector<float> left, right;
};

bool read_stereo(const char* path, mix& out)
{
    captured_mix captured;
    if (!read_mix(path, captured))
        return false;
    out.rate = captured.rate;
    for (size_t i = 0; i + 1 < captured.frames.size(); i += 2) {
        out.left.push_back(captured.frames[i]);
        out.right.push_back(captured.frames[i + 1]);
    }
    return true;
}

// Magnitude of one frequency over a Hann-windowed stretch (Goertzel).
double magnitude_at(const std::vector<float>& mono, size_t start, size_t n, double f, int rate)
{
    static std::vector<double> hann;
    if (hann.size() != n) {
        hann.resize(n);
        for (size_t i = 0; i < n; ++i)
            hann[i] = 0.5 - 0.5 * std::cos(2 * M_PI * i / (n - 1));
    }
    const double coeff = 2 * std::cos(2 * M_PI * f / rate);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < n; ++i) {
        const double s0 = mono[start + i] * hann[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2));
}

// Pitch of what a note added to the mix: notes overlap, so the spectrum just before the onset is taken away
// from the spectrum just after it, and the fundamental whose harmonics gained most wins.
double pitch_at(const std::vector<float>& mono, size_t onset, int rate)
{
    const size_t n = 4096, after = onset + rate / 20;
    if (onset < n || after + n > mono.size())
        return 0;
    auto gain = [&](double f) {
        return std::max(0.0, magnitude_at(mono, after, n, f, rate) - magnitude_at(mono, onset - n, n, f, rate));
    };
    double best_f = 0, best = 0;
    for (double f = 60; f < 1500; f *= std::pow(2.0, 1.0 / 96)) {
        double salience = 0;
        for (int h = 1; h <= 5; ++h)
            salience += gain(h * f) / std::sqrt(double(h));
        if (salience > best) {
            best = salience;
            best_f = f;
        }
    }
    return best_f;
}

// Energy of one channel over [from, from + count).
double energy_of(const std::vector<float>& channel, size_t from, size_t count)
{
    double e = 0;
    for (size_t i = from; i < from + count && i < channel.size(); ++i)
        e += double(channel[i]) * channel[i];
    return e;
}

void report_lattice(const std::vector<double>& onsets, double period, int voices)
{
    if (onsets.size() < 2)
        return;
    std::vector<long> slot;
    for (double t : onsets)
        slot.push_back(std::lround((t - onsets[0]) / period));
    // Least-squares line through (slot, time): its slope is the measured period.
    double sk = 0, st = 0, skk = 0, skt = 0;
    const double n = double(onsets.size());
    for (size_t i = 0; i < onsets.size(); ++i) {
        sk += slot[i];
        st += onsets[i];
        skk += double(slot[i]) * slot[i];
        skt += slot[i] * onsets[i];
    }
    const double slope = (n * skt - sk * st) / (n * skk - sk * sk);
    std::vector<double> errors;
    for (size_t i = 0; i < onsets.size(); ++i)
        errors.push_back(onsets[i] - onsets[0] - slot[i] * period);
    std::vector<double> earliest(voices, 1e9);
    for (size_t i = 0; i < errors.size(); ++i)
        earliest[slot[i] % voices] = std::min(earliest[slot[i] % voices], errors[i]);
    double sum = 0;
    for (size_t i = 0; i < errors.size(); ++i) {
        errors[i] = (errors[i] - earliest[slot[i] % voices]) * 1000.0;
        sum += errors[i];
    }
    std::sort(errors.begin(), errors.end());
    long doubled = 0;
    for (size_t i = 1; i < slot.size(); ++i)
        doubled += slot[i] == slot[i - 1];
    const long slots = slot.back() + 1;
    std::printf("lattice %ld %ld %ld %.3f %.3f %.3f %.9f\n", slots, slots - long(slot.size() - doubled), doubled,
                sum / errors.size(), errors[size_t(0.99 * (errors.size() - 1))], errors.back(), slope);
}

} // namespace

int main(int argc, char** argv)
{
    mix m;
    if (argc < 2 || !read_stereo(argv[1], m)) {
        std::fprintf(stderr, "usage: wav_probe <capture.wav>  (could not read it)\n");
        return 2;
    }
    std::vector<float> mono(m.left.size());
    float peak = 0;
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = 0.5f * (m.left[i] + m.right[i]);
        peak = std::fmax(peak, std::fmax(std::fabs(m.left[i]), std::fabs(m.right[i])));
    }
    // Onsets: the energy of the last few hops rises well above that of a little earlier. Notes overlap, so a
    // new one is told by its rise over the tails of the others, not by a rise out of silence.
    const size_t hop = 128, span = 4, gap = 8, refractory = 40;
    std::vector<double> energy;
    for (size_t i = 0; i + hop <= mono.size(); i += hop)
        energy.push_back(energy_of(mono, i, hop) / hop);
    auto mean = [&](size_t from, size_t count) {
        double e = 0;
        for (size_t h = from; h < from + count; ++h)
            e += energy[h];
        return e / count;
    };
    std::vector<double> onset_times;
    size_t last_onset_hop = 0;
    for (size_t h = span + gap; h + span < energy.size(); ++h) {
        const double before = mean(h - span - gap, span), now = mean(h, span);
        const bool rising = now > 2e-5 && now > 2.5 * before;
        if (!rising || (!onset_times.empty() && h - last_onset_hop < refractory))
            continue;
        // The note starts at the first hop of the rise.
        size_t first = h;
        while (first > h - gap && energy[first - 1] > 1.5 * before)
            --first;
        const size_t at = first * hop, look = 8192;
        // Balance of what the note added: energy after its start less the energy just before it.
        const double el = energy_of(m.left, at, look) - energy_of(m.left, at - look / 2, look / 2) * 2;
        const double er = energy_of(m.right, at, look) - energy_of(m.right, at - look / 2, look / 2) * 2;
        float note_peak = 0;
        for (size_t i = at; i < at + look && i < mono.size(); ++i)
            note_peak = std::fmax(note_peak, std::fabs(mono[i]));
        std::printf("onset %.5f %.1f %.4f %.3f\n", double(at) / m.rate, pitch_at(mono, at, m.rate),
                    note_peak, el > 0 && er > 0 ? std::sqrt(er / el) : 0.0);
        onset_times.push_back(double(at) / m.rate);
        last_onset_hop = h;
    }
    std::printf("summary %.3f %.4f %zu\n", double(mono.size()) / m.rate, peak, onset_times.size());
    if (argc > 2) {
        const double from = argc > 3 ? std::atof(argv[3]) : 0.0;
        const int voices = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
        onset_times.erase(onset_times.begin(), std::lower_bound(onset_times.begin(), onset_times.end(), from));
        report_lattice(onset_times, std::atof(argv[2]), voices);
    }
    return 0;
}
