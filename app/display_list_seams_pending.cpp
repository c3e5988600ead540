// The program's stand-ins for the display list (draw/display_list_seams.h)
// until it lands: there is no list to take items off or put them on.
#include "draw/display_list_seams.h"

void* RemoveFromDisplayList(void*, const Tower*) { return nullptr; }
void PutEntityOnDisplayList(void*, const Tower*) {}
