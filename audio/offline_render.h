// Rendering without a device: the same mixer, pulled as fast as it can go, for tests and export.
#pragma once

#include "audio/mixer.h"

#include <cstdint>
#include <functional>
#include <vector>

// Takes each block of interleaved stereo frames as it is rendered; false stops the rendering.
using frame_sink = std::function<bool(const float* frames, unsigned count)>;

// Renders the mixer's frames up to (not including) frame `end` into the sink, a block at a time; false when
// the sink stopped it.
bool render_offline(mixer_class& source, std::uint64_t end, const frame_sink& sink);
// The same, appended to out.
void render_offline(mixer_class& source, std::uint64_t end, std::vector<float>& out);
