// Box helpers of the application frame. Coordinates compare as unsigned
// 32-bit values, so the empty box {-1, -1, 0, 0} is neutral to union and extend.
#pragma once
#include <cstdint>

#include "geometry/box_margins.h"
#include "geometry/types.h"

// UnionBox, ExtendBoxByPoint and InflateBox live with the geometry kernel
// (geometry/box_margins.h) so the design objects and the editing engine can
// grow their boxes too.
