#include "resources/text.h"
#include "tests/resources/resource_fixture.h"
#include "tests/support/printers.h"

#include <cmath>

namespace {

class text_rendering : public resource_fixture
{
public:
    ALLEGRO_FONT* font = nullptr;

    void SetUp() override
    {
        resource_fixture::SetUp();
        font = fonts_bin.get_font(test_font_file, -40);
        fonts_bin.set_default_font(test_font_file, -20);
    }

    // Leftmost and rightmost columns, top and bottom rows whose red channel is lit.
    struct box
    {
        int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    };

    static box lit_box(ALLEGRO_BITMAP* bitmap)
    {
        box found;
        for (int y = 0; y < al_get_bitmap_height(bitmap); ++y)
            for (int x = 0; x < al_get_bitmap_width(bitmap); ++x)
                if (al_get_pixel(bitmap, x, y).r > 0.5f) {
                    found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x),
                             std::max(found.bottom, y)};
                }
        return found;
    }

    // Draws text as a solid white box onto transparent black, so its placement can be read back.
    box drawn_box(float x, float y, float ax, float ay)
    {
        ALLEGRO_BITMAP* target = transparent_target(200, 100);
        al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
        draw_text("Hi", x, y, ax, ay);
        const box found = lit_box(target);
        al_destroy_bitmap(target);
        return found;
    }
};

constexpr float tolerance = 1.5f / 255;

} // namespace

TEST_F(text_rendering, alpha_text_has_the_colour_everywhere_and_coverage_times_alpha_in_alpha)
{
    const ALLEGRO_COLOR color = al_map_rgba_f(0.2f, 0.6f, 1.0f, 0.5f);
    ALLEGRO_BITMAP* coloured = fonts_bin.render_text(font, "Tolme", color);
    ALLEGRO_BITMAP* white = fonts_bin.render_text(font, "Tolme", al_color_name("white"));
    ASSERT_NE(coloured, nullptr);
    EXPECT_EQ(al_get_bitmap_width(coloured), al_get_text_width(font, "Tolme"));
    EXPECT_EQ(al_get_bitmap_height(coloured), al_get_font_line_height(font));
    int inked = 0, bare = 0;
    for (int y = 0; y < al_get_bitmap_height(coloured); ++y)
        for (int x = 0; x < al_get_bitmap_width(coloured); ++x) {
            const ALLEGRO_COLOR c = al_get_pixel(coloured, x, y);
            const ALLEGRO_COLOR w = al_get_pixel(white, x, y);
            ASSERT_NEAR(c.r, 0.2f, tolerance);
            ASSERT_NEAR(c.g, 0.6f, tolerance);
            ASSERT_NEAR(c.b, 1.0f, tolerance);
            ASSERT_EQ(w.r, 1.0f);
            ASSERT_NEAR(c.a, w.a * 0.5f, tolerance);
            inked += w.a == 1.0f;
            bare += w.a == 0.0f;
        }
    EXPECT_GT(inked, 0);
    EXPECT_GT(bare, 0);
    al_destroy_bitmap(coloured);
    al_destroy_bitmap(white);
}

TEST_F(text_rendering, a_glyph_box_overlapping_its_neighbour_does_not_erase_its_ink)
{
    for (const char* word : {"WAVE", "fj", "AV"}) {
        ALLEGRO_BITMAP* whole = fonts_bin.render_text(font, word, al_color_name("white"));
        ALLEGRO_BITMAP* first = fonts_bin.render_text(font, std::string(word, 1), al_color_name("white"));
        for (int y = 0; y < al_get_bitmap_height(first); ++y)
            for (int x = 0; x < al_get_bitmap_width(first); ++x)
                ASSERT_GE(al_get_pixel(whole, x, y).a + tolerance, al_get_pixel(first, x, y).a)
                    << word << " at " << x << ", " << y;
        al_destroy_bitmap(whole);
        al_destroy_bitmap(first);
    }
}

TEST_F(text_rendering, additive_text_is_coloured_coverage_on_opaque_black)
{
    const ALLEGRO_COLOR color = al_map_rgba_f(1.0f, 0.5f, 0.25f, 0.8f);
    ALLEGRO_BITMAP* additive = fonts_bin.render_additive_text(font, "Tolme", color);
    ALLEGRO_BITMAP* coverage = fonts_bin.render_text(font, "Tolme", al_color_name("white"));
    for (int y = 0; y < al_get_bitmap_height(additive); ++y)
        for (int x = 0; x < al_get_bitmap_width(additive); ++x) {
            const ALLEGRO_COLOR c = al_get_pixel(additive, x, y);
            const float weight = al_get_pixel(coverage, x, y).a * 0.8f;
            ASSERT_EQ(c.a, 1.0f);
            ASSERT_NEAR(c.r, 1.0f * weight, tolerance) << x << ", " << y;
            ASSERT_NEAR(c.g, 0.5f * weight, tolerance);
            ASSERT_NEAR(c.b, 0.25f * weight, tolerance);
        }
    al_destroy_bitmap(additive);
    al_destroy_bitmap(coverage);
}

TEST_F(text_rendering, rendering_restores_the_callers_target_and_blender)
{
    ALLEGRO_BITMAP* target = transparent_target(8, 8);
    al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA, ALLEGRO_DEST_MINUS_SRC,
                            ALLEGRO_ONE, ALLEGRO_ONE);
    al_destroy_bitmap(fonts_bin.render_additive_text(font, "x", al_color_name("white")));
    fonts_bin.text_bitmap("x");
    EXPECT_EQ(al_get_target_bitmap(), target);
    int op, src, dst, alpha_op, alpha_src, alpha_dst;
    al_get_separate_blender(&op, &src, &dst, &alpha_op, &alpha_src, &alpha_dst);
    EXPECT_EQ(dst, ALLEGRO_INVERSE_ALPHA);
    EXPECT_EQ(alpha_op, ALLEGRO_DEST_MINUS_SRC);
    al_destroy_bitmap(target);
}

TEST_F(text_rendering, the_cache_holds_one_bitmap_per_font_and_string)
{
    ALLEGRO_BITMAP* first = text_bitmap("Loading...");
    EXPECT_EQ(text_bitmap("Loading..."), first);
    EXPECT_EQ(fonts_bin.cached_count(), 1);

    EXPECT_EQ(text_bitmap(""), nullptr);
    EXPECT_EQ(fonts_bin.cached_text(font, ""), nullptr);
    draw_text("", 0, 0, 0, 0);
    EXPECT_EQ(fonts_bin.cached_count(), 1);

    fonts_bin.set_default_font(test_font_file, -30);
    EXPECT_NE(text_bitmap("Loading..."), first);
    EXPECT_EQ(fonts_bin.cached_count(), 2);
}

TEST_F(text_rendering, additive_text_is_new_on_every_call_and_not_cached)
{
    ALLEGRO_BITMAP* first = fonts_bin.additive_text("EARTH");
    ALLEGRO_BITMAP* second = fonts_bin.additive_text(test_font_file, -20, "EARTH");
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(fonts_bin.cached_count(), 0);
    al_destroy_bitmap(first);
    al_destroy_bitmap(second);
}

TEST_F(text_rendering, a_missing_font_draws_in_the_fallback_font_and_is_reported_once)
{
    const std::string file = path("nope.ttf");
    EXPECT_EQ(text_bitmap(file, -15, "Hi"), fonts_bin.cached_text(fallback_font, "Hi"));
    EXPECT_EQ(fonts_bin.get_font(file, -15), fallback_font);
    EXPECT_EQ(fonts_bin.load_font(file, -15), nullptr) << "load_font does not substitute";
    EXPECT_EQ(fonts_bin.errors.count(), 2);
    EXPECT_EQ(fonts_bin.missing_count(), 1);
}

TEST_F(text_rendering, anchors_place_the_box_and_truncate_toward_zero)
{
    const int w = al_get_bitmap_width(text_bitmap("Hi"));
    const int h = al_get_bitmap_height(text_bitmap("Hi"));

    const box corner = drawn_box(10.9f, 20.9f, 0, 0);
    EXPECT_EQ(corner.left, 10);
    EXPECT_EQ(corner.top, 20);
    EXPECT_EQ(corner.right, 10 + w - 1);
    EXPECT_EQ(corner.bottom, 20 + h - 1);

    const box centred = drawn_box(100, 50, 0.5f, 0.5f);
    EXPECT_EQ(centred.left, static_cast<int>(100 - w * 0.5));
    EXPECT_EQ(centred.top, static_cast<int>(50 - h * 0.5));

    const box top_right = drawn_box(150, 30, 1, 0);
    EXPECT_EQ(top_right.right, 149);
    EXPECT_EQ(top_right.top, 30);

    // -0.5 truncates to 0, where flooring would start at -1 and lose a column.
    const box negative = drawn_box(-0.5f, -0.5f, 0, 0);
    EXPECT_EQ(negative.right, w - 1);
    EXPECT_EQ(negative.bottom, h - 1);
}
