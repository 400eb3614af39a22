// The four elements as the menu, the tokens and the note playing know them.
#pragma once

#include <allegro5/allegro.h>

// What current_element and the tokens hold.
enum element_id {
    no_element = 0,
    earth_element = 1,
    wind_element = 2,
    water_element = 3,
    fire_element = 4,
};

struct element_info
{
    element_id id;
    const char* name;
    const char* picture;
    const char* color_name;
    int key;
};

constexpr int element_count = 4;

// In screen order: EARTH, WIND, WATER, FIRE.
extern const element_info elements[element_count];

// Whether id names one of the four elements.
bool is_element(int id);
// The element's entry; id must be 1 to 4.
const element_info& element(int id);
