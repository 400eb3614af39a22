#include "instrument/element_menu.h"

#include "core/input.h"
#include "core/screen.h"
#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "resources/bins.h"
#include "resources/drawing.h"
#include "resources/manifest.h"

#include <allegro5/allegro_color.h>

const char* const menu_font = menu_font_file.path;
static const char* const count_font = count_font_file.path;
static const int buttons_y = screen_height - 80;
static const float button_spacing = 150.0f;
static const float label_drop = 35.0f;

static ALLEGRO_COLOR label_grey()
{
    return al_map_rgb(96, 96, 96);
}

static void place(Object& object, float x, float y, float anchor_x, float anchor_y, float scale, float opacity,
                  blend_mode_id blend_mode)
{
    object.x_anim.set(x);
    object.y_anim.set(y);
    object.anchor_x_anim.set(anchor_x);
    object.anchor_y_anim.set(anchor_y);
    object.scale_x_anim.set(scale);
    object.scale_y_anim.set(scale);
    object.opacity_anim.set(opacity);
    object.blend_mode = blend_mode;
}

static void paint(Object& object, ALLEGRO_COLOR tint, float z)
{
    object.tint_anim.set(tint);
    object.z_anim.set(z);
}

static void scale_to(Object& object, float scale, double duration, easing_curve curve)
{
    object.scale_x_anim.animate_to(scale, duration, curve);
    object.scale_y_anim.animate_to(scale, duration, curve);
}

void element_button_class::setup(const std::string& name, const std::string& picture_file, float x, float y,
                                 int start_count)
{
    const ALLEGRO_COLOR white = al_color_name("white");
    picture.set_image(picture_file, true);
    place(picture, x, y, 0.5f, 0.5f, 1.0f, 1.0f, blend_normal);
    paint(picture, white, 0.0f);
    name_label.show(menu_font, -20, name);
    place(name_label, x, y + label_drop, 0.5f, 0.0f, 0.75f, 1.0f, blend_additive);
    paint(name_label, label_grey(), 0.0f);
    count = start_count;
    refresh_count_label();
    place(count_label, x, y + label_drop, 0.5f, 0.0f, 0.8f, 0.0f, blend_additive);
    paint(count_label, label_grey(), 0.0f);
    shadow.set_image(drop_shadow_image.path, true);
    place(shadow, x, y, 0.5f, 0.0f, 1.0f, 0.4f, blend_normal);
    paint(shadow, white, -1.0f);
}

void element_button_class::set_color(ALLEGRO_COLOR new_color)
{
    color = new_color;
}

void element_button_class::highlight()
{
    picture.clear_animations();
    picture.opacity_anim.animate_to(1.0f, 0.3, curve_ease_out);
    scale_to(picture, 1.1f, 0.3, curve_ease_out);
    scale_to(shadow, 0.9f, 0.3, curve_ease_out);
}

void element_button_class::dim()
{
    picture.clear_animations();
    picture.opacity_anim.animate_to(0.5f, 0.2, curve_ease_in_cubic);
    scale_to(picture, 0.8f, 0.3, curve_ease_in);
    scale_to(shadow, 0.6f, 0.3, curve_ease_out);
}

void element_button_class::show_count(int remaining)
{
    if (remaining == count)
        return;
    count = remaining;
    refresh_count_label();
}

void element_button_class::flash_empty()
{
    count_label.scale_x_anim.animate(1.0f, 0.8f, 0.0, 1.0, curve_ease_out_twice);
    count_label.scale_y_anim.animate(1.0f, 0.8f, 0.0, 1.0, curve_ease_out_twice);
    count_label.tint_anim.animate(al_color_name("red"), label_grey(), 0.0, 1.0, curve_ease_out_twice);
}

void element_button_class::refresh_count_label()
{
    count_label.show(count_font, -30, std::to_string(count));
}

element_button_class* element_button(instrument_class& instrument, int id)
{
    element_button_class* const buttons[element_count] = {&instrument.earth_button, &instrument.wind_button,
                                                          &instrument.water_button, &instrument.fire_button};
    return is_element(id) ? buttons[id - 1] : nullptr;
}

void build_element_buttons(instrument_class& instrument)
{
    for (const element_info& info : elements) {
        element_button_class* button = element_button(instrument, info.id);
        const float x = static_cast<float>(screen_width / 2) + (static_cast<float>(info.id - 1) - 1.5f) *
                                                                     button_spacing;
        button->setup(info.name, info.picture, x, static_cast<float>(buttons_y), instrument.model.remaining(info.id));
        button->set_color(al_color_name(info.color_name));
    }
    for (const element_info& info : elements)
        element_button(instrument, info.id)->dim();
}

void setup_menu_prompt(instrument_class& instrument)
{
    fonts_bin.set_default_font(menu_font, -15);
    instrument.menu_prompt.show(menu_font, -15, "- SELECT AN ELEMENT TO GET STARTED -");
    place(instrument.menu_prompt, static_cast<float>(screen_width / 2), static_cast<float>(screen_height / 2 + 60),
          0.5f, 0.0f, 1.0f, 0.0f, blend_additive);
}

void show_menu_prompt(instrument_class& instrument)
{
    if (instrument.prompt_shown)
        return;
    instrument.prompt_shown = true;
    instrument.menu_prompt.opacity_anim.animate(0.0f, 1.0f, 4.0, 0.7, curve_ease_in_out);
}

void hide_menu_prompt(instrument_class& instrument)
{
    if (!instrument.prompt_shown)
        return;
    instrument.prompt_shown = false;
    instrument.menu_prompt.clear_animations();
    instrument.menu_prompt.opacity_anim.animate(1.0f, 0.0f, 0.0, 1.0, curve_ease_in_out);
}

void update_element_menu(instrument_class& instrument)
{
    // With Ctrl the letters are the pattern's commands (Ctrl+S saves), not elements.
    for (const element_info& info : elements)
        if (pressed(info.key) && !pressed_with(info.key, ALLEGRO_KEYMOD_CTRL))
            select_element(instrument, info.id);
    if (!pressed(mouse_left_button))
        return;
    const float mx = static_cast<float>(mouse_x());
    const float my = static_cast<float>(mouse_y());
    for (const element_info& info : elements)
        if (element_button(instrument, info.id)->picture.contains_point(mx, my))
            select_element(instrument, info.id);
}

void select_element(instrument_class& instrument, int id)
{
    if (id == instrument.current_element)
        return;
    if (element_button_class* previous = element_button(instrument, instrument.current_element))
        previous->dim();
    instrument.current_element = static_cast<element_id>(id);
    if (element_button_class* chosen = element_button(instrument, id)) {
        chosen->highlight();
        apply_element_theme(instrument, chosen->color, chosen->name_label.x);
        play_sample(instrument.mixer, select_sound_file, 1.0f, 0.0f);
    }
}

void apply_element_theme(instrument_class& instrument, ALLEGRO_COLOR c, float x)
{
    instrument.glow_sprite.tint_anim.animate_to(c, 3.0, curve_ease_in_out);
    instrument.glow_sprite.x_anim.animate_to(x, 3.0, curve_ease_in_out);
    instrument.overlay_sprite.tint_anim.animate_to(c, 4.0, curve_ease_in_out);
}
