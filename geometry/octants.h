// Directions without trigonometry: a vector reduced to one of eight octants,
// and the lattice point at a given radius along a direction, found by the
// midpoint-circle criterion p^2 + q^2 <= r(r + 1).
#pragma once
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

struct ReducedVector {
  int octant;          // 0..7, counted from +x toward +y
  std::int32_t major;  // major >= minor >= 0
  std::int32_t minor;
};

ReducedVector ReduceToOctant(std::int32_t x, std::int32_t y);
// Maps a reduced (major, minor) back into octant k (swap, then negations).
Point MapFromOctant(int octant, std::int32_t major, std::int32_t minor);

// The lattice point (p, q) where the ray along the reduced direction
// (major, minor) leaves the disc p^2 + q^2 <= r(r + 1).
Point PointAtRadius(std::int32_t major, std::int32_t minor, std::int32_t r);

// sqrt(x^2 + y^2) rounded to the nearest integer.
std::int32_t VectorLength(std::int32_t x, std::int32_t y);
// Replaces the vector scratch (g_raster.vectorX, vectorY) by the lattice
// vector of length g_raster.vectorLength in the same direction.
void SetVectorLength();
// The lattice vector of the given length along (x, y).
Point LatticeVector(std::int32_t x, std::int32_t y, std::int32_t length);

// Sign of x1*y2 - x2*y1 with the words taken as unsigned: 0 when zero,
// else 1 for positive and 0 for negative, inverted when bit 0 of flags is set.
int CrossProductSign(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint8_t flags);

// The circle's column on row y: the largest x >= 0 with x^2 + y^2 <= t, or
// -1 when the row lies beyond the circle. Integer only.
std::int64_t RimColumn(std::int64_t t, std::int64_t y);

// Quarter turn toward +y of a real vector.
inline Point TurnQuarter(Point v) { return {static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v.y)), v.x}; }

}  // namespace pl3
