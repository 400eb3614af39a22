// The F1 overlay: four lines of resource and object counts in the top-left corner, drawn over everything in
// the fallback font. While it is on, every drawn object also shows its outline.
#pragma once

#include "scene/stage_changes.h"

#include <array>
#include <string>

// Toggled by F1; while it is set the overlay is drawn and every object draws its outline.
extern bool debug_overlay;

// The four lines, built afresh from the bins' current counts.
std::array<std::string, 4> debug_overlay_lines();

// Draws the lines at (30, 30 + 25 i) in the current tint; glyph by glyph, never through the text cache.
void draw_debug_overlay();

// The band at the top of the stage that the lines lie in.
stage_rect debug_overlay_bounds();

// Whether the overlay is on and one of its counts differs from what it last drew.
bool debug_overlay_outdated();
