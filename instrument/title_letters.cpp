#include "instrument/title_letters.h"

#include "core/screen.h"
#include "resources/manifest.h"

namespace {

using reveal_field = animated_value_class<float> Object::*;

struct stroke_info
{
    const char* image;
    float anchor_x; // lays the letters out in a row around the common anchor point
    reveal_field reveal;
    double delay_units;
    double duration_units;
    easing_curve curve;
};

const stroke_info stroke_table[title_stroke_count] = {
    {title_stroke_images[0].path, 2.7f, &Object::crop_bottom_anim, 1.0, 0.6, curve_ease_out},
    {title_stroke_images[1].path, 2.7f, &Object::crop_right_anim, 2.0, 0.6, curve_ease_out},
    {title_stroke_images[2].path, 2.7f, &Object::crop_bottom_anim, 3.0, 0.6, curve_ease_out},
    {title_stroke_images[3].path, 1.35f, &Object::crop_right_anim, 4.0, 1.0, curve_ease_out_in},
    {title_stroke_images[4].path, 1.35f, &Object::crop_left_anim, 5.2, 0.6, curve_ease_out},
    {title_stroke_images[5].path, 0.7f, &Object::crop_bottom_anim, 6.0, 0.6, curve_ease_out},
    {title_stroke_images[6].path, 0.7f, &Object::crop_left_anim, 7.0, 0.4, curve_ease_out},
    {title_stroke_images[7].path, 0.7f, &Object::crop_right_anim, 7.5, 0.4, curve_ease_out},
    {title_stroke_images[8].path, -0.2f, &Object::crop_bottom_anim, 8.0, 0.6, curve_ease_out},
    {title_stroke_images[9].path, -0.2f, &Object::crop_bottom_anim, 9.0, 1.2, curve_ease_out_in_twice},
    {title_stroke_images[10].path, -1.2f, &Object::crop_bottom_anim, 10.5, 0.6, curve_ease_out},
    {title_stroke_images[11].path, -1.2f, &Object::crop_bottom_anim, 11.5, 0.6, curve_ease_out},
    {title_stroke_images[12].path, -1.2f, &Object::crop_left_anim, 12.5, 0.6, curve_ease_out},
};

// The wipe timing unit is a float on purpose: delays are multiples of 0.2f (0.20000000298...), not of 0.2.
const float wipe_unit = 0.2f;

void scale_both(Object& sprite, float from, float to, double delay, double duration, easing_curve curve)
{
    sprite.scale_x_anim.animate(from, to, delay, duration, curve);
    sprite.scale_y_anim.animate(from, to, delay, duration, curve);
}

} // namespace

void title_letters_class::setup()
{
    title_x = static_cast<float>(screen_width / 2);
    title_y = static_cast<float>(screen_height / 2 - 100);
    for (int i = 0; i < title_stroke_count; ++i)
        strokes[i].set_image(stroke_table[i].image, true);
    curtain.set_image(curtain_image.path, true);

    curtain.z_anim.set(-5.0f);
    curtain.opacity_anim.set(0.0f);
    curtain.move_to(title_x, title_y);
    curtain.scale_x_anim.set(1.5f);
    curtain.scale_y_anim.set(1.4f);
    curtain.set_anchor(0.5f, 0.5f);

    for (int i = 0; i < title_stroke_count; ++i) {
        Object& stroke = strokes[i];
        // Below the curtain, so the curtain covers them when the title is put away.
        stroke.z_anim.set(curtain.z - 1.0f);
        stroke.blend_mode = blend_additive;
        stroke.move_to(title_x, title_y);
        stroke.set_anchor(stroke_table[i].anchor_x, 0.5f);
        (stroke.*stroke_table[i].reveal).set(1.0f);
    }
}

void title_letters_class::reveal()
{
    setup();
    showing = true;
    const double unit = wipe_unit;
    for (int i = 0; i < title_stroke_count; ++i) {
        const stroke_info& info = stroke_table[i];
        (strokes[i].*info.reveal)
            .animate(1.0f, 0.0f, unit * info.delay_units, unit * info.duration_units, info.curve);
    }
    for (Object& stroke : strokes)
        scale_both(stroke, 0.95f, 1.04f, 0.0, 6.0, curve_ease_in_out);
}

void title_letters_class::hide()
{
    if (!showing)
        return;
    showing = false;
    curtain.opacity_anim.animate(0.0f, 1.0f, 0.0, 1.0, curve_ease_in_cubic);
    // Once the letters are gone the black curtain covers only black: it goes with them, so that it is not
    // drawn for nothing under the grid every frame.
    curtain.opacity_anim.animate(1.0f, 0.0f, 1.1, 0.0, curve_linear);
    for (Object& stroke : strokes) {
        stroke.scale_x_anim.animate_to(0.8f, 1.0, curve_ease_in_cubic);
        stroke.scale_y_anim.animate_to(0.8f, 1.0, curve_ease_in_cubic);
        stroke.opacity_anim.animate(1.0f, 0.0f, 1.1, 0.0, curve_linear);
    }
}
