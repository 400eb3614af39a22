// Which part of the stage's picture may differ from the one last drawn. Every change of what the objects bin
// shows marks a region: an object registered, moved, faded, given a new image or unregistered marks the
// pixels it covered when last drawn and those it covers now; whatever is not an object (the overlay, a
// window shown again) marks the whole stage. The frame loop draws only the marked region, clipped to it,
// and clears the mark once it has drawn; a stage never drawn counts as changed all over.
#pragma once

// Whole pixels, right and bottom excluded; empty when it covers none.
struct stage_rect
{
    int left = 0, top = 0, right = 0, bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    bool overlaps(const stage_rect& other) const;
    // The smallest rectangle holding both.
    void add(const stage_rect& other);
};

stage_rect whole_stage();

void mark_stage_changed();
void mark_region_changed(const stage_rect& region);
// The marked region within the stage; empty when nothing changed.
stage_rect changed_region();
void clear_stage_changed();
