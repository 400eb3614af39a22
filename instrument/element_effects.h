// Element bursts: when the play line triggers a WIND, WATER or FIRE token, a short burst of sprites is spawned
// at it (a double puff of air, a splash of droplets with a ring, flame tongues around a flaring core). A burst
// is only sprites whose tweens all start in its constructor; the objects bin advances and draws them, and the
// instrument deletes the burst once its finished() test holds.
#pragma once

#include "scene/object.h"

#include <array>
#include <vector>

class wind_animation_class
{
public:
    Object puff_a; // inner puff
    Object puff_b; // outer puff, drifts right; decides when the burst is finished

    wind_animation_class(float x, float y);
    bool finished() const;
};

class water_animation_class
{
public:
    std::array<Object, 9> droplets; // droplet 5 is also the burst's clock
    Object ring;
    float lifetime = 1.0f; // seconds; scales the droplets' durations and distances
    float origin_x = 0;
    float origin_y = 0;

    water_animation_class(float x, float y);
    bool finished() const;
    void setup_droplet(Object& droplet);
};

class flame_animation_class
{
public:
    std::array<Object, 3> tongues; // tongue 0 decides when the burst is finished
    Object core;
    float origin_x = 0;
    float origin_y = 0;

    flame_animation_class(float x, float y);
    bool finished() const;
    void setup_tongue(Object& tongue, float size);
};

class instrument_class;

void spawn_wind(instrument_class& instrument, float x, float y);
void spawn_water(instrument_class& instrument, float x, float y);
void spawn_flame(instrument_class& instrument, float x, float y);

// Deletes every finished burst, wind first, then water, then flame; the others keep their order.
void remove_finished_effects(instrument_class& instrument);
