// The distances the design objects and the drawing code ask of the rule
// checker (drc/), which lies above them and defines them.
#pragma once
#include <cstdint>

// The distance from (x, y) to the box (x1, y1)-(x2, y2) taken as two
// triangles: 0 when it is below the threshold for either, else the smaller.
std::uint32_t PointToBoxDistance(std::int32_t x, std::int32_t y, std::uint32_t threshold, std::int32_t x1,
                                 std::int32_t y1, std::int32_t x2, std::int32_t y2);

// The distance from a point to a segment: to the foot of the perpendicular
// when it falls on the segment, else to the nearer end (doubles in, the
// distance truncated).
std::uint32_t PointToSegmentDistance(double px, double py, double ax, double ay, double bx, double by);
