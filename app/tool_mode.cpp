// Ending the current tool. Kept in a file of its own: the engine's tests
// bring their own ClearToolMode to watch the tools end.
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/view_seams.h"

void ClearToolMode(HWND window) {
  // The angle assist is the user's setting and outlives the tool.
  if (CurrentWindowData* w = ActiveWindowData) {
    w->EditMode = 0;
    w->SubMode = 0;
  }
  UpdateStatusBar(window);
}
