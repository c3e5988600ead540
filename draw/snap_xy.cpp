// SnapXY alone in its file, so that a test that fakes it still links the
// other snaps.
#include "draw/grids.h"
#include "edit/window_data.h"

void SnapXY(std::int32_t* x, std::int32_t* y, int force) {
  if (ActiveWindowData) SnapXYIn(*ActiveWindowData, x, y, force);
}
