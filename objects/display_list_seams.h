// The active PCB window's display list as commands that store or delete items
// keep it current. Owned by the drawing code; until it lands the program links
// the stand-ins of app/display_list_seams_pending.cpp (nothing is listed) and
// tests link recording fakes.
#pragma once

struct Tower;

// Adds the drawable items of the entity to the display list (the block's
// `Display`); for a symbol the items of all its parts.
void PutEntityOnDisplayList(void* displayList, const Tower* entity);
// Removes the entity's items from the display list and frees them; returns
// the list, or null when the active window is no PCB window.
void* RemoveFromDisplayList(void* displayList, const Tower* entity);
