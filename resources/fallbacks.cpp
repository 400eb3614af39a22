#include "resources/fallbacks.h"

#include "core/error_list.h"
#include "resources/wav_check.h"

#include <allegro5/allegro_ttf.h>

ALLEGRO_BITMAP* missing_image = nullptr;
ALLEGRO_SAMPLE* missing_sample = nullptr;
ALLEGRO_FONT* fallback_font = nullptr;

void load_missing_sample(error_list_class& errors)
{
    missing_sample = load_checked_sample("data/missing_sample.wav");
    if (!missing_sample)
        errors.add("could not load sample \"data/missing_sample.wav\"");
}

void load_missing_image_and_font(error_list_class& errors)
{
    missing_image = al_load_bitmap("data/missing_image.png");
    fallback_font = al_load_ttf_font("data/lacuna.ttf", -20, 0);
    if (!missing_image)
        errors.add("could not load image \"data/missing_image.png\"");
    if (!fallback_font)
        errors.add("could not load font \"data/lacuna.ttf\"");
}
