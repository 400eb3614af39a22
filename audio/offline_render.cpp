#include "audio/offline_render.h"

#include <algorithm>

void render_offline(mixer_class& source, std::uint64_t end, std::vector<float>& out)
{
    constexpr std::uint64_t block = 4096;
    while (source.frame < end) {
        const unsigned count = static_cast<unsigned>(std::min(block, end - source.frame));
        const std::size_t at = out.size();
        out.resize(at + 2 * count, 0.0f);
        source.render(out.data() + at, count);
    }
}
