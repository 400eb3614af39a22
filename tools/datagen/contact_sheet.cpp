// Renders the generated images as the instrument shows them (tints, blend modes, scales, anchors) into
// /tmp/contact.png, for a person to look at. Run it from the repository root, after a build made data/.
#include "math/colors.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Each image is loaded once; main frees them.
std::map<std::string, ALLEGRO_BITMAP*> loaded_images;
bool all_loaded = true;

ALLEGRO_BITMAP* image(const std::string& name)
{
    ALLEGRO_BITMAP*& bitmap = loaded_images[name];
    if (!bitmap) {
        bitmap = al_load_bitmap(("data/images/" + name + ".png").c_str());
        if (!bitmap) {
            // A magenta square stands in, so the sheet still shows where the image belongs.
            std::fprintf(stderr, "cannot load data/images/%s.png\n", name.c_str());
            all_loaded = false;
            bitmap = al_create_bitmap(64, 64);
            ALLEGRO_STATE state;
            al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP);
            al_set_target_bitmap(bitmap);
            al_clear_to_color(al_map_rgb(255, 0, 255));
            al_restore_state(&state);
        }
    }
    return bitmap;
}

struct sprite_class
{
    float x, y;
    float anchor_x = 0.5f, anchor_y = 0.5f;
    float scale_x = 1.0f, scale_y = 1.0f;
    float rotation = 0.0f;
    float opacity = 1.0f;
    int blend_mode = 0;
    ALLEGRO_COLOR tint = al_map_rgb_f(1, 1, 1);
};

// Blends as the object drawing does: additive sprites fade by darkening, the others through alpha.
void draw(ALLEGRO_BITMAP* bitmap, const sprite_class& s)
{
    ALLEGRO_COLOR tint = s.tint;
    tint.a = s.opacity;
    if (s.blend_mode == 1)
        tint = color_lerp(al_map_rgb_f(0, 0, 0), tint, s.opacity);
    set_blend_mode(s.blend_mode, tint);
    al_draw_tinted_scaled_rotated_bitmap(bitmap, current_tint(), s.anchor_x * al_get_bitmap_width(bitmap),
                                         s.anchor_y * al_get_bitmap_height(bitmap), s.x, s.y, s.scale_x,
                                         s.scale_y, s.rotation, 0);
    set_blend_mode(0, al_map_rgb_f(1, 1, 1));
}

constexpr float cell = 51.2f;

void draw_token(int column, int row, const char* element, float bead_opacity)
{
    const float x = 100 + column * cell + cell / 2;
    const float y = 80 + row * cell;
    if (element)
        draw(image(element), {x, y, 0.5f, 0.5f, 0.8f, 0.8f});
    draw(image("black_bead_opaque_A"), {x, y, 0.5f, 0.5f, 0.8f, 0.8f, 0, bead_opacity, 1});
}

void draw_effects()
{
    const float x = 100 + 5 * cell + cell / 2, y = 80 + 2 * cell;
    draw(image("air_effect"), {x, y, 0.5f, 0.5f, 1.2f, 1.2f, 0, 0.6f, 1});
    draw(image("air_effect"), {x + 5, y, 0.5f, 0.5f, 1.3f, 0.8f, 0, 0.5f, 1});

    const float wx = 100 + 9 * cell + cell / 2, wy = 80 + 4 * cell;
    draw(image("water"), {wx, wy, 0.5f, 0.5f, 1.5f, 1.5f, 0, 0.25f});
    for (int i = 0; i < 9; ++i) {
        const float angle = i * 0.7f;
        sprite_class droplet{wx + 14 * std::cos(angle * 3), wy + 12 * std::sin(angle * 2)};
        droplet.scale_x = droplet.scale_y = 0.8f + 0.15f * i;
        droplet.rotation = angle;
        droplet.opacity = 0.8f;
        droplet.tint = al_map_rgba_f(0.1f + 0.05f * i, 0.5f, 1.0f, 0.9f);
        draw(image("water_droplets"), droplet);
    }

    const float fx = 100 + 13 * cell + cell / 2, fy = 80 + 3 * cell;
    draw(image("main_flame2"), {fx, fy, 0.5f, 0.75f, 1.3f, 1.3f, 0, 0.9f, 1});
    for (int i = 0; i < 3; ++i)
        draw(image("flame2"), {fx, fy, 1.3f, 0.5f, 0.7f, 0.7f, 2.094f * i - 1.2f, 0.7f, 1});
}

void draw_buttons(ALLEGRO_FONT* font, int chosen)
{
    const char* pictures[4] = {"earth4", "wind3", "water", "fire"};
    const char* names[4] = {"EARTH", "WIND", "WATER", "FIRE"};
    for (int k = 0; k < 4; ++k) {
        const float x = 512 + (k - 1.5f) * 150;
        const bool on = k == chosen;
        const float shadow = on ? 0.9f : 0.6f;
        draw(image("dropshadow"), {x, 520, 0.5f, 0.0f, shadow, shadow, 0, 0.4f});
        draw(image(pictures[k]), {x, 520, 0.5f, 0.5f, on ? 1.1f : 0.8f, on ? 1.1f : 0.8f, 0, on ? 1.0f : 0.5f});
        set_blend_mode(1, al_map_rgb(96, 96, 96));
        al_draw_text(font, current_tint(), x, 555, ALLEGRO_ALIGN_CENTRE, names[k]);
        set_blend_mode(0, al_map_rgb_f(1, 1, 1));
    }
}

// The playing screen with WATER chosen: glow under its button, overlay in its colour, tokens and effects.
void draw_stage(ALLEGRO_FONT* font)
{
    const ALLEGRO_COLOR theme = al_color_name("royalblue");
    draw(image("healthy_glow"), {587, 600, 0.5f, 1.0f, 1, 1, 0, 1, 1, theme});
    const char* elements[4] = {"earth4", "wind3", "water", "fire"};
    for (int column = 0; column < 16; ++column)
        for (int row = 0; row < 8; ++row) {
            const int pick = (column * 3 + row * 5) % 7;
            draw_token(column, row, pick < 4 ? elements[pick] : nullptr, column == 4 && row == 6 ? 0.7f : 0.4f);
        }
    draw_effects();
    draw_buttons(font, 2);
    draw(image("overlay_pretty"), {0, 0, 0, 0, 1, 1, 0, 1, 1, theme});
    draw(image("mouse_cursor"), {960, 300, 0, 0});
    draw(image("pointer_cursor"), {990, 300, 0, 0});
}

const char* const strokes[13] = {"t1", "t2", "t3", "o1_a", "o2_a", "l1", "l2", "l3", "m1", "m2", "e1", "e2", "e3"};
const float stroke_anchors[13] = {2.7f, 2.7f, 2.7f, 1.35f, 1.35f, 0.7f, 0.7f, 0.7f, -0.2f, -0.2f, -1.2f, -1.2f, -1.2f};

// The title as the start screen lays it out, at the peak of its swell, with the curtain's outline.
void draw_title(float title_y)
{
    for (int i = 0; i < 13; ++i)
        draw(image(strokes[i]), {512, title_y, stroke_anchors[i], 0.5f, 1.04f, 1.04f, 0, 1, 1});
    ALLEGRO_BITMAP* curtain = image("black_brick");
    const float w = al_get_bitmap_width(curtain) * 1.5f, h = al_get_bitmap_height(curtain) * 1.4f;
    set_blend_mode(0, al_map_rgb_f(1, 1, 1));
    al_draw_rectangle(512 - w / 2, title_y - h / 2, 512 + w / 2, title_y + h / 2, al_map_rgb(90, 90, 90), 1);
}

// Every image by itself on black, additive ones as drawn, so empty areas must stay black.
void draw_singles(float y)
{
    const char* names[] = {"air_effect", "flame2", "main_flame2", "water_droplets", "black_bead_opaque_A",
                           "tolme_icon", "dropshadow", "healthy_glow"};
    const int additive[] = {1, 1, 1, 0, 1, 0, 0, 1};
    float x = 20;
    for (int i = 0; i < 8; ++i) {
        ALLEGRO_BITMAP* b = image(names[i]);
        const float s = i == 3 ? 3.0f : i == 7 ? 0.4f : 1.0f;
        draw(b, {x, y, 0, 0, s, s, 0, 1, additive[i]});
        x += al_get_bitmap_width(b) * s + 24;
    }
    draw(image("../missing_image"), {x, y, 0, 0});
}

} // namespace

int main()
{
    if (!al_init() || !al_init_image_addon() || !al_init_font_addon() || !al_init_ttf_addon() ||
        !al_init_primitives_addon()) {
        std::fprintf(stderr, "cannot start Allegro\n");
        return 1;
    }
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    use_straight_alpha_bitmaps();
    ALLEGRO_FONT* font = al_load_ttf_font("data/fonts/TrajanPro-Regular.otf", -15, 0);
    if (!font) {
        std::fprintf(stderr, "cannot load data/fonts/TrajanPro-Regular.otf\n");
        return 1;
    }
    ALLEGRO_BITMAP* sheet = al_create_bitmap(1024, 940);
    al_set_target_bitmap(sheet);
    al_clear_to_color(al_map_rgb(0, 0, 0));
    draw_stage(font);
    al_draw_line(0, 600.5f, 1024, 600.5f, al_map_rgb(60, 60, 60), 1);
    draw_title(720);
    draw_singles(850);
    const bool saved = al_save_bitmap("/tmp/contact.png", sheet);
    if (!saved)
        std::fprintf(stderr, "cannot write /tmp/contact.png\n");
    al_set_target_bitmap(nullptr);
    al_destroy_bitmap(sheet);
    al_destroy_font(font);
    for (const auto& [name, bitmap] : loaded_images)
        al_destroy_bitmap(bitmap);
    return saved && all_loaded ? 0 : 1;
}
