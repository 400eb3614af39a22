#include "instrument/elements.h"

const element_info elements[element_count] = {
    {1, "EARTH", "data/images/earth4.png", "olivedrab", ALLEGRO_KEY_A},
    {2, "WIND", "data/images/wind3.png", "lightblue", ALLEGRO_KEY_S},
    {3, "WATER", "data/images/water.png", "royalblue", ALLEGRO_KEY_D},
    {4, "FIRE", "data/images/fire.png", "red", ALLEGRO_KEY_F},
};

bool is_element(int id)
{
    return id >= 1 && id <= element_count;
}

const element_info& element(int id)
{
    return elements[id - 1];
}
