#include "math/clock.h"

#include <allegro5/allegro.h>

static clock_function active_clock = nullptr;

double current_time()
{
    return active_clock ? active_clock() : al_get_time();
}

void set_clock(clock_function clock)
{
    active_clock = clock;
}
