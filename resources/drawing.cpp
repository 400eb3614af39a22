#include "resources/drawing.h"

#include "audio/mixer.h"
#include "math/colors.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"

ALLEGRO_BITMAP* get_image(const std::string& file)
{
    return graphics_bin.get(file, file);
}

bool has_image(const std::string& file)
{
    return get_image(file) != nullptr;
}

void draw_missing_image(float x, float y)
{
    if (missing_image)
        al_draw_tinted_bitmap(missing_image, current_tint(), x, y, 0);
}

void draw_image(const std::string& file, float x, float y, float pivot, float scale, float angle)
{
    ALLEGRO_BITMAP* bitmap = get_image(file);
    if (!bitmap) {
        draw_missing_image(x, y);
        return;
    }
    const float cx = al_get_bitmap_width(bitmap) * pivot;
    const float cy = al_get_bitmap_height(bitmap) * pivot;
    al_draw_tinted_scaled_rotated_bitmap(bitmap, current_tint(), cx, cy, x, y, scale, scale, angle, 0);
}

void play_sample(mixer_class& mixer, const std::string& file, float gain, float pan)
{
    const sound_class sound = sound_of(samples_bin.get(file, file));
    if (!sound.empty())
        mixer.play({sound, gains_for(gain, pan, sound.channels)});
}

void preload_sample(const std::string& file)
{
    samples_bin.load(file, file);
}
