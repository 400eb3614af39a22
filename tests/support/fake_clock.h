// A hand-moved clock for tests of anything timed: while a fake_clock_class lives, current_time() reads it.
#pragma once

class fake_clock_class
{
public:
    explicit fake_clock_class(double start = 100.0);
    ~fake_clock_class();
    fake_clock_class(const fake_clock_class&) = delete;
    fake_clock_class& operator=(const fake_clock_class&) = delete;

    void advance(double seconds);
    void set(double now);
    double now() const;
};
