// Stage units and the drawing target's pixels, through the transform in force on the target: the stage is
// laid out and its changes are kept in stage units, while clipping and whole-pixel placement happen in the
// target's pixels. Under the identity transform (the stage at its own size) the two are the same.
#pragma once

#include "math/vec2d.h"
#include "scene/stage_changes.h"

// Clips the target to the pixels the region covers, whole pixels outward.
void clip_to_region(const stage_rect& region);
// The target's clipping rectangle on the stage, whole units outward.
stage_rect clipped_region();
// The point moved to the nearest corner of a whole target pixel.
vec2d on_whole_pixels(float x, float y);
