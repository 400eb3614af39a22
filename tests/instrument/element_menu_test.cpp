#include "instrument_fixture.h"

#include "resources/text.h"

#include <allegro5/allegro_color.h>

#include <cstdlib>

namespace {

class element_menu_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        build_element_buttons();
        advance(0.3);
    }
};

// Counts Allegro's live heap blocks, to see whether bitmaps that are replaced are also freed.
long live_blocks = 0;

void* counting_malloc(size_t n, int, const char*, const char*)
{
    ++live_blocks;
    return std::malloc(n);
}

void counting_free(void* ptr, int, const char*, const char*)
{
    if (ptr)
        --live_blocks;
    std::free(ptr);
}

void* counting_realloc(void* ptr, size_t n, int, const char*, const char*)
{
    if (!ptr)
        ++live_blocks;
    return std::realloc(ptr, n);
}

void* counting_calloc(size_t count, size_t n, int, const char*, const char*)
{
    ++live_blocks;
    return std::calloc(count, n);
}

ALLEGRO_MEMORY_INTERFACE counting_memory = {counting_malloc, counting_free, counting_realloc, counting_calloc};

// Live Allegro heap blocks gained while `work` runs.
template <typename F>
long blocks_gained(F work)
{
    live_blocks = 0;
    al_set_memory_interface(&counting_memory);
    work();
    al_set_memory_interface(nullptr);
    return live_blocks;
}

} // namespace

TEST_F(element_menu_test, buttons_sit_in_a_row_and_start_dimmed)
{
    const float centres[] = {287, 437, 587, 737};
    for (const element_info& info : elements) {
        element_button_class& button = *element_button(info.id);
        EXPECT_FLOAT_EQ(button.picture.x, centres[info.id - 1]);
        EXPECT_FLOAT_EQ(button.picture.y, 520);
        EXPECT_FLOAT_EQ(button.name_label.y, 555);
        EXPECT_EQ(button.count, 999);
        EXPECT_FLOAT_EQ(button.count_label.opacity, 0.0f);
        EXPECT_FLOAT_EQ(button.picture.scale_x, 0.8f);
        EXPECT_FLOAT_EQ(button.picture.opacity, 0.5f);
        EXPECT_FLOAT_EQ(button.shadow.scale_y, 0.6f);
        EXPECT_TRUE(same_colour(button.colour, al_color_name(info.colour_name)));
    }
    EXPECT_EQ(element_button(0), nullptr);
    EXPECT_EQ(element_button(5), nullptr);
}

TEST_F(element_menu_test, key_selects_highlights_and_moves_the_glow)
{
    press_keys({ALLEGRO_KEY_D});
    EXPECT_EQ(current_element, 3);
    advance(3.0);
    EXPECT_FLOAT_EQ(water_button.picture.scale_x, 1.1f);
    EXPECT_FLOAT_EQ(water_button.picture.opacity, 1.0f);
    EXPECT_FLOAT_EQ(water_button.shadow.scale_x, 0.9f);
    EXPECT_FLOAT_EQ(glow_sprite.x, 587.0f);
    EXPECT_TRUE(same_colour(glow_sprite.tint, al_color_name("royalblue")));
    EXPECT_FLOAT_EQ(earth_button.picture.scale_x, 0.8f);
}

TEST_F(element_menu_test, pressing_the_chosen_key_again_starts_nothing)
{
    press_keys({ALLEGRO_KEY_A});
    const int picture_tweens = earth_button.picture.animation_count();
    const int glow_tweens = glow_sprite.animation_count();
    press_keys({ALLEGRO_KEY_A});
    EXPECT_EQ(current_element, 1);
    EXPECT_EQ(earth_button.picture.animation_count(), picture_tweens);
    EXPECT_EQ(glow_sprite.animation_count(), glow_tweens);
}

TEST_F(element_menu_test, two_keys_in_one_tick_end_on_the_later_element)
{
    press_keys({ALLEGRO_KEY_A, ALLEGRO_KEY_F});
    EXPECT_EQ(current_element, 4);
    advance(3.0);
    EXPECT_FLOAT_EQ(fire_button.picture.scale_x, 1.1f);
    EXPECT_FLOAT_EQ(earth_button.picture.scale_x, 0.8f);
    EXPECT_FLOAT_EQ(earth_button.picture.opacity, 0.5f);
    EXPECT_FLOAT_EQ(glow_sprite.x, 737.0f);
    EXPECT_TRUE(same_colour(glow_sprite.tint, al_color_name("red")));
}

TEST_F(element_menu_test, clicks_choose_by_the_pictures_current_box)
{
    // Dimmed to 0.8 the wind picture is 80 wide: 45 right of its centre is outside.
    click_at(437 + 45, 520);
    EXPECT_EQ(current_element, 0);
    click_at(437 + 35, 520 + 20);
    EXPECT_EQ(current_element, 2);
    advance(0.3);
    // Chosen at 1.1 it is 110 wide; pick another element first so the click is a change.
    press_keys({ALLEGRO_KEY_F});
    click_at(437 + 54, 520);
    EXPECT_EQ(current_element, 2);
}

TEST_F(element_menu_test, a_click_between_buttons_chooses_nothing)
{
    click_at(362, 520);
    click_at(287, 400);
    EXPECT_EQ(current_element, 0);
}

TEST_F(element_menu_test, theme_tweens_run_to_the_last_choice)
{
    press_keys({ALLEGRO_KEY_F});
    advance(2.0);
    press_keys({ALLEGRO_KEY_S});
    advance(1.0);
    // The fire tweens have finished; the wind ones are a third of the way.
    EXPECT_GT(glow_sprite.x, 437.0f);
    EXPECT_LT(glow_sprite.x, 737.0f);
    EXPECT_FALSE(same_colour(overlay_sprite.tint, al_color_name("red")));
    advance(2.0);
    EXPECT_FLOAT_EQ(glow_sprite.x, 437.0f);
    EXPECT_TRUE(same_colour(glow_sprite.tint, al_color_name("lightblue")));
    EXPECT_FALSE(same_colour(overlay_sprite.tint, al_color_name("lightblue")));
    advance(1.0);
    EXPECT_TRUE(same_colour(overlay_sprite.tint, al_color_name("lightblue")));
}

TEST_F(element_menu_test, prompt_fades_in_late_and_out_once)
{
    setup_menu_prompt();
    EXPECT_EQ(fonts_bin.default_font_file, "data/fonts/TrajanPro-Regular.otf");
    EXPECT_EQ(fonts_bin.default_font_size, -15);
    EXPECT_FLOAT_EQ(menu_prompt.x, 512.0f);
    EXPECT_FLOAT_EQ(menu_prompt.y, 360.0f);
    EXPECT_NE(menu_prompt.image, nullptr);

    show_menu_prompt();
    show_menu_prompt();
    EXPECT_EQ(menu_prompt.opacity_anim.count(), 1);
    advance(3.9);
    EXPECT_FLOAT_EQ(menu_prompt.opacity, 0.0f);
    advance(0.45);
    EXPECT_GT(menu_prompt.opacity, 0.0f);
    EXPECT_LT(menu_prompt.opacity, 1.0f);
    advance(0.4);
    EXPECT_FLOAT_EQ(menu_prompt.opacity, 1.0f);

    hide_menu_prompt();
    advance(0.5);
    EXPECT_NEAR(menu_prompt.opacity, 0.5f, 0.01f);
    hide_menu_prompt();
    EXPECT_EQ(menu_prompt.opacity_anim.count(), 1);
    advance(0.5);
    EXPECT_FLOAT_EQ(menu_prompt.opacity, 0.0f);
}

TEST_F(element_menu_test, hiding_before_the_fade_in_jumps_to_full_and_fades_out)
{
    setup_menu_prompt();
    show_menu_prompt();
    advance(1.0);
    hide_menu_prompt();
    advance(0.0);
    EXPECT_FLOAT_EQ(menu_prompt.opacity, 1.0f);
    advance(4.0);
    EXPECT_FLOAT_EQ(menu_prompt.opacity, 0.0f);
}

TEST_F(element_menu_test, consume_stops_at_zero_and_flashes_the_count)
{
    earth_button.count = 1;
    EXPECT_TRUE(consume_element(1));
    EXPECT_EQ(earth_button.count, 0);
    EXPECT_FALSE(consume_element(1));
    EXPECT_EQ(earth_button.count, 0);
    advance(0.0);
    EXPECT_TRUE(same_colour(earth_button.count_label.tint, al_color_name("red")));
    advance(1.0);
    EXPECT_TRUE(same_colour(earth_button.count_label.tint, al_map_rgb(96, 96, 96)));
    EXPECT_FLOAT_EQ(earth_button.count_label.scale_x, 0.8f);
}

TEST_F(element_menu_test, refund_has_no_ceiling_and_other_ids_are_ignored)
{
    refund_element(4);
    EXPECT_EQ(fire_button.count, 1000);
    for (int id : {-1, 0, 5}) {
        EXPECT_FALSE(consume_element(id));
        refund_element(id);
    }
    for (const element_info& info : elements)
        EXPECT_EQ(element_button(info.id)->count, info.id == 4 ? 1000 : 999);
}

TEST_F(element_menu_test, count_label_shows_the_count_and_frees_the_bitmap_it_replaces)
{
    const int wide = al_get_bitmap_width(wind_button.count_label.image);
    for (int i = 0; i < 990; ++i)
        consume_element(2);
    EXPECT_LT(al_get_bitmap_width(wind_button.count_label.image), wide); // "9" is narrower than "999"
    EXPECT_EQ(wind_button.count_label.width, al_get_bitmap_width(wind_button.count_label.image));

    const long gained = blocks_gained([] {
        for (int i = 0; i < 20; ++i) {
            consume_element(2);
            refund_element(2);
        }
    });
    EXPECT_EQ(gained, 0);
}

TEST_F(element_menu_test, rebuilding_the_buttons_and_prompt_frees_their_old_labels)
{
    setup_menu_prompt();
    const long gained = blocks_gained([] {
        for (int i = 0; i < 5; ++i) {
            build_element_buttons();
            setup_menu_prompt();
        }
    });
    EXPECT_EQ(gained, 0);
}

TEST_F(element_menu_test, release_frees_the_labels_and_the_prompt)
{
    setup_menu_prompt();
    release_element_menu();
    EXPECT_EQ(menu_prompt.image, nullptr);
    for (const element_info& info : elements) {
        EXPECT_EQ(element_button(info.id)->name_label.image, nullptr);
        EXPECT_EQ(element_button(info.id)->count_label.image, nullptr);
    }
}
