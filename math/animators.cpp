#include "math/animators.h"

#include "math/colors.h"

float apply_curve(float t, easing_curve curve)
{
    switch (curve) {
    case curve_ease_out: return ease_out(0.0f, 1.0f, t);
    case curve_ease_in: return static_cast<float>(static_cast<double>(t) * t);
    case curve_ease_out_in: return ease_out_in(0.0f, 1.0f, t);
    case curve_ease_in_out: return ease_in_out(0.0f, 1.0f, t);
    case curve_ease_out_twice: return ease_out(0.0f, 1.0f, ease_out(0.0f, 1.0f, t));
    case curve_ease_in_cubic: return static_cast<float>(static_cast<double>(t) * t * t);
    case curve_ease_out_in_twice: return ease_out_in(0.0f, 1.0f, ease_out_in(0.0f, 1.0f, t));
    case curve_ease_in_out_twice: return ease_in_out(0.0f, 1.0f, ease_in_out(0.0f, 1.0f, t));
    case curve_overshoot: return overshoot_curve(0.0f, 1.0f, t);
    default: return t;
    }
}

float interpolate(float from, float to, float e)
{
    return static_cast<float>(from + (static_cast<double>(to) - from) * e);
}

bool interpolate(bool from, bool to, float e)
{
    return e < 1.0f ? from : to;
}

ALLEGRO_BITMAP* interpolate(ALLEGRO_BITMAP* from, ALLEGRO_BITMAP* to, float e)
{
    return e < 1.0f ? from : to;
}

ALLEGRO_COLOR interpolate(const ALLEGRO_COLOR& from, const ALLEGRO_COLOR& to, float e)
{
    return color_lerp(from, to, e);
}

bool values_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b)
{
    return colors_equal(a, b);
}

float tween_progress(double elapsed, double duration)
{
    if (duration <= 0.0)
        return elapsed > 0.0 ? 1.0f : 0.0f;
    return static_cast<float>(clamp(elapsed / duration, 0.0, 1.0));
}
