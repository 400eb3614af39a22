// The title's last frame, drawn from the generated stroke images as the program draws it: dry-brush streaks
// with no hard-edged blocks. How much of its ink burns out to white is measured on the end-to-end screenshot.
#include "core/screen.h"
#include "instrument_fixture.h"
#include "support/test_bitmaps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Luminance (0 to 255) from which a pixel counts as ink.
constexpr float inked = 40;

// A box of the frame read back as luminance.
struct frame_class
{
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<float> luma;

    float at(int x, int y) const { return luma[y * width + x]; }
    bool ink_at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && at(x, y) >= inked; }

    // Interpolated between pixel centres.
    float between(double x, double y) const
    {
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
        const auto clamped = [&](int px, int py) { return at(std::clamp(px, 0, width - 1), std::clamp(py, 0, height - 1)); };
        return (clamped(x0, y0) * (1 - fx) + clamped(x0 + 1, y0) * fx) * (1 - fy) +
               (clamped(x0, y0 + 1) * (1 - fx) + clamped(x0 + 1, y0 + 1) * fx) * fy;
    }
};

// The unit vector a stroke runs along at (x, y): the long axis of its ink within a circle wider than it.
std::pair<double, double> stroke_direction(const frame_class& f, int x, int y)
{
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int j = -16; j <= 16; ++j)
        for (int i = -16; i <= 16; ++i)
            if (i * i + j * j <= 256 && f.ink_at(x + i, y + j))
                n += 1, sx += i, sy += j, sxx += i * i, syy += j * j, sxy += i * j;
    const double angle = 0.5 * std::atan2(2 * (sxy - sx * sy / n), (sxx - sx * sx / n) - (syy - sy * sy / n));
    return {std::cos(angle), std::sin(angle)};
}

// Luminance at (x, y) averaged with one pixel either side across the stroke: slanting hairs finer than that
// break into pixel steps that are no ends.
float across_mean(const frame_class& f, double x, double y, double ux, double uy)
{
    return (f.between(x - uy, y + ux) + f.between(x, y) + f.between(x + uy, y - ux)) / 3;
}

// Pixels inside a stroke (ink three pixels either way along it) where the luminance changes by at least
// `step` over one pixel along the stroke: where a streak or a block of ink stops short.
int hard_ends_in(const frame_class& f, float step)
{
    int found = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            if (!f.ink_at(x, y))
                continue;
            const auto [ux, uy] = stroke_direction(f, x, y);
            bool inside = true;
            for (int i = -3; i <= 3; ++i)
                inside = inside && f.ink_at(static_cast<int>(std::lround(x + i * ux)),
                                            static_cast<int>(std::lround(y + i * uy)));
            found += inside && std::abs(across_mean(f, x + ux, y + uy, ux, uy) - across_mean(f, x, y, ux, uy)) >= step;
        }
    return found;
}

// The stroke alone, then the curtain, drawn as the program draws them, read back in the box around the stroke.
frame_class drawn_alone(Object& stroke, Object& curtain)
{
    frame_class f{static_cast<int>(stroke.get_left()), static_cast<int>(stroke.get_top()),
                  static_cast<int>(stroke.get_scaled_width()) + 2, static_cast<int>(stroke.get_scaled_height()) + 2, {}};
    bitmap_ptr bitmap = make_bitmap(screen_width, screen_height, al_map_rgb(0, 0, 0));
    al_set_target_bitmap(bitmap.get());
    stroke.draw();
    curtain.draw();
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            unsigned char r, g, b;
            al_unmap_rgb(al_get_pixel(bitmap.get(), f.left + x, f.top + y), &r, &g, &b);
            f.luma.push_back(0.299f * r + 0.587f * g + 0.114f * b);
        }
    return f;
}

using title_frame_test = instrument_fixture;

} // namespace

// The title after its wipes and its whole swell. Each stroke is checked alone: where strokes cross, the edges
// and streaks of one rightly cut across the other.
TEST_F(title_frame_test, streaks_fade_out_along_the_strokes_instead_of_stopping_in_blocks)
{
    instrument->title_letters.reveal();
    advance(7.0);
    int found = 0;
    for (Object& stroke : instrument->title_letters.strokes)
        found += hard_ends_in(drawn_alone(stroke, instrument->title_letters.curtain), 32);
    EXPECT_EQ(found, 0);
}
