// Overlap of two scene objects in world coordinates, on their whole scaled boxes (crop and flips ignored):
// unrotated pairs as axis-aligned boxes, any rotated pair as oriented rectangles by separating axes.
#pragma once

class Object;

class center_box
{
public:
    float center_x = 0, center_y = 0;
    float half_width = 0, half_height = 0;
};

// Touching edges count as overlapping.
bool collides_with(const Object& a, const Object& b);
center_box center_box_of(const Object& o);
bool boxes_touch(const center_box& p, const center_box& q);
bool outlines_overlap(const Object& a, const Object& b);
