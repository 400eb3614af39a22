#include "audio/sound.h"

static bool readable(ALLEGRO_AUDIO_DEPTH depth)
{
    return depth == ALLEGRO_AUDIO_DEPTH_INT16 || depth == ALLEGRO_AUDIO_DEPTH_INT8 ||
           depth == ALLEGRO_AUDIO_DEPTH_UINT8 || depth == ALLEGRO_AUDIO_DEPTH_FLOAT32;
}

sound_class sound_of(ALLEGRO_SAMPLE* sample)
{
    sound_class sound;
    if (!sample)
        return sound;
    const int channels = static_cast<int>(al_get_channel_count(al_get_sample_channels(sample)));
    const ALLEGRO_AUDIO_DEPTH depth = al_get_sample_depth(sample);
    if ((channels != 1 && channels != 2) || !readable(depth))
        return sound;
    sound.frames = al_get_sample_data(sample);
    sound.depth = depth;
    sound.channels = channels;
    sound.length = al_get_sample_length(sample);
    sound.rate = al_get_sample_frequency(sample);
    return sound;
}
