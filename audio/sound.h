// A loaded sound as the mixer reads it: Allegro's sample frames in the format it loaded them, never copied.
// The sample must outlive every voice that plays it (the bins keep theirs for the whole run).
#pragma once

#include <allegro5/allegro_audio.h>

class sound_class
{
public:
    const void* frames = nullptr;
    ALLEGRO_AUDIO_DEPTH depth = ALLEGRO_AUDIO_DEPTH_INT16;
    int channels = 0;  // 1 or 2
    unsigned length = 0; // in frames
    unsigned rate = 0;

    bool empty() const { return frames == nullptr || length == 0; }
};

// The sample's frames; empty for nullptr or a layout the mixer cannot read (more than two channels, or a
// depth other than 8-bit, 16-bit or float).
sound_class sound_of(ALLEGRO_SAMPLE* sample);
