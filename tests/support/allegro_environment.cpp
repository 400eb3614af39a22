// Brings Allegro up once for the whole test program: no display, so every bitmap is a memory bitmap and
// drawing can be checked by reading pixels back.
#include "math/colors.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class allegro_environment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, nullptr));
        al_init_font_addon();
        al_init_image_addon();
        al_init_ttf_addon();
        al_init_primitives_addon();
        // Loading a sample crashes unless audio was installed once; OpenAL Soft's null device needs no sound
        // card. No voice is made: the tests render the mixer themselves, and stopping an OpenAL voice can
        // hang (Allegro's voice thread signals its end without the lock its stopper waits under).
        setenv("ALSOFT_DRIVERS", "null", 0);
        al_install_audio();
        al_init_acodec_addon();
        al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
        use_straight_alpha_bitmaps();
    }

    // OpenAL Soft asserts at process exit if its device is still open.
    void TearDown() override { al_uninstall_audio(); }
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new allegro_environment);

} // namespace
