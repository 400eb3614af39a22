#include "instrument/token.h"

#include "core/input.h"
#include "instrument/element_menu.h"
#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "resources/manifest.h"

// Any element image serves while the token is empty: it is cropped away.
static const char* const empty_sprite_image = element_images[1].path;
static const float token_sprite_scale = 0.8f;

float token_centre_x(float x)
{
    return static_cast<float>(x + grid_scale * 32.0);
}

float column_step(float s)
{
    return static_cast<float>(s * 64.0);
}

float column_left(int column, float s)
{
    const int left = static_cast<int>(grid_origin_x);
    return static_cast<float>(left + column * static_cast<double>(column_step(s)));
}

float sweep_length(float s)
{
    float length = 0.0f;
    for (int column = 0; column < grid_columns; ++column)
        length += column_step(s);
    return length;
}

token_class::token_class(float x, float y, int note)
{
    const float cx = token_centre_x(x);
    note_index = note;
    bead.set_image(bead_image.path, true);
    bead.move_to(cx, y);
    bead.z_anim.set(1.0f);
    bead.blend_mode = blend_additive;
    bead.opacity_anim.set(0.0f);
    element_sprite.set_image(empty_sprite_image, true);
    element_sprite.move_to(cx, y);
    element_sprite.z_anim.set(0.0f);
    bead.align_center();
    bead.align_middle();
    element_sprite.align_center();
    element_sprite.align_middle();
    element_sprite.crop_top_anim.set(1.0f);
    for (Object* sprite : {&element_sprite, &bead}) {
        sprite->scale_x_anim.set(token_sprite_scale);
        sprite->scale_y_anim.set(token_sprite_scale);
    }
}

void token_class::show(element_id id, bool uncover)
{
    if (id == shown)
        return;
    if (shown != no_element) {
        element_sprite.set_image(element(shown).picture, true);
        element_sprite.crop_top_anim.animate_to(1.0f, 0.3, curve_ease_in);
        element_sprite.opacity_anim.animate(element_sprite.opacity, 0.0f, 0.15, 0.15, curve_ease_in);
    }
    shown = id;
    if (id == no_element)
        return;
    element_sprite.set_image(element(id).picture, true);
    if (uncover)
        reveal();
}

void token_class::reveal()
{
    // A hide still under way (a clear just before) would otherwise finish after this reveal and leave the
    // element invisible.
    element_sprite.crop_top_anim.clear();
    element_sprite.opacity_anim.clear();
    element_sprite.crop_top_anim.animate_to(0.0f, 0.3, curve_ease_out);
    element_sprite.opacity_anim.animate_to(1.0f, 0.15, curve_ease_out);
}

void create_token_grid(instrument_class& instrument, float s)
{
    const float step = column_step(s);
    for (int column = 0; column < grid_columns; ++column)
        for (int row = 0; row < grid_rows; ++row) {
            const float y = static_cast<float>(grid_top + row * static_cast<double>(step));
            instrument.token_grid.push_back(new token_class(column_left(column, s), y, note_of_row(row)));
        }
    instrument.grid_width = sweep_length(s);
}

int token_cell_at(const instrument_class& instrument, float x, float y)
{
    for (std::size_t cell = 0; cell < instrument.token_grid.size(); ++cell)
        if (instrument.token_grid[cell]->bead.contains_point(x, y))
            return static_cast<int>(cell);
    return -1;
}

void place_chosen_element(instrument_class& instrument, int cell)
{
    if (instrument.model.place(cell, instrument.current_element) == place_result::none_left)
        element_button(instrument, instrument.current_element)->flash_empty();
}

void update_token_clicks(instrument_class& instrument)
{
    const bool left = pressed(mouse_left_button);
    if (!left && !pressed(mouse_right_button))
        return;
    const int cell = token_cell_at(instrument, static_cast<float>(mouse_x()), static_cast<float>(mouse_y()));
    if (cell < 0)
        return;
    if (left)
        place_chosen_element(instrument, cell);
    else
        instrument.model.clear(cell);
}
