// What the drawing code asks of a PCB window's display list, whose code is
// built elsewhere: taking an entity's items off the list and putting the
// entity back on it after a change. Stand-ins in
// app/display_list_seams_pending.cpp until the display list lands.
#pragma once

struct Tower;

// Removes and frees the items of one entity; returns the list, or null when
// the active window is no PCB window.
void* RemoveFromDisplayList(void* list, const Tower* entity);
// Puts the entity (its stored record, under the placement in force) on the list.
void PutEntityOnDisplayList(void* list, const Tower* entity);
