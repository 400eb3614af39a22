#include "resources/loaders.h"

#include "resources/data_folder.h"
#include "resources/wav_check.h"

#include <allegro5/allegro_ttf.h>

static std::string quoted(const std::string& file)
{
    return "\"" + file + "\"";
}

ALLEGRO_BITMAP* image_loader_class::load(const std::string& file)
{
    return al_load_bitmap(data_file(file).c_str());
}

std::string image_loader_class::miss_message(const std::string& file)
{
    return "could not load image " + quoted(file);
}

void image_loader_class::destroy(ALLEGRO_BITMAP* bitmap)
{
    al_destroy_bitmap(bitmap);
}

// Allegro's WAV loader can hang or exhaust memory on a malformed file, so files are checked first.
ALLEGRO_SAMPLE* sample_loader_class::load(const std::string& file)
{
    return load_checked_sample(data_file(file));
}

std::string sample_loader_class::miss_message(const std::string& file)
{
    return "could not load sample " + quoted(file);
}

void sample_loader_class::destroy(ALLEGRO_SAMPLE* sample)
{
    al_destroy_sample(sample);
}

ALLEGRO_FONT* font_loader_class::load(const font_key& font)
{
    return al_load_ttf_font(data_file(font.first).c_str(), font.second, 0);
}

std::string font_loader_class::miss_message(const font_key& font)
{
    return "could not load font " + quoted(font.first) + " (size " + std::to_string(font.second) + ")";
}

void font_loader_class::destroy(ALLEGRO_FONT* font)
{
    al_destroy_font(font);
}
