#include "core/stage_transform.h"

#include "core/screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

stage_transform_class stage_transform_class::fit(int window_width, int window_height)
{
    stage_transform_class transform;
    if (window_width <= 0 || window_height <= 0)
        return transform;
    transform.scale = std::min(static_cast<float>(window_width) / screen_width,
                               static_cast<float>(window_height) / screen_height);
    transform.left = std::floor((window_width - transform.scale * screen_width) / 2);
    transform.top = std::floor((window_height - transform.scale * screen_height) / 2);
    return transform;
}

// Whole pixels, without a column or row more where the scale's rounding leaves the edge a hair past one.
static int covering_pixels(float length)
{
    return static_cast<int>(std::ceil(length - 1e-3f));
}

int stage_transform_class::width() const
{
    return covering_pixels(screen_width * scale);
}

int stage_transform_class::height() const
{
    return covering_pixels(screen_height * scale);
}

float desktop_scale(const char* gdk_scale, const char* xft_dpi)
{
    if (gdk_scale && *gdk_scale)
        return static_cast<float>(std::clamp(std::atoi(gdk_scale), 1, 4));
    const float dpi = xft_dpi ? static_cast<float>(std::atof(xft_dpi)) : 0.0f;
    return dpi >= 144 ? std::min(dpi / 96, 4.0f) : 1.0f;
}

float opening_scale(float asked, int screen_width_px, int screen_height_px)
{
    const float fits = stage_transform_class::fit(screen_width_px, screen_height_px).scale;
    return std::max(1.0f, std::min(asked, fits));
}
