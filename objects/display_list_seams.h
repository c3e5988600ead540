// What the design objects ask of the display list, the drawing code's store
// of what a PCB window shows. The put and remove are draw/display_list.cpp;
// the owned track and the working record's drawing have stand-ins in
// app/display_list_seams_pending.cpp until their owners land (nothing is
// added, so it shows at the next full redraw). Tests link the real ones or
// recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct EntityRecord;

// Adds the drawable items of the entity to the display list (the block's
// `Display`); for a symbol the items of all its parts.
void PutEntityOnDisplayList(void* displayList, const Tower* entity);
// Removes the entity's items from the display list and frees them; returns
// the list, or null when the active window is no PCB window.
void* RemoveFromDisplayList(void* displayList, const Tower* entity);
// Adds a track of the payload's width, owned by `owner`, to the active
// window's display list (draw pass 37).
void AddTrackToDisplayList(const void* track, const pl3::Transform* transform, int flags, const Tower* owner,
                           int last);
// Draws a working track record at once into the current target (draw passes
// 0 and 24) under the window's current transform.
void TransformItemBox(const EntityRecord* record);
