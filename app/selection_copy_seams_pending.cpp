// The program's stand-ins for the selection operations of the copy and
// rotation rules until the selection engine's land: nothing is dropped and
// nothing is rotated.
#include "app/frame_hub_seams.h"
#include "platform/user.h"

void DropUncopyableSelections(HWND, SelectionInfo**) {}
void RotateCurrentItemSelection(HWND) { MessageBeep(0); }
