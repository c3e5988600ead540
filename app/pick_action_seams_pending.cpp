// The program's stand-ins for the selection's object select and copy picks
// (edit/pick_action_seams.h) until they land: nothing is selected or copied.
#include "edit/pick_action_seams.h"

int SelectObject(const Tower*, std::uint8_t) { return 0; }
void CopyPickedItem(HWND, const Tower*) {}
void CopyPickedItemStep(HWND, const Tower*, int) {}
