#include "scene/stage_pixels.h"

#include <allegro5/allegro.h>

#include <cmath>

static ALLEGRO_TRANSFORM inverse_of_current()
{
    ALLEGRO_TRANSFORM inverse;
    al_copy_transform(&inverse, al_get_current_transform());
    al_invert_transform(&inverse);
    return inverse;
}

// The smallest rectangle of whole units holding both corners once they went through the transform.
static stage_rect outward(const ALLEGRO_TRANSFORM& transform, float left, float top, float right, float bottom)
{
    al_transform_coordinates(&transform, &left, &top);
    al_transform_coordinates(&transform, &right, &bottom);
    return {static_cast<int>(std::floor(std::fmin(left, right))), static_cast<int>(std::floor(std::fmin(top, bottom))),
            static_cast<int>(std::ceil(std::fmax(left, right))), static_cast<int>(std::ceil(std::fmax(top, bottom)))};
}

void clip_to_region(const stage_rect& region)
{
    const stage_rect pixels =
        outward(*al_get_current_transform(), static_cast<float>(region.left), static_cast<float>(region.top),
                static_cast<float>(region.right), static_cast<float>(region.bottom));
    al_set_clipping_rectangle(pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top);
}

stage_rect clipped_region()
{
    int x = 0, y = 0, w = 0, h = 0;
    al_get_clipping_rectangle(&x, &y, &w, &h);
    return outward(inverse_of_current(), static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w),
                   static_cast<float>(y + h));
}

vec2d on_whole_pixels(float x, float y)
{
    al_transform_coordinates(al_get_current_transform(), &x, &y);
    x = std::round(x);
    y = std::round(y);
    const ALLEGRO_TRANSFORM inverse = inverse_of_current();
    al_transform_coordinates(&inverse, &x, &y);
    return vec2d(x, y);
}
