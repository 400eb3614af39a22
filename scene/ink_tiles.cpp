#include "scene/ink_tiles.h"

#include <algorithm>

static constexpr int ink_tile_size = 32;

static bool tile_has_ink(ALLEGRO_LOCKED_REGION* pixels, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y) {
        const auto* row = static_cast<const unsigned char*>(pixels->data) + y * pixels->pitch;
        for (int x = left; x < right; ++x)
            if (row[4 * x] || row[4 * x + 1] || row[4 * x + 2])
                return true;
    }
    return false;
}

std::vector<stage_rect> ink_tiles(ALLEGRO_BITMAP* image)
{
    const int w = al_get_bitmap_width(image), h = al_get_bitmap_height(image);
    ALLEGRO_LOCKED_REGION* pixels = al_lock_bitmap(image, ALLEGRO_PIXEL_FORMAT_ABGR_8888, ALLEGRO_LOCK_READONLY);
    if (!pixels)
        return {{0, 0, w, h}};
    std::vector<stage_rect> tiles;
    for (int top = 0; top < h; top += ink_tile_size) {
        const int bottom = std::min(h, top + ink_tile_size);
        for (int left = 0; left < w; left += ink_tile_size) {
            const int right = std::min(w, left + ink_tile_size);
            if (!tile_has_ink(pixels, left, top, right, bottom))
                continue;
            if (!tiles.empty() && tiles.back().top == top && tiles.back().right == left)
                tiles.back().right = right;
            else
                tiles.push_back({left, top, right, bottom});
        }
    }
    al_unlock_bitmap(image);
    return tiles;
}
