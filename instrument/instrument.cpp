#include "instrument/instrument.h"

#include "framework/app.h"
#include "framework/input.h"
#include "instrument/element_menu.h"
#include "instrument/elements.h"
#include "instrument/note_playing.h"
#include "instrument/title_letters.h"
#include "resources/bins.h"
#include "resources/drawing.h"
#include "visuals/element_effects.h"
#include "visuals/token.h"

#include <allegro5/allegro_color.h>

#include <cstdlib>

int current_element = 0;
float grid_scale = 0.8f;
float grid_origin_x = 100.0f;
Object glow_sprite;
Object overlay_sprite;
ALLEGRO_MOUSE_CURSOR* arrow_cursor = nullptr;
ALLEGRO_MOUSE_CURSOR* pointer_cursor = nullptr;

// Runs at exit before Allegro shuts down, since everything here must be freed through it.
static void release_instrument()
{
    clear_effects();
    delete_token_grid();
    release_element_menu();
    for (ALLEGRO_MOUSE_CURSOR** cursor : {&arrow_cursor, &pointer_cursor}) {
        if (*cursor)
            al_destroy_mouse_cursor(*cursor);
        *cursor = nullptr;
    }
}

static void dress_window()
{
    if (ALLEGRO_BITMAP* icon = get_image("data/images/tolme_icon.png"))
        al_set_display_icon(display, icon);
    al_set_window_title(display, "Tolme - A Musical Instrument");
}

static ALLEGRO_MOUSE_CURSOR* cursor_from_image(const char* file)
{
    ALLEGRO_BITMAP* image = get_image(file);
    return image ? al_create_mouse_cursor(image, 2, 2) : nullptr;
}

static void create_cursors()
{
    arrow_cursor = cursor_from_image("data/images/mouse_cursor.png");
    pointer_cursor = cursor_from_image("data/images/pointer_cursor.png");
    if (arrow_cursor)
        al_set_mouse_cursor(display, arrow_cursor);
}

// Additive and black, so both stay invisible until an element's colour is tweened in.
static void set_up_theme_sprites()
{
    glow_sprite.set_image("data/images/healthy_glow.png", true);
    glow_sprite.align_bottom();
    glow_sprite.align_center();
    glow_sprite.z_anim.set(-3.0f);
    glow_sprite.move_to(static_cast<float>(screen_width / 2), static_cast<float>(screen_height));
    glow_sprite.tint_anim.set(al_color_name("black"));
    glow_sprite.blend_mode = 1;

    overlay_sprite.set_image("data/images/overlay_pretty.png", true);
    overlay_sprite.z_anim.set(20.0f);
    overlay_sprite.tint_anim.set(al_color_name("black"));
    overlay_sprite.blend_mode = 1;
}

// The wind notes are not among them: the note playing loads those itself.
static void preload_samples()
{
    for (int id : {1, 3, 4})
        for (int note = 0; note < notes_per_element; ++note)
            preload_sample(note_sample_file(id, note));
    preload_sample("data/sounds/select.wav");
}

void instrument_setup()
{
    atexit(release_instrument);
    dress_window();
    create_token_grid(grid_scale);
    setup_note_playing();
    build_element_buttons();
    setup_menu_prompt();
    create_cursors();
    fonts_bin.load_font(menu_font, -13);
    fonts_bin.load_font(menu_font, -28);
    set_up_theme_sprites();
    preload_samples();
    start_note_playing();
    title_letters.set_up();
    title_letters.reveal();
    show_menu_prompt();
}

// Restarts the bead's fade only when the hover state changes, never while the mouse stays put.
static void set_token_hover(token_class& token, bool hovered, float opacity, int curve)
{
    if (token.hovered == hovered)
        return;
    token.hovered = hovered;
    token.bead.clear_animations();
    token.bead.opacity_anim.animate_to(opacity, 0.2, curve);
}

void token_hover_on(token_class& token)
{
    set_token_hover(token, true, 0.7f, curve_ease_out);
}

void token_hover_off(token_class& token)
{
    set_token_hover(token, false, 0.4f, curve_ease_in_cubic);
}

static bool button_under(float x, float y)
{
    for (const element_info& info : elements)
        if (element_button(info.id)->picture.contains_point(x, y))
            return true;
    return false;
}

// Tokens only answer the mouse once an element is chosen.
static bool update_token_hover(float x, float y)
{
    if (current_element == 0)
        return false;
    bool any = false;
    for (token_class* token : token_grid) {
        if (token->bead.contains_point(x, y)) {
            token_hover_on(*token);
            any = true;
        } else {
            token_hover_off(*token);
        }
    }
    return any;
}

ALLEGRO_MOUSE_CURSOR* update_hover_and_cursor()
{
    const float x = static_cast<float>(mouse_x());
    const float y = static_cast<float>(mouse_y());
    const bool over_button = button_under(x, y);
    const bool over_token = update_token_hover(x, y);
    ALLEGRO_MOUSE_CURSOR* cursor = over_button || over_token ? pointer_cursor : arrow_cursor;
    if (cursor && display)
        al_set_mouse_cursor(display, cursor);
    return cursor;
}

void instrument_update()
{
    update_element_menu();
    if (current_element != 0)
        update_token_clicks();
    update_play_line();
    remove_finished_effects();
    if (current_element != 0) {
        hide_menu_prompt();
        title_letters.hide();
    }
    update_hover_and_cursor();
}

// Everything visible is an object of the bin, already in depth order.
void instrument_draw()
{
    for (Object* object : objects_bin)
        object->draw();
}
