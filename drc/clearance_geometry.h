// The measuring routines of the clearance checks: distances between points,
// segments, triangles and boxes in world units. Arithmetic runs in doubles on
// the world coordinates; every result leaves as an unsigned 32-bit distance
// truncated toward zero.
#pragma once
#include <cstdint>

#include "objects/drc_seams.h"

// Three vertices a, b, c; the edges are taken in the order a-b, a-c, b-c.
struct DrcTriangle {
  std::int32_t ax, ay, bx, by, cx, cy;
};
static_assert(sizeof(DrcTriangle) == 24);

// A segment from (x1, y1) to (x2, y2).
struct DrcSegment {
  std::int32_t x1, y1, x2, y2;
};
static_assert(sizeof(DrcSegment) == 16);

// The value given when nothing could be measured: farther than any clearance.
constexpr std::uint32_t NoGap = 0xFFFFFFFFu;

// The square root of x; a negative x (only rounding makes one) is reported
// with "Sqrtl error!" and its absolute value rooted.
double GuardedSqrt(double x);

// 1 when (px, py) lies inside the triangle or on its boundary.
int PointInTriangle(const DrcTriangle& triangle, double px, double py);

// PointToSegmentDistance is declared in objects/drc_seams.h.
// The distance between two segments; 0 when they cross or touch.
std::uint32_t SegmentToSegmentDistance(const DrcSegment& a, const DrcSegment& b);
// The distance from a point to a triangle; 0 inside or on its edges.
std::uint32_t PointToTriangleDistance(const DrcTriangle& triangle, std::int32_t px, std::int32_t py);
// The distance from a segment to a triangle: 0 when the segment's first end
// lies in the triangle, else the least distance to the triangle's edges.
std::uint32_t SegmentToTriangleDistance(const DrcTriangle& triangle, const DrcSegment& segment);
// PointToBoxDistance (objects/drc_seams.h) splits the box into the triangles
// through (x2, y1) and through (x1, y2): 0 when the point is nearer either
// triangle than the threshold (so 0 inside the box with threshold 0), else the
// smaller of the two distances.
