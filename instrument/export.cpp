#include "instrument/export.h"

#include "audio/mixer.h"
#include "core/atomic_file.h"
#include "instrument/midi_file.h"
#include "instrument/note_playing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

// The little-endian bytes of a number, as WAV files hold them.
static void put(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xff);
}

// A sample in 16-bit two's complement, clipped to the range.
static std::uint16_t pcm_sample(float value)
{
    return static_cast<std::uint16_t>(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

constexpr std::uint32_t wav_channels = 2, wav_frame_bytes = 2 * wav_channels;
// The data a WAV file can hold after its header's 36 counted bytes.
constexpr std::uint64_t largest_wav_frames = (std::numeric_limits<std::uint32_t>::max() - 36) / wav_frame_bytes;

// The 44-byte header of 16-bit stereo PCM at the desktop rate, for the given number of frames.
static std::string wav_header(std::uint64_t frames)
{
    const auto data = static_cast<std::uint32_t>(frames * wav_frame_bytes);
    std::string bytes = "RIFF";
    put(bytes, 36 + data, 4);
    bytes += "WAVEfmt ";
    put(bytes, 16, 4);
    put(bytes, 1, 2); // PCM
    put(bytes, wav_channels, 2);
    put(bytes, mixer_class::desktop_rate, 4);
    put(bytes, mixer_class::desktop_rate * wav_frame_bytes, 4);
    put(bytes, wav_frame_bytes, 2);
    put(bytes, 16, 2);
    bytes += "data";
    put(bytes, data, 4);
    return bytes;
}

// Written as it is rendered, so that a long export needs no more memory than a short one; the sizes go into
// the header last.
std::string export_wav(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                       const std::string& path, const std::atomic<bool>& stop)
{
    atomic_file_class file(path);
    file.write(wav_header(0).data(), 44);
    std::uint64_t frames = 0;
    std::string pcm;
    render_pattern(sounds, pattern, sweeps, note_placement::beat, mixer_class::desktop_rate,
                   [&](const float* block, unsigned count) {
                       pcm.clear();
                       for (unsigned i = 0; i < 2 * count; ++i)
                           put(pcm, pcm_sample(block[i]), 2);
                       frames += count;
                       return frames <= largest_wav_frames && !stop && file.write(pcm.data(), pcm.size());
                   });
    if (stop)
        return "stopped before it was done";
    if (frames > largest_wav_frames)
        return "the sound is longer than a WAV file can hold";
    file.write_at(0, wav_header(frames).data(), 44);
    return file.commit();
}

std::string export_midi(const pattern_class& pattern, int sweeps, const std::string& path)
{
    return write_file_atomically(path, midi_file_bytes(pattern, sweeps));
}
