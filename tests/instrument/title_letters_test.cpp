#include "instrument_fixture.h"

namespace {

class title_letters_test : public instrument_fixture
{
public:
    void SetUp() override
    {
        instrument_fixture::SetUp();
        title_letters.showing = false;
        title_letters.reveal();
    }

    void TearDown() override
    {
        title_letters.showing = false;
        instrument_fixture::TearDown();
    }

    // Each stroke is cropped along one edge only, so the sum is how much of it is still hidden.
    static float hidden_part(int i)
    {
        const Object& stroke = title_letters.strokes[i];
        return stroke.crop_left + stroke.crop_top + stroke.crop_right + stroke.crop_bottom;
    }

    static int title_tween_count()
    {
        int count = title_letters.curtain.animation_count();
        for (Object& stroke : title_letters.strokes)
            count += stroke.animation_count();
        return count;
    }
};

} // namespace

TEST_F(title_letters_test, set_up_stacks_every_sprite_on_one_point_with_strokes_hidden)
{
    EXPECT_FLOAT_EQ(title_letters.title_x, 512.0f);
    EXPECT_FLOAT_EQ(title_letters.title_y, 200.0f);
    for (int i = 0; i < title_stroke_count; ++i) {
        const Object& stroke = title_letters.strokes[i];
        EXPECT_FLOAT_EQ(hidden_part(i), 1.0f) << "stroke " << i;
        EXPECT_FLOAT_EQ(stroke.x, 512.0f);
        EXPECT_FLOAT_EQ(stroke.y, 200.0f);
        EXPECT_LT(stroke.z, title_letters.curtain.z);
        EXPECT_EQ(stroke.blend_mode, 1);
    }
    // Letters run left to right: anchors fall from the first stroke to the last.
    for (int i = 1; i < title_stroke_count; ++i)
        EXPECT_LE(title_letters.strokes[i].anchor_x, title_letters.strokes[i - 1].anchor_x);
    EXPECT_FLOAT_EQ(title_letters.curtain.opacity, 0.0f);
}

TEST_F(title_letters_test, after_one_point_one_seconds_the_fifth_stroke_is_being_wiped_in)
{
    advance(1.1);
    for (int i = 0; i <= 3; ++i)
        EXPECT_FLOAT_EQ(hidden_part(i), 0.0f) << "stroke " << i;
    EXPECT_GT(hidden_part(4), 0.0f);
    EXPECT_LT(hidden_part(4), 1.0f);
    for (int i = 5; i < title_stroke_count; ++i)
        EXPECT_FLOAT_EQ(hidden_part(i), 1.0f) << "stroke " << i;
}

TEST_F(title_letters_test, all_strokes_are_in_after_the_wipes_and_the_curtain_stays_off)
{
    advance(2.7);
    for (int i = 0; i < title_stroke_count; ++i)
        EXPECT_FLOAT_EQ(hidden_part(i), 0.0f) << "stroke " << i;
    EXPECT_FLOAT_EQ(title_letters.curtain.opacity, 0.0f);
    EXPECT_GT(title_letters.strokes[0].scale_x, 0.95f);
    EXPECT_LT(title_letters.strokes[0].scale_x, 1.04f);
    advance(3.5);
    EXPECT_FLOAT_EQ(title_letters.strokes[12].scale_y, 1.04f);
}

TEST_F(title_letters_test, hide_covers_shrinks_and_switches_off_the_letters)
{
    advance(3.0);
    title_letters.hide();
    EXPECT_FALSE(title_letters.showing);
    advance(1.0);
    EXPECT_FLOAT_EQ(title_letters.curtain.opacity, 1.0f);
    // The shrink came after the swell, so it decides the scale.
    EXPECT_FLOAT_EQ(title_letters.strokes[5].scale_x, 0.8f);
    EXPECT_FLOAT_EQ(title_letters.strokes[5].opacity, 1.0f);
    advance(0.2);
    for (const Object& stroke : title_letters.strokes)
        EXPECT_FLOAT_EQ(stroke.opacity, 0.0f);
}

TEST_F(title_letters_test, hiding_during_the_wipe_leaves_later_strokes_to_their_own_time)
{
    advance(0.5);
    title_letters.hide();
    advance(0.2);
    EXPECT_FLOAT_EQ(hidden_part(1), 0.0f);
    EXPECT_FLOAT_EQ(hidden_part(8), 1.0f);
    advance(0.8);
    EXPECT_FLOAT_EQ(title_letters.strokes[8].scale_x, 0.8f);
}

TEST_F(title_letters_test, a_second_hide_has_no_effect)
{
    title_letters.hide();
    const int tweens = title_tween_count();
    title_letters.hide();
    EXPECT_EQ(title_tween_count(), tweens);
}
