#include "instrument/elements.h"

#include "resources/manifest.h"

const element_info elements[element_count] = {
    {earth_element, "EARTH", element_images[0].path, "olivedrab", ALLEGRO_KEY_A},
    {wind_element, "WIND", element_images[1].path, "lightblue", ALLEGRO_KEY_S},
    {water_element, "WATER", element_images[2].path, "royalblue", ALLEGRO_KEY_D},
    {fire_element, "FIRE", element_images[3].path, "red", ALLEGRO_KEY_F},
};

bool is_element(int id)
{
    return id >= 1 && id <= element_count;
}

const element_info& element(int id)
{
    return elements[id - 1];
}
