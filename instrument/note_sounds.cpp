#include "instrument/note_sounds.h"

#include "instrument/elements.h"
#include "resources/bins.h"
#include "resources/data_folder.h"
#include "resources/wav_check.h"

std::string note_sample_file(int element, int note)
{
    return note_sound_file(element - 1, note);
}

note_sounds_class::~note_sounds_class()
{
    for (ALLEGRO_SAMPLE* sample : wind_samples)
        if (sample)
            al_destroy_sample(sample);
}

void note_sounds_class::load()
{
    for (int note = 0; note < notes_per_set; ++note)
        wind_samples[note] = load_checked_sample(data_file(note_sample_file(wind_element, note)));
}

voiced_sound note_sounds_class::sound(int element, int note) const
{
    if (element == wind_element) {
        const sound_class wind = sound_of(wind_samples[note]);
        return {wind, gains_for(0.7f, 0.5f, wind.channels)};
    }
    const std::string file = note_sample_file(element, note);
    const sound_class sound = sound_of(samples_bin.get(file, file));
    return {sound, gains_for(0.8f, 0.0f, sound.channels)};
}

bool note_sounds_class::complete() const
{
    for (const element_info& info : elements)
        for (int note = 0; note < notes_per_set; ++note)
            if (!sound(info.id, note).sound.frames)
                return false;
    return true;
}
