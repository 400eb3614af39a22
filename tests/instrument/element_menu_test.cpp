// The start menu: choosing an element, its prompt and labels, and what a choice wakes in the instrument.
#include "instrument_fixture.h"

#include <atomic>
#include <cstdlib>

namespace {

// The start menu as the program opens it: the buttons dimmed, the title being written, the prompt on its way.
class element_menu_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        advance(0.3);
        setup_menu_prompt(*instrument);
        show_menu_prompt(*instrument);
        instrument->title_letters.reveal();
    }

    void click(int x, int y) { press(input_snapshot().at(x, y).left_button()); }

    // One frame's input and update with the mouse resting at (x, y).
    void tick_at(int x, int y, input_snapshot snapshot = input_snapshot()) { tick(snapshot.at(x, y)); }
};

// Allegro's live heap blocks, to see whether bitmaps that are replaced are also freed.
std::atomic<long> live_blocks{0};

ALLEGRO_MEMORY_INTERFACE counting_memory = {
    [](size_t n, int, const char*, const char*) { ++live_blocks; return std::malloc(n); },
    [](void* p, int, const char*, const char*) { live_blocks -= p ? 1 : 0; std::free(p); },
    [](void* p, size_t n, int, const char*, const char*) { live_blocks += p ? 0 : 1; return std::realloc(p, n); },
    [](size_t count, size_t n, int, const char*, const char*) { ++live_blocks; return std::calloc(count, n); }};

// The pictures sit 150 apart from x 287 at y 520, and a click counts on a picture's box as it is now: dimmed
// to 0.8 the wind picture is 80 x 48, and right after another choice the fire picture is still highlighted,
// 110 wide. Of keys pressed in one tick the later element wins, and the glow moves under it; choosing the chosen
// one again restarts nothing. A key chooses when it goes down, not while it is held.
TEST_F(element_menu_test, keys_and_clicks_on_a_pictures_current_box_choose_the_later_element_once)
{
    click(437 + 45, 520);
    click(437, 520 + 25);
    EXPECT_EQ(instrument->current_element, no_element);
    click(437 + 35, 520 + 20);
    EXPECT_EQ(instrument->current_element, wind_element);
    press(input_snapshot().key(ALLEGRO_KEY_A).key(ALLEGRO_KEY_F));
    EXPECT_EQ(instrument->current_element, fire_element);
    advance(3.0);
    EXPECT_FLOAT_EQ(instrument->glow_sprite.x, instrument->fire_button.picture.x) << "the glow follows the choice";
    const int tweens = instrument->fire_button.picture.animation_count() + instrument->glow_sprite.animation_count();
    press(input_snapshot().key(ALLEGRO_KEY_F));
    EXPECT_EQ(instrument->fire_button.picture.animation_count() + instrument->glow_sprite.animation_count(), tweens);
    // A held on while S goes down and comes back up leaves WIND chosen.
    for (const input_snapshot& held : {input_snapshot().key(ALLEGRO_KEY_A),
                                       input_snapshot().key(ALLEGRO_KEY_A).key(ALLEGRO_KEY_S),
                                       input_snapshot().key(ALLEGRO_KEY_A)})
        tick(held);
    EXPECT_EQ(instrument->current_element, wind_element);
    click(737 + 54, 520);
    EXPECT_EQ(instrument->current_element, fire_element);
}

TEST_F(element_menu_test, prompt_fades_in_late_and_out_once)
{
    show_menu_prompt(*instrument);
    EXPECT_EQ(instrument->menu_prompt.opacity_anim.count(), 1);
    advance(3.9);
    EXPECT_FLOAT_EQ(instrument->menu_prompt.opacity, 0.0f);
    advance(0.8);
    EXPECT_FLOAT_EQ(instrument->menu_prompt.opacity, 1.0f);
    hide_menu_prompt(*instrument);
    advance(0.5);
    hide_menu_prompt(*instrument); // acts only while shown
    advance(0.5);
    EXPECT_FLOAT_EQ(instrument->menu_prompt.opacity, 0.0f);
}

TEST_F(element_menu_test, labels_free_every_bitmap_they_replace)
{
    live_blocks = 0;
    al_set_memory_interface(&counting_memory);
    for (int i = 0; i < 5; ++i) {
        instrument->wind_button.show_count(998);
        instrument->wind_button.show_count(999);
        build_element_buttons(*instrument);
        setup_menu_prompt(*instrument);
    }
    al_set_memory_interface(nullptr);
    // Allegro's audio thread may hold a block of its own across the window; a leaked label bitmap would leave
    // dozens behind, a few for every cycle.
    EXPECT_LT(live_blocks, 5);
}

TEST_F(element_menu_test, a_choice_wakes_the_tokens_puts_title_and_prompt_away_for_good_and_bursts_end)
{
    spawn_flame(*instrument, 500, 300);
    token_class& token = *instrument->token_grid[5 * grid_rows + 4]; // centred on (381.6, 284.8)
    tick_at(381, 284);
    advance(0.3);
    EXPECT_EQ(token.bead.opacity, 0.0f) << "tokens wait for a choice";
    EXPECT_TRUE(instrument->prompt_shown && instrument->title_letters.showing);
    // Chosen in the same tick as a click, the element lands at once.
    tick_at(381, 284, input_snapshot().left_button().key(ALLEGRO_KEY_A));
    EXPECT_EQ(token.shown, earth_element);
    EXPECT_FALSE(instrument->prompt_shown);
    EXPECT_FALSE(instrument->title_letters.showing);
    const int tweens = instrument->menu_prompt.animation_count() + instrument->title_letters.curtain.animation_count();
    tick_at(10, 10, input_snapshot().key(ALLEGRO_KEY_F));
    tick_at(10, 10, input_snapshot().key(ALLEGRO_KEY_A));
    EXPECT_EQ(instrument->menu_prompt.animation_count() + instrument->title_letters.curtain.animation_count(), tweens);

    // Every bead away from the mouse dims in; the one under it brightens once and dims when it leaves.
    advance(0.2);
    for (token_class* each : instrument->token_grid)
        EXPECT_FLOAT_EQ(each->bead.opacity, 0.4f);
    tick_at(381, 284);
    advance(0.1);
    tick_at(381, 284); // held still: the tween runs on
    advance(0.1);
    EXPECT_FLOAT_EQ(token.bead.opacity, 0.7f);
    tick_at(10, 10);
    advance(1.0);
    EXPECT_FLOAT_EQ(token.bead.opacity, 0.4f);
    tick_at(10, 10);
    EXPECT_TRUE(instrument->flame_effects.empty());
}

} // namespace
