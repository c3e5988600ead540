// The program's stand-in for the rectangle selection
// (edit/rectangle_select_seams.h) until the picking code defines it: a
// rectangle selects nothing.
#include "edit/rectangle_select_seams.h"

int SelectItemsInRectangle(const RECT*) { return 0; }
