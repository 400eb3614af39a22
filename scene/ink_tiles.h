// The parts of an image that hold any colour: light added from black adds nothing, so an additive image
// drawn unscaled need only be drawn where it is not black (the window's frame is black inside).
#pragma once

#include "scene/stage_changes.h"

#include <allegro5/allegro.h>

#include <vector>

// Rows of 32 x 32 tiles, each run of tiles with a pixel that is not black as one rectangle, in the image's
// pixels, top to bottom and left to right.
std::vector<stage_rect> ink_tiles(ALLEGRO_BITMAP* image);
