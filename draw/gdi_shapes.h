// Circles and clipped segments drawn with GDI straight into a device
// context, skipping what GDI's 16-bit coordinates cannot hold.
#pragma once
#include <cstdint>

#include "geometry/clipping.h"

// Ellipse over the bounding square of the circle, only while left + right
// and top + bottom stay below 32767. Returns 1 when it was drawn.
int DrawCircle(void* dc, std::int32_t x, std::int32_t y, std::int32_t radius);
// Clips the segment to the current view and draws it with MoveToEx/LineTo;
// returns 1 when something was drawn.
int DrawSegmentLine(void* dc, const pl3::ViewSegment& segment);
