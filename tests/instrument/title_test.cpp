// The title: its letters laid out, put away, and its last frame drawn from the generated stroke images as the
// program draws it, dry-brush streaks with no hard-edged blocks. How much of its ink burns out to white, and
// the wipes themselves, are checked on the end-to-end screenshots.
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

    // Black outside the box, as the stage is around the stroke.
    float at(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height ? luma[y * width + x] : 0; }
    bool ink_at(int x, int y) const { return at(x, y) >= inked; }

    // Interpolated between pixel centres.
    float between(double x, double y) const
    {
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
        return (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy) +
               (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
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

// Pixels inside a stroke (ink three pixels either way along it) where the luminance changes by at least
// `step` over one pixel along the stroke: where a streak or a block of ink stops short.
int hard_ends_in(const frame_class& f, float step)
{
    // Luminance at (x, y) averaged with one pixel either side across the stroke (u): slanting hairs finer than
    // that break into pixel steps that are no ends.
    const auto across_mean = [&](double x, double y, double ux, double uy) {
        return (f.between(x - uy, y + ux) + f.between(x, y) + f.between(x + uy, y - ux)) / 3;
    };
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
            found += inside && std::abs(across_mean(x + ux, y + uy, ux, uy) - across_mean(x, y, ux, uy)) >= step;
        }
    return found;
}

// The stroke alone, drawn as the program draws it, read back in the box around the stroke.
frame_class drawn_alone(Object& stroke)
{
    frame_class f{static_cast<int>(stroke.get_left()), static_cast<int>(stroke.get_top()),
                  static_cast<int>(stroke.get_scaled_width()) + 2, static_cast<int>(stroke.get_scaled_height()) + 2, {}};
    bitmap_ptr bitmap = make_bitmap(screen_width, screen_height, al_map_rgb(0, 0, 0), true);
    stroke.draw();
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            unsigned char r, g, b;
            al_unmap_rgb(al_get_pixel(bitmap.get(), f.left + x, f.top + y), &r, &g, &b);
            f.luma.push_back(0.299f * r + 0.587f * g + 0.114f * b);
        }
    return f;
}

using title_test = instrument_fixture;

} // namespace

// The title after its wipes and its whole swell. Each stroke is checked alone: where strokes cross, the edges
// and streaks of one rightly cut across the other.
TEST_F(title_test, streaks_fade_out_along_the_strokes_instead_of_stopping_in_blocks)
{
    instrument->title_letters.reveal();
    advance(7.0);
    int found = 0;
    for (Object& stroke : instrument->title_letters.strokes)
        found += hard_ends_in(drawn_alone(stroke), 32);
    EXPECT_EQ(found, 0);
}

// Laid out by their anchors alone, the five letters' cells follow each other without gaps or overlaps, and
// the curtain at its scale covers them at the top of their swell, with a margin. Put away, the title is covered
// by the curtain, shrinks (the shrink came after the swell, so it decides the scale) and is switched off with
// the curtain. That it is put away once, however often a choice asks, the start menu's test sees.
TEST_F(title_test, the_letters_form_one_even_row_under_the_curtain_that_covers_them_when_they_are_put_away)
{
    title_letters_class& title = instrument->title_letters;
    title.reveal();
    std::vector<std::pair<float, float>> cells; // left and right of each letter
    float anchor = 0;
    for (const Object& stroke : title.strokes) {
        ASSERT_GT(stroke.width, 0);
        if (cells.empty() || stroke.anchor_x != anchor)
            cells.emplace_back(stroke.get_left(), stroke.get_right());
        EXPECT_EQ(std::make_pair(stroke.get_left(), stroke.get_right()), cells.back()) << "a stroke off its letter";
        anchor = stroke.anchor_x;
    }
    ASSERT_EQ(cells.size(), 5u);
    const float row = cells.back().second - cells.front().first;
    for (std::size_t i = 0; i + 1 < cells.size(); ++i)
        EXPECT_NEAR(cells[i].second, cells[i + 1].first, 0.01f * row) << "after letter " << i;
    const float reach = 1.04f * std::max(title.title_x - cells.front().first, cells.back().second - title.title_x);
    EXPECT_GE(title.curtain.get_scaled_width() / 2 - 16, reach);
    EXPECT_GE(title.curtain.get_scaled_height() / 2 - 16, 1.04f * title.strokes[0].get_scaled_height() / 2);

    advance(3.0);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 0.0f);
    title.hide();
    advance(1.0);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 1.0f);
    for (const Object& stroke : title.strokes) {
        EXPECT_LT(stroke.z, title.curtain.z);
        EXPECT_FLOAT_EQ(stroke.crop_left + stroke.crop_top + stroke.crop_right + stroke.crop_bottom, 0.0f);
        EXPECT_FLOAT_EQ(stroke.scale_x, 0.8f);
        EXPECT_FLOAT_EQ(stroke.opacity, 1.0f);
    }
    // Then the curtain goes with them: it would cover only black.
    advance(0.2);
    for (const Object& stroke : title.strokes)
        EXPECT_FLOAT_EQ(stroke.opacity, 0.0f);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 0.0f);
}
