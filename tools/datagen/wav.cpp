#include "wav.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

static void put_u32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

static void put_u16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

static void put_tag(std::vector<unsigned char>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

static int16_t to_pcm(double s)
{
    const double clamped = std::fmax(-1.0, std::fmin(1.0, s));
    return static_cast<int16_t>(std::lround(clamped * 32767.0));
}

bool save_wav(const std::vector<double>& samples, const std::string& path)
{
    const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    put_tag(out, "RIFF");
    put_u32(out, 36 + data_bytes);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1);
    put_u16(out, 1);
    put_u32(out, sample_rate);
    put_u32(out, sample_rate * 2);
    put_u16(out, 2);
    put_u16(out, 16);
    put_tag(out, "data");
    put_u32(out, data_bytes);
    for (double s : samples)
        put_u16(out, static_cast<uint16_t>(to_pcm(s)));

    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
