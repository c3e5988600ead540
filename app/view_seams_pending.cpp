// The program's stand-ins for the view services of objects/view_seams.h until
// the editing engine has them: the view stays and is not redrawn.
#include "objects/view_seams.h"

int IsItemAttachedToCursor() { return 0; }
void CentreViewOnPoint(void*, pl3::Point) {}
void RedrawView(void*) {}
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}
