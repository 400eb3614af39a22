#include "resources/bins.h"

// Defined together so that their construction order is fixed.
font_bin_class fonts_bin;
image_bin_class graphics_bin;
sample_bin_class samples_bin;

void release_resources()
{
    samples_bin.release();
    graphics_bin.release();
    fonts_bin.release();
}
