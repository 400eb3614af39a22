// The memory floor that Tolme is measured against: a bare Allegro window of Tolme's size with the same
// add-ons and a sound device open, presenting a cleared frame at 60 Hz. Prints its resident memory after the
// given seconds. Run it under a display (Xvfb), with a sound device (ALSOFT_DRIVERS=null will do).
//   bare_window [seconds]
#include "core/screen.h"

#include "resident_memory.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_native_dialog.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (!al_init() || !al_install_audio() || !al_reserve_samples(1))
        return 1;
    al_init_font_addon();
    al_init_image_addon();
    al_init_ttf_addon();
    al_init_primitives_addon();
    al_init_native_dialog_addon();
    al_init_acodec_addon();
    al_install_keyboard();
    al_install_mouse();
    ALLEGRO_DISPLAY* display = al_create_display(screen_width, screen_height);
    if (!display)
        return 1;
    const double end = al_get_time() + seconds;
    while (al_get_time() < end) {
        al_clear_to_color(al_map_rgb(0, 0, 0));
        al_flip_display();
        al_rest(1.0 / 60.0);
    }
    std::printf("bare window: %ld KiB resident after %g s\n", resident_kib(), seconds);
    return 0;
}
