#include "instrument/note_playing.h"

#include "audio/audio_output.h"
#include "audio/mixer.h"
#include "audio/offline_render.h"
#include "instrument/element_effects.h"
#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "instrument/pattern_commands.h"
#include "instrument/token.h"
#include "math/clock.h"
#include "resources/bins.h"
#include "resources/data_folder.h"
#include "resources/wav_check.h"

#include <algorithm>
#include <memory>

std::string note_sample_file(int element, int note)
{
    return note_sound_file(element - 1, note);
}

void setup_note_playing()
{
    for (int note = 0; note < notes_per_set; ++note)
        instrument->wind_samples[note] = load_checked_sample(data_file(note_sample_file(wind_element, note)));
}

// WIND plays quieter and half right, outside the samples bin; the other sets centred, through it.
static voiced_sound note_sound(int element, int note)
{
    const sound_class sound = element == wind_element ? sound_of(instrument->wind_samples[note])
                                              : sound_of(samples_bin.get(note_sample_file(element, note),
                                                                         note_sample_file(element, note)));
    return element == wind_element ? voiced_sound{sound, gains_for(0.7f, 0.5f, sound.channels)}
                           : voiced_sound{sound, gains_for(0.8f, 0.0f, sound.channels)};
}

void configure_mixer(mixer_class& target)
{
    for (const element_info& info : elements)
        for (int note = 0; note < notes_per_set; ++note)
            target.notes[info.id][note] = note_sound(info.id, note);
    std::array<float, step_columns> centres{};
    for (int column = 0; column < step_columns; ++column)
        centres[column] = token_centre_x(column_left(column, grid_scale)) - grid_origin_x;
    target.schedule.emplace(centres, sweep_length(grid_scale), play_speed, mixer_class::rate);
}

void start_note_playing()
{
    mixer.reset();
    audio_output.clock.reset();
    configure_mixer(mixer);
    instrument->published_grid = grid_cells();
    mixer.grid.write(instrument->published_grid);
}

std::vector<float> render_pattern(const step_grid& cells, int sweeps)
{
    auto offline = std::make_unique<mixer_class>();
    configure_mixer(*offline);
    offline->grid.write(cells);
    std::vector<float> frames;
    const std::uint64_t end = offline->schedule->sweep_start(static_cast<std::uint64_t>(std::max(0, sweeps)));
    render_offline(*offline, end, frames);
    offline->grid.write(step_grid{});
    while (offline->sounding())
        render_offline(*offline, offline->frame + mixer_class::rate / 10, frames);
    return frames;
}

static double heard_frame()
{
    return audio_output.clock.frame_at(current_time());
}

void update_play_line()
{
    const step_grid cells = grid_cells();
    if (cells != instrument->published_grid) {
        instrument->published_grid = cells;
        mixer.grid.write(cells);
    }
    const double heard = heard_frame();
    note_event note;
    while (mixer.events.peek(note) && static_cast<double>(note.frame) <= heard) {
        mixer.events.drop_oldest();
        // A pattern the program started with sounds from the start, but shows (and pulses) with the grid.
        if (note.cell < instrument->token_grid.size() && instrument->grid_shown)
            pulse(*instrument->token_grid[note.cell], note.element);
    }
}

void trigger(token_class& token)
{
    if (token.note_index <= -1 || token.note_index >= notes_per_set)
        return;
    pulse(token, token.element);
    if (token.element != no_element)
        mixer.play(note_sound(token.element, token.note_index));
}

// The pulse sizes are multiples of the grid scale, so a pulse settles at the sprite's resting scale.
static float scaled(double factor)
{
    return static_cast<float>(grid_scale * factor);
}

// from -> via over the first stretch, then via -> to over the second, which starts as the first ends.
static void swing(animated_value_class<float>& holder, float from, float via, float to, double first,
                  easing_curve first_curve, double second, easing_curve second_curve)
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

void pulse(token_class& token, int element)
{
    Object& sprite = token.element_sprite;
    switch (element) {
    case earth_element:
        pulse_earth(sprite);
        break;
    case wind_element:
        pulse_wind(sprite);
        spawn_wind(sprite.x, sprite.y);
        break;
    case water_element:
        pulse_water(sprite);
        spawn_water(sprite.x, sprite.y);
        break;
    case fire_element:
        pulse_fire(sprite);
        spawn_flame(sprite.x, sprite.y);
        break;
    default:
        break;
    }
}
