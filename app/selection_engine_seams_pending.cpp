// The program's stand-ins for the selection engine's calls of cancel and
// delete (edit/selection_engine_seams.h) until the selection lands: there is
// never a selection array, so nothing is cancelled, deleted or picked.
#include "edit/selection_engine_seams.h"

void CancelSelectionArray(HWND) {}
int DeleteSelectionArray(HWND) { return 0; }
int DeleteSelection(HWND) { return 0; }
void PickObjectAtCursor(HWND, ButtonRecord*, int) {}
