#include "instrument_fixture.h"

namespace {

using title_letters_test = instrument_fixture;

// Each stroke is cropped along one edge only, so the sum is how much of it is still hidden.
float hidden_part(int i)
{
    const Object& stroke = instrument->title_letters.strokes[i];
    return stroke.crop_left + stroke.crop_top + stroke.crop_right + stroke.crop_bottom;
}

} // namespace

TEST_F(title_letters_test, strokes_are_wiped_in_one_after_another_then_covered_shrunk_and_switched_off_once)
{
    instrument->title_letters.reveal();
    for (const Object& stroke : instrument->title_letters.strokes)
        EXPECT_LT(stroke.z, instrument->title_letters.curtain.z);
    advance(1.1); // strokes 0 to 3 are in, the fifth is on its way, the rest wait
    EXPECT_FLOAT_EQ(hidden_part(3), 0.0f);
    EXPECT_GT(hidden_part(4), 0.0f);
    EXPECT_LT(hidden_part(4), 1.0f);
    EXPECT_FLOAT_EQ(hidden_part(5), 1.0f);
    advance(1.9);
    for (int i = 0; i < title_stroke_count; ++i)
        EXPECT_FLOAT_EQ(hidden_part(i), 0.0f) << "stroke " << i;
    EXPECT_FLOAT_EQ(instrument->title_letters.curtain.opacity, 0.0f);
    EXPECT_GT(instrument->title_letters.strokes[5].scale_x, 0.95f); // swelling

    instrument->title_letters.hide();
    advance(0.5);
    instrument->title_letters.hide();
    advance(0.5);
    EXPECT_FLOAT_EQ(instrument->title_letters.curtain.opacity, 1.0f);
    // The shrink came after the swell, so it decides the scale.
    EXPECT_FLOAT_EQ(instrument->title_letters.strokes[5].scale_x, 0.8f);
    EXPECT_FLOAT_EQ(instrument->title_letters.strokes[5].opacity, 1.0f);
    advance(0.2);
    for (const Object& stroke : instrument->title_letters.strokes)
        EXPECT_FLOAT_EQ(stroke.opacity, 0.0f);
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
