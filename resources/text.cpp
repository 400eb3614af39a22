#include "resources/text.h"

#include "math/colors.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"

#include <allegro5/allegro_color.h>

#include <cmath>

void font_bin_class::set_default_font(const std::string& file, int size)
{
    default_font_file = file;
    default_font_size = size;
}

ALLEGRO_FONT* font_bin_class::get_font(const std::string& file, int size)
{
    ALLEGRO_FONT* font = get({file, size}, {file, size});
    return font ? font : fallback_font;
}

ALLEGRO_FONT* font_bin_class::load_font(const std::string& file, int size)
{
    return load({file, size}, {file, size});
}

ALLEGRO_BITMAP* font_bin_class::cached_text(ALLEGRO_FONT* font, const std::string& text)
{
    if (text.empty())
        return nullptr;
    const auto key = std::make_pair(font, text);
    const auto found = text_cache.find(key);
    if (found != text_cache.end())
        return found->second;
    ALLEGRO_BITMAP* bitmap = render_text(font, text, al_color_name("white"));
    if (bitmap)
        text_cache[key] = bitmap;
    return bitmap;
}

// A bitmap of the text's size cleared to background, with the text drawn into it through the given
// blender; target and blender are restored, so this may run in the middle of a frame.
static ALLEGRO_BITMAP* render_with_blender(ALLEGRO_FONT* font, const std::string& text,
                                           ALLEGRO_COLOR background, ALLEGRO_COLOR text_color,
                                           int color_src, int color_dst, int alpha_src, int alpha_dst)
{
    if (!font)
        return nullptr;
    ALLEGRO_BITMAP* bitmap =
        al_create_bitmap(al_get_text_width(font, text.c_str()), al_get_font_line_height(font));
    if (!bitmap)
        return nullptr;
    ALLEGRO_STATE state;
    al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
    al_set_target_bitmap(bitmap);
    al_clear_to_color(background);
    al_set_separate_blender(ALLEGRO_ADD, color_src, color_dst, ALLEGRO_ADD, alpha_src, alpha_dst);
    al_draw_text(font, text_color, 0, 0, 0, text.c_str());
    al_restore_state(&state);
    return bitmap;
}

// Allegro's glyphs are premultiplied white, (c, c, c, c) for coverage c, whatever the bitmap flags, and the
// text color multiplies them as a tint.

ALLEGRO_BITMAP* font_bin_class::render_text(ALLEGRO_FONT* font, const std::string& text, ALLEGRO_COLOR color)
{
    // The color channels keep the cleared color; alpha gathers coverage times the color's alpha. Alpha is
    // composed "over" rather than overwritten, since a glyph's box may overlap its neighbour's ink.
    const ALLEGRO_COLOR clear = al_map_rgba_f(color.r, color.g, color.b, 0);
    const ALLEGRO_COLOR coverage = al_map_rgba_f(1, 1, 1, color.a);
    return render_with_blender(font, text, clear, coverage, ALLEGRO_ZERO, ALLEGRO_ONE, ALLEGRO_ONE,
                               ALLEGRO_INVERSE_ALPHA);
}

ALLEGRO_BITMAP* font_bin_class::render_additive_text(ALLEGRO_FONT* font, const std::string& text,
                                                     ALLEGRO_COLOR color)
{
    // Premultiplied glyphs times this tint give the color times coverage times alpha, added onto black that
    // stays opaque.
    const ALLEGRO_COLOR weighted = al_map_rgba_f(color.r * color.a, color.g * color.a, color.b * color.a, 1);
    return render_with_blender(font, text, al_color_name("black"), weighted, ALLEGRO_ONE, ALLEGRO_ONE,
                               ALLEGRO_ZERO, ALLEGRO_ONE);
}

ALLEGRO_BITMAP* font_bin_class::additive_text(const std::string& file, int size, const std::string& text)
{
    return render_additive_text(get_font(file, size), text, al_color_name("white"));
}

ALLEGRO_BITMAP* font_bin_class::text_bitmap(const std::string& text)
{
    return text_bitmap(default_font_file, default_font_size, text);
}

ALLEGRO_BITMAP* font_bin_class::text_bitmap(const std::string& file, int size, const std::string& text)
{
    if (text.empty())
        return nullptr;
    return cached_text(get_font(file, size), text);
}

void font_bin_class::draw_text(const std::string& text, float x, float y, float ax, float ay)
{
    draw_text(default_font_file, default_font_size, text, x, y, ax, ay);
}

void font_bin_class::draw_text(const std::string& file, int size, const std::string& text, float x, float y,
                               float ax, float ay)
{
    ALLEGRO_BITMAP* bitmap = text_bitmap(file, size, text);
    if (!bitmap)
        return;
    const double w = al_get_bitmap_width(bitmap);
    const double h = al_get_bitmap_height(bitmap);
    const float left = static_cast<float>(std::trunc(x - w * ax));
    const float top = static_cast<float>(std::trunc(y - h * ay));
    al_draw_tinted_bitmap(bitmap, current_tint(), left, top, 0);
}

int font_bin_class::cached_count() const
{
    return static_cast<int>(text_cache.size());
}

void font_bin_class::keep_fonts(const std::set<font_key>& kept)
{
    for (auto font = loaded.begin(); font != loaded.end();) {
        if (kept.count(font->first)) {
            ++font;
            continue;
        }
        for (auto text = text_cache.begin(); text != text_cache.end();)
            if (text->first.first == font->second) {
                al_destroy_bitmap(text->second);
                text = text_cache.erase(text);
            } else {
                ++text;
            }
        font_loader_class::destroy(font->second);
        font = loaded.erase(font);
    }
}

void font_bin_class::tick() {}

void font_bin_class::release()
{
    for (const auto& entry : text_cache)
        al_destroy_bitmap(entry.second);
    text_cache.clear();
    font_resource_bin_class::release();
}

void draw_text(const std::string& text, float x, float y, float ax, float ay)
{
    fonts_bin.draw_text(text, x, y, ax, ay);
}

void draw_text(const std::string& file, int size, const std::string& text, float x, float y, float ax, float ay)
{
    fonts_bin.draw_text(file, size, text, x, y, ax, ay);
}

ALLEGRO_BITMAP* text_bitmap(const std::string& text)
{
    return fonts_bin.text_bitmap(text);
}

ALLEGRO_BITMAP* text_bitmap(const std::string& file, int size, const std::string& text)
{
    return fonts_bin.text_bitmap(file, size, text);
}
