#include "geometry/octants.h"

#include <cmath>
#include <utility>

#include "geometry/raster_state.h"

namespace pl3 {
namespace {

// Bit 0 swaps the two components, bit 1 negates x, bit 2 negates y.
constexpr std::uint8_t kOctantMapping[8] = {0, 1, 3, 2, 6, 7, 5, 4};

std::int32_t Neg(std::int32_t v) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v)); }

std::int64_t Sq(std::int64_t v) { return v * v; }

// Refines (p, q) one step outward along q on the disc p^2 + q^2 <= t.
Point Refine(std::int64_t p, std::int64_t q, std::int64_t t) {
  const std::int64_t up = Sq(p) + Sq(q + 1);
  if (up > t) return {static_cast<std::int32_t>(p), static_cast<std::int32_t>(q)};
  if (up == t) return {static_cast<std::int32_t>(p), static_cast<std::int32_t>(q + 1)};
  if (Sq(p + 1) + Sq(q + 1) > t) return {static_cast<std::int32_t>(p), static_cast<std::int32_t>(q + 1)};
  return {static_cast<std::int32_t>(p + 1), static_cast<std::int32_t>(q + 1)};
}

// The integer walk for r <= 60 (a >= b > 0): a midpoint circle walked up
// from (r, 0) row by row beside a line along (a, b); the answer is the last
// row on which the line has not passed the circle's column.
Point WalkToRadius(std::int64_t a, std::int64_t b, std::int64_t r) {
  const std::int64_t t = r * (r + 1);
  std::int64_t p = r;
  Point last = {static_cast<std::int32_t>(r), 0};
  for (std::int64_t q = 1; q <= r; ++q) {
    while (p > 0 && Sq(p) + Sq(q) > t) --p;
    // The column where the line along (a, b) enters row q.
    const std::int64_t num = a * (2 * q - 1);
    const std::int64_t enter = (num + 2 * b - 1) / (2 * b);
    if (enter > p) break;
    last = {static_cast<std::int32_t>(p), static_cast<std::int32_t>(q)};
  }
  return last;
}

}  // namespace

ReducedVector ReduceToOctant(std::int32_t x, std::int32_t y) {
  if (y > 0 || (y == 0 && x >= 0)) {
    if (x > 0) return x > y ? ReducedVector{0, x, y} : ReducedVector{1, y, x};
    return Neg(x) < y ? ReducedVector{2, y, Neg(x)} : ReducedVector{3, Neg(x), y};
  }
  if (x < 0) {
    return static_cast<std::int64_t>(-static_cast<std::int64_t>(x)) > -static_cast<std::int64_t>(y)
               ? ReducedVector{4, Neg(x), Neg(y)}
               : ReducedVector{5, Neg(y), Neg(x)};
  }
  return static_cast<std::int64_t>(x) < -static_cast<std::int64_t>(y) ? ReducedVector{6, Neg(y), x}
                                                                       : ReducedVector{7, x, Neg(y)};
}

Point MapFromOctant(int octant, std::int32_t major, std::int32_t minor) {
  const std::uint8_t m = kOctantMapping[octant & 7];
  Point v = {major, minor};
  if (m & 1) std::swap(v.x, v.y);
  if (m & 2) v.x = Neg(v.x);
  if (m & 4) v.y = Neg(v.y);
  return v;
}

Point PointAtRadius(std::int32_t major, std::int32_t minor, std::int32_t r) {
  if (r <= 0) return {0, 0};
  const bool swapped = major < minor;
  std::int64_t a = swapped ? minor : major;
  std::int64_t b = swapped ? major : minor;
  // Along an axis; tested after the swap, so that (0, m) gives (0, r).
  if (b == 0) return swapped ? Point{0, r} : Point{r, 0};
  const std::int64_t t = static_cast<std::int64_t>(r) * (r + 1);
  Point result;
  if (a == b && r >= 11) {
    const std::int64_t s = static_cast<std::int64_t>((static_cast<std::uint64_t>(r) * 0xB504F334u) >> 32);
    result = Refine(s, s, t);
  } else if (r <= 60) {
    if (a == b) a = b = 10;
    result = WalkToRadius(a, b, r);
  } else {
    const double k = std::sqrt(static_cast<double>(t) / (static_cast<double>(a) * a + static_cast<double>(b) * b));
    result = Refine(std::llrint(static_cast<double>(a) * k), std::llrint(static_cast<double>(b) * k), t);
  }
  if (swapped) std::swap(result.x, result.y);
  return result;
}

std::int32_t VectorLength(std::int32_t x, std::int32_t y) {
  const double fx = x;
  const double fy = y;
  return static_cast<std::int32_t>(std::lrint(std::sqrt(fx * fx + fy * fy)));
}

Point LatticeVector(std::int32_t x, std::int32_t y, std::int32_t length) {
  const ReducedVector r = ReduceToOctant(x, y);
  const Point p = PointAtRadius(r.major, r.minor, length);
  return MapFromOctant(r.octant, p.x, p.y);
}

void SetVectorLength() {
  const Point p = LatticeVector(g_raster.vectorX, g_raster.vectorY, g_raster.vectorLength);
  g_raster.vectorX = p.x;
  g_raster.vectorY = p.y;
}

std::int64_t RimColumn(std::int64_t t, std::int64_t y) {
  const std::int64_t n = t - y * y;
  if (n < 0) return -1;
  // Newton's method on integers from above, then the floor square root.
  std::int64_t x = n;
  std::int64_t next = (x + 1) / 2;
  while (next < x) {
    x = next;
    next = (x + n / x) / 2;
  }
  return x;
}

int CrossProductSign(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint8_t flags) {
  const std::uint64_t p = static_cast<std::uint64_t>(static_cast<std::uint32_t>(x1)) * static_cast<std::uint32_t>(y2);
  const std::uint64_t q = static_cast<std::uint64_t>(static_cast<std::uint32_t>(x2)) * static_cast<std::uint32_t>(y1);
  if (p == q) return 0;
  const int positive = p > q ? 1 : 0;
  return (flags & 1) ? 1 - positive : positive;
}

}  // namespace pl3
