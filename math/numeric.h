// Numbers shared by the whole program: random ranges, angle conversion, single-precision wrappers of the
// C maths library, clamping, interpolation and the range easing functions the animation curves build on.
// Values are stored as floats; sums and products inside are evaluated in double precision.
#pragma once

// The largest raw random value. The C library's rand() may reach further (glibc: 2^31 - 1), so raw values
// are cut down to this range to keep every random range inside its ends.
constexpr int random_raw_max = 32767;

// One raw random value in 0..random_raw_max from the C library's generator.
int random_raw();

// The range functions below, applied to a given raw value instead of a fresh one.
double random_in_range(int raw, double min, double max);
int random_int_in_range(int raw, int min, int max);

// Both ends can occur.
float random_float(float min, float max);
double random_double(double min, double max);
// The caller guarantees min <= max.
int random_int(int min, int max);
bool random_bool();
// -1 or +1.
int random_sign();

float deg_to_rad(float degrees);
float rad_to_deg(float radians);

float sqrt_f(float x);
float asin_f(float x);
float cos_f(float x);
float sin_f(float x);
float fabs_f(float x);
float fmod_f(float x, float y);
float pow_f(float x, int n);

// lo first, then hi; a NaN v comes back unchanged.
double clamp(double v, double lo, double hi);
// t is not limited to [0, 1].
float lerp(float a, float b, float t);
// Both ends excluded.
bool is_between(float x, float lo, float hi);

// Range easing: x's position in the range a..b as a fraction f (a > b runs the range backwards), then shaped.
// The range ends must differ.
float range_fraction(float a, float b, float x);
float ease_in(float a, float b, float x);
float ease_out(float a, float b, float x);
float ease_in_out(float a, float b, float x);
float ease_out_in(float a, float b, float x);
// Rises to 1.2 at f = 0.45, back to 1.0 at 0.6, dips to 0.92 at 0.75 and settles at 1.0 at f = 1.
float overshoot_curve(float a, float b, float x);
