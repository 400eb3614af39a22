#include "support/fake_clock.h"

#include "math/clock.h"

static double fake_now = 0.0;

static double read_fake_clock()
{
    return fake_now;
}

fake_clock_class::fake_clock_class(double start)
{
    fake_now = start;
    set_clock(read_fake_clock);
}

fake_clock_class::~fake_clock_class()
{
    set_clock(nullptr);
}

void fake_clock_class::advance(double seconds)
{
    fake_now += seconds;
}

void fake_clock_class::set(double now)
{
    fake_now = now;
}

double fake_clock_class::now() const
{
    return fake_now;
}
