// Whether the stage's picture may differ from the one last drawn. Every change of what the objects bin
// shows marks it: an object registered or unregistered, an image set, a tween holder whose field moved or
// was set to another value in the tick's update. The frame loop draws only a marked stage and clears the
// mark once it has drawn; a stage never drawn counts as changed.
#pragma once

void mark_stage_changed();
bool stage_changed();
void clear_stage_changed();
