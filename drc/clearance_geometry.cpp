#include "drc/clearance_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/responder.h"

namespace {

struct Vec {
  double x, y;
};

Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length2(Vec v) { return Dot(v, v); }

std::uint32_t Truncated(double d) {
  if (!(d > 0)) return 0;
  if (d >= 4294967295.0) return NoGap - 1;
  return static_cast<std::uint32_t>(d);
}

// The squared distance from p to the segment a-b: the perpendicular foot when
// the projection falls on the segment, else the nearer end (a for a
// zero-length segment).
double PointToSegment2(Vec p, Vec a, Vec b) {
  const Vec w = Sub(a, p);
  const Vec d = Sub(a, b);
  const double length2 = Length2(d);
  const double k = Dot(w, d);
  if (k >= 0 && length2 != 0) {
    if (k <= length2) {
      const double f = k / length2;
      return Length2({w.x - d.x * f, w.y - d.y * f});
    }
    return Length2(Sub(b, p));
  }
  return Length2(w);
}

double SegmentToSegment(Vec a, Vec b, Vec c, Vec d) {
  if (a.x == b.x && a.y == b.y) return GuardedSqrt(PointToSegment2(a, c, d));
  if (c.x == d.x && c.y == d.y) return GuardedSqrt(PointToSegment2(c, a, b));
  const Vec d1 = Sub(b, a), d2 = Sub(d, c), r = Sub(c, a);
  const double den = d1.y * d2.x - d2.y * d1.x;
  const double s = r.y * d1.x - r.x * d1.y;
  const double t = r.y * d2.x - r.x * d2.y;
  if ((den > 0 && s >= 0 && s <= den && t >= 0 && t <= den) ||
      (den < 0 && s <= 0 && s >= den && t <= 0 && t >= den))
    return 0;
  const double least = std::min({PointToSegment2(c, a, b), PointToSegment2(d, a, b), PointToSegment2(a, c, d),
                                  PointToSegment2(b, c, d)});
  return GuardedSqrt(least);
}

Vec VertexA(const DrcTriangle& t) { return {double(t.ax), double(t.ay)}; }
Vec VertexB(const DrcTriangle& t) { return {double(t.bx), double(t.by)}; }
Vec VertexC(const DrcTriangle& t) { return {double(t.cx), double(t.cy)}; }

}  // namespace

double GuardedSqrt(double x) {
  if (x < 0) {
    MessageBox(nullptr, "Sqrtl error!", "DRC.CPP", MB_OK | MB_ICONEXCLAMATION);
    x = -x;
  }
  return std::sqrt(x);
}

int PointInTriangle(const DrcTriangle& triangle, double px, double py) {
  const Vec a = VertexA(triangle);
  const Vec e1 = Sub(VertexB(triangle), a), e2 = Sub(VertexC(triangle), a), q = Sub({px, py}, a);
  double d = e2.x * e1.y - e2.y * e1.x;
  double s = e1.y * q.x - e1.x * q.y;
  double t = e2.x * q.y - e2.y * q.x;
  if (d < 0) {
    d = -d;
    s = -s;
    t = -t;
  }
  if (s < 0 || t < 0) return 0;
  return s + t <= d ? 1 : 0;
}

std::uint32_t PointToSegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  return Truncated(GuardedSqrt(PointToSegment2({px, py}, {ax, ay}, {bx, by})));
}

std::uint32_t SegmentToSegmentDistance(const DrcSegment& a, const DrcSegment& b) {
  return Truncated(SegmentToSegment({double(a.x1), double(a.y1)}, {double(a.x2), double(a.y2)},
                                    {double(b.x1), double(b.y1)}, {double(b.x2), double(b.y2)}));
}

std::uint32_t PointToTriangleDistance(const DrcTriangle& triangle, std::int32_t px, std::int32_t py) {
  if (PointInTriangle(triangle, px, py)) return 0;
  const Vec p{double(px), double(py)};
  const Vec a = VertexA(triangle), b = VertexB(triangle), c = VertexC(triangle);
  const double least = std::min({PointToSegment2(p, a, b), PointToSegment2(p, a, c), PointToSegment2(p, b, c)});
  return Truncated(GuardedSqrt(least));
}

std::uint32_t SegmentToTriangleDistance(const DrcTriangle& triangle, const DrcSegment& segment) {
  if (PointInTriangle(triangle, segment.x1, segment.y1)) return 0;
  const Vec p{double(segment.x1), double(segment.y1)}, q{double(segment.x2), double(segment.y2)};
  const Vec a = VertexA(triangle), b = VertexB(triangle), c = VertexC(triangle);
  const double least = std::min({SegmentToSegment(p, q, a, b), SegmentToSegment(p, q, a, c),
                                 SegmentToSegment(p, q, b, c)});
  return Truncated(least);
}

std::uint32_t PointToBoxDistance(std::int32_t x, std::int32_t y, std::uint32_t threshold, std::int32_t x1,
                                 std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  const DrcTriangle lower{x1, y1, x2, y1, x2, y2};
  const DrcTriangle upper{x1, y1, x1, y2, x2, y2};
  const std::uint32_t first = PointToTriangleDistance(lower, x, y);
  const std::uint32_t second = PointToTriangleDistance(upper, x, y);
  if (first < threshold || second < threshold) return 0;
  return std::min(first, second);
}
