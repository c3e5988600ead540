// The program's stand-ins for the rotation rules' selection operations until
// the selection engine's land: nothing is rotated.
#include "app/frame_hub_seams.h"
#include "platform/user.h"

void RotateCurrentItemSelection(HWND) { MessageBeep(0); }
