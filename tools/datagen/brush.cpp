#include "brush.h"

#include <algorithm>
#include <cmath>

namespace {

// A repeatable value in [0, 1) for each (seed, i): the lattice of the smooth noise below.
double hashed(uint32_t seed, int i)
{
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(i) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h >> 8) / 16777216.0;
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Value noise in [0, 1) that changes smoothly with x, about once per unit.
double smooth_noise(uint32_t seed, double x)
{
    const double cell = std::floor(x);
    const double f = x - cell;
    const double fade = f * f * (3.0 - 2.0 * f);
    const int i = static_cast<int>(cell);
    return hashed(seed, i) + (hashed(seed, i + 1) - hashed(seed, i)) * fade;
}

point_class bezier(const sweep_class& s, double t)
{
    const double u = 1.0 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * s.p0.x + b * s.p1.x + c * s.p2.x + d * s.p3.x, a * s.p0.y + b * s.p1.y + c * s.p2.y + d * s.p3.y};
}

double bezier_speed(const sweep_class& s, double t)
{
    const double u = 1.0 - t;
    const double a = 3 * u * u, b = 6 * u * t, c = 3 * t * t;
    return std::hypot(a * (s.p1.x - s.p0.x) + b * (s.p2.x - s.p1.x) + c * (s.p3.x - s.p2.x),
                      a * (s.p1.y - s.p0.y) + b * (s.p2.y - s.p1.y) + c * (s.p3.y - s.p2.y));
}

// The brush's path in short straight pieces, with how far it has come and how fast it goes at each point.
struct path_point
{
    point_class p;
    double along, time, speed;
};

struct traced_sweep
{
    std::vector<path_point> path;
    double width, length, mean_speed;
    uint32_t seed;
    double left, top, right, bottom; // nothing of the sweep lies outside
};

constexpr int path_points = 240;

traced_sweep trace(const sweep_class& sweep, uint32_t seed)
{
    // The head reaches back a brush width, the glow a little further than the widest part.
    const double reach = 2.0 * sweep.width;
    traced_sweep traced{{}, sweep.width, 0, 0, seed, INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (int i = 0; i < path_points; ++i) {
        const double t = static_cast<double>(i) / (path_points - 1);
        const point_class p = bezier(sweep, t);
        if (i > 0)
            traced.length += std::hypot(p.x - traced.path.back().p.x, p.y - traced.path.back().p.y);
        traced.path.push_back({p, traced.length, t, bezier_speed(sweep, t)});
        traced.left = std::min(traced.left, p.x - reach), traced.right = std::max(traced.right, p.x + reach);
        traced.top = std::min(traced.top, p.y - reach), traced.bottom = std::max(traced.bottom, p.y + reach);
    }
    // With the parameter as time, the mean speed is the length covered in one unit of it.
    traced.mean_speed = traced.length;
    return traced;
}

// A pixel in the sweep's own terms: how far along the path it lies, at what moment and pace of the brush,
// and its signed distance from the path. Before the start the path runs straight back for a brush width, so
// each hair can touch down at its own place; beyond the end, the distance is from the end point.
struct brush_point
{
    double along, time, relative_speed, across;
};

brush_point locate(const traced_sweep& sweep, point_class p)
{
    double nearest = INFINITY; // squared
    brush_point found{};
    for (size_t i = 0; i + 1 < sweep.path.size(); ++i) {
        const path_point& a = sweep.path[i];
        const path_point& b = sweep.path[i + 1];
        const double ex = b.p.x - a.p.x, ey = b.p.y - a.p.y;
        const double before = i == 0 ? sweep.width / std::hypot(ex, ey) : 0.0;
        const double k = std::clamp(((p.x - a.p.x) * ex + (p.y - a.p.y) * ey) / (ex * ex + ey * ey), -before, 1.0);
        const double dx = p.x - a.p.x - k * ex, dy = p.y - a.p.y - k * ey;
        if (dx * dx + dy * dy >= nearest)
            continue;
        nearest = dx * dx + dy * dy;
        const double side = ex * (p.y - a.p.y) - ey * (p.x - a.p.x) < 0 ? -1.0 : 1.0;
        const double w = std::max(k, 0.0);
        found = {a.along + k * (b.along - a.along), a.time + w * (b.time - a.time),
                 (a.speed + w * (b.speed - a.speed)) / sweep.mean_speed, side * std::sqrt(nearest)};
    }
    return found;
}

// Half the brush's width at a moment: set down quickly, fullest early on, lifted off to a fine tip.
double half_width(const traced_sweep& sweep, double time)
{
    const double press = 0.7 + 0.3 * smoothstep(0.0, 0.12, time);
    const double lift = 1.0 - 0.8 * std::pow(smoothstep(0.6, 1.0, time), 1.2);
    return 0.5 * sweep.width * press * lift;
}

// The ragged edge on the side of the path the pixel is on: each side wanders on its own.
double edge_at(const traced_sweep& sweep, const brush_point& b)
{
    const uint32_t side_seed = sweep.seed * 2 + (b.across < 0);
    const double wander = smooth_noise(side_seed, b.along / 9.0) - 0.5;
    return half_width(sweep, b.time) * (1.0 + 0.12 * wander);
}

// How much ink a hair still lays at this point: full until the brush runs dry there, then broken into
// streaks whose ends fade over a few pixels. Outer hairs, late moments and fast passes run dry first.
double hair_ink(const traced_sweep& sweep, int hair, double offset, const brush_point& b)
{
    const uint32_t hair_seed = sweep.seed * 131 + static_cast<uint32_t>(hair);
    // Hairs differ in how much ink they hold, more so as the brush empties.
    const double load = (1.0 - (0.35 + 0.4 * b.time) * hashed(hair_seed, -1)) * (1.0 - 0.3 * offset * offset);
    // Each hair touches down at its own place, the middle ones furthest back: the head is round, ragged, soft.
    const double reach = 0.5 * sweep.width * (0.7 * std::sqrt(1.0 - offset * offset) + 0.3 * hashed(hair_seed, -3));
    const double touch_down = smoothstep(-reach - 2.0, -reach + 3.0, b.along);
    const double dryness = -0.2 + 0.9 * std::pow(b.time, 1.5) + 0.5 * offset * offset +
                           0.8 * std::max(0.0, b.relative_speed - 1.0);
    const double streak_length = 16.0 + 20.0 * hashed(hair_seed, -2);
    const double n = smooth_noise(hair_seed, b.along / streak_length);
    return load * touch_down * smoothstep(dryness - 0.4, dryness + 0.4, n);
}

// The hairs' ink at a point across the brush (-1 to 1), blended smoothly between neighbouring hairs.
double bristle_ink(const traced_sweep& sweep, double across, const brush_point& b)
{
    const int hairs = std::max(8, static_cast<int>(std::lround(sweep.width * 0.75)));
    const double f = std::clamp((across + 1.0) * 0.5 * hairs - 0.5, 0.0, hairs - 1.0);
    const int left = std::min(static_cast<int>(f), hairs - 2);
    const double blend = 0.5 - 0.5 * std::cos(M_PI * (f - left));
    const auto offset = [&](int hair) { return (2.0 * hair + 1.0) / hairs - 1.0; };
    return hair_ink(sweep, left, offset(left), b) * (1.0 - blend) +
           hair_ink(sweep, left + 1, offset(left + 1), b) * blend;
}

// Ink thins where the brush moves fast, and a little as it empties. It comes on over the first pixels as the
// brush presses down, so a head laid over another stroke pools with it rather than burning out.
double ink_flow(const brush_point& b)
{
    const double pace = std::clamp(std::pow(b.relative_speed, -0.5), 0.6, 1.1);
    const double press = 0.65 + 0.35 * smoothstep(0.0, 12.0, b.along);
    return pace * press * (1.0 - 0.2 * b.time);
}

// Ink and glow (each 0 to 1) that one sweep leaves at a pixel.
struct light
{
    double ink, glow;
};

// Pixels outside and inside the ragged edge over which the ink fades in, evenly: an S-shaped fade would be
// steeper in its middle.
constexpr double edge_outside = 0.8, edge_inside = 2.2;
constexpr double glow_reach = 5.0; // pixels beyond the edge where the glow ends

light sweep_light(const traced_sweep& sweep, point_class p)
{
    if (p.x < sweep.left || p.x > sweep.right || p.y < sweep.top || p.y > sweep.bottom)
        return {0, 0};
    const brush_point b = locate(sweep, p);
    const double edge = edge_at(sweep, b);
    const double distance = std::fabs(b.across);
    const double cover = std::clamp((edge + edge_outside - distance) / (edge_outside + edge_inside), 0.0, 1.0);
    const double ink = cover > 0 ? cover * ink_flow(b) * bristle_ink(sweep, b.across / edge, b) : 0.0;
    // Behind the head the glow ends where the middle hairs touched down.
    const double outside = std::max(distance - edge, -b.along - 0.35 * sweep.width);
    const double fade = 1.0 - smoothstep(0.0, glow_reach, outside);
    const double glow = fade * fade * std::min(1.0, 2.0 * edge / sweep.width);
    return {std::min(1.0, ink), glow};
}

// Sweeps of one image pool like layers of ink: each covers part of what the others left uncovered.
light pooled(light a, light b)
{
    return {1.0 - (1.0 - a.ink) * (1.0 - b.ink), 1.0 - (1.0 - a.glow) * (1.0 - b.glow)};
}

// The brightest ink, and the glow's strength: two strokes added where they cross stay short of white.
constexpr double ink_peak = 0.85, glow_strength = 0.12;
constexpr rgb_class glow_color = {1.0, 0.6, 0.28};

// Thin ink is warmer than dense ink: blue falls away fastest as the ink thins, red slowest.
unsigned char channel(double ink, double ink_share, double exponent, double glow, double glow_share)
{
    const double value = ink_share * std::pow(ink, exponent) + glow_share * glow * (1.0 - ink);
    return static_cast<unsigned char>(std::lround(255.0 * std::clamp(value, 0.0, 1.0)));
}

uint32_t pixel(light l, rgb_class color)
{
    const double ink = ink_peak * l.ink, glow = glow_strength * l.glow;
    return 0xFF000000u | channel(ink, color.r, 0.85, glow, glow_color.r) << 16 |
           channel(ink, color.g, 1.05, glow, glow_color.g) << 8 | channel(ink, color.b, 1.5, glow, glow_color.b);
}

// The light of every sweep averaged over points spread across the pixel, so hairs finer than a pixel, where
// the brush tapers, blend instead of breaking into dots.
light light_in_pixel(const std::vector<traced_sweep>& sweeps, int x, int y)
{
    constexpr int n = 3;
    light sum{0, 0};
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            light l{0, 0};
            for (const traced_sweep& sweep : sweeps)
                l = pooled(l, sweep_light(sweep, {x + (i + 0.5) / n, y + (j + 0.5) / n}));
            sum.ink += l.ink / (n * n);
            sum.glow += l.glow / (n * n);
        }
    return sum;
}

} // namespace

void paint_brush(cairo_t* cr, const std::vector<sweep_class>& sweeps, rgb_class ink, uint32_t seed)
{
    std::vector<traced_sweep> traced;
    for (const sweep_class& sweep : sweeps)
        traced.push_back(trace(sweep, seed * 16 + static_cast<uint32_t>(traced.size())));
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int width = cairo_image_surface_get_width(surface), stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < cairo_image_surface_get_height(surface); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x)
            row[x] = pixel(light_in_pixel(traced, x, y), ink);
    }
    cairo_surface_mark_dirty(surface);
}
