// The four elements as the menu, the tokens and the note playing know them.
#pragma once

#include <allegro5/allegro.h>

struct element_info
{
    int id;
    const char* name;
    const char* picture;
    const char* colour_name;
    int key;
};

constexpr int element_count = 4;

// Ids 1 to 4 in screen order: EARTH, WIND, WATER, FIRE.
extern const element_info elements[element_count];

// Whether id names one of the four elements.
bool is_element(int id);
// The element's entry; id must be 1 to 4.
const element_info& element(int id);
