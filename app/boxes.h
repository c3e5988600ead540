// Box helpers of the application frame. Coordinates compare as unsigned
// 32-bit values, so the empty box {-1, -1, 0, 0} is neutral to union and extend.
#pragma once
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// Grows `box` to take in `other`; an `other` of four zero words is ignored.
void UnionBox(Box* box, const Box* other);
// Grows the box to take in the point.
void ExtendBoxByPoint(Box* box, std::int32_t x, std::int32_t y);
// Moves each side out by the margin; a low side not above the margin becomes 0.
void InflateBox(Box* box, std::int32_t margin);

}  // namespace pl3
