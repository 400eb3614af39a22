#include "resources/text.h"
#include "support/ink.h"
#include "resource_fixture.h"

#include <array>
#include <utility>

using text_rendering = resource_fixture;

// Alpha text has the color's rgb in every pixel and coverage (read from white text) times its alpha in alpha;
// additive text is the color times coverage times alpha on opaque black. Both restore the caller's target and
// separate blender, so they may be rendered in the middle of a frame. Regression: glyph boxes overlap their
// neighbours' ink, which an overwriting alpha would erase.
TEST_F(text_rendering, alpha_and_additive_text_carry_the_coverage_and_leave_target_and_blender_alone)
{
    ALLEGRO_FONT* font = fonts_bin.get_font(test_font_file, -40);
    bitmap_ptr target = transparent_target(8, 8);
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
    for (int y = 0; y < al_get_bitmap_height(white.get()); ++y)
        for (int x = 0; x < al_get_bitmap_width(white.get()); ++x) {
            const float c = al_get_pixel(white.get(), x, y).a;
            ASSERT_TRUE(pixel_is(colored.get(), x, y, al_map_rgba_f(0.2f, 0.6f, 1.0f, c * 0.5f)));
            ASSERT_TRUE(pixel_is(additive.get(), x, y, al_map_rgba_f(0.8f * c, 0.4f * c, 0.2f * c, 1)));
        }
    EXPECT_FALSE(find_ink(additive.get()).empty()) << "the text has ink at all";
    for (const std::string word : {"WAVE", "fj", "AV"}) {
        bitmap_ptr whole(fonts_bin.render_text(font, word, al_map_rgb(255, 255, 255)));
        bitmap_ptr first(fonts_bin.render_text(font, word.substr(0, 1), al_map_rgb(255, 255, 255)));
        for (int y = 0; y < al_get_bitmap_height(first.get()); ++y)
            for (int x = 0; x < al_get_bitmap_width(first.get()); ++x)
                ASSERT_GE(al_get_pixel(whole.get(), x, y).a + 1.5f / 255, al_get_pixel(first.get(), x, y).a)
                    << word << " at " << x << ", " << y;
    }
}

// White text is cached once per font and string, never for the empty string; additive text is new on every
// call and never cached. A missing font draws in fallback_font, but load_font does not substitute it. Drawn
// with a blender that copies, the text's whole box lights up; anchors place it and positions truncate toward
// zero: -0.5 gives 0, where flooring would start at -1 and lose a column.
TEST_F(text_rendering, the_cache_holds_one_bitmap_per_font_and_string_and_anchors_place_it)
{
    ALLEGRO_BITMAP* first = text_bitmap("Hi");
    EXPECT_EQ(text_bitmap("Hi"), first);
    EXPECT_EQ(text_bitmap(""), nullptr);
    bitmap_ptr additive(fonts_bin.additive_text("EARTH"));
    bitmap_ptr again(fonts_bin.additive_text(test_font_file, -20, "EARTH"));
    EXPECT_TRUE(additive && again && additive != again);
    EXPECT_EQ(fonts_bin.cached_count(), 1);
    EXPECT_EQ(text_bitmap(path("nope.ttf"), -15, "Hi"), fonts_bin.cached_text(fallback_font, "Hi"));
    EXPECT_EQ(fonts_bin.load_font(path("nope.ttf"), -15), nullptr);

    const int w = al_get_bitmap_width(first), h = al_get_bitmap_height(first);
    const int centre_left = static_cast<int>(100 - w * 0.5), centre_top = static_cast<int>(50 - h * 0.5);
    const struct { float x, y, ax, ay; std::array<int, 4> box; } cases[] = {
        {10.9f, 20.9f, 0, 0, {10, 20, 10 + w - 1, 20 + h - 1}},
        {100, 50, 0.5f, 0.5f, {centre_left, centre_top, centre_left + w - 1, centre_top + h - 1}},
        {-0.5f, -0.5f, 0, 0, {0, 0, w - 1, h - 1}}};
    for (const auto& c : cases) {
        bitmap_ptr target = transparent_target(200, 100);
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
        draw_text("Hi", c.x, c.y, c.ax, c.ay);
        const ink_box found = find_ink(target.get());
        EXPECT_EQ((std::array<int, 4>{found.left, found.top, found.right, found.bottom}), c.box) << c.x << ", " << c.y;
    }
    fonts_bin.set_default_font(test_font_file, -30);
    EXPECT_NE(text_bitmap("Hi"), first);
    EXPECT_EQ(fonts_bin.cached_count(), 3);
}
