#include "resource_fixture.h"
#include "resources/text.h"

#include <algorithm>
#include <utility>

using text_rendering = resource_fixture;

// Alpha text has the color's rgb in every pixel and coverage (read from white text) times its alpha in alpha;
// additive text is the color times coverage times alpha on opaque black. Both restore the caller's target and
// separate blender, so they may be rendered in the middle of a frame. Regression: glyph boxes overlap their
// neighbours' ink, which an overwriting alpha would erase.
TEST_F(text_rendering, alpha_and_additive_text_carry_the_coverage_and_leave_target_and_blender_alone)
{
    ALLEGRO_FONT* font = fonts_bin.get_font(test_font_file, -40);
    bitmap_ptr target = make_bitmap(8, 8, al_map_rgba(0, 0, 0, 0), true);
    al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, ALLEGRO_DEST_MINUS_SRC, ALLEGRO_ONE,
                            ALLEGRO_ONE);
    bitmap_ptr white(fonts_bin.render_text(font, "Tolme", al_map_rgb(255, 255, 255)));
    bitmap_ptr colored(fonts_bin.render_text(font, "Tolme", al_map_rgba_f(0.2f, 0.6f, 1.0f, 0.5f)));
    bitmap_ptr additive(fonts_bin.render_additive_text(font, "Tolme", al_map_rgba_f(1.0f, 0.5f, 0.25f, 0.8f)));
    EXPECT_EQ(al_get_target_bitmap(), target.get());
    int op, src, dst, alpha_op, alpha_src, alpha_dst;
    al_get_separate_blender(&op, &src, &dst, &alpha_op, &alpha_src, &alpha_dst);
    EXPECT_TRUE(dst == ALLEGRO_INVERSE_ALPHA && alpha_op == ALLEGRO_DEST_MINUS_SRC);
    ASSERT_EQ(std::make_pair(al_get_bitmap_width(colored.get()), al_get_bitmap_height(colored.get())),
              std::make_pair(al_get_text_width(font, "Tolme"), al_get_font_line_height(font)));
    float most = 0;
    for (int y = 0; y < al_get_bitmap_height(white.get()); ++y)
        for (int x = 0; x < al_get_bitmap_width(white.get()); ++x) {
            const float c = al_get_pixel(white.get(), x, y).a;
            ASSERT_TRUE(pixel_is(colored.get(), x, y, al_map_rgba_f(0.2f, 0.6f, 1.0f, c * 0.5f)));
            ASSERT_TRUE(pixel_is(additive.get(), x, y, al_map_rgba_f(0.8f * c, 0.4f * c, 0.2f * c, 1)));
            most = std::max(most, c);
        }
    EXPECT_EQ(most, 1.0f) << "the text has ink at all";
    for (const std::string word : {"WAVE", "fj", "AV"}) {
        bitmap_ptr whole(fonts_bin.render_text(font, word, al_map_rgb(255, 255, 255)));
        bitmap_ptr first(fonts_bin.render_text(font, word.substr(0, 1), al_map_rgb(255, 255, 255)));
        for (int y = 0; y < al_get_bitmap_height(first.get()); ++y)
            for (int x = 0; x < al_get_bitmap_width(first.get()); ++x)
                ASSERT_GE(al_get_pixel(whole.get(), x, y).a + 1.5f / 255, al_get_pixel(first.get(), x, y).a)
                    << word << " at " << x << ", " << y;
    }
}
