#include "resources/wav_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

class riff_builder
{
public:
    std::vector<unsigned char> bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};

    riff_builder& chunk(const char* id, std::uint32_t length, std::size_t body_bytes)
    {
        bytes.insert(bytes.end(), id, id + 4);
        put32(length);
        bytes.insert(bytes.end(), body_bytes, 0);
        return *this;
    }
    riff_builder& format(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits)
    {
        bytes.insert(bytes.end(), {'f', 'm', 't', ' '});
        put32(16);
        put16(tag);
        put16(channels);
        put32(44100);
        put32(44100u * channels * bits / 8);
        put16(std::uint16_t(channels * bits / 8));
        put16(bits);
        return *this;
    }
    bool sound() const { return wav_bytes_are_sound(bytes.data(), bytes.size()); }

private:
    void put16(std::uint16_t v) { bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); }
    void put32(std::uint32_t v)
    {
        put16(std::uint16_t(v));
        put16(std::uint16_t(v >> 16));
    }
};

} // namespace

TEST(wav_check, accepts_pcm_8_and_16_bit_with_skippable_chunks_before_the_data)
{
    EXPECT_TRUE(riff_builder().format(1, 1, 16).chunk("data", 200, 200).sound());
    EXPECT_TRUE(riff_builder().format(1, 2, 8).chunk("LIST", 4, 4).chunk("data", 8, 8).sound());
    // An odd data length is fine: nothing after it has to be skipped.
    EXPECT_TRUE(riff_builder().format(1, 1, 8).chunk("data", 7, 7).sound());
}

TEST(wav_check, refuses_lengths_that_would_hang_or_exhaust_the_loader)
{
    // Read as signed, 0xFFFFFFF8 steps backwards and the loader loops forever.
    EXPECT_FALSE(riff_builder().format(1, 1, 16).chunk("junk", 0xFFFFFFF8u, 0).chunk("data", 4, 4).sound());
    // A huge data length makes the loader allocate and zero it.
    EXPECT_FALSE(riff_builder().format(1, 1, 16).chunk("data", 0x7FFFFFF0u, 16).sound());
    // Truncated data would be padded with silence.
    EXPECT_FALSE(riff_builder().format(1, 1, 16).chunk("data", 400, 100).sound());
}

TEST(wav_check, refuses_formats_and_layouts_the_loader_cannot_read)
{
    EXPECT_FALSE(riff_builder().format(3, 2, 32).chunk("data", 8, 8).sound());  // float
    EXPECT_FALSE(riff_builder().format(1, 1, 24).chunk("data", 6, 6).sound());  // 24-bit
    EXPECT_FALSE(riff_builder().format(1, 6, 16).chunk("data", 12, 12).sound()); // 5.1
    EXPECT_FALSE(riff_builder().chunk("data", 8, 8).sound());                    // no format
    EXPECT_FALSE(riff_builder().format(1, 1, 16).chunk("LIST", 3, 4).chunk("data", 8, 8).sound()); // odd skip
    EXPECT_FALSE(riff_builder().format(1, 1, 16).chunk("data", 0, 0).sound());   // empty
    EXPECT_FALSE(riff_builder().format(1, 1, 16).sound());                       // no data
}

TEST(wav_check, refuses_garbage_and_short_files)
{
    const std::string garbage = "RIFX this is not a wave file at all";
    EXPECT_FALSE(wav_bytes_are_sound(reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size()));
    riff_builder empty;
    EXPECT_FALSE(wav_bytes_are_sound(empty.bytes.data(), 0));
    EXPECT_FALSE(wav_bytes_are_sound(empty.bytes.data(), 11));
    EXPECT_EQ(load_checked_sample("no/such/file.wav"), nullptr);
}
