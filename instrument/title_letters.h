// The five-letter title on the start screen, painted as if with a brush: thirteen stroke sprites that share
// one anchor point and are wiped in one after another, glowing additively and swelling slowly. Hiding it
// fades a black curtain over the letters while they shrink, and switches them off.
#pragma once

#include "resources/manifest.h"
#include "scene/object.h"

class title_letters_class
{
public:
    bool showing = false;
    Object strokes[title_stroke_count];
    Object curtain;
    float title_x = 0;
    float title_y = 0;

    // Places every sprite with its strokes fully cropped away.
    void setup();
    // Starts the stroke wipes and the swell from the initial layout.
    void reveal();
    // Puts the title away; acts only while it is showing.
    void hide();
};
