#include "instrument/instrument.h"

#include "audio/sound_output.h"
#include "core/input.h"
#include "core/screen.h"
#include "instrument/elements.h"
#include "instrument/note_playing.h"
#include "instrument/notice.h"
#include "instrument/pattern_commands.h"
#include "instrument/play_keys.h"
#include "instrument/timing_keys.h"
#include "instrument/timing_readout.h"
#include "math/clock.h"
#include "resources/bins.h"
#include "resources/drawing.h"
#include "resources/manifest.h"

#include <allegro5/allegro_color.h>

template <typename T>
static void delete_each(std::vector<T*>& owned)
{
    for (T* item : owned)
        delete item;
    owned.clear();
}

instrument_class::~instrument_class()
{
    delete_each(wind_effects);
    delete_each(water_effects);
    delete_each(flame_effects);
    delete_each(token_grid);
    for (ALLEGRO_MOUSE_CURSOR* cursor : {arrow_cursor, pointer_cursor})
        if (cursor)
            al_destroy_mouse_cursor(cursor);
}

static void dress_window()
{
    ALLEGRO_DISPLAY* display = al_get_current_display();
    if (ALLEGRO_BITMAP* icon = get_image(icon_image.path))
        al_set_display_icon(display, icon);
    al_set_window_title(display, "Tolme - A Musical Instrument");
}

static ALLEGRO_MOUSE_CURSOR* cursor_from_image(const char* file)
{
    ALLEGRO_BITMAP* image = get_image(file);
    return image ? al_create_mouse_cursor(image, 2, 2) : nullptr;
}

static void create_cursors(instrument_class& instrument)
{
    instrument.arrow_cursor = cursor_from_image(arrow_cursor_image.path);
    instrument.pointer_cursor = cursor_from_image(pointer_cursor_image.path);
    if (instrument.arrow_cursor)
        al_set_mouse_cursor(al_get_current_display(), instrument.arrow_cursor);
}

// Additive and black, so both stay invisible until an element's color is tweened in.
static void setup_theme_sprites(instrument_class& instrument)
{
    instrument.glow_sprite.set_image(glow_image.path, true);
    instrument.glow_sprite.align_bottom();
    instrument.glow_sprite.align_center();
    instrument.glow_sprite.z_anim.set(-3.0f);
    instrument.glow_sprite.move_to(static_cast<float>(screen_width / 2), static_cast<float>(screen_height));
    instrument.glow_sprite.tint_anim.set(al_color_name("black"));
    instrument.glow_sprite.blend_mode = blend_additive;

    instrument.overlay_sprite.set_image(overlay_image.path, true);
    instrument.overlay_sprite.z_anim.set(20.0f);
    instrument.overlay_sprite.tint_anim.set(al_color_name("black"));
    instrument.overlay_sprite.blend_mode = blend_additive;
}

// The wind notes are not among them: the note sounds load those themselves.
static void preload_samples()
{
    for (element_id id : {earth_element, water_element, fire_element})
        for (int note = 0; note < notes_per_set; ++note)
            preload_sample(note_sample_file(id, note));
    preload_sample(select_sound_file);
}

void instrument_setup(instrument_class& instrument)
{
    dress_window();
    create_token_grid(instrument, grid_scale);
    instrument.note_sounds.load();
    build_element_buttons(instrument);
    setup_menu_prompt(instrument);
    create_cursors(instrument);
    fonts_bin.load_font(menu_font, -13);
    fonts_bin.load_font(menu_font, -28);
    setup_theme_sprites(instrument);
    setup_timing_readout(instrument);
    setup_grid_cursor(instrument);
    preload_samples();
    start_note_playing(instrument);
    instrument.title_letters.setup();
    instrument.title_letters.reveal();
    show_menu_prompt(instrument);
}

// Restarts the bead's fade only when the hover state changes, never while the mouse stays put.
static void set_token_hover(token_class& token, bool hovered, float opacity, easing_curve curve)
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

static bool button_under(instrument_class& instrument, float x, float y)
{
    for (const element_info& info : elements)
        if (element_button(instrument, info.id)->picture.contains_point(x, y))
            return true;
    return false;
}

// Tokens only answer the mouse once an element is chosen.
static bool update_token_hover(instrument_class& instrument, float x, float y)
{
    if (instrument.current_element == no_element)
        return false;
    bool any = false;
    for (token_class* token : instrument.token_grid) {
        if (token->bead.contains_point(x, y)) {
            token_hover_on(*token);
            any = true;
        } else {
            token_hover_off(*token);
        }
    }
    return any;
}

ALLEGRO_MOUSE_CURSOR* update_hover_and_cursor(instrument_class& instrument)
{
    const float x = static_cast<float>(mouse_x());
    const float y = static_cast<float>(mouse_y());
    const bool over_button = button_under(instrument, x, y);
    const bool over_token = update_token_hover(instrument, x, y);
    ALLEGRO_MOUSE_CURSOR* cursor = over_button || over_token ? instrument.pointer_cursor : instrument.arrow_cursor;
    if (cursor && al_get_current_display())
        al_set_mouse_cursor(al_get_current_display(), cursor);
    return cursor;
}

// The sound device went away (the window carries on in silence), has not opened in its first seconds, or came
// back.
static void tell_sound_changes(instrument_class& instrument)
{
    const bool playing = instrument.output->playing();
    if (instrument.sound_playing && !playing) {
        show_notice(instrument, "The sound device is gone: playing on in silence");
        instrument.sound_lost = true;
    } else if (!playing && !instrument.sound_lost && instrument.output->late(current_time())) {
        report_problem(instrument, "No sound device has opened yet: playing on in silence");
        instrument.sound_lost = true;
    } else if (instrument.sound_lost && playing) {
        show_notice(instrument, "Sound is back");
        instrument.sound_lost = false;
    }
    instrument.sound_playing = playing;
}

// Once an element is chosen the grid and the readout show, and a pattern placed before is uncovered with
// them; the title and the prompt go.
static void show_play_screen(instrument_class& instrument)
{
    hide_menu_prompt(instrument);
    instrument.title_letters.hide();
    if (instrument.grid_shown)
        return;
    instrument.grid_shown = true;
    for (token_class* token : instrument.token_grid)
        if (token->shown != no_element)
            token->reveal();
    show_timing_readout(instrument);
}

void instrument_update(instrument_class& instrument)
{
    update_element_menu(instrument);
    if (instrument.current_element != no_element) {
        show_play_screen(instrument);
        update_token_clicks(instrument);
        update_grid_cursor(instrument);
    }
    update_timing_keys(instrument);
    update_play_keys(instrument);
    update_pattern(instrument);
    update_play_line(instrument);
    update_following(instrument);
    remove_finished_effects(instrument);
    update_hover_and_cursor(instrument);
    tell_sound_changes(instrument);
}

// Everything visible is an object of the bin, already in depth order.
void instrument_draw(instrument_class&)
{
    draw_objects();
}
