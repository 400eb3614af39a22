#include "instrument/instrument.h"

#include "framework/app.h"
#include "visuals/object.h"

int current_element = 0;
float grid_scale = 0.8f;
float grid_origin_x = 100.0f;
Object glow_sprite;
Object overlay_sprite;

void instrument_setup()
{
    al_set_window_title(display, "Tolme - A Musical Instrument");
}

void instrument_update()
{
}

// Everything visible is an object of the bin, already in depth order.
void instrument_draw()
{
    for (Object* object : objects_bin)
        object->draw();
}
