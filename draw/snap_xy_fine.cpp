// SnapXYFine alone in its file, like SnapXY.
#include "draw/grids.h"
#include "edit/window_data.h"

void SnapXYFine(std::int32_t* x, std::int32_t* y) {
  if (ActiveWindowData) SnapXYFineIn(*ActiveWindowData, x, y);
}
