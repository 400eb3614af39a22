// Reads a captured mix: OpenAL Soft's wave writer (32-bit float, extensible header, sizes possibly unset
// while it was still writing) or parecord's 16-bit PCM, any channel count, kept as interleaved stereo.
#pragma once

#include <string>
#include <vector>

struct captured_mix
{
    int rate = 0;
    std::vector<float> frames; // left, right, left, right...
};

bool read_mix(const std::string& path, captured_mix& out);
