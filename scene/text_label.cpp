#include "scene/text_label.h"

#include "resources/bins.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <set>
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

int text_label_class::rendered_size() const
{
    return static_cast<int>(std::lround(static_cast<float>(font_size) * label_scale));
}

void text_label_class::render()
{
    ALLEGRO_BITMAP* previous = image;
    image_density = label_scale;
    set_image(fonts_bin.additive_text(font_file, rendered_size(), text), true);
    if (previous && previous != image)
        al_destroy_bitmap(previous);
}

void render_labels_at(float scale)
{
    assert(scale > 0 && "the stage is shown at some size");
    label_scale = scale;
    std::set<font_key> shown;
    for (text_label_class* label : labels)
        if (!label->text.empty()) {
            label->render();
            shown.insert({label->font_file, label->rendered_size()});
        }
    // The fonts of the sizes shown before go: a window dragged through many sizes would keep one for each.
    fonts_bin.keep_fonts(shown);
}
