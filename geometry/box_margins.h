// Growing a box by a margin and mapping a box through a transform: the two
// steps every item box goes through before it is used for redraws and hits.
#pragma once
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// Moves each side out by the margin. A low side that is not above the margin
// (compared signed, so a side already below 0 counts) becomes 0: nothing on
// the board lies left of or above the origin.
void InflateBox(Box* box, std::int32_t margin);

// Grows `box` to take in `other`; an `other` of four zero words is ignored.
// Coordinates compare as unsigned 32-bit values, so the empty box
// {-1, -1, 0, 0} is neutral to union and extend.
void UnionBox(Box* box, const Box* other);
// Grows the box to take in the point.
void ExtendBoxByPoint(Box* box, std::int32_t x, std::int32_t y);

// The four corners of the box through the transform (absolute points), then
// their minimum and maximum.
void TransformBox(const Transform* t, Box* box);

}  // namespace pl3
