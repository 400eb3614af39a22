#include "instrument/note_playing.h"

#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "math/clock.h"
#include "resources/drawing.h"
#include "resources/wav_check.h"
#include "visuals/element_effects.h"
#include "visuals/token.h"

#include <cmath>

double play_start_time = 0.0;
float play_speed = 300.0f;
float grid_width = 0.0f;
float previous_play_position = -999.0f;
std::array<ALLEGRO_SAMPLE*, notes_per_element> wind_samples{};

static const int earth = 1;
static const int wind = 2;
static const int water = 3;
static const int fire = 4;

std::string note_sample_file(int element, int note)
{
    static const char* const sets[element_count] = {"earth", "air", "water", "fire"};
    return std::string("data/sounds/") + sets[element - 1] + "_" + std::to_string(note) + ".wav";
}

void setup_note_playing()
{
    play_start_time = current_time();
    play_speed = 300.0f;
    previous_play_position = -999.0f;
    for (int note = 0; note < notes_per_element; ++note)
        wind_samples[note] = load_checked_sample(note_sample_file(wind, note));
}

float play_position()
{
    const double travelled = (current_time() - play_start_time) * play_speed;
    return static_cast<float>(std::fmod(travelled, static_cast<double>(grid_width)));
}

// Triggers the tokens whose centres lie in (from, to], positions relative to the grid's left edge.
static void trigger_tokens_crossed(float from, float to)
{
    const float left = from + grid_origin_x;
    const float right = to + grid_origin_x;
    for (token_class* token : token_grid)
        if (left < token->bead.x && token->bead.x <= right)
            trigger(*token);
}

void update_play_line()
{
    const float position = play_position();
    if (position < previous_play_position) {
        // The line wrapped: finish the old sweep, then cover the start of the new one.
        trigger_tokens_crossed(previous_play_position, grid_width);
        trigger_tokens_crossed(0.0f, position);
    } else {
        trigger_tokens_crossed(previous_play_position, position);
    }
    previous_play_position = position;
}

static void play_note(int element, int note)
{
    if (element == wind) {
        if (wind_samples[note])
            al_play_sample(wind_samples[note], 0.7f, 0.5f, 1.0f, ALLEGRO_PLAYMODE_ONCE, nullptr);
    } else if (is_element(element)) {
        play_sample(note_sample_file(element, note), 0.8f, 0.0f);
    }
}

void trigger(token_class& token)
{
    if (token.note_index <= -1 || token.note_index >= notes_per_element)
        return;
    pulse(token);
    play_note(token.element, token.note_index);
}

// The pulse sizes are multiples of the grid scale, so a pulse settles at the sprite's resting scale.
static float scaled(double factor)
{
    return static_cast<float>(grid_scale * factor);
}

// from -> via over the first stretch, then via -> to over the second, which starts as the first ends.
static void swing(animated_value_class<float>& holder, float from, float via, float to, double first,
                  int first_curve, double second, int second_curve)
{
    holder.animate(from, via, 0.0, first, first_curve);
    holder.animate(via, to, first, second, second_curve);
}

static void pulse_earth(Object& sprite)
{
    sprite.scale_x_anim.animate(static_cast<float>(sprite.scale_x + 0.4), sprite.scale_x, 0.0, 0.3,
                                curve_ease_out);
    sprite.scale_y_anim.animate(static_cast<float>(sprite.scale_y + 0.4), sprite.scale_y, 0.0, 0.3,
                                curve_ease_out);
}

static void pulse_wind(Object& sprite)
{
    const float rest = scaled(1.0);
    const float low = scaled(0.8);
    swing(sprite.scale_x_anim, rest, low, rest, 0.5, curve_ease_in_out, 0.8, curve_ease_in_out);
    swing(sprite.scale_y_anim, rest, low, rest, 0.5, curve_ease_in_out, 0.8, curve_ease_in_out);
    swing(sprite.opacity_anim, 1.0f, 0.7f, 1.0f, 0.5, curve_ease_out, 0.8, curve_ease_in_out);
}

static void pulse_water(Object& sprite)
{
    const float rest = scaled(1.0);
    const float narrow = scaled(0.8);
    const float wide = scaled(1.3);
    swing(sprite.scale_x_anim, wide, narrow, rest, 0.5, curve_overshoot, 0.5, curve_overshoot);
    swing(sprite.scale_y_anim, narrow, wide, rest, 0.5, curve_overshoot, 0.5, curve_overshoot);
}

static void pulse_fire(Object& sprite)
{
    const float rest = scaled(1.0);
    const float wide = scaled(1.3);
    sprite.scale_x_anim.animate(wide, rest, 0.0, 1.0, curve_ease_in_out);
    sprite.scale_y_anim.animate(wide, rest, 0.0, 1.0, curve_ease_in_out);
}

void pulse(token_class& token)
{
    Object& sprite = token.element_sprite;
    switch (token.element) {
    case earth:
        pulse_earth(sprite);
        break;
    case wind:
        pulse_wind(sprite);
        spawn_wind(sprite.x, sprite.y);
        break;
    case water:
        pulse_water(sprite);
        spawn_water(sprite.x, sprite.y);
        break;
    case fire:
        pulse_fire(sprite);
        spawn_flame(sprite.x, sprite.y);
        break;
    default:
        break;
    }
}
