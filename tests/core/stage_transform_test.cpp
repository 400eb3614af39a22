#include "core/stage_transform.h"

#include <gtest/gtest.h>

// Uniform scale to the largest size that fits, the stage centred on whole pixels (down to one: 1200 - 937.5 is
// 262.5); points go there and back.
TEST(stage_transform, fits_the_stage_centred_and_maps_points_both_ways)
{
    const struct { int width, height; float scale, left, top; } cases[] = {
        {1024, 600, 1, 0, 0},     {1536, 900, 1.5f, 0, 0}, {1600, 600, 1, 288, 0}, {1024, 900, 1, 0, 150},
        {2048, 1201, 2, 0, 0},    {1025, 601, 1.000976f, 0, 0}, {100, 60, 100.0f / 1024, 0, 0},
        {3, 500, 3.0f / 1024, 0, 249}, {1600, 1200, 1.5625f, 0, 131}, {0, 0, 1, 0, 0}};
    for (const auto& c : cases) {
        const stage_transform_class t = stage_transform_class::fit(c.width, c.height);
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        EXPECT_NEAR(t.scale, c.scale, 1e-5);
        EXPECT_EQ(t.left, c.left);
        EXPECT_EQ(t.top, c.top);
        // The buffer holding the stage covers it and stays inside the window.
        EXPECT_GE(t.width(), 1024 * t.scale - 1e-3);
        EXPECT_GE(t.height(), 600 * t.scale - 1e-3);
        EXPECT_LE(t.left + t.width(), c.width > 0 ? c.width : 1024);
        EXPECT_LE(t.top + t.height(), c.height > 0 ? c.height : 600);
        for (float x : {0.0f, 381.6f, 1024.0f})
            EXPECT_NEAR(t.to_stage_x(t.to_window_x(x)), x, 1e-3);
        EXPECT_NEAR(t.to_stage_y(t.to_window_y(284.8f)), 284.8f, 1e-2);
    }
}

TEST(stage_transform, the_desktop_asks_for_a_scale_by_gdk_scale_or_a_high_xft_dpi)
{
    const struct { const char* gdk; const char* dpi; float scale; } cases[] = {
        {nullptr, nullptr, 1}, {"2", nullptr, 2}, {"2", "96", 2}, {"", "144", 1.5f}, {nullptr, "120", 1},
        {nullptr, "192", 2}, {"9", nullptr, 4}, {"0", nullptr, 1}, {nullptr, "junk", 1}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(desktop_scale(c.gdk, c.dpi), c.scale) << (c.gdk ? c.gdk : "-") << " " << (c.dpi ? c.dpi : "-");
    // The window opens at that scale where it fits the screen, else at the largest that fits, never below 1.
    EXPECT_FLOAT_EQ(opening_scale(1.5f, 1920, 1080), 1.5f);
    EXPECT_FLOAT_EQ(opening_scale(2, 1920, 1080), 1.8f);
    EXPECT_FLOAT_EQ(opening_scale(2, 800, 480), 1);
    EXPECT_FLOAT_EQ(opening_scale(2, 0, 0), 1);
}
