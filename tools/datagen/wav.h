// Mono 16-bit PCM WAV files, the one sample format that Allegro's WAV loader and every player accept.
#pragma once

#include <string>
#include <vector>

constexpr int sample_rate = 44100;

// Writes samples (nominally -1..1; anything beyond is clamped) through a temporary file. False on failure.
bool save_wav(const std::vector<double>& samples, const std::string& path);
