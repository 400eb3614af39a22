// Effect sprites and the stage lighting. Everything drawn additively is opaque on black, so black adds
// nothing; the glow and the overlay are grey, because the element color reaches them as a tint.
#include "canvas.h"
#include "families.h"

#include <cmath>

namespace {

// Flame colors from the rim inwards; each layer is a smaller copy of the shape drawn over the last.
constexpr rgb_class flame_layers[] = {
    {0.35, 0.04, 0.0}, {0.7, 0.12, 0.0}, {0.95, 0.35, 0.02}, {1.0, 0.65, 0.1}, {1.0, 0.88, 0.45}, {1.0, 0.97, 0.8}};
constexpr int flame_layer_count = sizeof(flame_layers) / sizeof(flame_layers[0]);

// Fills nested copies of a flame outline, shrunk towards (fx, fy), from dull red to a white-hot core.
void layered_flame(cairo_t* cr, double fx, double fy, void (*shape)(cairo_t*))
{
    for (int i = 0; i < flame_layer_count; ++i) {
        const double s = 1.0 - 0.15 * i;
        cairo_save(cr);
        cairo_translate(cr, fx, fy);
        cairo_scale(cr, s, s);
        cairo_translate(cr, -fx, -fy);
        shape(cr);
        cairo_restore(cr);
        const rgb_class c = flame_layers[i];
        cairo_set_source_rgb(cr, c.r, c.g, c.b);
        cairo_fill(cr);
    }
}

// A tongue lying on its side: round and hot at the right, where it turns about the spawn point, licking
// out to a tip at the left.
void tongue_shape(cairo_t* cr)
{
    closed_curve(cr, 2, 9, {{14, 4, 26, 2, 38, 4}, {48, 6, 48, 20, 38, 21}, {26, 22, 16, 17, 2, 9}});
}

void draw_flame_tongue(cairo_t* cr)
{
    paint_glow(cr, 34, 12, 13, 11.5, {0.8, 0.2, 0.0}, 0.6);
    layered_flame(cr, 38, 12.5, tongue_shape);
}

// An upright flame whose round foot sits at three quarters of the height, where the sprite is anchored.
void core_shape(cairo_t* cr)
{
    closed_curve(cr, 32, 4, {{36, 18, 50, 30, 50, 50}, {50, 64, 42, 70, 32, 70}, {22, 70, 14, 64, 14, 50},
                             {14, 36, 24, 28, 25, 16}, {29, 22, 30, 14, 32, 4}});
}

void draw_core_flame(cairo_t* cr)
{
    paint_glow(cr, 32, 52, 32, 28, {0.9, 0.3, 0.02}, 0.55);
    layered_flame(cr, 32, 56, core_shape);
}

// Curling wisps of air on black.
void draw_air_puff(cairo_t* cr)
{
    const double arcs[][4] = {{22, 0.3, 2.6, 1.0}, {16, 3.0, 5.2, 0.85}, {10, 0.9, 3.7, 0.7}, {26, 3.6, 5.0, 0.5}};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const auto& a : arcs) {
        // Wide and faint under narrow and bright: a soft-edged wisp without a blur filter.
        const double widths[] = {9, 5.5, 2.5};
        const double alphas[] = {0.15, 0.3, 0.75};
        for (int i = 0; i < 3; ++i) {
            cairo_set_source_rgba(cr, 0.8, 0.93, 1.0, alphas[i] * a[3]);
            cairo_set_line_width(cr, widths[i]);
            cairo_arc(cr, 36, 36, a[0], a[1], a[2]);
            cairo_stroke(cr);
        }
    }
}

// A few white drops; the sprite's tint turns them blue.
void draw_droplets(cairo_t* cr)
{
    const double drops[][3] = {{10, 12, 6}, {19, 6, 2.8}, {18, 19, 2.2}};
    for (const auto& d : drops) {
        cairo_pattern_t* shade = cairo_pattern_create_radial(d[0] - d[2] * 0.35, d[1] - d[2] * 0.35, 0,
                                                             d[0], d[1], d[2]);
        cairo_pattern_add_color_stop_rgba(shade, 0, 1, 1, 1, 1);
        cairo_pattern_add_color_stop_rgba(shade, 0.7, 0.82, 0.88, 0.95, 0.9);
        cairo_pattern_add_color_stop_rgba(shade, 1, 0.6, 0.7, 0.85, 0.6);
        cairo_set_source(cr, shade);
        cairo_arc(cr, d[0], d[1], d[2], 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(shade);
    }
}

// Rises from the bottom edge, where the sprite stands.
void draw_glow(cairo_t* cr)
{
    paint_glow(cr, 210, 180, 210, 180, {1, 1, 1}, 0.85);
}

// A vignette and a thin double frame over the whole window; the middle stays black so the grid is
// untouched.
void draw_overlay(cairo_t* cr)
{
    const int width = overlay_image.width;
    const int height = overlay_image.height;
    cairo_save(cr);
    cairo_translate(cr, width / 2.0, height / 2.0);
    cairo_scale(cr, width * 0.72, height * 0.72);
    cairo_pattern_t* vignette = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(vignette, 0.0, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(vignette, 0.62, 1, 1, 1, 0);
    cairo_pattern_add_color_stop_rgba(vignette, 0.85, 1, 1, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(vignette, 1.0, 1, 1, 1, 0.35);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
    cairo_restore(cr);

    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, 1.5);
    cairo_rectangle(cr, 10.5, 10.5, width - 21, height - 21);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 16.5, 16.5, width - 33, height - 33);
    cairo_stroke(cr);
    // Diamonds at the corners of the frame.
    const double corners[][2] = {{10.5, 10.5}, {width - 10.5, 10.5}, {10.5, height - 10.5},
                                 {width - 10.5, height - 10.5}};
    for (const auto& c : corners) {
        cairo_move_to(cr, c[0], c[1] - 7);
        cairo_line_to(cr, c[0] + 7, c[1]);
        cairo_line_to(cr, c[0], c[1] + 7);
        cairo_line_to(cr, c[0] - 7, c[1]);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
        cairo_fill(cr);
    }
}

} // namespace

bool write_effect_images(const std::string& data_dir)
{
    bool ok = write_image(data_dir, air_puff_image, true, draw_air_puff);
    ok &= write_image(data_dir, droplet_image, false, draw_droplets);
    ok &= write_image(data_dir, flame_tongue_image, true, draw_flame_tongue);
    ok &= write_image(data_dir, flame_core_image, true, draw_core_flame);
    ok &= write_image(data_dir, glow_image, true, draw_glow);
    ok &= write_image(data_dir, overlay_image, true, draw_overlay);
    return ok;
}
