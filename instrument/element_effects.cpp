#include "instrument/element_effects.h"

#include "instrument/instrument.h"
#include "math/numeric.h"
#include "resources/manifest.h"

static const char* const puff_image = air_puff_image.path;
static const char* const ring_image = element_images[2].path;
static const char* const core_image = flame_core_image.path;
static const char* const tongue_image = flame_tongue_image.path;

wind_animation_class::wind_animation_class(float x, float y)
{
    puff_a.set_image(puff_image, true);
    puff_a.move_to(x, y);
    puff_a.set_anchor(0.5f, 0.5f);
    puff_a.blend_mode = blend_additive;
    puff_b.set_image(puff_image, true);
    puff_b.blend_mode = blend_additive;
    puff_b.move_to(x, y);
    puff_b.set_anchor(0.5f, 0.5f);

    puff_a.scale_x_anim.animate(0.9f, 1.3f, 0.0, 1.0, curve_ease_out);
    puff_a.scale_y_anim.animate(0.9f, 1.3f, 0.0, 1.0, curve_ease_out);
    puff_a.opacity_anim.animate(1.0f, 0.0f, 0.0, 1.0, curve_ease_out);

    // The outer puff flattens while it drifts right.
    puff_b.opacity_anim.animate(1.0f, 0.0f, 0.0, 1.2, curve_linear);
    puff_b.scale_x_anim.animate(1.1f, 1.5f, 0.0, 1.2, curve_ease_out);
    puff_b.scale_y_anim.animate(1.1f, 0.5f, 0.0, 1.2, curve_ease_out);
    puff_b.x_anim.animate(x, static_cast<float>(x + 10.0), 0.0, 1.2, curve_ease_out);

    puff_b.z_anim.set(2.0f);
    puff_a.z_anim.set(2.0f);
}

bool wind_animation_class::finished() const
{
    return !puff_b.is_visible();
}

water_animation_class::water_animation_class(float x, float y)
{
    lifetime = 1.0f;
    origin_x = x;
    origin_y = y;
    for (Object& droplet : droplets)
        setup_droplet(droplet);

    ring.move_to(x, y);
    ring.align_center();
    ring.align_middle();
    ring.set_image(ring_image, true);
    ring.z_anim.set(-1.0f);
    ring.scale_x_anim.animate(1.0f, 2.0f, 0.0, 0.5, curve_ease_out);
    ring.scale_y_anim.animate(1.0f, 2.0f, 0.0, 0.5, curve_ease_out);
    ring.opacity_anim.animate(0.5f, 0.0f, 0.0, 0.5, curve_ease_out);

    // Added after the droplet's own fade, this one decides its opacity: a linear fade over exactly lifetime.
    Object& clock = droplets[5];
    clock.opacity_anim.set(1.0f);
    clock.opacity_anim.animate(1.0f, 0.0f, 0.0, lifetime, curve_linear);
}

bool water_animation_class::finished() const
{
    return droplets[5].opacity == 0.0f;
}

// The order of the random draws below is fixed, so that a run can be replayed from its seed.
void water_animation_class::setup_droplet(Object& droplet)
{
    const auto random_duration = [this] { return static_cast<double>(random_float(0.7f, 1.0f)) * lifetime; };
    const auto grow = [&](animated_value_class<float>& scale) {
        const double duration = random_duration();
        const float target = random_float(0.8f, 3.0f);
        scale.animate_to(target, duration, curve_ease_out);
    };
    const auto drift = [&](animated_value_class<float>& position) {
        const double duration = random_duration();
        const double distance = static_cast<double>(random_float(0.0f, 20.0f)) * lifetime;
        const int sign = random_sign();
        position.animate_by(static_cast<float>(sign * distance), duration, curve_ease_out);
    };

    droplet.set_image(droplet_image.path, true);
    droplet.move_to(origin_x, origin_y);
    droplet.flip_horizontal_anim.set(random_bool());
    droplet.flip_vertical_anim.set(random_bool());
    droplet.set_anchor(0.5f, 0.5f);
    droplet.scale_x_anim.set(random_float(0.3f, 1.2f));
    droplet.scale_y_anim.set(random_float(0.3f, 1.2f));
    droplet.rotation_anim.set(random_float(0.0f, 6.2831854820251465f));
    droplet.opacity_anim.set(1.0f);
    const float a = random_float(0.8f, 1.0f);
    const float g = random_float(0.4f, 0.6f);
    const float r = random_float(0.0f, 0.6f);
    droplet.tint_anim.set(al_map_rgba_f(r, g, 1.0f, a));
    droplet.z_anim.set(-1.0f);
    droplet.opacity_anim.animate_to(0.0f, random_duration(), curve_ease_in_cubic);
    grow(droplet.scale_x_anim);
    grow(droplet.scale_y_anim);
    drift(droplet.x_anim);
    drift(droplet.y_anim);
}

flame_animation_class::flame_animation_class(float x, float y)
{
    origin_x = x;
    origin_y = y;
    // A third of a turn apart.
    tongues[0].rotation_anim.set(0.0f);
    tongues[1].rotation_anim.set(2.094395160675049f);
    tongues[2].rotation_anim.set(4.188790321350098f);

    core.set_image(core_image, true);
    core.set_anchor(0.5f, 0.75f);
    core.scale_x_anim.set(0.2f);
    core.scale_y_anim.set(0.2f);
    core.opacity_anim.set(1.0f);
    core.blend_mode = blend_additive;
    core.move_to(x, y);
    // Pops up with an overshoot, keeps growing, and fades from 0.3 s.
    core.scale_x_anim.animate(0.2f, 1.3f, 0.0, 0.4, curve_overshoot);
    core.scale_y_anim.animate(0.2f, 1.3f, 0.0, 0.4, curve_overshoot);
    core.scale_x_anim.animate(1.3f, 1.4f, 0.4, 0.5, curve_ease_in);
    core.scale_y_anim.animate(1.3f, 1.4f, 0.4, 0.5, curve_ease_in);
    core.opacity_anim.animate(1.0f, 0.0f, 0.3, 0.5, curve_ease_out);

    for (Object& tongue : tongues)
        setup_tongue(tongue, 1.0f);
}

bool flame_animation_class::finished() const
{
    return !tongues[0].is_visible();
}

void flame_animation_class::setup_tongue(Object& tongue, float size)
{
    tongue.set_image(tongue_image, true);
    // The anchor lies right of the image, so turning the tongue swings it around the spawn point.
    tongue.set_anchor(1.3f, 0.5f);
    tongue.scale_x_anim.set(0.2f);
    tongue.scale_y_anim.set(0.2f);
    tongue.move_to(origin_x, origin_y);
    tongue.blend_mode = blend_additive;
    tongue.rotation_anim.animate_by(static_cast<float>(size * -3.141592653589793), 0.7, curve_ease_out_twice);
    tongue.opacity_anim.animate(1.0f, 0.0f, 0.0, 0.7, curve_ease_in);
    tongue.scale_x_anim.animate(0.2f, size, 0.0, 0.7, curve_ease_out);
    tongue.scale_y_anim.animate(0.2f, size, 0.0, 0.7, curve_ease_out);
}

void spawn_wind(instrument_class& instrument, float x, float y)
{
    instrument.wind_effects.push_back(new wind_animation_class(x, y));
}

void spawn_water(instrument_class& instrument, float x, float y)
{
    instrument.water_effects.push_back(new water_animation_class(x, y));
}

void spawn_flame(instrument_class& instrument, float x, float y)
{
    instrument.flame_effects.push_back(new flame_animation_class(x, y));
}

template <typename T>
static void remove_finished(std::vector<T*>& effects)
{
    for (size_t i = 0; i < effects.size();) {
        if (effects[i]->finished()) {
            delete effects[i];
            effects.erase(effects.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
}

void remove_finished_effects(instrument_class& instrument)
{
    remove_finished(instrument.wind_effects);
    remove_finished(instrument.water_effects);
    remove_finished(instrument.flame_effects);
}

