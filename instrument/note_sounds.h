// The four elements' notes as the mixer plays them: eight a set, one a grid row. EARTH, WATER and FIRE come
// through the samples bin and play centred; WIND is loaded apart and plays quieter, half right.
#pragma once

#include "audio/mixer.h"
#include "resources/manifest.h"

#include <allegro5/allegro_audio.h>

#include <array>
#include <string>

// "data/sounds/<element>_<note>.wav"; element must be 1 to 4.
std::string note_sample_file(int element, int note);

class note_sounds_class
{
public:
    // The WIND notes, played outside the samples bin; owned.
    std::array<ALLEGRO_SAMPLE*, notes_per_set> wind_samples{};

    note_sounds_class() = default;
    note_sounds_class(const note_sounds_class&) = delete;
    note_sounds_class& operator=(const note_sounds_class&) = delete;
    // While Allegro is installed, after nothing plays them any more.
    ~note_sounds_class();

    // Loads the WIND notes (the others load through the bin when first asked for).
    void load();
    // The note of an element (1 to 4) with its gains.
    voiced_sound sound(int element, int note) const;
    // Whether every note loaded; a missing one plays as silence.
    bool complete() const;
};
