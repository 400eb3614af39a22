// The start menu: four element buttons in a row near the bottom edge (picture, name, drop shadow and a hidden
// count of tokens still to place, which follows the pattern model) and the prompt that fades in above them. Keys A, S, D, F or a click on a
// picture choose an element; the choice highlights its button, dims the previous one, plays the selection
// sound and re-colors the glow and overlay sprites. Nothing here draws: every part is an Object.
#pragma once

#include "scene/object.h"
#include "scene/text_label.h"

#include <allegro5/allegro.h>

#include <string>

// The face of the element names, the prompt and every later default-font text.
extern const char* const menu_font;

class instrument_class;

class element_button_class
{
public:
    Object picture;
    text_label_class name_label;
    text_label_class count_label; // never made visible
    Object shadow;
    int count = 0;
    ALLEGRO_COLOR color = al_map_rgba_f(1, 1, 1, 1);

    void setup(const std::string& name, const std::string& picture_file, float x, float y, int start_count);
    void set_color(ALLEGRO_COLOR new_color);
    // The chosen look: picture enlarged and opaque, shadow larger.
    void highlight();
    // The not-chosen look: picture smaller and half transparent, shadow smaller.
    void dim();
    // The count of tokens still to place, as the pattern model has it.
    void show_count(int remaining);
    // A red flash of the count: a place was refused, none is left.
    void flash_empty();
    void refresh_count_label();

    element_button_class() = default;
    element_button_class(const element_button_class&) = delete;
    element_button_class& operator=(const element_button_class&) = delete;
};


// The button of element id 1 to 4; nullptr for any other id.
element_button_class* element_button(instrument_class& instrument, int id);

void build_element_buttons(instrument_class& instrument);
void setup_menu_prompt(instrument_class& instrument);
// Starts the prompt's delayed fade-in; only the first call acts.
void show_menu_prompt(instrument_class& instrument);
// Fades the prompt out; acts only while it is shown.
void hide_menu_prompt(instrument_class& instrument);
// Keys A, S, D, F, then a left click on any picture, choose an element.
void update_element_menu(instrument_class& instrument);
void select_element(instrument_class& instrument, int id);
// Glow and overlay sprites tween to color c; the glow also slides to x.
void apply_element_theme(instrument_class& instrument, ALLEGRO_COLOR c, float x);
