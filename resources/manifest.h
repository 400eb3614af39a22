// Every data file the program loads, named once: the generator writes or copies each of them, the build
// installs them, and the program and the tests name them only through these. Paths are as the program asks
// for them, under "data/"; sizes are those the generator draws. Plain constants, so that the generator can
// read them without Allegro.
#pragma once

#include <string>

struct data_image
{
    const char* path;
    int width;
    int height;
};

// The element pictures (tokens and buttons), by element: EARTH, WIND, WATER, FIRE.
constexpr data_image element_images[4] = {{"data/images/earth4.png", 64, 64},
                                          {"data/images/wind3.png", 64, 64},
                                          {"data/images/water.png", 64, 64},
                                          {"data/images/fire.png", 64, 64}};
constexpr data_image bead_image = {"data/images/black_bead_opaque_A.png", 64, 64};
constexpr data_image drop_shadow_image = {"data/images/dropshadow.png", 100, 48};
constexpr data_image air_puff_image = {"data/images/air_effect.png", 72, 72};
constexpr data_image droplet_image = {"data/images/water_droplets.png", 24, 24};
constexpr data_image flame_tongue_image = {"data/images/flame2.png", 48, 24};
constexpr data_image flame_core_image = {"data/images/main_flame2.png", 64, 80};
constexpr data_image glow_image = {"data/images/healthy_glow.png", 420, 180};
constexpr data_image overlay_image = {"data/images/overlay_pretty.png", 1024, 600};
constexpr data_image arrow_cursor_image = {"data/images/mouse_cursor.png", 32, 32};
constexpr data_image pointer_cursor_image = {"data/images/pointer_cursor.png", 32, 32};
constexpr data_image icon_image = {"data/images/tolme_icon.png", 64, 64};
// The keyboard's cursor on the grid: a white ring, edged in black, tinted by the chosen element.
constexpr data_image grid_cursor_image = {"data/images/grid_cursor.png", 64, 64};
constexpr data_image missing_image_file = {"data/missing_image.png", 64, 64};
// The title's strokes, letter by letter (cells 1.6, 2, 1, 1.5 and 1.5 units of 80 px wide), and the curtain.
constexpr int title_stroke_count = 13;
constexpr data_image title_stroke_images[title_stroke_count] = {
    {"data/images/t1.png", 128, 160}, {"data/images/t2.png", 128, 160}, {"data/images/t3.png", 128, 160},
    {"data/images/o1_a.png", 160, 160}, {"data/images/o2_a.png", 160, 160}, {"data/images/l1.png", 80, 160},
    {"data/images/l2.png", 80, 160},  {"data/images/l3.png", 80, 160},  {"data/images/m1.png", 120, 160},
    {"data/images/m2.png", 120, 160}, {"data/images/e1.png", 120, 160}, {"data/images/e2.png", 120, 160},
    {"data/images/e3.png", 120, 160}};
constexpr data_image curtain_image = {"data/images/black_brick.png", 580, 190};

constexpr const char* missing_sample_file = "data/missing_sample.wav";
constexpr const char* select_sound_file = "data/sounds/select.wav";
// The note sets by element (WIND's is "air"), eight notes each, note 0 the lowest.
constexpr int note_set_count = 4;
constexpr const char* note_set_names[note_set_count] = {"earth", "air", "water", "fire"};
constexpr int notes_per_set = 8;
// The scale every set plays, as MIDI note numbers: C major pentatonic from C4 (60) to E5.
constexpr int note_pitches[notes_per_set] = {60, 62, 64, 67, 69, 72, 74, 76};

// "data/sounds/<set>_<note>.wav" for set 0 to 3 (EARTH, WIND, WATER, FIRE).
inline std::string note_sound_file(int set, int note)
{
    return std::string("data/sounds/") + note_set_names[set] + "_" + std::to_string(note) + ".wav";
}

// The fonts, each a copy of a font Debian ships, under the name the program asks for.
struct data_font
{
    const char* path;
    const char* debian_file;
};
constexpr data_font menu_font_file = {"data/fonts/TrajanPro-Regular.otf",
                                      "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Regular.otf"};
constexpr data_font count_font_file = {"data/fonts/TrajanPro-Bold.otf",
                                       "/usr/share/fonts/opentype/ebgaramond/EBGaramond12-Bold.otf"};
constexpr data_font fallback_font_file = {"data/lacuna.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"};

// Everything above, for the generator to write and the tests to check.
constexpr const data_image* all_images[] = {
    &element_images[0], &element_images[1], &element_images[2], &element_images[3], &bead_image,
    &drop_shadow_image, &air_puff_image, &droplet_image, &flame_tongue_image, &flame_core_image, &glow_image,
    &overlay_image, &arrow_cursor_image, &pointer_cursor_image, &icon_image, &grid_cursor_image, &missing_image_file,
    &title_stroke_images[0], &title_stroke_images[1], &title_stroke_images[2], &title_stroke_images[3],
    &title_stroke_images[4], &title_stroke_images[5], &title_stroke_images[6], &title_stroke_images[7],
    &title_stroke_images[8], &title_stroke_images[9], &title_stroke_images[10], &title_stroke_images[11],
    &title_stroke_images[12], &curtain_image};
constexpr const data_font* all_fonts[] = {&menu_font_file, &count_font_file, &fallback_font_file};
