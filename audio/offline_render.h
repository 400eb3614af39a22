// Rendering without a device: the same mixer, pulled as fast as it can go, for tests and export.
#pragma once

#include "audio/mixer.h"

#include <cstdint>
#include <vector>

// Appends the mixer's frames up to (not including) frame `end` to out, interleaved stereo.
void render_offline(mixer_class& source, std::uint64_t end, std::vector<float>& out);
