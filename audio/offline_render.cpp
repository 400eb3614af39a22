#include "audio/offline_render.h"

#include <algorithm>

bool render_offline(mixer_class& source, std::uint64_t end, const frame_sink& sink)
{
    constexpr std::uint64_t block = 4096;
    float frames[2 * block];
    while (source.frame < end) {
        const unsigned count = static_cast<unsigned>(std::min(block, end - source.frame));
        std::fill(frames, frames + 2 * count, 0.0f);
        source.render(frames, count);
        if (!sink(frames, count))
            return false;
    }
    return true;
}

void render_offline(mixer_class& source, std::uint64_t end, std::vector<float>& out)
{
    render_offline(source, end, [&out](const float* frames, unsigned count) {
        out.insert(out.end(), frames, frames + 2 * count);
        return true;
    });
}
