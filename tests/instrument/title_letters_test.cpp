#include "instrument_fixture.h"

using title_letters_test = instrument_fixture;

// The wipes themselves are screenshot by the title's end-to-end test. Put away, the title is covered by the
// curtain, shrinks (the shrink came after the swell, so it decides the scale) and is switched off with the
// curtain, once.
TEST_F(title_letters_test, once_written_the_strokes_are_covered_shrunk_and_switched_off_once)
{
    title_letters_class& title = instrument->title_letters;
    title.reveal();
    advance(3.0);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 0.0f);
    title.hide();
    advance(0.5);
    title.hide();
    advance(0.5);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 1.0f);
    for (const Object& stroke : title.strokes) {
        EXPECT_LT(stroke.z, title.curtain.z);
        EXPECT_FLOAT_EQ(stroke.crop_left + stroke.crop_top + stroke.crop_right + stroke.crop_bottom, 0.0f);
        EXPECT_FLOAT_EQ(stroke.scale_x, 0.8f);
        EXPECT_FLOAT_EQ(stroke.opacity, 1.0f);
    }
    // Then the curtain goes with them: it would cover only black.
    advance(0.2);
    for (const Object& stroke : title.strokes)
        EXPECT_FLOAT_EQ(stroke.opacity, 0.0f);
    EXPECT_FLOAT_EQ(title.curtain.opacity, 0.0f);
}

// Laid out by their anchors alone, the five letters' cells follow each other without gaps or overlaps, and
// the curtain at its scale covers them at the top of their swell, with a margin.
TEST_F(title_letters_test, the_letters_form_one_even_row_under_the_curtain)
{
    title_letters_class& title = instrument->title_letters;
    title.setup();
    std::vector<std::pair<float, float>> cells; // left and right of each letter
    float anchor = 0;
    for (const Object& stroke : title.strokes) {
        ASSERT_GT(stroke.width, 0);
        if (cells.empty() || stroke.anchor_x != anchor)
            cells.emplace_back(stroke.get_left(), stroke.get_right());
        EXPECT_EQ(std::make_pair(stroke.get_left(), stroke.get_right()), cells.back()) << "a stroke off its letter";
        anchor = stroke.anchor_x;
    }
    ASSERT_EQ(cells.size(), 5u);
    const float row = cells.back().second - cells.front().first;
    for (std::size_t i = 0; i + 1 < cells.size(); ++i)
        EXPECT_NEAR(cells[i].second, cells[i + 1].first, 0.01f * row) << "after letter " << i;
    const float reach = 1.04f * std::max(title.title_x - cells.front().first, cells.back().second - title.title_x);
    EXPECT_GE(title.curtain.get_scaled_width() / 2 - 16, reach);
    EXPECT_GE(title.curtain.get_scaled_height() / 2 - 16, 1.04f * title.strokes[0].get_scaled_height() / 2);
}
