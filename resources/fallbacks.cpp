#include "resources/fallbacks.h"

#include "core/error_list.h"
#include "resources/data_folder.h"
#include "resources/manifest.h"
#include "resources/wav_check.h"

#include <allegro5/allegro_ttf.h>

ALLEGRO_BITMAP* missing_image = nullptr;
ALLEGRO_SAMPLE* missing_sample = nullptr;
ALLEGRO_FONT* fallback_font = nullptr;

void load_missing_sample(error_list_class& errors)
{
    missing_sample = load_checked_sample(data_file(missing_sample_file));
    if (!missing_sample)
        errors.add(std::string("could not load sample \"") + missing_sample_file + "\"");
}

void load_missing_image_and_font(error_list_class& errors)
{
    missing_image = al_load_bitmap(data_file(missing_image_file.path).c_str());
    fallback_font = al_load_ttf_font(data_file(fallback_font_file.path).c_str(), -20, 0);
    if (!missing_image)
        errors.add(std::string("could not load image \"") + missing_image_file.path + "\"");
    if (!fallback_font)
        errors.add(std::string("could not load font \"") + fallback_font_file.path + "\"");
}
