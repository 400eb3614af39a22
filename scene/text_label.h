// A line of text on the stage: an object whose image is the text rendered additively (white on black, to be
// tinted) at the size it has in the window, that is its font size times the scale the stage is shown at, and
// drawn at that scale's inverse, so that it keeps its size on the stage and its glyphs stay sharp. Every label
// is rendered again when the scale changes. The label owns its image.
#pragma once

#include "scene/object.h"

#include <string>

class text_label_class : public Object
{
public:
    std::string font_file;
    int font_size = 0; // on the stage, as Allegro's font sizes: negative for pixels
    std::string text;

    text_label_class();
    ~text_label_class();
    text_label_class(const text_label_class&) = delete;
    text_label_class& operator=(const text_label_class&) = delete;

    void show(const std::string& file, int size, const std::string& line);
    // Renders the text again for the scale now in force.
    void render();
    // The font size the text is rendered at, in the window's pixels.
    int rendered_size() const;
};

// The scale text is rendered for; every label is rendered again for it.
void render_labels_at(float scale);
