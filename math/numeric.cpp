#include "math/numeric.h"

#include <cmath>
#include <cstdlib>

int random_raw()
{
    return std::rand() % (random_raw_max + 1);
}

double random_in_range(int raw, double min, double max)
{
    return raw / static_cast<double>(random_raw_max) * (max - min) + min;
}

int random_int_in_range(int raw, int min, int max)
{
    return raw % (max - min + 1) + min;
}

float random_float(float min, float max)
{
    return static_cast<float>(random_in_range(random_raw(), min, max));
}

double random_double(double min, double max)
{
    return random_in_range(random_raw(), min, max);
}

int random_int(int min, int max)
{
    return random_int_in_range(random_raw(), min, max);
}

bool random_bool()
{
    return random_raw() % 2 == 1;
}

int random_sign()
{
    return random_bool() ? -1 : 1;
}

float deg_to_rad(float degrees)
{
    return static_cast<float>(degrees * 3.141592653589793 / 180.0);
}

float rad_to_deg(float radians)
{
    return static_cast<float>(radians * 57.29577951308232);
}

float sqrt_f(float x)
{
    return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

float asin_f(float x)
{
    return static_cast<float>(std::asin(static_cast<double>(x)));
}

float cos_f(float x)
{
    return static_cast<float>(std::cos(static_cast<double>(x)));
}

float sin_f(float x)
{
    return static_cast<float>(std::sin(static_cast<double>(x)));
}

float fabs_f(float x)
{
    return static_cast<float>(std::fabs(static_cast<double>(x)));
}

float fmod_f(float x, float y)
{
    return static_cast<float>(std::fmod(static_cast<double>(x), static_cast<double>(y)));
}

float pow_f(float x, int n)
{
    return static_cast<float>(std::pow(static_cast<double>(x), n));
}

double clamp(double v, double lo, double hi)
{
    if (lo > v)
        v = lo;
    if (v > hi)
        v = hi;
    return v;
}

float lerp(float a, float b, float t)
{
    return static_cast<float>((static_cast<double>(b) - a) * t + a);
}

bool is_between(float x, float lo, float hi)
{
    return lo < x && x < hi;
}

float range_fraction(float a, float b, float x)
{
    return static_cast<float>((static_cast<double>(x) - a) / (static_cast<double>(b) - a));
}

float ease_in(float a, float b, float x)
{
    const double f = range_fraction(a, b, x);
    return static_cast<float>(f * f);
}

float ease_out(float a, float b, float x)
{
    const double f = range_fraction(a, b, x);
    return static_cast<float>(-(f - 1.0) * (f - 1.0) + 1.0);
}

static float middle_of(float a, float b)
{
    return static_cast<float>((static_cast<double>(b) - a) / 2.0 + a);
}

// Two halves meeting at 0.5: `first` shapes the lower half of the range, `second` the upper one.
static float two_halves(float a, float b, float x, float (*first)(float, float, float),
                            float (*second)(float, float, float))
{
    const float f = range_fraction(a, b, x);
    const float m = middle_of(a, b);
    if (f == 0.5f)
        return 0.5f;
    if (f < 0.5f)
        return static_cast<float>(0.5 * first(a, m, x));
    if (f > 0.5f)
        return static_cast<float>(0.5 * second(m, b, x) + 0.5);
    return 0.0f;
}

float ease_in_out(float a, float b, float x)
{
    return two_halves(a, b, x, ease_in, ease_out);
}

float ease_out_in(float a, float b, float x)
{
    return two_halves(a, b, x, ease_out, ease_in);
}

float overshoot_curve(float a, float b, float x)
{
    const float t = range_fraction(a, b, x);
    const double amplitude = 0.2f;
    const double damping = 0.4f;
    if (t < 0.3f)
        return ease_in(0.0f, 0.3f, t);
    if (t >= 0.3f && t <= 0.45f)
        return static_cast<float>(1.0 + amplitude * ease_out(0.3f, 0.45f, t));
    if (t > 0.45f && t <= 0.6f)
        return static_cast<float>(1.0 + amplitude * ease_out(0.6f, 0.45f, t));
    if (t > 0.6f && t < 0.75f)
        return static_cast<float>(1.0 - amplitude * damping * ease_out(0.6f, 0.75f, t));
    if (t >= 0.75f)
        return static_cast<float>(1.0 - amplitude * damping * ease_in_out(1.0f, 0.75f, t));
    return t;
}
