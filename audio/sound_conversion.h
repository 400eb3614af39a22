// Sounds at the output's rate: each is converted once, on first use, with libsamplerate's medium sinc
// converter (97 dB, 90 % of the band; its best takes seconds for the notes at start-up) into float frames
// that the mixer then copies exactly, and kept for the run. A sound already at the rate is used as it is.
// Only the frame loop's side (or set-up before rendering) asks for conversions.
#pragma once

#include "audio/sound.h"

#include <map>
#include <vector>

class sound_conversion_class
{
public:
    explicit sound_conversion_class(unsigned rate) : rate(rate) {}

    // The sound at this rate; empty when the conversion fails.
    sound_class at_rate(const sound_class& sound);

private:
    unsigned rate;
    std::map<const void*, std::vector<float>> converted; // by the original's frames; never moved once made
};

// The sound's frames as float, interleaved as they are.
std::vector<float> float_frames(const sound_class& sound);
