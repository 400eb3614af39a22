#include "scene/ink_tiles.h"

#include "math/colors.h"
#include "scene/object.h"
#include "support/test_bitmaps.h"

#include <gtest/gtest.h>

namespace {

const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);

// A large additive picture, black inside, drawn through its ink alone gives the whole picture.
TEST(ink_tiles, a_large_additive_picture_drawn_by_its_ink_is_the_whole_picture)
{
    bitmap_ptr image = make_bitmap(300, 260, black);
    al_set_target_bitmap(image.get());
    for (int i = 0; i < 300; i += 7)
        al_put_pixel(i, i % 260, al_map_rgb(i % 256, 90, 200));
    bitmap_ptr by_ink = make_bitmap(320, 280, al_map_rgb(30, 60, 90));
    bitmap_ptr whole = make_bitmap(320, 280, al_map_rgb(30, 60, 90));
    Object frame;
    frame.set_image(image.get(), true);
    frame.move_to(10, 10);
    frame.blend_mode = blend_additive;
    frame.tint = al_map_rgba_f(0.8f, 0.5f, 1.0f, 1.0f);
    al_set_target_bitmap(by_ink.get());
    frame.draw();
    // Through 32 x 32 tiles: only those on the dotted diagonal, and the dots' partial ones at the edges.
    int inked = 0;
    for (const stage_rect& part : frame.ink)
        inked += (part.right - part.left) * (part.bottom - part.top);
    EXPECT_GT(inked, 0);
    EXPECT_LT(inked, 300 * 260 / 2);
    al_set_target_bitmap(whole.get());
    set_blend_mode(blend_additive, frame.tint);
    al_draw_tinted_bitmap(image.get(), frame.tint, 10, 10, 0);
    EXPECT_TRUE(same_pixels(by_ink.get(), whole.get()));
}

} // namespace
