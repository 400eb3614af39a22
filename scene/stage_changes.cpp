#include "scene/stage_changes.h"

#include "core/screen.h"

#include <algorithm>

static stage_rect changed{0, 0, screen_width, screen_height};

bool stage_rect::overlaps(const stage_rect& other) const
{
    return !empty() && !other.empty() && left < other.right && other.left < right && top < other.bottom &&
           other.top < bottom;
}

void stage_rect::add(const stage_rect& other)
{
    if (other.empty())
        return;
    if (empty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

stage_rect whole_stage()
{
    return {0, 0, screen_width, screen_height};
}

void mark_stage_changed()
{
    changed = whole_stage();
}

void mark_region_changed(const stage_rect& region)
{
    changed.add(region);
}

stage_rect changed_region()
{
    const stage_rect stage = whole_stage();
    return {std::max(changed.left, stage.left), std::max(changed.top, stage.top),
            std::min(changed.right, stage.right), std::min(changed.bottom, stage.bottom)};
}

void clear_stage_changed()
{
    changed = {};
}
