#include "instrument/note_playing.h"

#include "audio/mixer.h"
#include "audio/offline_render.h"
#include "audio/sound_output.h"
#include "instrument/element_effects.h"
#include "instrument/elements.h"
#include "instrument/instrument.h"
#include "instrument/note_sounds.h"
#include "instrument/token.h"
#include "math/clock.h"

#include <algorithm>
#include <memory>

std::array<double, step_columns> column_centres(note_placement placement)
{
    std::array<double, step_columns> centres{};
    const double column = sweep_length(grid_scale) / static_cast<double>(step_columns);
    for (int c = 0; c < step_columns; ++c)
        centres[c] = placement == note_placement::beat
                         ? (c + 0.5) * column
                         : static_cast<double>(token_centre_x(column_left(c, grid_scale)) - grid_origin_x);
    return centres;
}

void configure_mixer(mixer_class& target, const note_sounds_class& sounds, note_placement placement)
{
    for (const element_info& info : elements)
        for (int note = 0; note < notes_per_set; ++note)
            target.notes[info.id][note] = target.at_rate(sounds.sound(info.id, note));
    target.schedule.emplace(column_centres(placement), sweep_length(grid_scale), target.rate);
}

// On the beat the line starts on column 0's notes, which sound at frame 0; on the tokens it starts from its
// zero. Returns where it starts, in columns.
static double start_line(note_schedule_class& schedule, note_placement placement)
{
    const double start = placement == note_placement::beat ? 0.5 : 0.0;
    schedule.locate(0, start);
    return start;
}

void start_note_playing(instrument_class& instrument)
{
    instrument.mixer.reset();
    instrument.output->clock.reset();
    configure_mixer(instrument.mixer, instrument.note_sounds, instrument.placement);
    start_line(*instrument.mixer.schedule, instrument.placement);
    instrument.mixer.pattern.write(instrument.model.pattern());
}

bool render_pattern(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                    note_placement placement, unsigned rate, const frame_sink& sink)
{
    auto offline = std::make_unique<mixer_class>(rate);
    configure_mixer(*offline, sounds, placement);
    note_schedule_class& schedule = *offline->schedule;
    schedule.set_timing(0, pattern.tempo, pattern.swing);
    const double start = start_line(schedule, placement);
    offline->pattern.write(pattern);
    if (!render_offline(*offline, schedule.frame_at(start + step_columns * std::max(0, sweeps)), sink))
        return false;
    pattern_class silent = pattern;
    silent.cells = step_grid{};
    offline->pattern.write(silent);
    while (offline->sounding())
        if (!render_offline(*offline, offline->frame + offline->rate / 10, sink))
            return false;
    return true;
}

std::vector<float> render_pattern(const note_sounds_class& sounds, const pattern_class& pattern, int sweeps,
                                  note_placement placement, unsigned rate)
{
    std::vector<float> frames;
    render_pattern(sounds, pattern, sweeps, placement, rate, [&frames](const float* block, unsigned count) {
        frames.insert(frames.end(), block, block + 2 * count);
        return true;
    });
    return frames;
}

void update_play_line(instrument_class& instrument)
{
    const double heard = instrument.output->clock.frame_at(current_time());
    note_event note;
    while (instrument.mixer.events.peek(note) && static_cast<double>(note.frame) <= heard) {
        instrument.mixer.events.drop_oldest();
        // A pattern the program started with sounds from the start, but shows (and pulses) with the grid.
        if (note.cell < instrument.token_grid.size() && instrument.grid_shown)
            pulse(instrument, *instrument.token_grid[note.cell], note.element);
    }
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

void pulse(instrument_class& instrument, token_class& token, int element)
{
    Object& sprite = token.element_sprite;
    switch (element) {
    case earth_element:
        pulse_earth(sprite);
        break;
    case wind_element:
        pulse_wind(sprite);
        spawn_wind(instrument, sprite.x, sprite.y);
        break;
    case water_element:
        pulse_water(sprite);
        spawn_water(instrument, sprite.x, sprite.y);
        break;
    case fire_element:
        pulse_fire(sprite);
        spawn_flame(instrument, sprite.x, sprite.y);
        break;
    default:
        break;
    }
}
