// The window's size: the off-screen buffer and every layout on the stage are measured against it.
#pragma once

constexpr int screen_width = 1024;
constexpr int screen_height = 600;
