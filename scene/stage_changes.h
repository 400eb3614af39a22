// Which parts of the stage's picture may differ from the one last drawn. Every change of what the objects
// bin shows marks a region: an object registered, moved, faded, given a new image or unregistered marks the
// pixels it covered when last drawn and those it covers now; whatever is not an object (the overlay, a
// window shown again) marks the whole stage. The frame loop draws only the marked parts, each clipped to
// itself, and clears the marks once it has drawn; a stage never drawn counts as changed all over.
#pragma once

#include <vector>

// Whole pixels, right and bottom excluded; empty when it covers none.
struct stage_rect
{
    int left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool overlaps(const stage_rect& other) const;
    // The smallest rectangle holding both.
    void add(const stage_rect& other);
    // The part of it inside the other.
    stage_rect within(const stage_rect& other) const;
    bool operator==(const stage_rect& other) const;
};

stage_rect whole_stage();

void mark_stage_changed();
void mark_region_changed(const stage_rect& region);
// A few rectangles within the stage that together hold every marked pixel (whole tiles of 32 units, so a
// little more); none when nothing changed.
std::vector<stage_rect> changed_parts();
void clear_stage_changed();
