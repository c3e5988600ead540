// Emptying the active window's selection: every record goes with what it
// still holds, then the block origin of the move.
#include <cstdlib>

#include "edit/engine_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"

void ClearSelectionArray(HWND) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  while (w->SelectionList) RemoveSelectionInfo(&w->SelectionList, w->SelectionList);
  std::free(w->OriginalBlockOrigin);
  w->OriginalBlockOrigin = nullptr;
}
