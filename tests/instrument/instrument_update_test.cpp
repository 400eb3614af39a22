#include "instrument_fixture.h"

namespace {

class instrument_update_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        setup_menu_prompt(*instrument);
        show_menu_prompt(*instrument);
        instrument->title_letters.reveal();
        update = instrument_update;
    }

    // One frame's input and update with the mouse resting at (x, y).
    void tick_at(int x, int y, input_snapshot snapshot = input_snapshot()) { tick(snapshot.at(x, y)); }
};

} // namespace

TEST_F(instrument_update_test, a_choice_wakes_the_tokens_puts_title_and_prompt_away_for_good_and_bursts_end)
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
