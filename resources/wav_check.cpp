#include "resources/wav_check.h"

#include "core/file_reading.h"

#include <allegro5/allegro_memfile.h>

#include <cstdint>
#include <cstring>

// A sample file larger than this is not one of ours; refusing it keeps memory bounded.
static const std::size_t largest_wav_file = 64u << 20;

static std::uint32_t read_u32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

static std::uint16_t read_u16(const unsigned char* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

static bool format_is_supported(const unsigned char* chunk, std::uint32_t length)
{
    if (length < 16)
        return false;
    const std::uint16_t format = read_u16(chunk);
    const std::uint16_t channels = read_u16(chunk + 2);
    const std::uint32_t rate = read_u32(chunk + 4);
    const std::uint16_t bits = read_u16(chunk + 14);
    return format == 1 && (channels == 1 || channels == 2) && rate > 0 && (bits == 8 || bits == 16);
}

bool wav_bytes_are_sound(const unsigned char* bytes, std::size_t size)
{
    if (size < 12 || size > largest_wav_file || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    bool has_format = false;
    std::size_t pos = 12;
    while (size - pos >= 8) {
        const unsigned char* header = bytes + pos;
        const std::uint32_t length = read_u32(header + 4);
        if (length > size - pos - 8 || length > INT32_MAX)
            return false;
        if (std::memcmp(header, "data", 4) == 0)
            return has_format && length > 0;
        // Allegro cannot skip the pad byte after an odd-length chunk.
        if (length & 1)
            return false;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (!format_is_supported(header + 8, length))
                return false;
            has_format = true;
        }
        pos += 8 + length;
    }
    return false;
}

ALLEGRO_SAMPLE* sample_from_wav_bytes(const unsigned char* bytes, std::size_t size)
{
    if (!wav_bytes_are_sound(bytes, size))
        return nullptr;
    // Allegro reads the very bytes that were checked: the file cannot change in between.
    ALLEGRO_FILE* memory = al_open_memfile(const_cast<unsigned char*>(bytes), static_cast<std::int64_t>(size), "r");
    if (!memory)
        return nullptr;
    ALLEGRO_SAMPLE* sample = al_load_sample_f(memory, ".wav");
    al_fclose(memory);
    return sample;
}

ALLEGRO_SAMPLE* load_checked_sample(const std::string& file)
{
    std::string bytes;
    if (!read_small_file(file, largest_wav_file, bytes).empty() || bytes.size() > largest_wav_file)
        return nullptr;
    return sample_from_wav_bytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
