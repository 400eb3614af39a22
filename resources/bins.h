// The three global bins through which every image, sample and font is fetched by file name.
#pragma once

#include "resources/loaders.h"
#include "resources/resource_bin.h"
#include "resources/text.h"

#include <string>

using image_bin_class = resource_bin_class<std::string, ALLEGRO_BITMAP*, image_loader_class>;
using sample_bin_class = resource_bin_class<std::string, ALLEGRO_SAMPLE*, sample_loader_class>;

extern font_bin_class fonts_bin;
extern image_bin_class graphics_bin;
extern sample_bin_class samples_bin;

// Frees every loaded resource and cached text and empties the bins, while Allegro is still installed; the
// bins' destructors then find nothing.
void release_resources();
