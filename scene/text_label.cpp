#include "scene/text_label.h"

#include "resources/bins.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

// Every label alive, for rendering them again at a new scale.
static std::vector<text_label_class*> labels;
static float label_scale = 1.0f;

text_label_class::text_label_class()
{
    labels.push_back(this);
}

text_label_class::~text_label_class()
{
    labels.erase(std::find(labels.begin(), labels.end(), this));
    if (image)
        al_destroy_bitmap(image);
}

void text_label_class::show(const std::string& file, int size, const std::string& line)
{
    font_file = file;
    font_size = size;
    text = line;
    render();
}

void text_label_class::render()
{
    ALLEGRO_BITMAP* previous = image;
    const int size = static_cast<int>(std::lround(static_cast<float>(font_size) * label_scale));
    image_density = label_scale;
    set_image(fonts_bin.additive_text(font_file, size, text), true);
    if (previous && previous != image)
        al_destroy_bitmap(previous);
}

void render_labels_at(float scale)
{
    assert(scale > 0 && "the stage is shown at some size");
    label_scale = scale;
    for (text_label_class* label : labels)
        if (!label->text.empty())
            label->render();
}
