#include "wav_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t u32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

float sample_at(const unsigned char* q, int format, int bits)
{
    if (format == 3 && bits == 32) {
        const uint32_t v = u32(q);
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    return bits == 16 ? int16_t(u16(q)) / 32768.0f : 0.0f;
}

} // namespace

bool read_mix(const std::string& path, captured_mix& out)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
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
            const size_t end = (size == 0 || pos + 8 + size > bytes.size()) ? bytes.size() : pos + 8 + size;
            const size_t frame = size_t(channels) * bits / 8;
            for (size_t p = pos + 8; frame && p + frame <= end; p += frame) {
                const float left = sample_at(bytes.data() + p, format, bits);
                out.frames.push_back(left);
                out.frames.push_back(channels > 1 ? sample_at(bytes.data() + p + bits / 8, format, bits) : left);
            }
            return out.rate > 0;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}
