// Text is rendered once into a bitmap of exactly its size and that bitmap is drawn. White text is cached per
// (font, string) for the whole run; additive text (colored coverage on opaque black) is made fresh each call.
#pragma once

#include "resources/loaders.h"
#include "resources/manifest.h"
#include "resources/resource_bin.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <map>
#include <set>
#include <string>
#include <utility>

using font_resource_bin_class = resource_bin_class<font_key, ALLEGRO_FONT*, font_loader_class>;

class font_bin_class : public font_resource_bin_class
{
public:
    std::map<std::pair<ALLEGRO_FONT*, std::string>, ALLEGRO_BITMAP*> text_cache;
    std::string default_font_file = fallback_font_file.path;
    int default_font_size = -16;

    void set_default_font(const std::string& file, int size);

    // The font, or fallback_font when the file cannot be loaded.
    ALLEGRO_FONT* get_font(const std::string& file, int size);
    // Loads again even if present; nullptr on failure.
    ALLEGRO_FONT* load_font(const std::string& file, int size);

    // White alpha text, rendered on first request and kept; nullptr for the empty string.
    ALLEGRO_BITMAP* cached_text(ALLEGRO_FONT* font, const std::string& text);
    // A new bitmap whose every pixel has the color's rgb, with coverage times its alpha in alpha.
    ALLEGRO_BITMAP* render_text(ALLEGRO_FONT* font, const std::string& text, ALLEGRO_COLOR color);
    // A new opaque bitmap: the color times coverage times its alpha, added onto black.
    ALLEGRO_BITMAP* render_additive_text(ALLEGRO_FONT* font, const std::string& text, ALLEGRO_COLOR color);

    ALLEGRO_BITMAP* additive_text(const std::string& file, int size, const std::string& text);
    ALLEGRO_BITMAP* text_bitmap(const std::string& text);
    ALLEGRO_BITMAP* text_bitmap(const std::string& file, int size, const std::string& text);

    // Draws the cached text unscaled so that the fraction (ax, ay) of its box lies at (x, y).
    void draw_text(const std::string& text, float x, float y, float ax, float ay);
    void draw_text(const std::string& file, int size, const std::string& text, float x, float y, float ax,
                   float ay);

    // Frees every font but the kept ones, with the text cached in them; a font asked for again loads again.
    void keep_fonts(const std::set<font_key>& kept);

    int cached_count() const;
    void tick();

    // Destroys the cached text, then the fonts, and forgets everything.
    void release();
};

// Forward to fonts_bin.
void draw_text(const std::string& text, float x, float y, float ax, float ay);
void draw_text(const std::string& file, int size, const std::string& text, float x, float y, float ax, float ay);
ALLEGRO_BITMAP* text_bitmap(const std::string& text);
ALLEGRO_BITMAP* text_bitmap(const std::string& file, int size, const std::string& text);
