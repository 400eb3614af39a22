// Where drawing left its mark: the smallest box around the pixels whose red channel is lit.
#pragma once

#include <allegro5/allegro.h>

#include <algorithm>
#include <climits>

struct ink_box
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool empty() const { return right < left; }
};

// Searches the region [left, right) x [top, bottom), clipped to the bitmap.
inline ink_box find_ink(ALLEGRO_BITMAP* bitmap, int left = 0, int top = 0, int right = INT_MAX,
                        int bottom = INT_MAX)
{
    ink_box found;
    for (int y = top; y < std::min(bottom, al_get_bitmap_height(bitmap)); ++y)
        for (int x = left; x < std::min(right, al_get_bitmap_width(bitmap)); ++x)
            if (al_get_pixel(bitmap, x, y).r > 0.5f)
                found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x),
                         std::max(found.bottom, y)};
    return found;
}
