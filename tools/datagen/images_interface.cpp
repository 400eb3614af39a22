// Window furniture: the placeholder for missing images, the two mouse cursors, the keyboard's grid cursor and
// the window icon.
#include "canvas.h"
#include "families.h"

#include <cairo-svg.h>

#include <cmath>

namespace {

// Magenta and black checks with a cross: nobody mistakes it for artwork.
void draw_missing_image(cairo_t* cr)
{
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            if ((x + y) % 2 == 0)
                cairo_set_source_rgb(cr, 1, 0, 1);
            else
                cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_rectangle(cr, x * 8, y * 8, 8, 8);
            cairo_fill(cr);
        }
    cairo_set_source_rgb(cr, 1, 1, 0);
    cairo_set_line_width(cr, 4);
    cairo_rectangle(cr, 2, 2, 60, 60);
    cairo_move_to(cr, 8, 8);
    cairo_line_to(cr, 56, 56);
    cairo_move_to(cr, 56, 8);
    cairo_line_to(cr, 8, 56);
    cairo_stroke(cr);
}

// Outlines the current path in black and fills it white: a cursor that shows on any background.
void ink_outlined(cairo_t* cr)
{
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

void draw_arrow_cursor(cairo_t* cr)
{
    const double points[][2] = {{2, 2}, {2, 24}, {7.5, 19}, {11.5, 27.5}, {15, 26}, {11, 18}, {18, 18}};
    cairo_move_to(cr, points[0][0], points[0][1]);
    for (const auto& p : points)
        cairo_line_to(cr, p[0], p[1]);
    cairo_close_path(cr);
    ink_outlined(cr);
}

void rounded_rectangle(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// The hand's parts, drawn pointing up with the index fingertip at the origin.
void hand_parts(cairo_t* cr)
{
    rounded_rectangle(cr, -2.5, 0, 5, 15, 2.5);
    rounded_rectangle(cr, 2.5, 8, 4, 9, 2);
    rounded_rectangle(cr, 6.5, 9, 4, 9, 2);
    rounded_rectangle(cr, 10.5, 10.5, 3.5, 8, 1.75);
    cairo_save(cr);
    cairo_translate(cr, -4.5, 15.5);
    cairo_rotate(cr, -0.6);
    rounded_rectangle(cr, -2, -4.5, 4, 9, 2);
    cairo_restore(cr);
    rounded_rectangle(cr, -2.5, 12, 16.5, 11, 4);
}

// A pointing hand, turned so the fingertip is the top-left-most point, at (2, 2).
void draw_pointer_cursor(cairo_t* cr)
{
    cairo_translate(cr, 2, 2);
    cairo_rotate(cr, -0.35);
    cairo_translate(cr, 2.5, 1.2);
    hand_parts(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    hand_parts(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

// A ring just wider than a token's bead: white, to take the chosen element's tint, between black edges so
// that it shows over the brightest burst as well as over the dark stage.
void draw_grid_cursor(cairo_t* cr)
{
    cairo_arc(cr, 32, 32, 28, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 7);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 3.5);
    cairo_stroke(cr);
}

// The program's mark: a rising row of the four element beads on a dark tile.
void draw_icon(cairo_t* cr)
{
    rounded_rectangle(cr, 1, 1, 62, 62, 12);
    cairo_set_source_rgb(cr, 0.04, 0.04, 0.06);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.85, 0.7, 0.4);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    const rgb_class colors[4] = {{0.42, 0.56, 0.14}, {0.68, 0.85, 0.9}, {0.25, 0.41, 0.88}, {1, 0.15, 0.1}};
    for (int i = 0; i < 4; ++i) {
        const double cx = 13 + i * 12.5;
        const double cy = 46 - i * 9.0;
        paint_glow(cr, cx, cy, 11, 11, colors[i], 0.6);
        fill_shaded_ellipse(cr, cx, cy, 5.5, 5.5, {1, 1, 1}, colors[i]);
    }
}

} // namespace

bool write_desktop_icons(const std::string& icon_dir)
{
    bool ok = true;
    for (int size : {48, 64, 128, 256}) {
        cairo_t* cr = new_canvas(size, size, false);
        cairo_scale(cr, size / 64.0, size / 64.0);
        draw_icon(cr);
        ok &= save_canvas(cr, icon_dir + "/" + std::to_string(size) + ".png");
    }
    // The same drawing as vectors, for any size a desktop asks for.
    cairo_surface_t* vectors = cairo_svg_surface_create((icon_dir + "/scalable.svg").c_str(), 64, 64);
    cairo_t* cr = cairo_create(vectors);
    draw_icon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(vectors);
    ok &= cairo_surface_status(vectors) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(vectors);
    return ok;
}

bool write_interface_images(const std::string& data_dir)
{
    bool ok = write_image(data_dir, missing_image_file, false, draw_missing_image);
    ok &= write_image(data_dir, arrow_cursor_image, false, draw_arrow_cursor);
    ok &= write_image(data_dir, pointer_cursor_image, false, draw_pointer_cursor);
    ok &= write_image(data_dir, icon_image, false, draw_icon);
    ok &= write_image(data_dir, grid_cursor_image, false, draw_grid_cursor);
    return ok;
}
