// Readable failure messages for Allegro values and our own value types.
#pragma once

#include "math/vec2d.h"

#include <allegro5/allegro.h>

#include <ostream>

inline void PrintTo(const ALLEGRO_COLOR& c, std::ostream* os)
{
    *os << "rgba(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

inline void PrintTo(const vec2d& v, std::ostream* os)
{
    *os << "(" << v.x << ", " << v.y << ")";
}
