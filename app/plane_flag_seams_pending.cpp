// The program's stand-in for the plane fixing click of mode 47
// (edit/picking_tool_seams.h) until the track tools build it: a beep.
#include "edit/picking_tool_seams.h"
#include "platform/user.h"

void TogglePlaneFlag() { MessageBeep(0); }
