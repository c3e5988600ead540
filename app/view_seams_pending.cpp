// The program's stand-ins for the view services of objects/view_seams.h until
// the drawing code and the editing engine land: nothing snaps, the pointer
// and the view stay, the status bar and the view are not redrawn.
#include "objects/view_seams.h"

int IsItemAttachedToCursor() { return 0; }
void SetCursorToPoint(void*, pl3::Point) {}
void CentreViewOnPoint(void*, pl3::Point) {}
int UpdateStatusBar(void*) { return 0; }
void RedrawView(void*) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}
