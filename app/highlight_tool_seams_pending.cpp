// The program's stand-ins for net highlighting from the frame until it
// lands: each beeps and highlights nothing.
#include "app/frame_hub_seams.h"
#include "platform/user.h"

void HighlightNetAtCursor(HWND, int) { MessageBeep(0); }
void SetHighlightNetTool(HWND) { MessageBeep(0); }
void SetHighlightDestinationTool(HWND) { MessageBeep(0); }
