// Reads a captured mix (OpenAL Soft's wave writer: 32-bit float or 16-bit PCM, any channel count, possibly
// with unfinished chunk sizes) and prints what was heard: one line per note onset with its time, pitch,
// level and left/right balance, then a summary line.
//   onset <seconds> <pitch Hz> <peak> <right/left energy ratio>
//   summary <duration seconds> <peak> <onset count>
// Given a lattice period (seconds), it also compares the onsets with a schedule of one note every period:
//   lattice <slots> <lost> <doubled> <mean error ms> <99th percentile ms> <worst ms> <measured period s>
// Errors are measured against the ideal period, the constant latency taken out by the earliest onset.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct mix
{
    int rate = 0;
    std::vector<float> left, right;
};

uint32_t u32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

bool read_mix(const char* path, mix& out)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4))
        return false;
    int channels = 0, bits = 0, format = 0;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char* chunk = bytes.data() + pos;
        const uint32_t size = u32(chunk + 4);
        if (!std::memcmp(chunk, "fmt ", 4)) {
            format = u16(chunk + 8);
            channels = u16(chunk + 10);
            out.rate = int(u32(chunk + 12));
            bits = u16(chunk + 22);
            if (format == 0xFFFE)
                format = u16(chunk + 32);
        } else if (!std::memcmp(chunk, "data", 4)) {
            // A writer that was not closed leaves the size unset: take the rest of the file.
            size_t end = (size == 0 || pos + 8 + size > bytes.size()) ? bytes.size() : pos + 8 + size;
            const size_t frame = size_t(channels) * bits / 8;
            for (size_t p = pos + 8; frame && p + frame <= end; p += frame) {
                float s[2] = {0, 0};
                for (int c = 0; c < channels && c < 2; ++c) {
                    const unsigned char* q = bytes.data() + p + c * bits / 8;
                    if (format == 3 && bits == 32) {
                        uint32_t v = u32(q);
                        std::memcpy(&s[c], &v, 4);
                    } else if (bits == 16) {
                        s[c] = int16_t(u16(q)) / 32768.0f;
                    }
                }
                out.left.push_back(s[0]);
                out.right.push_back(channels > 1 ? s[1] : s[0]);
            }
            return out.rate > 0;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}

// Strongest period in a window by autocorrelation, refined by parabolic interpolation.
double pitch_at(const std::vector<float>& mono, size_t start, int rate)
{
    const size_t n = 4096;
    if (start + 2 * n > mono.size())
        return 0;
    const int min_lag = rate / 2000, max_lag = rate / 60;
    std::vector<double> r(max_lag + 2, 0.0);
    for (int lag = min_lag - 1; lag <= max_lag + 1; ++lag)
        for (size_t i = 0; i < n; ++i)
            r[lag] += double(mono[start + i]) * mono[start + i + lag];
    int best = min_lag;
    for (int lag = min_lag; lag <= max_lag; ++lag)
        if (r[lag] > r[best])
            best = lag;
    // Prefer the shortest lag that is nearly as strong: avoids octave-down errors.
    for (int lag = min_lag; lag < best; ++lag)
        if (r[lag] > 0.9 * r[best] && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            best = lag;
            break;
        }
    const double a = r[best - 1], b = r[best], c = r[best + 1];
    const double shift = (a - 2 * b + c) != 0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0;
    return rate / (best + shift);
}

void report_lattice(const std::vector<double>& onsets, double period)
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
    const double earliest = *std::min_element(errors.begin(), errors.end());
    double sum = 0;
    for (double& e : errors) {
        e = (e - earliest) * 1000.0;
        sum += e;
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
    if (argc < 2 || !read_mix(argv[1], m)) {
        std::fprintf(stderr, "usage: wav_probe <capture.wav>  (could not read it)\n");
        return 2;
    }
    std::vector<float> mono(m.left.size());
    float peak = 0;
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = 0.5f * (m.left[i] + m.right[i]);
        peak = std::fmax(peak, std::fmax(std::fabs(m.left[i]), std::fabs(m.right[i])));
    }
    // Onsets: a hop's energy jumps well above the recent level and above an absolute floor.
    const size_t hop = 128;
    std::vector<double> energy;
    for (size_t i = 0; i + hop <= mono.size(); i += hop) {
        double e = 0;
        for (size_t j = 0; j < hop; ++j)
            e += double(mono[i + j]) * mono[i + j];
        energy.push_back(e / hop);
    }
    std::vector<double> onset_times;
    double recent = 0;
    size_t last_onset_hop = 0;
    for (size_t h = 1; h < energy.size(); ++h) {
        const bool rising = energy[h] > 1e-6 && energy[h] > 4.0 * recent + 1e-7;
        if (rising && (onset_times.empty() || h - last_onset_hop > 20)) {
            const size_t at = h * hop;
            double el = 0, er = 0;
            float note_peak = 0;
            for (size_t i = at; i < at + 8192 && i < mono.size(); ++i) {
                el += double(m.left[i]) * m.left[i];
                er += double(m.right[i]) * m.right[i];
                note_peak = std::fmax(note_peak, std::fabs(mono[i]));
            }
            std::printf("onset %.5f %.1f %.4f %.3f\n", double(at) / m.rate, pitch_at(mono, at + 1024, m.rate),
                        note_peak, el > 0 ? std::sqrt(er / el) : 0.0);
            onset_times.push_back(double(at) / m.rate);
            last_onset_hop = h;
        }
        recent = 0.7 * recent + 0.3 * energy[h];
    }
    std::printf("summary %.3f %.4f %zu\n", double(mono.size()) / m.rate, peak, onset_times.size());
    if (argc > 2)
        report_lattice(onset_times, std::atof(argv[2]));
    return 0;
}
