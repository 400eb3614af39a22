#include "instrument_fixture.h"

#include "visuals/element_effects.h"
#include "visuals/token.h"

namespace {

// Beads are 64 wide, 51.2 at the grid's scale: token (column, row) is centred on
// (125.6 + 51.2 column, 80 + 51.2 row).
constexpr int bead_size = 64;

int token_centre_x(int column)
{
    return static_cast<int>(125.6 + 51.2 * column);
}

int token_centre_y(int row)
{
    return static_cast<int>(80 + 51.2 * row);
}

token_class& token_at_cell(int column, int row)
{
    return *token_grid[static_cast<size_t>(column * grid_rows + row)];
}

// Never handed to Allegro: with no display the cursor is only chosen, not shown.
char arrow_stand_in;
char pointer_stand_in;

class instrument_update_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        graphics_bin.loaded["data/images/black_bead_opaque_A.png"] = al_create_bitmap(bead_size, bead_size);
        create_token_grid(grid_scale);
        build_element_buttons();
        setup_menu_prompt();
        show_menu_prompt();
        title_letters.reveal();
        arrow_cursor = reinterpret_cast<ALLEGRO_MOUSE_CURSOR*>(&arrow_stand_in);
        pointer_cursor = reinterpret_cast<ALLEGRO_MOUSE_CURSOR*>(&pointer_stand_in);
        advance(0.3);
    }

    void TearDown() override
    {
        arrow_cursor = nullptr;
        pointer_cursor = nullptr;
        clear_effects();
        delete_token_grid();
        title_letters.showing = false;
        instrument_fixture::TearDown();
    }

    // One frame's input and update, the mouse resting at (x, y).
    void tick_at(int x, int y, input_snapshot snapshot = input_snapshot())
    {
        feed(snapshot.at(x, y));
        instrument_update();
    }

    void choose_earth_at(int x, int y)
    {
        tick_at(x, y, input_snapshot().key(ALLEGRO_KEY_A));
        tick_at(x, y);
    }
};

} // namespace

TEST_F(instrument_update_test, before_a_choice_only_buttons_take_the_pointer)
{
    tick_at(587, 520);
    EXPECT_EQ(update_hover_and_cursor(), pointer_cursor);
    tick_at(token_centre_x(3), token_centre_y(2));
    EXPECT_EQ(update_hover_and_cursor(), arrow_cursor);
    EXPECT_EQ(token_at_cell(3, 2).bead.animation_count(), 0);
    tick_at(10, 10);
    EXPECT_EQ(update_hover_and_cursor(), arrow_cursor);
}

TEST_F(instrument_update_test, choosing_fades_in_every_bead_away_from_the_mouse)
{
    choose_earth_at(10, 10);
    advance(0.2);
    for (token_class* token : token_grid) {
        EXPECT_FALSE(token->hovered);
        EXPECT_FLOAT_EQ(token->bead.opacity, 0.4f);
    }
}

TEST_F(instrument_update_test, a_bead_brightens_once_under_the_mouse_and_dims_when_it_leaves)
{
    choose_earth_at(10, 10);
    advance(0.2);
    token_class& token = token_at_cell(5, 4);
    const int x = token_centre_x(5), y = token_centre_y(4);
    tick_at(x, y);
    EXPECT_EQ(update_hover_and_cursor(), pointer_cursor);
    ASSERT_EQ(token.bead.opacity_anim.count(), 1);
    const auto* brightening = token.bead.opacity_anim.animators[0];
    advance(0.1);
    tick_at(x, y);
    ASSERT_EQ(token.bead.opacity_anim.count(), 1);
    EXPECT_EQ(token.bead.opacity_anim.animators[0], brightening); // held still: the tween runs on
    advance(0.1);
    EXPECT_FLOAT_EQ(token.bead.opacity, 0.7f);
    EXPECT_EQ(token_at_cell(5, 3).bead.animation_count(), 0);

    tick_at(10, 10);
    EXPECT_EQ(update_hover_and_cursor(), arrow_cursor);
    advance(0.2);
    EXPECT_FLOAT_EQ(token.bead.opacity, 0.4f);
}

TEST_F(instrument_update_test, a_choice_and_a_click_in_one_tick_place_the_new_element)
{
    const int x = token_centre_x(0), y = token_centre_y(0);
    tick_at(x, y, input_snapshot().left_button());
    tick_at(x, y);
    EXPECT_EQ(token_at_cell(0, 0).element, 0); // no element chosen yet

    tick_at(x, y, input_snapshot().left_button().key(ALLEGRO_KEY_A));
    EXPECT_EQ(token_at_cell(0, 0).element, 1);
    EXPECT_EQ(earth_button.count, 998);
}

TEST_F(instrument_update_test, the_title_and_prompt_go_away_once_and_stay_away)
{
    choose_earth_at(10, 10);
    EXPECT_FALSE(prompt_shown);
    EXPECT_FALSE(title_letters.showing);
    const int prompt_tweens = menu_prompt.animation_count();
    const int curtain_tweens = title_letters.curtain.animation_count();
    tick_at(10, 10, input_snapshot().key(ALLEGRO_KEY_F));
    tick_at(10, 10, input_snapshot().key(ALLEGRO_KEY_A));
    EXPECT_EQ(current_element, 1);
    EXPECT_FALSE(prompt_shown);
    EXPECT_FALSE(title_letters.showing);
    EXPECT_EQ(menu_prompt.animation_count(), prompt_tweens);
    EXPECT_EQ(title_letters.curtain.animation_count(), curtain_tweens);
}

TEST_F(instrument_update_test, finished_effects_are_removed_in_one_tick)
{
    spawn_wind(300, 300);
    spawn_wind(400, 300);
    spawn_flame(500, 300);
    advance(0.1);
    tick_at(10, 10);
    EXPECT_EQ(wind_effects.size(), 2u);
    advance(20.0);
    tick_at(10, 10);
    EXPECT_TRUE(wind_effects.empty());
    EXPECT_TRUE(flame_effects.empty());
}
