// The view services that the walker, locator and size tests reach through the
// datum and size code but never exercise: the view stays where it is and is not redrawn.
// Faked so that the target does not link the whole redraw and scrolling chain.
#include "objects/view_seams.h"

void CentreViewOnPoint(void*, pl3::Point) {}
void RedrawView(void*) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}
