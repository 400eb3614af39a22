// Draws the start menu's prompt as the program does, an object centred on x = 512 in a window's video bitmaps
// (textures sampled nearest), and beside it the same text bitmap drawn directly on whole pixels; ends with
// status 0 when the two are the same pixels. The prompt is 289 px wide, so its centred left edge falls
// between two pixels, where sampling would drop and double columns of its thin strokes.
//   prompt_pixels      (under a display server, from the repository root)
#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "instrument/instrument.h"
#include "math/colors.h"

#include <allegro5/allegro_color.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <memory>

namespace {

template <typename F>
ALLEGRO_BITMAP* screen_with(F draw)
{
    ALLEGRO_BITMAP* screen = al_create_bitmap(1024, 600);
    al_set_target_bitmap(screen);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    set_blend_mode(blend_additive, al_color_name("white"));
    draw();
    set_blend_mode(blend_normal, al_color_name("white"));
    return screen;
}

// Columns of the prompt's row where the two differ.
int differing_columns(ALLEGRO_BITMAP* a, ALLEGRO_BITMAP* b, int top, int height)
{
    int columns = 0;
    for (int x = 0; x < 1024; ++x)
        for (int y = top; y < top + height; ++y)
            if (!colors_equal(al_get_pixel(a, x, y), al_get_pixel(b, x, y))) {
                ++columns;
                break;
            }
    return columns;
}

} // namespace

int main()
{
    al_init();
    al_init_image_addon();
    al_init_font_addon();
    al_init_ttf_addon();
    use_straight_alpha_bitmaps();
    ALLEGRO_DISPLAY* display = al_create_display(1024, 600);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    const auto mixer = std::make_unique<mixer_class>();
    audio_output_class output(*mixer);
    const auto instrument = std::make_unique<instrument_class>(*mixer, output);
    setup_menu_prompt(*instrument);
    Object& prompt = instrument->menu_prompt;
    prompt.opacity_anim.set(1.0f);
    const int width = al_get_bitmap_width(prompt.image), height = al_get_bitmap_height(prompt.image);
    ALLEGRO_BITMAP* drawn = screen_with([&] { prompt.draw(); });
    int fewest = 1024;
    for (int left : {(1024 - width) / 2, (1024 - width) / 2 + 1}) {
        ALLEGRO_BITMAP* direct = screen_with([&] { al_draw_bitmap(prompt.image, left, 360, 0); });
        fewest = std::min(fewest, differing_columns(drawn, direct, 360, height));
        al_destroy_bitmap(direct);
    }
    std::printf("prompt %d px wide: %d columns differ from its text on whole pixels\n", width, fewest);
    al_destroy_bitmap(drawn);
    al_destroy_display(display);
    return fewest == 0 ? 0 : 1;
}
