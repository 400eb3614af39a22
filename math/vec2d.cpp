#include "math/vec2d.h"

#include "math/numeric.h"

#include <allegro5/allegro_primitives.h>

static float product_sum(double a, double b, double c, double d)
{
    return static_cast<float>(a * b + c * d);
}

float vec2d::length_squared() const
{
    return product_sum(x, x, y, y);
}

float vec2d::length() const
{
    return sqrt_f(length_squared());
}

vec2d vec2d::normalized() const
{
    const float l = length();
    return vec2d(x / l, y / l);
}

vec2d difference(float x1, float y1, float x2, float y2)
{
    return vec2d(x1 - x2, y1 - y2);
}

void translate(vec2d& p, float dx, float dy)
{
    p.x += dx;
    p.y += dy;
}

void rotate_around(vec2d& p, const vec2d& centre, float degrees)
{
    const float angle = static_cast<float>(-degrees * 3.141592653589793 / 180.0);
    const double c = cos_f(angle);
    const double s = sin_f(angle);
    const vec2d d = difference(p.x, p.y, centre.x, centre.y);
    p = vec2d(static_cast<float>(c * d.x - s * d.y), static_cast<float>(s * d.x + c * d.y));
    translate(p, centre.x, centre.y);
}

vec2d project_onto(const vec2d& v, const vec2d& axis)
{
    const double squared = static_cast<double>(pow_f(axis.x, 2)) + pow_f(axis.y, 2);
    const float k = static_cast<float>((static_cast<double>(v.x) * axis.x + static_cast<double>(v.y) * axis.y) /
                                       squared);
    return vec2d(k * axis.x, k * axis.y);
}

float dot(float x1, float y1, float x2, float y2)
{
    return product_sum(x1, x2, y1, y2);
}

vec2d segment_normal(const std::vector<vec2d>& points, int i)
{
    const vec2d& a = points[static_cast<size_t>(i)];
    const vec2d& b = points[static_cast<size_t>(i) + 1];
    const vec2d d = difference(a.x, a.y, b.x, b.y);
    return vec2d(-d.y, d.x).normalized();
}

float distance(float x1, float y1, float x2, float y2)
{
    const double dx = static_cast<double>(x1) - x2;
    const double dy = static_cast<double>(y1) - y2;
    return sqrt_f(product_sum(dx, dx, dy, dy));
}

bool point_in_rect(float px, float py, float left, float top, float right, float bottom)
{
    return left <= px && px <= right && top <= py && py <= bottom;
}

bool boxes_overlap(float left1, float top1, float right1, float bottom1, float left2, float top2, float right2,
                   float bottom2)
{
    return right1 > left2 && left1 < right2 && bottom1 > top2 && top1 < bottom2;
}

bool point_in_circle(float x1, float y1, float x2, float y2, float radius)
{
    return distance(x1, y1, x2, y2) <= radius;
}

bool circles_overlap(float x1, float y1, float r1, float x2, float y2, float r2)
{
    return distance(x1, y1, x2, y2) <= static_cast<double>(r1) + r2;
}

bool circle_hits_segment(float cx, float cy, float radius, float x1, float y1, float x2, float y2)
{
    const vec2d a = difference(cx, cy, x2, y2);
    const vec2d e = difference(x1, y1, x2, y2);
    const double along = static_cast<double>(a.x) * e.x + static_cast<double>(a.y) * e.y;
    const float u = static_cast<float>(along / (static_cast<double>(e.x) * e.x + static_cast<double>(e.y) * e.y));
    vec2d nearest(static_cast<float>(static_cast<double>(u) * e.x + x2),
                  static_cast<float>(static_cast<double>(u) * e.y + y2));
    if (u < 0.0f)
        nearest = vec2d(x2, y2);
    else if (u > 1.0f)
        nearest = vec2d(x1, y1);
    return distance(cx, cy, nearest.x, nearest.y) < radius;
}

bool is_ccw(float x0, float y0, float x1, float y1, float x2, float y2)
{
    const double left = (static_cast<double>(y2) - y1) * (static_cast<double>(x1) - x0);
    const double right = (static_cast<double>(y1) - y0) * (static_cast<double>(x2) - x1);
    return left > right;
}

void draw_cross(float x, float y, ALLEGRO_COLOR color)
{
    al_draw_line(x, y - 5.0f, x, y + 5.0f, color, 1.0f);
    al_draw_line(x - 5.0f, y, x + 5.0f, y, color, 1.0f);
}

void draw_cross(const vec2d& p, ALLEGRO_COLOR color)
{
    draw_cross(p.x, p.y, color);
}
