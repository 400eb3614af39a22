// A hand-moved clock for tests of anything timed: while a fake_clock_class lives, current_time() reads it.
#pragma once

#include "math/clock.h"

class fake_clock_class
{
public:
    explicit fake_clock_class(double start = 100.0)
    {
        reading = start;
        set_clock([] { return reading; });
    }
    ~fake_clock_class() { set_clock(nullptr); }

    void advance(double seconds) { reading += seconds; }
    void set(double now) { reading = now; }
    double now() const { return reading; }

private:
    static inline double reading = 0.0;
};
