#include "scene/collision.h"

#include "math/numeric.h"
#include "scene/object.h"

#include <algorithm>
#include <vector>

bool collides_with(const Object& a, const Object& b)
{
    if (a.rotation == 0 && b.rotation == 0)
        return boxes_touch(center_box_of(a), center_box_of(b));
    return outlines_overlap(a, b);
}

center_box center_box_of(const Object& o)
{
    return {o.get_center_x(), o.get_center_y(), o.get_scaled_width() / 2, o.get_scaled_height() / 2};
}

bool boxes_touch(const center_box& p, const center_box& q)
{
    const float dx = p.center_x - q.center_x;
    const float dy = p.center_y - q.center_y;
    return fabs_f(dx) <= p.half_width + q.half_width && fabs_f(dy) <= p.half_height + q.half_height;
}

namespace {
class interval
{
public:
    float low = 0;
    float high = 0;
};
} // namespace

// The extent of the corners along the axis.
static interval projected_extent(const std::vector<vec2d>& corners, const vec2d& axis)
{
    interval extent;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const vec2d p = project_onto(corners[i], axis);
        const float value = dot(p.x, p.y, axis.x, axis.y);
        extent.low = i == 0 ? value : std::min(extent.low, value);
        extent.high = i == 0 ? value : std::max(extent.high, value);
    }
    return extent;
}

bool outlines_overlap(const Object& a, const Object& b)
{
    const std::vector<vec2d> outline_a = a.get_outline();
    const std::vector<vec2d> outline_b = b.get_outline();
    const vec2d axes[] = {difference(outline_a[1].x, outline_a[1].y, outline_a[0].x, outline_a[0].y),
                          difference(outline_a[1].x, outline_a[1].y, outline_a[2].x, outline_a[2].y),
                          difference(outline_b[0].x, outline_b[0].y, outline_b[3].x, outline_b[3].y),
                          difference(outline_b[0].x, outline_b[0].y, outline_b[1].x, outline_b[1].y)};
    for (const vec2d& axis : axes) {
        // A zero-sized box gives a zero axis, which cannot separate anything and would divide by zero.
        if (axis.x == 0 && axis.y == 0)
            continue;
        const interval extent_a = projected_extent(outline_a, axis);
        const interval extent_b = projected_extent(outline_b, axis);
        if (extent_a.high < extent_b.low || extent_a.low > extent_b.high)
            return false;
    }
    return true;
}
