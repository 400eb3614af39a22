// Cairo canvases for the generated images, and the few drawing helpers that several image families share.
#pragma once

#include "resources/manifest.h"

#include <cairo.h>

#include <array>
#include <initializer_list>
#include <string>

struct rgb_class
{
    double r, g, b;
};

// A width x height canvas: transparent for images drawn with ordinary alpha blending, opaque black for
// images drawn additively (where black must add nothing, whatever the alpha).
cairo_t* new_canvas(int width, int height, bool black);

// Writes the canvas as PNG through a temporary file, so that a build running beside another never reads a
// half-written image, and frees the canvas. False when the file could not be written.
bool save_canvas(cairo_t* cr, const std::string& path);

// Where a file of the manifest ("data/...") goes in the data folder being written.
std::string data_path(const std::string& data_dir, const char* path);

// Draws one image of the manifest on a canvas of its size (opaque black for an additive image) and writes
// it into the data folder.
template <typename Draw>
bool write_image(const std::string& data_dir, const data_image& image, bool black, Draw draw)
{
    cairo_t* cr = new_canvas(image.width, image.height, black);
    draw(cr);
    return save_canvas(cr, data_path(data_dir, image.path));
}

// A soft elliptic glow centred on (cx, cy): full strength in the middle, fading smoothly to nothing at the
// radii rx, ry.
void paint_glow(cairo_t* cr, double cx, double cy, double rx, double ry, rgb_class color, double strength);

// An ellipse filled with a radial gradient from `inner` at its centre to `outer` at its rim.
void fill_shaded_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, rgb_class inner,
                         rgb_class outer);

// A closed outline from (x, y) through cubic Bézier segments, each two control points and an end point.
void closed_curve(cairo_t* cr, double x, double y, std::initializer_list<std::array<double, 6>> segments);
