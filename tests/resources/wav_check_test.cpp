#include "resources/wav_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// The value's lowest `size` bytes, least significant first.
static std::string le(std::uint32_t value, int size)
{
    return size == 0 ? std::string() : static_cast<char>(value & 0xff) + le(value >> 8, size - 1);
}

// A chunk that claims `length` bytes and carries `body` zero bytes.
static std::string chunk(const char* id, std::uint32_t length, std::size_t body)
{
    return id + le(length, 4) + std::string(body, '\0');
}

static std::string format(int tag, int channels, int bits)
{
    return chunk("fmt ", 16, 0) + le(tag, 2) + le(channels, 2) + le(44100, 4) + le(44100 * channels * bits / 8, 4) +
           le(channels * bits / 8, 2) + le(bits, 2);
}

// The loader hangs on a chunk length that reads as negative (0xFFFFFFF8 steps backwards), allocates and zeroes
// a huge data length and pads truncated data with silence; it cannot read float, 24-bit or 5.1 sound, nor skip
// the pad byte after an odd-length chunk, so such a chunk before the data is refused (here unpadded, which the
// refusal alone tells apart). An odd data length is fine: nothing after it is skipped.
TEST(wav_check, accepts_only_structures_the_loader_handles_safely)
{
    const std::string riff = "RIFF" + le(0, 4) + "WAVE", pcm16 = riff + format(1, 1, 16);
    const struct { const char* what; std::string bytes; bool sound; std::size_t cut = 0; } cases[] = {
        {"16-bit mono", pcm16 + chunk("data", 200, 200), true},
        {"8-bit stereo after a LIST", riff + format(1, 2, 8) + chunk("LIST", 4, 4) + chunk("data", 8, 8), true},
        {"odd data length", riff + format(1, 1, 8) + chunk("data", 7, 7), true},
        {"negative chunk length", pcm16 + chunk("junk", 0xFFFFFFF8u, 0) + chunk("data", 4, 4), false},
        {"huge data length", pcm16 + chunk("data", 0x7FFFFFF0u, 16), false},
        {"truncated data", pcm16 + chunk("data", 400, 100), false}, {"no data", pcm16, false},
        {"data a byte past the end", pcm16 + chunk("data", 9, 8), false},
        {"a chunk before the data past the end", pcm16 + chunk("LIST", 12, 4), false},
        {"odd chunk before the data", pcm16 + chunk("LIST", 3, 3) + chunk("data", 8, 8), false},
        {"empty data", pcm16 + chunk("data", 0, 0), false}, {"no format", riff + chunk("data", 8, 8), false},
        {"float", riff + format(3, 2, 32) + chunk("data", 8, 8), false},
        {"24-bit", riff + format(1, 1, 24) + chunk("data", 6, 6), false},
        {"5.1", riff + format(1, 6, 16) + chunk("data", 12, 12), false},
        {"garbage", "RIFX this is not a wave file at all", false}, {"a header one byte short", riff, false, 1}};
    for (const auto& c : cases) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(wav_bytes_are_sound(bytes, c.bytes.size() - c.cut), c.sound) << c.what;
    }
}
