#include "instrument/export.h"

#include "audio/mixer.h"
#include "core/atomic_file.h"
#include "instrument/midi_file.h"
#include "instrument/note_playing.h"

#include <allegro5/allegro_audio.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

std::string export_wav(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                       const std::string& path)
{
    const std::vector<float> frames = render_pattern(sounds, pattern, sweeps, note_placement::beat);
    std::vector<std::int16_t> pcm(frames.size());
    std::transform(frames.begin(), frames.end(), pcm.begin(), [](float v) {
        return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
    });
    ALLEGRO_SAMPLE* sample = al_create_sample(pcm.data(), static_cast<unsigned>(pcm.size() / 2), mixer_class::desktop_rate,
                                              ALLEGRO_AUDIO_DEPTH_INT16, ALLEGRO_CHANNEL_CONF_2, false);
    if (!sample)
        return "could not make the sound";
    // Allegro picks the format by the name, so the temporary file keeps the ".wav" ending.
    const std::string temporary = temporary_name_beside(path);
    errno = 0;
    const bool saved = al_save_sample(temporary.c_str(), sample);
    al_destroy_sample(sample);
    if (!saved) {
        // Allegro does not always leave a reason behind.
        const std::string why = errno ? std::strerror(errno) : "the file could not be written";
        std::remove(temporary.c_str());
        return why;
    }
    return sync_and_rename(temporary, path);
}

std::string export_midi(const pattern_class& pattern, int sweeps, const std::string& path)
{
    return write_file_atomically(path, midi_file_bytes(pattern, sweeps));
}
