// Box helpers of the application frame. Coordinates compare as unsigned
// 32-bit values, so the empty box {-1, -1, 0, 0} is neutral to union and extend.
#pragma once
#include <cstdint>

#include "geometry/box_margins.h"
#include "geometry/types.h"

namespace pl3 {

// Grows `box` to take in `other`; an `other` of four zero words is ignored.
void UnionBox(Box* box, const Box* other);
// Grows the box to take in the point.
void ExtendBoxByPoint(Box* box, std::int32_t x, std::int32_t y);
// InflateBox (every side out by a margin, the low corner held at 0) lives
// with the geometry kernel so the design objects can grow their boxes too.

}  // namespace pl3
