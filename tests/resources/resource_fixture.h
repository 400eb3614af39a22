// Fresh global bins for every test, fallbacks of known look, and small real files in a temporary folder.
#pragma once

#include "framework/app.h"
#include "math/colors.h"
#include "resources/bins.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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
        missing_image = filled_bitmap(4, 4, al_map_rgb(255, 0, 0));
        set_blend_mode(0, al_color_name("white"));
    }

    void TearDown() override
    {
        release_resources();
        al_destroy_font(fallback_font);
        al_destroy_bitmap(missing_image);
        fallback_font = nullptr;
        missing_image = nullptr;
        std::filesystem::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    static ALLEGRO_BITMAP* filled_bitmap(int w, int h, ALLEGRO_COLOR color)
    {
        ALLEGRO_BITMAP* bitmap = al_create_bitmap(w, h);
        ALLEGRO_STATE state;
        al_store_state(&state, ALLEGRO_STATE_TARGET_BITMAP);
        al_set_target_bitmap(bitmap);
        al_clear_to_color(color);
        al_restore_state(&state);
        return bitmap;
    }

    std::string write_png(const std::string& name, int w, int h, ALLEGRO_COLOR color) const
    {
        ALLEGRO_BITMAP* bitmap = filled_bitmap(w, h, color);
        EXPECT_TRUE(al_save_bitmap(path(name).c_str(), bitmap));
        al_destroy_bitmap(bitmap);
        return path(name);
    }

    // A short 16-bit mono PCM WAV.
    std::string write_wav(const std::string& name) const
    {
        const std::uint32_t frames = 64, rate = 22050, data_size = frames * 2;
        std::ofstream out(path(name), std::ios::binary);
        auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
        auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
        out << "RIFF";
        u32(36 + data_size);
        out << "WAVEfmt ";
        u32(16);
        u16(1);
        u16(1);
        u32(rate);
        u32(rate * 2);
        u16(2);
        u16(16);
        out << "data";
        u32(data_size);
        for (std::uint32_t i = 0; i < frames; ++i)
            u16(static_cast<std::uint16_t>(i % 2 ? 8000 : -8000));
        return path(name);
    }

    // A memory bitmap cleared to transparent black, made the target; restored by the caller's fixture end.
    static ALLEGRO_BITMAP* transparent_target(int w, int h)
    {
        ALLEGRO_BITMAP* target = filled_bitmap(w, h, al_map_rgba(0, 0, 0, 0));
        al_set_target_bitmap(target);
        return target;
    }
};
