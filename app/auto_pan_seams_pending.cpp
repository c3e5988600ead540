// The program's stand-ins for what auto-pan calls in services not built yet:
// the strip render of the view redraw, the crosshair and the view's scroll
// bars. The strips keep what the layer plane held, no crosshair is drawn and
// the scroll bars stay as they are.
#include "draw/auto_pan_seams.h"

void RenderViewRect(void*, const pl3::Box*, int) {}
void DrawCrosshair(HWND, pl3::Point*) {}
void UpdateViewScrollBars(HWND) {}
