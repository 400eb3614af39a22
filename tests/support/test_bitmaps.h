// Small memory bitmaps for drawing tests, and a tolerant color comparison that says what it saw.
#pragma once

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <ostream>

// Failures print colors readably.
inline void PrintTo(const ALLEGRO_COLOR& c, std::ostream* os)
{
    *os << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

struct bitmap_deleter
{
    void operator()(ALLEGRO_BITMAP* bitmap) const { al_destroy_bitmap(bitmap); }
};
using bitmap_ptr = std::unique_ptr<ALLEGRO_BITMAP, bitmap_deleter>;

// A w x h bitmap filled with one color, made the target when asked; else the current target is left as it was.
inline bitmap_ptr make_bitmap(int w, int h, ALLEGRO_COLOR fill, bool as_target = false)
{
    bitmap_ptr bitmap(al_create_bitmap(w, h));
    ALLEGRO_BITMAP* const target = al_get_target_bitmap();
    al_set_target_bitmap(bitmap.get());
    al_clear_to_color(fill);
    if (!as_target)
        al_set_target_bitmap(target);
    return bitmap;
}

// Channels equal within two steps of an 8-bit channel.
inline ::testing::AssertionResult pixel_is(ALLEGRO_BITMAP* bitmap, int x, int y, ALLEGRO_COLOR expected)
{
    const ALLEGRO_COLOR seen = al_get_pixel(bitmap, x, y);
    const float tolerance = 2.0f / 255.0f;
    if (std::fabs(seen.r - expected.r) <= tolerance && std::fabs(seen.g - expected.g) <= tolerance &&
        std::fabs(seen.b - expected.b) <= tolerance && std::fabs(seen.a - expected.a) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                         << ::testing::PrintToString(seen) << ", expected "
                                         << ::testing::PrintToString(expected);
}

// Every pixel the same, to the bit; the first difference is told.
inline bool same_pixels(ALLEGRO_BITMAP* a, ALLEGRO_BITMAP* b)
{
    for (int y = 0; y < al_get_bitmap_height(a); ++y)
        for (int x = 0; x < al_get_bitmap_width(a); ++x) {
            const ALLEGRO_COLOR p = al_get_pixel(a, x, y), q = al_get_pixel(b, x, y);
            if (std::memcmp(&p, &q, sizeof p) != 0) {
                ADD_FAILURE() << "first difference at (" << x << ", " << y << ")";
                return false;
            }
        }
    return true;
}
