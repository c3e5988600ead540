// The program's stand-ins for the picking engine's calls of delete and pick
// (edit/selection_engine_seams.h) until picking lands: nothing is picked, so
// nothing is deleted.
#include "edit/selection_engine_seams.h"

int DeleteSelection(HWND) { return 0; }
void PickObjectAtCursor(HWND, ButtonRecord*, int) {}
