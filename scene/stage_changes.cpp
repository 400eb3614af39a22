#include "scene/stage_changes.h"

static bool changed = true;

void mark_stage_changed()
{
    changed = true;
}

bool stage_changed()
{
    return changed;
}

void clear_stage_changed()
{
    changed = false;
}
