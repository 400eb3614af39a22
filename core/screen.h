// The stage's size: every layout is measured on it, and a window of any size shows it scaled to fit.
#pragma once

constexpr int screen_width = 1024;
constexpr int screen_height = 600;
