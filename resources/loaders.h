// How each kind of resource is loaded from its file, reported when missing, and destroyed.
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include <string>
#include <utility>

// A font is requested by file name and size (Allegro's sign convention: negative sizes are pixel heights).
using font_key = std::pair<std::string, int>;

class image_loader_class
{
public:
    using args_type = std::string;
    static ALLEGRO_BITMAP* load(const std::string& file);
    static std::string miss_message(const std::string& file);
    static void destroy(ALLEGRO_BITMAP* bitmap);
};

class sample_loader_class
{
public:
    using args_type = std::string;
    static ALLEGRO_SAMPLE* load(const std::string& file);
    static std::string miss_message(const std::string& file);
    static void destroy(ALLEGRO_SAMPLE* sample);
};

class font_loader_class
{
public:
    using args_type = font_key;
    static ALLEGRO_FONT* load(const font_key& font);
    static std::string miss_message(const font_key& font);
    static void destroy(ALLEGRO_FONT* font);
};
