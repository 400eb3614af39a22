// The wall clock that tweens and the play line read: Allegro's al_get_time, unless a test
// has put a fake clock in its place.
#pragma once

using clock_function = double (*)();

// Seconds since Allegro started (or the fake clock's reading).
double current_time();

// Replaces the clock; nullptr restores al_get_time.
void set_clock(clock_function clock);
