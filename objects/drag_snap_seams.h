// The grid snap of a dragged point, owned by the grids: the window's cursor is
// snapped, the move from the old point kept in CursorOffset and the mouse
// pointer put on the point. Until the grids land the program links the
// stand-in of app/drag_snap_seams_pending.cpp (the point stays unsnapped).
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;

void SnapDragPoint(HWND window, ButtonRecord* cursor);
