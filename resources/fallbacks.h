// The three resources that drawing, text and sound fall back on, loaded once at start-up: the image drawn in
// place of one that failed to load, a sample nothing plays, and the font used for text whose own font failed
// (and by the debug overlay).
#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

class error_list_class;

extern ALLEGRO_BITMAP* missing_image;
extern ALLEGRO_SAMPLE* missing_sample;
extern ALLEGRO_FONT* fallback_font;

// "data/missing_sample.wav"; its failure is added to errors. Only after audio was installed.
void load_missing_sample(error_list_class& errors);
// "data/missing_image.png" and "data/lacuna.ttf" at size -20; their failures are added to errors, the
// image's first.
void load_missing_image_and_font(error_list_class& errors);
