// A small seeded random sequence, so that brush texture and breath noise come out the same on every run.
#pragma once

#include <cstdint>

class noise_class
{
public:
    uint32_t state;

    explicit noise_class(uint32_t seed) : state(seed * 2654435761u + 1u) {}

    // Uniform in [0, 1).
    double next()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }

    // Uniform in [-1, 1).
    double next_signed() { return next() * 2.0 - 1.0; }
};
