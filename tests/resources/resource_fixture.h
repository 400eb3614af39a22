// Fresh global bins for every test, fallbacks of known look, a font that is surely there, and small real files
// in a temporary folder.
#pragma once

#include "math/colors.h"
#include "resources/bins.h"
#include "resources/fallbacks.h"
#include "support/test_bitmaps.h"

#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

inline const std::string test_font_file = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class resource_fixture : public ::testing::Test
{
public:
    std::filesystem::path folder;

    void SetUp() override
    {
        char pattern[] = "/tmp/tolme_resources_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        release_resources();
        fallback_font = al_load_ttf_font(test_font_file.c_str(), -20, 0);
        ASSERT_NE(fallback_font, nullptr);
        missing_image = make_bitmap(4, 4, al_map_rgb(255, 0, 0)).release();
        set_blend_mode(blend_normal, al_map_rgb(255, 255, 255));
    }

    void TearDown() override
    {
        release_resources();
        al_destroy_font(std::exchange(fallback_font, nullptr));
        al_destroy_bitmap(std::exchange(missing_image, nullptr));
        std::filesystem::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
};
