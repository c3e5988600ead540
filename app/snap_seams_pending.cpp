// The program's stand-in for grid snapping (objects/view_seams.h) until the grid
// code lands: nothing snaps. Kept in a file of its own so that a test that
// fakes snapping still links the other view stand-ins.
#include "objects/view_seams.h"

void SnapXY(std::int32_t*, std::int32_t*, int) {}
