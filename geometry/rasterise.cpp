#include "geometry/rasterise.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "geometry/arcs.h"
#include "geometry/clipping.h"
#include "geometry/edge_walker.h"
#include "geometry/octants.h"
#include "geometry/raster_state.h"
#include "geometry/record_view.h"
#include "geometry/seams.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"

namespace pl3 {
namespace {

std::int32_t Wrap(std::int64_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v)); }

// Walks the part of a one-pixel line from (x1, y1) to (x2, y2) that lies in
// the clip, pixel by pixel in order from the first end to the second. Rows
// (or, for y-major lines, columns) outside the clip and the parts of slices
// beyond it are never visited, so a line reaching far past the view costs
// only what it shows.
template <typename Visit>
void VisitLinePixels(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, const ViewClip& c,
                     Visit visit) {
  const std::int64_t dx = static_cast<std::int64_t>(x2) - x1;
  const std::int64_t dy = static_cast<std::int64_t>(y2) - y1;
  const bool xMajor = std::llabs(dx) > std::llabs(dy);
  // The walker steps along the major axis (rows for x-major lines, columns
  // for y-major ones) and gives the slice on the minor axis for each step.
  const EdgeWalker walker = xMajor ? EdgeWalker(x1, y1, x2, y2) : EdgeWalker(y1, x1, y2, x2);
  const std::int64_t from = xMajor ? y1 : x1, to = xMajor ? y2 : x2;
  const std::int64_t majorMin = xMajor ? c.ymin : c.xmin, majorMax = xMajor ? c.ymax : c.xmax;
  const std::int64_t minorMin = xMajor ? c.xmin : c.ymin, minorMax = xMajor ? c.xmax : c.ymax;
  const int step = to >= from ? 1 : -1;
  const bool minorUp = (xMajor ? dx : dy) >= 0;
  const std::int64_t first = step > 0 ? std::max(from, majorMin) : std::min(from, majorMax);
  const std::int64_t last = step > 0 ? std::min(to, majorMax) : std::max(to, majorMin);
  if (step > 0 ? first > last : first < last) return;
  for (std::int64_t m = first;; m += step) {
    const RowSpan s = walker.At(static_cast<std::int32_t>(m));
    const std::int64_t lo = std::max<std::int64_t>(s.lo, minorMin);
    const std::int64_t hi = std::min<std::int64_t>(s.hi, minorMax);
    for (std::int64_t k = minorUp ? lo : hi; lo <= hi && (minorUp ? k <= hi : k >= lo); k += minorUp ? 1 : -1) {
      const auto a = static_cast<std::int32_t>(xMajor ? k : m);
      const auto b = static_cast<std::int32_t>(xMajor ? m : k);
      visit(a, b);
    }
    if (m == last) break;
  }
}

// Calls band(X, ya, yb) for each band of the circle walk of radius r in the
// first octant (0 <= ya <= yb < X, all rows of the band with column X), and
// diagonal(D) when the walk ends on the diagonal point (D, D).
template <typename Band, typename Diagonal>
void WalkCircle(std::int32_t r, Band band, Diagonal diagonal) {
  const std::int64_t t = static_cast<std::int64_t>(r) * (r + 1);
  std::int64_t x = r;
  std::int64_t bandX = r;
  std::int64_t ya = 0;
  for (std::int64_t y = 0;; ++y) {
    while (x > 0 && x * x + y * y > t) --x;
    if (y >= x) {
      if (y > ya) band(bandX, ya, y - 1);
      if (y == x) diagonal(x);
      return;
    }
    if (x != bandX) {
      band(bandX, ya, y - 1);
      bandX = x;
      ya = y;
    }
  }
}

void EmitPixel(std::int64_t x, std::int64_t y) { HorizontalRun(Wrap(x), Wrap(x), Wrap(y)); }

// The outline pixels of one quadrant (signs sx, sy) off its axes.
void OutlineQuadrant(std::int32_t cx, std::int32_t cy, std::int32_t r, int sx, int sy) {
  WalkCircle(
      r,
      [&](std::int64_t x, std::int64_t ya, std::int64_t yb) {
        ya = std::max<std::int64_t>(ya, 1);
        if (ya > yb) return;
        const std::int64_t c = cx + sx * x;
        const std::int64_t r0 = cy + sy * ya, r1 = cy + sy * yb;
        VerticalRun(Wrap(c), Wrap(std::min(r0, r1)), Wrap(std::max(r0, r1)));
        const std::int64_t row = cy + sy * x;
        const std::int64_t c0 = cx + sx * ya, c1 = cx + sx * yb;
        HorizontalRun(Wrap(std::min(c0, c1)), Wrap(std::max(c0, c1)), Wrap(row));
      },
      [&](std::int64_t d) { EmitPixel(cx + sx * d, cy + sy * d); });
}

// A filled quadrant (signs sx, sy): rows 0..r from the centre column outward.
// `withCentre` decides whether the centre pixel and row 0's centre belong to it.
void FillQuadrant(std::int32_t cx, std::int32_t cy, std::int32_t r, int sx, int sy, bool withCentre) {
  const std::int64_t t = static_cast<std::int64_t>(r) * (r + 1);
  std::int64_t x = r;
  for (std::int64_t y = 0; y <= r; ++y) {
    while (x > 0 && x * x + y * y > t) --x;
    const std::int64_t first = (y == 0 && !withCentre) ? 1 : 0;
    if (first > x) continue;
    const std::int64_t a = cx + sx * first, b = cx + sx * x;
    HorizontalRun(Wrap(std::min(a, b)), Wrap(std::max(a, b)), Wrap(cy + sy * y));
  }
}

Point Sub(Point a, Point b) { return {Wrap(static_cast<std::int64_t>(a.x) - b.x), Wrap(static_cast<std::int64_t>(a.y) - b.y)}; }
Point Add(Point a, Point b) { return {Wrap(static_cast<std::int64_t>(a.x) + b.x), Wrap(static_cast<std::int64_t>(a.y) + b.y)}; }
Point Negate(Point v) { return {Wrap(-static_cast<std::int64_t>(v.x)), Wrap(-static_cast<std::int64_t>(v.y))}; }

// Multiplies a component by a 0.32 fraction, rounding half up by magnitude.
std::int32_t MulFraction(std::int32_t v, std::uint32_t k) {
  const std::uint64_t m = static_cast<std::uint64_t>(std::llabs(v)) * k;
  const std::int64_t r = static_cast<std::int64_t>((m + 0x80000000ull) >> 32);
  return Wrap(v < 0 ? -r : r);
}

// 1/9, 3/9, 5/9 and 7/9 as 0.32 fractions.
constexpr std::uint32_t kNinths[4] = {0x1C71C71Cu, 0x55555555u, 0x8E38E38Eu, 0xC71C71C7u};

void DrawTrackOutline(Point p1, Point p2, std::int32_t w) {
  if (w == 0) {
    DrawViewLine(p1.x, p1.y, p2.x, p2.y);
    return;
  }
  const Point d = Sub(p1, p2);
  const ReducedVector r = ReduceToOctant(d.x, d.y);
  const Point l = PointAtRadius(r.major, r.minor, w);
  const Point n = MapFromOctant((r.octant + 2) & 7, l.x, l.y);
  DrawViewLine(p1.x - n.x, p1.y - n.y, p2.x - n.x, p2.y - n.y);
  DrawViewLine(p1.x + n.x, p1.y + n.y, p2.x + n.x, p2.y + n.y);
  DrawArcEdge(p1.x, p1.y, w, Negate(n), n);
  DrawArcEdge(p2.x, p2.y, w, n, Negate(n));
}

void DrawTrackHighlight(Point p1, Point p2, std::int32_t w) {
  if (p1.x == p2.x && p1.y == p2.y) {
    FillDisc(p1.x, p1.y, w);
    return;
  }
  const Point v = Sub(p2, p1);
  g_raster.highlightDirX = v.x;
  g_raster.highlightDirY = v.y;
  const Point piece = {v.x / 9, v.y / 9};
  for (std::uint32_t k : kNinths) {
    const Point a = Add(p1, {MulFraction(v.x, k), MulFraction(v.y, k)});
    const Point b = Add(a, piece);
    DrawThickViewLine(a.x, a.y, b.x, b.y, w);
  }
  g_raster.highlightDirX = 0;
  g_raster.highlightDirY = 0;
  const ReducedVector r = ReduceToOctant(v.x, v.y);
  const Point n = MapFromOctant((r.octant + 2) & 7, r.major, r.minor);
  FillSector(p1.x, p1.y, w, n, Negate(n));
  FillSector(p2.x, p2.y, w, Negate(n), n);
}

// Transforms and converts a polygon's points into the kernel's point buffer.
const Point* PolygonToPointBuffer(const PolygonLayout* polygon, const Transform* t) {
  Point* buffer = g_raster.pointBuffer;
  TransformPoints(t, PolygonPoints(polygon), buffer, polygon->count);
  for (int i = 0; i < polygon->count; ++i) WorldToViewCurrent(buffer[i].x, buffer[i].y);
  return buffer;
}

}  // namespace

void DrawViewLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  if (y1 == y2) {
    HorizontalRun(std::min(x1, x2), std::max(x1, x2), y1);
    return;
  }
  if (x1 == x2) {
    VerticalRun(x1, std::min(y1, y2), std::max(y1, y2));
    return;
  }
  const ViewClip& c = CurrentViewClip();
  if (!ThickSegmentVisible(c, x1, y1, x2, y2, 0)) return;
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(x2) - x1);
  const std::int64_t dy = std::llabs(static_cast<std::int64_t>(y2) - y1);
  if (dx > dy) {
    EdgeWalker walker(x1, y1, x2, y2);
    const std::int32_t top = std::max(walker.top(), c.ymin);
    const std::int32_t bottom = std::min(walker.bottom(), c.ymax);
    walker.Start(top);
    for (std::int32_t y = top; y <= bottom; ++y) {
      const RowSpan s = walker.Next();
      HorizontalRun(s.lo, s.hi, y);
    }
    return;
  }
  EdgeWalker walker(y1, x1, y2, x2);  // axes swapped: a slice of rows per column
  const std::int32_t left = std::max(walker.top(), c.xmin);
  const std::int32_t right = std::min(walker.bottom(), c.xmax);
  walker.Start(left);
  for (std::int32_t x = left; x <= right; ++x) {
    const RowSpan s = walker.Next();
    VerticalRun(x, s.lo, s.hi);
  }
}

void DrawWorldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  WorldToViewCurrent(x1, y1);
  WorldToViewCurrent(x2, y2);
  DrawViewLine(x1, y1, x2, y2);
}

void DrawThickViewLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t w) {
  if (w <= 0) {
    DrawViewLine(x1, y1, x2, y2);
    return;
  }
  if (y1 == y2) {
    FillClippedRect(std::min(x1, x2), Wrap(static_cast<std::int64_t>(y1) - w), std::max(x1, x2),
                    Wrap(static_cast<std::int64_t>(y1) + w));
    return;
  }
  if (x1 == x2) {
    FillClippedRect(Wrap(static_cast<std::int64_t>(x1) - w), std::min(y1, y2), Wrap(static_cast<std::int64_t>(x1) + w),
                    std::max(y1, y2));
    return;
  }
  if (y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (!ThickSegmentVisible(CurrentViewClip(), x1, y1, x2, y2, w)) return;
  // The perpendicular: the lattice vector of length w along the direction
  // (that of the whole track while a highlight is drawn), turned a quarter.
  std::int64_t dx = static_cast<std::int64_t>(x2) - x1;
  std::int64_t dy = static_cast<std::int64_t>(y2) - y1;
  if (g_raster.highlightDirX != 0 || g_raster.highlightDirY != 0) {
    dx = g_raster.highlightDirX;
    dy = g_raster.highlightDirY;
  }
  const Point l = LatticeVector(Wrap(std::llabs(dx)), Wrap(std::llabs(dy)), w);
  const Point along = {dx < 0 ? -l.x : l.x, dy < 0 ? -l.y : l.y};
  const Point p = TurnQuarter(along);
  const Point quad[4] = {{x1 + p.x, y1 + p.y}, {x2 + p.x, y2 + p.y}, {x2 - p.x, y2 - p.y}, {x1 - p.x, y1 - p.y}};
  FillConvexPolygon(quad, 4);
}

void DrawTrack(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t w) {
  const Point p1 = {x1, y1};
  const Point p2 = {x2, y2};
  if (g_raster.trackOutlineMode == 1) {
    DrawTrackOutline(p1, p2, w);
    return;
  }
  if (g_raster.trackHighlightMode == 1) {
    DrawTrackHighlight(p1, p2, w);
    return;
  }
  const bool point = x1 == x2 && y1 == y2;
  if (w == 0 || !point) DrawThickViewLine(x1, y1, x2, y2, w);
  if (w == 0) return;
  FillDisc(x1, y1, w);
  if (!point) FillDisc(x2, y2, w);
}

void FillConvexPolygon(const Point* points, int count) {
  if (count < 3 || count > 4) return;
  std::int32_t x0 = INT32_MAX, x1 = INT32_MIN, y0 = INT32_MAX, y1 = INT32_MIN;
  for (int i = 0; i < count; ++i) {
    x0 = std::min(x0, points[i].x);
    x1 = std::max(x1, points[i].x);
    y0 = std::min(y0, points[i].y);
    y1 = std::max(y1, points[i].y);
  }
  const ViewClip& c = CurrentViewClip();
  if (x1 < c.xmin || x0 > c.xmax || y1 < c.ymin || y0 > c.ymax) return;
  const std::int32_t top = std::max(y0, c.ymin);
  const std::int32_t bottom = std::min(y1, c.ymax);
  EdgeWalker edges[4] = {
      EdgeWalker(points[0].x, points[0].y, points[1].x, points[1].y),
      EdgeWalker(points[1].x, points[1].y, points[2].x, points[2].y),
      EdgeWalker(points[2].x, points[2].y, points[3 % count].x, points[3 % count].y),
      EdgeWalker(points[count - 1].x, points[count - 1].y, points[0].x, points[0].y),
  };
  // Each edge steps row by row from the first row it shares with the fill.
  for (int e = 0; e < count; ++e) edges[e].Start(std::max(edges[e].top(), top));
  for (std::int32_t y = top; y <= bottom; ++y) {
    std::int32_t lo = INT32_MAX, hi = INT32_MIN;
    for (int e = 0; e < count; ++e) {
      if (y < edges[e].top() || y > edges[e].bottom()) continue;
      const RowSpan s = edges[e].Next();
      lo = std::min(lo, s.lo);
      hi = std::max(hi, s.hi);
    }
    if (lo <= hi) HorizontalRun(lo, hi, y);
  }
}

void FillTriangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                  std::int32_t y2) {
  const bool same01 = x0 == x1 && y0 == y1;
  const bool same12 = x1 == x2 && y1 == y2;
  const bool same02 = x0 == x2 && y0 == y2;
  if (same01) {
    DrawViewLine(x0, y0, x2, y2);
    return;
  }
  if (same02 || same12) {
    DrawViewLine(x0, y0, x1, y1);
    return;
  }
  if (g_raster.trackOutlineMode == 1) {
    DrawViewLine(x0, y0, x1, y1);
    DrawViewLine(x1, y1, x2, y2);
    DrawViewLine(x2, y2, x0, y0);
    return;
  }
  const Point t[3] = {{x0, y0}, {x1, y1}, {x2, y2}};
  FillConvexPolygon(t, 3);
}

void FillTriangleRecord(const std::int32_t* p) { FillTriangle(p[0], p[1], p[2], p[3], p[4], p[5]); }

void FillDisc(std::int32_t cx, std::int32_t cy, std::int32_t r) {
  const ViewClip& c = CurrentViewClip();
  if (r < 0 || !DiscVisible(c, cx, cy, r)) return;
  const std::int64_t t = static_cast<std::int64_t>(r) * (r + 1);
  // Only the rows inside the clip are walked: rows cy + s * y for y from
  // `first` to `last`, the column found once and then stepped inward.
  auto half = [&](int s, std::int64_t first, std::int64_t last) {
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, r);
    if (first > last) return;
    std::int64_t x = RimColumn(t, first);
    for (std::int64_t y = first; y <= last; ++y) {
      while (x > 0 && x * x + y * y > t) --x;
      HorizontalRun(Wrap(cx - x), Wrap(cx + x), Wrap(cy + s * y));
    }
  };
  const std::int64_t lo = static_cast<std::int64_t>(c.ymin) - cy;
  const std::int64_t hi = static_cast<std::int64_t>(c.ymax) - cy;
  half(1, lo, hi);                               // rows cy .. cy + r
  half(-1, std::max<std::int64_t>(-hi, 1), -lo);  // rows cy - 1 .. cy - r
}

void DrawCircleOutline(std::int32_t cx, std::int32_t cy, std::int32_t r) {
  if (r < 0 || !DiscVisible(CurrentViewClip(), cx, cy, r)) return;
  if (r == 0) {
    EmitPixel(cx, cy);
    return;
  }
  WalkCircle(
      r,
      [&](std::int64_t x, std::int64_t ya, std::int64_t yb) {
        for (const int s : {1, -1}) {
          if (ya == 0) {
            VerticalRun(Wrap(cx + s * x), Wrap(cy - yb), Wrap(cy + yb));
            HorizontalRun(Wrap(cx - yb), Wrap(cx + yb), Wrap(cy + s * x));
          } else {
            VerticalRun(Wrap(cx + s * x), Wrap(cy + ya), Wrap(cy + yb));
            VerticalRun(Wrap(cx + s * x), Wrap(cy - yb), Wrap(cy - ya));
            HorizontalRun(Wrap(cx + ya), Wrap(cx + yb), Wrap(cy + s * x));
            HorizontalRun(Wrap(cx - yb), Wrap(cx - ya), Wrap(cy + s * x));
          }
        }
      },
      [&](std::int64_t d) {
        EmitPixel(cx + d, cy + d);
        EmitPixel(cx - d, cy + d);
        EmitPixel(cx + d, cy - d);
        EmitPixel(cx - d, cy - d);
      });
}

void FillQuarteredDisc(std::int32_t cx, std::int32_t cy, std::int32_t r, int side) {
  if (r < 0 || !DiscVisible(CurrentViewClip(), cx, cy, r)) return;
  if (r == 0) {
    EmitPixel(cx, cy);
    return;
  }
  const int s = (side & 1) ? -1 : 1;
  // Filled quarters toward (s, 1) and (-s, -1); outlined toward (-s, 1) and (s, -1).
  FillQuadrant(cx, cy, r, s, 1, true);
  FillQuadrant(cx, cy, r, -s, -1, false);
  OutlineQuadrant(cx, cy, r, -s, 1);
  OutlineQuadrant(cx, cy, r, s, -1);
}

void DrawPatternedWorldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  WorldToViewCurrent(x1, y1);
  WorldToViewCurrent(x2, y2);
  const ViewClip& c = CurrentViewClip();
  if (!ThickSegmentVisible(c, std::min(y1, y2) == y1 ? x1 : x2, std::min(y1, y2), std::min(y1, y2) == y1 ? x2 : x1,
                           std::max(y1, y2), 0)) {
    return;
  }
  if (y1 == y2 && (y1 < c.ymin || y1 > c.ymax)) return;
  if (x1 == x2 && (x1 < c.xmin || x1 > c.xmax)) return;
  VisitLinePixels(x1, y1, x2, y2, c, [](std::int32_t x, std::int32_t y) {
    if (!g_raster.plane || static_cast<std::uint32_t>(x) >= g_raster.width ||
        static_cast<std::uint32_t>(y) >= g_raster.height) {
      return;
    }
    StepLinePattern();
    g_raster.plane[PlaneWordIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))] = g_raster.fillValue;
  });
}

void DrawTrackRecord(TrackLayout* track) { DrawTrack(track->x1, track->y1, track->x2, track->y2, track->width); }

void TransformAndDrawLine(TrackLayout* track, const Transform* t) {
  TransformLineToView(track, t);
  DrawTrackRecord(track);
}

void TransformAndDrawSlot(TrackLayout* track, const Transform* t) {
  TransformSlotToView(track, t);
  DrawTrackRecord(track);
}

void TransformAndFillCircle(CircleLayout* circle, const Transform* t) {
  TransformCircleToView(circle, t);
  FillDisc(circle->centreX, circle->centreY, circle->size);
}

void FillHoleOuter(HoleLayout* hole, const Transform* t) {
  TransformHoleToView(hole, t);
  FillDisc(hole->centreX, hole->centreY, hole->size1);
}

void FillHoleInner(HoleLayout* hole, const Transform* t) {
  TransformHoleToView(hole, t);
  FillDisc(hole->centreX, hole->centreY, hole->size2);
}

void DrawHoleRing(HoleLayout* hole, const Transform* t) {
  TransformHoleToView(hole, t);
  DrawCircleOutline(hole->centreX, hole->centreY, hole->size2);
}

void DrawHoleCross(HoleLayout* hole, const Transform* t) {
  TransformHoleToView(hole, t);
  std::int32_t s = hole->size1;
  if (hole->flags & kHoleShortCross) s = static_cast<std::int32_t>(static_cast<std::uint32_t>(s) >> 2);
  const std::int64_t cx = hole->centreX, cy = hole->centreY;
  HorizontalRun(Wrap(cx - s), Wrap(cx + s), Wrap(cy));
  // The vertical arm leaves out the centre, which the horizontal one wrote.
  if (s > 0) {
    VerticalRun(Wrap(cx), Wrap(cy - s), Wrap(cy - 1));
    VerticalRun(Wrap(cx), Wrap(cy + 1), Wrap(cy + s));
  }
}

void FillPolygon(const PolygonLayout* polygon, const Transform* t) {
  const int n = polygon->count;
  if (n < 3) return;
  const Point* buffer = PolygonToPointBuffer(polygon, t);
  const std::uint8_t* tri = PolygonTriangles(polygon);
  for (int k = 0; k < n - 2; ++k, tri += 3) {
    if (tri[0] >= n || tri[1] >= n || tri[2] >= n) continue;  // a damaged triangulation
    const Point& a = buffer[tri[0]];
    const Point& b = buffer[tri[1]];
    const Point& c = buffer[tri[2]];
    FillTriangle(a.x, a.y, b.x, b.y, c.x, c.y);
  }
}

void DrawPolygonCornerMarks(const PolygonLayout* polygon, const Transform* t, std::int32_t length) {
  const int n = polygon->count;
  if (n < 2) return;
  const Point* buffer = PolygonToPointBuffer(polygon, t);
  auto marks = [length](Point first, Point second) {
    const Point v = Sub(first, second);
    const std::int32_t quarter = VectorLength(v.x, v.y) / 4;
    const Point m = LatticeVector(v.x, v.y, std::min(length, quarter));
    DrawViewLine(first.x, first.y, first.x - m.x, first.y - m.y);
    DrawViewLine(second.x, second.y, second.x + m.x, second.y + m.y);
  };
  for (int i = n - 1; i >= 1; --i) marks(buffer[i], buffer[i - 1]);
  marks(buffer[n - 1], buffer[0]);
}

void FillRectangleRecord(const RectangleLayout* rect) {
  const Point* c = rect->corners;
  FillTriangle(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
  FillTriangle(c[0].x, c[0].y, c[3].x, c[3].y, c[2].x, c[2].y);
}

}  // namespace pl3
