// Reads a WAV file's samples directly, so sound tests measure the bytes on disk rather than what a loader
// makes of them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct wav_file_class
{
    bool read = false;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<float> samples;

    double seconds() const { return rate ? static_cast<double>(samples.size()) / rate : 0.0; }
};

inline uint32_t little_endian(const std::vector<unsigned char>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b[at + i];
    return v;
}

// The fmt fields and the data chunk as floats in [-1, 1); `read` is false for anything but 16-bit PCM.
inline wav_file_class read_wav(const std::string& path)
{
    wav_file_class wav;
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return wav;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string tag(b.begin() + at, b.begin() + at + 4);
        const size_t length = little_endian(b, at + 4, 4);
        const size_t body = at + 8;
        if (body + length > b.size())
            return wav;
        if (tag == "fmt " && length >= 16) {
            wav.format = little_endian(b, body, 2);
            wav.channels = little_endian(b, body + 2, 2);
            wav.rate = little_endian(b, body + 4, 4);
            wav.bits = little_endian(b, body + 14, 2);
        } else if (tag == "data" && wav.bits == 16) {
            for (size_t i = 0; i + 1 < length; i += 2)
                wav.samples.push_back(static_cast<int16_t>(little_endian(b, body + i, 2)) / 32768.0f);
            wav.read = wav.format == 1;
        }
        at = body + length + (length & 1);
    }
    return wav;
}
