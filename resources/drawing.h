// Bitmaps and samples by file name, through graphics_bin and samples_bin: a missing image is drawn as
// missing_image, a missing sample is silence.
#pragma once

#include <allegro5/allegro.h>

#include <string>

// The loaded bitmap, or nullptr when the file cannot be loaded.
ALLEGRO_BITMAP* get_image(const std::string& file);
bool has_image(const std::string& file);

// missing_image unscaled with its top-left corner at (x, y).
void draw_missing_image(float x, float y);

// The bitmap scaled by scale and rotated by angle (radians) about the point pivot*(w, h) inside it, which
// lands on (x, y). A missing file draws missing_image with its corner at (x, y) instead.
void draw_image(const std::string& file, float x, float y, float pivot, float scale, float angle);

class mixer_class;

// Plays the sample through the mixer from its next buffer on; a missing one is silence.
void play_sample(mixer_class& mixer, const std::string& file, float gain, float pan);
// Loads the file now, also when it is already loaded or was missed.
void preload_sample(const std::string& file);
