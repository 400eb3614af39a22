// The 2-D vector of the whole program and the few geometry tests it needs. Screen coordinates: x to the
// right, y downwards. Floats stored, sums and products inside evaluated in double precision.
#pragma once

#include <allegro5/allegro.h>

#include <vector>

class vec2d
{
public:
    float x = 0.0f;
    float y = 0.0f;

    vec2d() = default;
    vec2d(float x_value, float y_value) : x(x_value), y(y_value) {}

    float length_squared() const;
    float length() const;
    // Unit vector of the same direction; not defined for the zero vector.
    vec2d normalized() const;
};

// (x1 - x2, y1 - y2).
vec2d difference(float x1, float y1, float x2, float y2);
void translate(vec2d& p, float dx, float dy);
// A positive angle turns p counter-clockwise as seen on screen.
void rotate_around(vec2d& p, const vec2d& centre, float degrees);
vec2d project_onto(const vec2d& v, const vec2d& axis);
float dot(float x1, float y1, float x2, float y2);
// Unit normal of the edge from points[i] to points[i + 1]; points[i + 1] must exist.
vec2d segment_normal(const std::vector<vec2d>& points, int i);

float distance(float x1, float y1, float x2, float y2);
// Edges count as inside.
bool point_in_rect(float px, float py, float left, float top, float right, float bottom);
// Boxes that only touch do not overlap.
bool boxes_overlap(float left1, float top1, float right1, float bottom1, float left2, float top2, float right2,
                   float bottom2);
bool point_in_circle(float x1, float y1, float x2, float y2, float radius);
bool circles_overlap(float x1, float y1, float r1, float x2, float y2, float r2);
// True when the segment comes strictly closer than radius to the centre; a zero-length segment never hits.
bool circle_hits_segment(float cx, float cy, float radius, float x1, float y1, float x2, float y2);
// Collinear points are not counter-clockwise.
bool is_ccw(float x0, float y0, float x1, float y1, float x2, float y2);

// A small plus sign for debug drawing, ten pixels across.
void draw_cross(float x, float y, ALLEGRO_COLOR color);
void draw_cross(const vec2d& p, ALLEGRO_COLOR color);
