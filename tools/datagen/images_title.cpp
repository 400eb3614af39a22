// The title, T O L M E in dry-brush strokes, and the black curtain that covers it when it is put away.
//
// Each stroke image is its whole letter cell with one stroke drawn in place, so all strokes of a letter line
// up when they share an anchor. With a unit u, the cells are T 1.6u, O 2u, L u, M 1.5u and E 1.5u wide:
// at the letters' anchors (2.7, 1.35, 0.7, -0.2, -1.2 of the cell width, left of the common point) that puts
// the five cells edge to edge in one row. Strokes run the way their wipe reveals them.
#include "brush.h"
#include "families.h"

#include <vector>

namespace {

constexpr rgb_class ink = {1.0, 0.84, 0.55};

// The sweeps of each stroke of the manifest's title strokes, in its cell's pixels (80 px to a unit).
std::vector<std::vector<sweep_class>> title_strokes()
{
    return {
        // T: a dab at the bar's left end, the bar left to right, the stem top to bottom.
        {{{14, 20}, {15, 26}, {17, 34}, {19, 44}, 13}},
        {{{12, 36}, {45, 32}, {85, 30}, {116, 27}, 18}},
        {{{65, 34}, {66, 70}, {64, 110}, {62, 143}, 21}},
        // O: over the top from the left, then back along the bottom from the right.
        {{{22, 96}, {16, 14}, {144, 10}, {140, 84}, 20}},
        {{{140, 76}, {146, 152}, {16, 154}, {26, 88}, 20}},
        // L: the stem downwards, a serif leftwards across its head, the foot rightwards with a flick.
        {{{22, 24}, {23, 60}, {21, 100}, {21, 138}, 20}},
        {{{38, 26}, {30, 24}, {20, 25}, {8, 27}, 10}},
        {{{12, 138}, {34, 141}, {56, 139}, {72, 126}, 18}},
        // M: each half from the top down, left leg with its diagonal, then the other diagonal and leg.
        {{{16, 28}, {15, 60}, {14, 100}, {12, 142}, 16}, {{18, 26}, {32, 58}, {46, 90}, {60, 120}, 13}},
        {{{104, 26}, {90, 56}, {74, 88}, {60, 120}, 13}, {{104, 26}, {105, 66}, {107, 104}, {108, 142}, 16}},
        // E: the stem, the upper arms from the top down, the foot drawn back from the right.
        {{{22, 26}, {22, 64}, {21, 102}, {20, 140}, 18}},
        {{{20, 30}, {48, 28}, {76, 26}, {104, 22}, 16}, {{20, 82}, {40, 81}, {62, 80}, {84, 78}, 14}},
        {{{106, 132}, {80, 136}, {50, 138}, {20, 138}, 18}},
    };
}

// Opaque black with feathered edges. Scaled 1.5 x 1.4 about the title's common point it covers every cell
// (the row spans -4.32u to +3.3u around that point, and the strokes swell to 1.04) with room to spare.
void draw_curtain(cairo_t* cr)
{
    const int width = curtain_image.width, height = curtain_image.height, feather = 24;
    for (int i = 0; i < feather; ++i) {
        const double inset = feather - i;
        cairo_rectangle(cr, inset, inset, width - 2 * inset, height - 2 * inset);
        cairo_set_source_rgba(cr, 0, 0, 0, 1.0 / feather);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, feather, feather, width - 2 * feather, height - 2 * feather);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}

} // namespace

bool write_title_images(const std::string& data_dir)
{
    const std::vector<std::vector<sweep_class>> strokes = title_strokes();
    bool ok = true;
    for (int i = 0; i < title_stroke_count; ++i) {
        const uint32_t seed = static_cast<uint32_t>(i + 1);
        ok &= write_image(data_dir, title_stroke_images[i], true,
                          [&](cairo_t* cr) { paint_brush(cr, strokes[i], ink, seed); });
    }
    ok &= write_image(data_dir, curtain_image, false, draw_curtain);
    return ok;
}
