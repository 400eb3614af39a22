#include "resources/image_filtering.h"

#include "resources/bins.h"
#include "resources/fallbacks.h"

#include <allegro5/allegro.h>

void filter_images(bool smooth)
{
    const int linear = ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR;
    const int flags = al_get_new_bitmap_flags();
    const int wanted = smooth ? flags | linear : flags & ~linear;
    if (wanted == flags)
        return;
    al_set_new_bitmap_flags(wanted);
    for (const auto& entry : graphics_bin.loaded)
        al_convert_bitmap(entry.second);
    if (missing_image)
        al_convert_bitmap(missing_image);
}
