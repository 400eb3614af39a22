// The four element pictures (tokens and buttons, drawn with ordinary alpha blending), the bead that frames a
// token (additive) and the drop shadow under a button. Each element has its own outline, so they read apart
// by shape as well as by color: a mountain, curling gusts, a drop, a three-tongued flame.
#include "canvas.h"
#include "families.h"

#include <cmath>

namespace {

void fill_vertical_gradient(cairo_t* cr, double top_y, rgb_class top, double bottom_y, rgb_class bottom)
{
    cairo_pattern_t* ramp = cairo_pattern_create_linear(0, top_y, 0, bottom_y);
    cairo_pattern_add_color_stop_rgb(ramp, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(ramp, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, ramp);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(ramp);
}

void outline(cairo_t* cr, rgb_class color)
{
    cairo_set_source_rgb(cr, color.r, color.g, color.b);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void polygon(cairo_t* cr, std::initializer_list<std::pair<double, double>> points)
{
    cairo_new_path(cr);
    for (const auto& p : points)
        cairo_line_to(cr, p.first, p.second);
    cairo_close_path(cr);
}

void draw_earth(cairo_t* cr)
{
    const rgb_class edge = {0.12, 0.14, 0.04};
    polygon(cr, {{22, 54}, {43, 16}, {62, 54}});
    fill_vertical_gradient(cr, 16, {0.45, 0.55, 0.2}, 54, {0.22, 0.28, 0.08});
    outline(cr, edge);
    polygon(cr, {{2, 54}, {24, 10}, {47, 54}});
    fill_vertical_gradient(cr, 10, {0.7, 0.8, 0.35}, 54, {0.33, 0.42, 0.12});
    outline(cr, edge);
    // The shaded flank gives the front peak its volume.
    polygon(cr, {{24, 10}, {47, 54}, {30, 54}, {27, 36}});
    cairo_set_source_rgba(cr, 0.1, 0.12, 0.02, 0.35);
    cairo_fill(cr);
    polygon(cr, {{24, 10}, {18.5, 21}, {22, 19}, {25, 23}, {28, 18}});
    cairo_set_source_rgb(cr, 0.93, 0.94, 0.8);
    cairo_fill(cr);
    polygon(cr, {{43, 16}, {39, 23}, {42, 22}, {44, 25}, {46.5, 21.5}});
    cairo_fill(cr);
    cairo_rectangle(cr, 1, 53, 62, 7);
    fill_vertical_gradient(cr, 53, {0.45, 0.32, 0.16}, 60, {0.28, 0.18, 0.08});
    outline(cr, edge);
}

// One gust: a straight run that ends in a curl of the given radius, turning up (-1) or down (+1).
void gust(cairo_t* cr, double x0, double x1, double y, double radius, int turn)
{
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x1, y);
    if (turn < 0)
        cairo_arc_negative(cr, x1, y - radius, radius, M_PI / 2, -M_PI);
    else
        cairo_arc(cr, x1, y + radius, radius, -M_PI / 2, M_PI);
}

void wind_gusts(cairo_t* cr)
{
    gust(cr, 5, 38, 23, 8, -1);
    gust(cr, 3, 50, 37, 8, -1);
    gust(cr, 11, 34, 48, 6, 1);
}

void draw_wind(cairo_t* cr)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    wind_gusts(cr);
    cairo_set_source_rgb(cr, 0.15, 0.3, 0.45);
    cairo_set_line_width(cr, 7.5);
    cairo_stroke(cr);
    wind_gusts(cr);
    cairo_set_source_rgb(cr, 0.78, 0.92, 1.0);
    cairo_set_line_width(cr, 4.5);
    cairo_stroke(cr);
}

void draw_water(cairo_t* cr)
{
    cairo_move_to(cr, 32, 3);
    cairo_curve_to(cr, 37, 15, 51, 25, 51, 40);
    cairo_arc(cr, 32, 40, 19, 0, M_PI);
    cairo_curve_to(cr, 13, 25, 27, 15, 32, 3);
    cairo_close_path(cr);
    cairo_pattern_t* shade = cairo_pattern_create_radial(25, 30, 2, 32, 40, 26);
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.6, 0.75, 1.0);
    cairo_pattern_add_color_stop_rgb(shade, 1, 0.08, 0.18, 0.62);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    outline(cr, {0.03, 0.08, 0.3});
    cairo_save(cr);
    cairo_translate(cr, 24, 40);
    cairo_rotate(cr, 0.35);
    cairo_scale(cr, 3.5, 7);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.75);
    cairo_fill(cr);
}

void draw_fire(cairo_t* cr)
{
    closed_curve(cr, 32, 61, {{16, 61, 7, 48, 12, 33}, {14, 26, 13, 20, 11, 13}, {19, 18, 23, 24, 24, 28},
                              {24, 18, 28, 10, 32, 2}, {36, 12, 40, 18, 40, 27}, {43, 21, 47, 16, 53, 11},
                              {51, 20, 52, 26, 54, 32}, {58, 48, 48, 61, 32, 61}});
    fill_vertical_gradient(cr, 6, {0.85, 0.08, 0.02}, 60, {1.0, 0.62, 0.08});
    outline(cr, {0.3, 0.02, 0.0});
    closed_curve(cr, 32, 58, {{22, 58, 19, 47, 24, 39}, {27, 34, 29, 28, 30, 22}, {33, 29, 37, 33, 39, 39},
                              {44, 47, 41, 58, 32, 58}});
    fill_vertical_gradient(cr, 22, {1.0, 0.72, 0.2}, 58, {1.0, 0.95, 0.6});
    cairo_new_path(cr);
}

// A glass ring on black: visible as an empty cell, and framing the element picture that lies under it
// without washing it out (the middle adds almost nothing).
void draw_bead(cairo_t* cr)
{
    paint_glow(cr, 32, 32, 31, 31, {0.55, 0.6, 0.7}, 0.25);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_arc(cr, 32, 32, 24, 0, 2 * M_PI);
    cairo_fill(cr);
    paint_glow(cr, 32, 32, 24, 24, {0.3, 0.33, 0.4}, 0.35);
    cairo_pattern_t* rim = cairo_pattern_create_linear(10, 8, 54, 56);
    cairo_pattern_add_color_stop_rgb(rim, 0, 0.95, 0.97, 1.0);
    cairo_pattern_add_color_stop_rgb(rim, 1, 0.35, 0.38, 0.45);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 3);
    cairo_arc(cr, 32, 32, 25.5, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    cairo_set_source_rgb(cr, 0.9, 0.92, 1.0);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, 32, 32, 20, M_PI * 1.1, M_PI * 1.35);
    cairo_stroke(cr);
}

// Anchored at its top centre on the picture's centre, so the ellipse lies under the picture's foot.
void draw_drop_shadow(cairo_t* cr)
{
    paint_glow(cr, 50, 33, 46, 13, {0, 0, 0}, 1.0);
}

} // namespace

bool write_element_images(const std::string& data_dir)
{
    bool ok = write_image(data_dir, element_images[0], false, draw_earth);
    ok &= write_image(data_dir, element_images[1], false, draw_wind);
    ok &= write_image(data_dir, element_images[2], false, draw_water);
    ok &= write_image(data_dir, element_images[3], false, draw_fire);
    ok &= write_image(data_dir, bead_image, true, draw_bead);
    ok &= write_image(data_dir, drop_shadow_image, false, draw_drop_shadow);
    return ok;
}
