// How images are sampled when drawn. At the stage's own size they are sampled nearest and placed on whole
// pixels, every pixel as it was made; scaled to a window of another size they are filtered linearly, so that
// edges stay smooth rather than stepped. The choice holds for every image loaded and every bitmap made from
// then on, and loaded images are converted to it in place (their handles stay the same).
#pragma once

void filter_images(bool smooth);
