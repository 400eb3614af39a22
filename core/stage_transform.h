// The stage (1024 x 600, every layout is measured on it) shown in a window of any size: scaled uniformly to
// the largest size that fits, centred on whole pixels, the rest of the window left to the background. Mouse
// positions go back to the stage through the same transform, so a click lands on what is drawn under it.
#pragma once

class stage_transform_class
{
public:
    float scale = 1.0f;
    float left = 0.0f; // where the stage's top-left corner lands in the window, in whole pixels
    float top = 0.0f;

    // Fits the stage to a window of this size (a window of no size keeps the stage as it is).
    static stage_transform_class fit(int window_width, int window_height);

    // The stage's size in the window, in the whole pixels that hold it.
    int width() const;
    int height() const;

    float to_window_x(float stage_x) const { return left + stage_x * scale; }
    float to_window_y(float stage_y) const { return top + stage_y * scale; }
    float to_stage_x(float window_x) const { return (window_x - left) / scale; }
    float to_stage_y(float window_y) const { return (window_y - top) / scale; }
};

// The multiple of the stage's size a window should open at when the desktop asks for larger drawing: the
// GDK_SCALE it names (a whole number), or the X resources' Xft.dpi over 96 when that is 144 or more; 1
// otherwise. At most 4.
float desktop_scale(const char* gdk_scale, const char* xft_dpi);

// The scale a window opens at on a screen of this size: the one asked for where the stage at that scale fits
// the screen, else the largest that fits, never below 1 (the stage keeps its own size on a small screen).
float opening_scale(float asked, int screen_width_px, int screen_height_px);
