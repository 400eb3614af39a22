#include "instrument/instrument.h"

#include "framework/app.h"

void instrument_setup()
{
    al_set_window_title(display, "Tolme - A Musical Instrument");
}

void instrument_update()
{
}

void instrument_draw()
{
}
