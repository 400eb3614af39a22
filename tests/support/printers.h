// Readable failure messages for Allegro values.
#pragma once

#include <allegro5/allegro.h>

#include <ostream>

inline void PrintTo(const ALLEGRO_COLOR& c, std::ostream* os)
{
    *os << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
