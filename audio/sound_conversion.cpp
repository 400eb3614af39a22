#include "audio/sound_conversion.h"

#include <samplerate.h>

#include <cstdint>

namespace {

template <typename T>
std::vector<float> values_of(const sound_class& sound)
{
    const T* data = static_cast<const T*>(sound.frames);
    std::vector<float> out(static_cast<std::size_t>(sound.length) * sound.channels);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = value_of(data[i]);
    return out;
}

} // namespace

std::vector<float> float_frames(const sound_class& sound)
{
    return with_sample_type(sound.depth, [&](auto type) { return values_of<decltype(type)>(sound); });
}

sound_class sound_conversion_class::at_rate(const sound_class& sound)
{
    if (sound.empty() || sound.rate == rate)
        return sound;
    std::vector<float>& frames = converted[sound.frames];
    if (frames.empty()) {
        const std::vector<float> input = float_frames(sound);
        const double ratio = static_cast<double>(rate) / sound.rate;
        frames.resize(static_cast<std::size_t>(sound.length * ratio + 1) * sound.channels);
        SRC_DATA data{};
        data.data_in = input.data();
        data.input_frames = sound.length;
        data.data_out = frames.data();
        data.output_frames = static_cast<long>(frames.size()) / sound.channels;
        data.src_ratio = ratio;
        if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, sound.channels) != 0 || data.output_frames_gen == 0) {
            converted.erase(sound.frames);
            return {};
        }
        frames.resize(static_cast<std::size_t>(data.output_frames_gen) * sound.channels);
    }
    return {frames.data(), ALLEGRO_AUDIO_DEPTH_FLOAT32, sound.channels, static_cast<unsigned>(frames.size()) / sound.channels, rate};
}
