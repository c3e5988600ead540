// The program's stand-in for the grids' drag snap (objects/drag_snap_seams.h)
// until the grids land: the point stays where it is and nothing moved.
#include "edit/window_data.h"
#include "objects/drag_snap_seams.h"

void SnapDragPoint(HWND, ButtonRecord* cursor) {
  if (cursor) cursor->CursorOffset = {0, 0};
}
