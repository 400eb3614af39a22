// A loaded brush painted pixel by pixel: each sweep tapers in and out, its edges soft and ragged, its ink in
// fine bristle streaks that run along it and break up as the brush runs dry or speeds up. The result is light
// on black, for images drawn additively.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

struct point_class
{
    double x, y;
};

// One sweep of the brush along a cubic Bezier curve, at the pace of its parameter: where the control points
// lie far apart the brush moves fast and leaves less ink.
struct sweep_class
{
    point_class p0, p1, p2, p3;
    double width;
};

// Fills the canvas with the sweeps' light on black, the hairs of each drawn from `seed`.
void paint_brush(cairo_t* cr, const std::vector<sweep_class>& sweeps, rgb_class ink, uint32_t seed);
