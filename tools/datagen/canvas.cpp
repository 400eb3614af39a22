#include "canvas.h"

#include <cmath>
#include <cstdio>
#include <unistd.h>

std::string data_path(const std::string& data_dir, const char* path)
{
    return data_dir + (path + 4); // past "data"
}

cairo_t* new_canvas(int width, int height, bool black)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_surface_destroy(surface);
    if (black) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
    }
    return cr;
}

bool save_canvas(cairo_t* cr, const std::string& path)
{
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_surface_flush(surface);
    const bool written = cairo_surface_write_to_png(surface, temporary.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (!written) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

void paint_glow(cairo_t* cr, double cx, double cy, double rx, double ry, rgb_class color, double strength)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    // A Gaussian-like falloff in a handful of stops; a linear ramp would show a cone and a hard rim.
    for (int i = 0; i <= 10; ++i) {
        const double d = i / 10.0;
        const double a = strength * std::exp(-4.5 * d * d) * (1.0 - d * d * d * d);
        cairo_pattern_add_color_stop_rgba(glow, d, color.r, color.g, color.b, a);
    }
    cairo_set_source(cr, glow);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_restore(cr);
}

void fill_shaded_ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, rgb_class inner,
                         rgb_class outer)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* shade = cairo_pattern_create_radial(-0.3, -0.35, 0.05, 0, 0, 1);
    cairo_pattern_add_color_stop_rgb(shade, 0, inner.r, inner.g, inner.b);
    cairo_pattern_add_color_stop_rgb(shade, 1, outer.r, outer.g, outer.b);
    cairo_set_source(cr, shade);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
}

void closed_curve(cairo_t* cr, double x, double y, std::initializer_list<std::array<double, 6>> segments)
{
    cairo_move_to(cr, x, y);
    for (const auto& c : segments)
        cairo_curve_to(cr, c[0], c[1], c[2], c[3], c[4], c[5]);
    cairo_close_path(cr);
}
