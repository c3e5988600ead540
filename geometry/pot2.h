// Polygon triangulation: a simple polygon (one outline, either orientation)
// is split recursively along its shortest valid interior diagonal into
// N - 2 triangles of vertex indices. Also the segment crossing test.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

namespace pl3 {

// Byte form: N (3..255) points, N - 2 triangles of three one-byte indices.
// Returns the number of triangles written (0 when N < 3, or when the memory
// for the work cannot be had: the user is told, nothing is written).
int TriangulatePolygon(int count, const Point* points, std::uint8_t* triangles);
// Wide form: unsigned 32-bit indices, the same results.
std::uint32_t TriangulatePolygonWide(std::uint32_t count, const Point* points, std::uint32_t* triangles);

// A stored polygon payload: count at 48, points at 68, triangles after them.
int TriangulatePolygonRecord(PolygonLayout* polygon);
// A working entity record (28-byte header before the payload): count at
// byte 76, points at 96, triangles at 2136.
int TriangulateEntityRecord(std::uint8_t* record);
// The wide record: u32 count at 48, points at 76, triangles after them.
std::uint32_t TriangulateWidePolygonRecord(std::uint8_t* record);

// 1 when segment a-b meets segment c-d (touching ends count), else 0;
// parallel and collinear segments give 0.
int SegmentsIntersect(Point a, Point b, Point c, Point d);

}  // namespace pl3

namespace pl3 {
// Non-zero when point `index` of a stored polygon lies on one straight line
// with its previous and next points (taken cyclically), so that it may be
// dropped; a point equal to a neighbour counts as on the line.
int IsCollinearPolygonPoint(const PolygonLayout* polygon, std::uint32_t index, std::uint32_t count);
}  // namespace pl3
