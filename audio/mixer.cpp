#include "audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

channel_gains gains_for(float gain, float pan, int channels)
{
    const float split = channels == 1 ? static_cast<float>(1.0 / std::sqrt(2.0)) : 1.0f;
    return {gain * split * std::sqrt((1.0f - pan) / 2.0f), gain * split * std::sqrt((1.0f + pan) / 2.0f)};
}

float soft_limit(float sample)
{
    constexpr float knee = 0.9f;
    const float size = std::fabs(sample);
    if (size <= knee)
        return sample;
    const float over = (size - knee) / (1.0f - knee);
    const float bent = knee + (1.0f - knee) * over / (1.0f + over);
    return std::copysign(bent, sample);
}

void mixer_class::reset()
{
    for (voice_class& voice : voices)
        voice.active = false;
    voiced_sound request;
    while (requests.pop(request)) {
    }
    note_event event;
    while (events.pop(event)) {
    }
    frame = 0;
}

void mixer_class::play(const voiced_sound& sound)
{
    requests.push({conversion.at_rate(sound.sound), sound.gains});
}

voiced_sound mixer_class::at_rate(const voiced_sound& sound)
{
    return {conversion.at_rate(sound.sound), sound.gains};
}

bool mixer_class::sounding() const
{
    return std::any_of(voices.begin(), voices.end(), [](const voice_class& voice) { return voice.active; });
}

// A free voice, else the one that has played longest.
void mixer_class::start(const voiced_sound& sound, std::uint64_t at)
{
    if (sound.sound.empty())
        return;
    voice_class* chosen = &voices[0];
    for (voice_class& voice : voices) {
        if (!voice.active) {
            chosen = &voice;
            break;
        }
        if (voice.start < chosen->start)
            chosen = &voice;
    }
    chosen->sound = sound;
    chosen->start = at;
    chosen->position = 0;
    chosen->step = (static_cast<std::uint64_t>(sound.sound.rate) << 32) / rate;
    chosen->active = true;
}

void mixer_class::start_column(const step_grid& cells, int column, std::uint64_t at)
{
    for (int row = 0; row < step_rows; ++row) {
        const int cell = cell_index(column, row);
        const int element = cells[cell];
        if (element <= 0 || element >= sound_sets)
            continue;
        start(notes[element][note_of_row(row)], at);
        const note_event event{at, static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(element)};
        events.push(event);
        if (started_count < started.size())
            started[started_count++] = event;
        else
            ++dropped_notes;
    }
}

namespace {

// Linear interpolation between neighbouring frames, as Allegro's mixer does; a sound at the output rate is
// copied exactly.
template <typename T, int channels>
bool mix_frames(const sound_class& sound, const channel_gains& gains, std::uint64_t& position, std::uint64_t step,
                float* out, unsigned count)
{
    const T* data = static_cast<const T*>(sound.frames);
    const std::uint64_t last = sound.length - 1;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint64_t index = position >> 32;
        if (index > last)
            return false;
        const std::uint64_t next = index < last ? index + 1 : index;
        const float fraction = static_cast<float>(position & 0xffffffffu) * (1.0f / 4294967296.0f);
        float value[channels];
        for (int c = 0; c < channels; ++c) {
            const float a = value_of(data[index * channels + c]);
            value[c] = a + (value_of(data[next * channels + c]) - a) * fraction;
        }
        out[2 * i] += value[0] * gains.left;
        out[2 * i + 1] += value[channels - 1] * gains.right;
        position += step;
    }
    return true;
}

template <typename T>
bool mix_frames(const sound_class& sound, const channel_gains& gains, std::uint64_t& position, std::uint64_t step,
                float* out, unsigned count)
{
    return sound.channels == 1 ? mix_frames<T, 1>(sound, gains, position, step, out, count)
                               : mix_frames<T, 2>(sound, gains, position, step, out, count);
}

} // namespace

void mixer_class::mix(voice_class& voice, float* out, unsigned count)
{
    const unsigned offset = voice.start > frame ? static_cast<unsigned>(voice.start - frame) : 0;
    if (offset >= count)
        return;
    const sound_class& sound = voice.sound.sound;
    const channel_gains& gains = voice.sound.gains;
    float* from = out + 2 * offset;
    const unsigned frames = count - offset;
    voice.active = with_sample_type(sound.depth, [&](auto type) {
        return mix_frames<decltype(type)>(sound, gains, voice.position, voice.step, from, frames);
    });
}

// A line held by the player's stop, or by a Link session that no longer leads it, starts again from column 0
// (Link itself starts it on a bar).
void mixer_class::follow_player(bool guided)
{
    const bool stop = stop_asked.load(std::memory_order_acquire);
    if (stop && !schedule->held())
        schedule->hold(frame);
    else if (!stop && !guided && schedule->held() && (line_stopped || was_guided))
        schedule->locate(frame, schedule->column_zero());
    line_stopped = stop;
    was_guided = guided;
}

void mixer_class::render(float* out, unsigned count)
{
    voiced_sound request;
    while (requests.pop(request))
        start(request, frame);
    started_count = 0;
    const pattern_class& playing = pattern.read();
    if (schedule) {
        const bool guided = link && link->on();
        follow_player(guided);
        const tempo_class& tempo = tempo_from_pattern && !guided ? playing.tempo : schedule->tempo();
        if (tempo != schedule->tempo() || playing.swing != schedule->swing())
            schedule->set_timing(frame, tempo, playing.swing);
        const std::uint64_t end = frame + count;
        for (std::uint64_t at = frame; at < end;) {
            const std::uint64_t until = guided ? link->guide(*schedule, at, end, !line_stopped) : end;
            schedule->for_each_note(at, until, [&](std::uint64_t note, int column) {
                start_column(playing.cells, column, note);
            });
            at = until;
        }
    }
    for (voice_class& voice : voices)
        if (voice.active)
            mix(voice, out, count);
    for (unsigned i = 0; i < 2 * count; ++i)
        out[i] = soft_limit(out[i]);
    frame += count;
}
