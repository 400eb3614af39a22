#include "instrument/note_playing.h"
#include "visuals/token.h"

#include "instrument/instrument_fixture.h"
#include "resources/drawing.h"

namespace {

const char* const bead_file = "data/images/black_bead_opaque_A.png";
// Stand-in bead: at the token scale of 0.8 its hit box is 16 x 16 around the sprite's centre.
constexpr int bead_size = 20;

input_snapshot buttons_at(int x, int y, bool left, bool right)
{
    input_snapshot snapshot = input_snapshot().at(x, y);
    snapshot.mouse.buttons = (left ? 1 : 0) | (right ? 2 : 0);
    return snapshot;
}

class token_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        build_element_buttons();
        graphics_bin.loaded[bead_file] = al_create_bitmap(bead_size, bead_size);
        // Watch both buttons before the first fed snapshot.
        update_token_clicks();
    }

    void TearDown() override
    {
        delete_token_grid();
        instrument_fixture::TearDown();
    }

    // A press seen by the token clicks on this tick, then all buttons up on a quiet tick.
    static void click(int x, int y, bool left, bool right)
    {
        feed(buttons_at(x, y, left, right));
        update_token_clicks();
        feed(buttons_at(x, y, false, false));
        update_token_clicks();
    }

    static int tokens_holding(int id)
    {
        int count = 0;
        for (const token_class* token : token_grid)
            count += token->element == id ? 1 : 0;
        return count;
    }
};

TEST_F(token_test, grid_is_column_major_with_rows_numbered_from_the_bottom)
{
    create_token_grid(grid_scale);
    ASSERT_EQ(token_grid.size(), 128u);
    EXPECT_EQ(grid_width, 819.2001342773438f);
    EXPECT_NE(grid_width, 819.2f);

    const token_class& t = *token_grid[26]; // column 3, row 2
    EXPECT_FLOAT_EQ(t.bead.x - 25.6f, 253.6f);
    EXPECT_FLOAT_EQ(t.bead.x, 279.2f);
    EXPECT_FLOAT_EQ(t.bead.y, 182.4f);
    EXPECT_EQ(t.element_sprite.x, t.bead.x);
    EXPECT_EQ(t.element_sprite.y, t.bead.y);
    EXPECT_EQ(t.note_index, 5);
    EXPECT_EQ(token_grid[0]->note_index, 7);
    EXPECT_EQ(token_grid[7]->note_index, 0);
    EXPECT_FLOAT_EQ(token_grid[8]->bead.x, 100.0f + 51.2f + 25.6f);
    EXPECT_FLOAT_EQ(token_grid[127]->bead.x, 100.0f + 15 * 51.2f + 25.6f);
}

TEST_F(token_test, new_token_is_empty_with_its_image_cropped_away_and_its_bead_dark)
{
    token_class t(100.0f, 80.0f, 3);
    EXPECT_EQ(t.element, 0);
    EXPECT_TRUE(t.hovered);
    EXPECT_EQ(t.element_sprite.crop_top, 1.0f);
    EXPECT_EQ(t.bead.opacity, 0.0f);
    EXPECT_EQ(t.bead.blend_mode, 1);
    EXPECT_GT(t.bead.z, t.element_sprite.z);
    EXPECT_FLOAT_EQ(t.bead.get_left(), 125.6f - 8.0f);
    EXPECT_FLOAT_EQ(t.bead.get_bottom(), 80.0f + 8.0f);
    EXPECT_EQ(t.element_sprite.scale_x, 0.8f);
    EXPECT_EQ(t.element_sprite.anchor_y, 0.5f);
}

TEST_F(token_test, placing_takes_one_from_the_menu_and_uncovers_the_image_upwards)
{
    token_class t(100.0f, 80.0f, 3);
    water_button.count = 2;
    t.place_element(3);
    EXPECT_EQ(t.element, 3);
    EXPECT_EQ(water_button.count, 1);
    EXPECT_EQ(t.element_sprite.image, get_image("data/images/water.png"));
    advance(0.15);
    EXPECT_GT(t.element_sprite.crop_top, 0.0f);
    EXPECT_LT(t.element_sprite.crop_top, 1.0f);
    EXPECT_EQ(t.element_sprite.opacity, 1.0f);
    advance(0.15);
    EXPECT_EQ(t.element_sprite.crop_top, 0.0f);

    t.place_element(3);
    t.place_element(1);
    EXPECT_EQ(t.element, 3);
    EXPECT_EQ(water_button.count, 1);
}

TEST_F(token_test, clearing_gives_the_element_back_and_hides_the_image_from_the_top)
{
    token_class t(100.0f, 80.0f, 3);
    water_button.count = 1;
    t.place_element(3);
    advance(0.5);
    t.clear_element();
    EXPECT_EQ(t.element, 0);
    EXPECT_EQ(water_button.count, 1);
    advance(0.1);
    EXPECT_EQ(t.element_sprite.opacity, 1.0f); // the fade waits 0.15 s
    EXPECT_GT(t.element_sprite.crop_top, 0.0f);
    advance(0.2);
    EXPECT_EQ(t.element_sprite.crop_top, 1.0f);
    EXPECT_EQ(t.element_sprite.opacity, 0.0f);

    t.clear_element();
    EXPECT_EQ(water_button.count, 1);
}

TEST_F(token_test, nothing_is_placed_when_the_menu_has_none_left)
{
    token_class t(100.0f, 80.0f, 3);
    fire_button.count = 0;
    t.place_element(4);
    EXPECT_EQ(t.element, 0);
    EXPECT_EQ(fire_button.count, 0);
    t.place_element(0);
    t.place_element(5);
    EXPECT_EQ(t.element, 0);
}

TEST_F(token_test, placing_right_after_a_clear_leaves_the_element_visible)
{
    token_class t(100.0f, 80.0f, 3);
    t.place_element(2);
    advance(0.5);
    t.clear_element();
    advance(0.05);
    t.place_element(2);
    for (int frame = 0; frame < 20; ++frame)
        advance(0.05);
    EXPECT_EQ(t.element, 2);
    EXPECT_EQ(t.element_sprite.opacity, 1.0f);
    EXPECT_EQ(t.element_sprite.crop_top, 0.0f);
}

TEST_F(token_test, a_left_click_places_on_the_one_token_under_the_mouse)
{
    create_token_grid(grid_scale);
    current_element = 3;
    water_button.count = 5;
    click(279, 182, true, false); // token 26
    EXPECT_EQ(token_grid[26]->element, 3);
    EXPECT_EQ(tokens_holding(3), 1);
    EXPECT_EQ(water_button.count, 4);

    click(279 + 9, 182, true, false); // beside the 16-pixel bead
    click(10, 10, true, false);
    EXPECT_EQ(tokens_holding(3), 1);

    click(279, 182, false, true);
    EXPECT_EQ(token_grid[26]->element, 0);
    EXPECT_EQ(water_button.count, 5);
}

TEST_F(token_test, holding_a_button_does_not_click_again)
{
    create_token_grid(grid_scale);
    current_element = 1;
    earth_button.count = 5;
    feed(buttons_at(279, 182, true, false));
    update_token_clicks();
    feed(buttons_at(279, 182, true, true)); // left still held, right goes down: a right click only
    update_token_clicks();
    EXPECT_EQ(token_grid[26]->element, 0);
    feed(buttons_at(279, 182, true, true));
    update_token_clicks();
    EXPECT_EQ(token_grid[26]->element, 0);
    EXPECT_EQ(earth_button.count, 5);
}

TEST_F(token_test, overlapping_beads_answer_in_grid_order_and_left_wins_over_right)
{
    token_grid.push_back(new token_class(200.0f, 200.0f, 1));
    token_grid.push_back(new token_class(205.0f, 200.0f, 2));
    current_element = 4;
    fire_button.count = 5;
    const int x = 232; // inside both beads
    click(x, 200, true, false);
    EXPECT_EQ(token_grid[0]->element, 4);
    EXPECT_EQ(token_grid[1]->element, 0);

    click(x, 200, true, false); // the first token holds one: nothing else happens
    EXPECT_EQ(token_grid[1]->element, 0);
    EXPECT_EQ(fire_button.count, 4);

    click(x, 200, true, true);
    EXPECT_EQ(token_grid[0]->element, 4);

    click(x + 5, 200, true, false); // only the second token's bead reaches here
    EXPECT_EQ(token_grid[1]->element, 4);
}

} // namespace
