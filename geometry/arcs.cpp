#include "geometry/arcs.h"

#include <algorithm>
#include <utility>

#include "geometry/octants.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/record_view.h"
#include "geometry/seams.h"
#include "geometry/transform.h"
#include "platform/reset_hooks.h"

namespace pl3 {
namespace {

constexpr std::uint8_t kOctantMapping[8] = {0, 1, 3, 2, 6, 7, 5, 4};

std::vector<ArcDirection> g_directions;
Point g_midDirection = {0, 0};

void ResetArcGlobals() {
  g_midDirection = {0, 0};
  g_directions.clear();
}
[[maybe_unused]] const bool g_registered = RegisterGlobalReset(&ResetArcGlobals);

std::int64_t Cross(Point u, Point v) {
  return static_cast<std::int64_t>(u.x) * v.y - static_cast<std::int64_t>(u.y) * v.x;
}
Point Negate(Point v) {
  return {static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v.x)),
          static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v.y))};
}
bool SameVector(Point u, Point v) { return u.x == v.x && u.y == v.y; }

// The inverse of MapFromOctant: a real vector in octant k's reduced frame.
Point IntoOctant(int k, Point v) {
  const std::uint8_t m = kOctantMapping[k & 7];
  if (m & 2) v.x = -v.x;
  if (m & 4) v.y = -v.y;
  if (m & 1) std::swap(v.x, v.y);
  return v;
}

Point LatticeAt(Point direction, std::int32_t r) { return LatticeVector(direction.x, direction.y, r); }

// The column where the line from the centre toward the reduced point
// (major, minor) enters row y; `beyond` once it has left the disc.
std::int64_t LineColumn(Point reduced, std::int64_t y, std::int64_t outer, std::int64_t beyond) {
  std::int64_t col;
  if (y == 0) {
    col = 0;
  } else if (reduced.y <= 0) {
    return beyond;
  } else {
    const std::int64_t num = static_cast<std::int64_t>(reduced.x) * (2 * y - 1);
    const std::int64_t den = 2 * static_cast<std::int64_t>(reduced.y);
    col = num <= 0 ? 0 : (num + den - 1) / den;
  }
  return col > outer ? beyond : col;
}

// Emits the reduced run [lo, hi] on reduced row y of octant k.
void EmitOctantRun(int k, std::int32_t cx, std::int32_t cy, std::int64_t lo, std::int64_t hi, std::int64_t y) {
  if (lo > hi) return;
  const Point a = MapFromOctant(k, static_cast<std::int32_t>(lo), static_cast<std::int32_t>(y));
  const Point b = MapFromOctant(k, static_cast<std::int32_t>(hi), static_cast<std::int32_t>(y));
  if (kOctantMapping[k] & 1) {
    VerticalRun(cx + a.x, cy + std::min(a.y, b.y), cy + std::max(a.y, b.y));
  } else {
    HorizontalRun(cx + std::min(a.x, b.x), cx + std::max(a.x, b.x), cy + a.y);
  }
}

bool OctantBoxVisible(int k, std::int32_t cx, std::int32_t cy, std::int32_t ro) {
  if (!g_raster.clip) return false;
  const Point a = MapFromOctant(k, 0, 0);
  const Point b = MapFromOctant(k, ro, ro);
  const ViewClip& c = *g_raster.clip;
  const std::int64_t x0 = static_cast<std::int64_t>(cx) + std::min(a.x, b.x);
  const std::int64_t x1 = static_cast<std::int64_t>(cx) + std::max(a.x, b.x);
  const std::int64_t y0 = static_cast<std::int64_t>(cy) + std::min(a.y, b.y);
  const std::int64_t y1 = static_cast<std::int64_t>(cy) + std::max(a.y, b.y);
  return !(x1 < c.xmin || x0 > c.xmax || y1 < c.ymin || y0 > c.ymax);
}

// The reduced rows of octant k whose runs can land inside the clip: a
// reduced row is a real row (or, in swapped octants, a real column).
bool OctantRows(int k, std::int32_t cx, std::int32_t cy, std::int32_t ro, std::int64_t& first, std::int64_t& last) {
  const ViewClip& c = CurrentViewClip();
  const std::uint8_t m = kOctantMapping[k];
  const bool swap = (m & 1) != 0;
  const bool negative = swap ? (m & 2) != 0 : (m & 4) != 0;
  const std::int64_t base = swap ? cx : cy;
  const std::int64_t lo = swap ? c.xmin : c.ymin;
  const std::int64_t hi = swap ? c.xmax : c.ymax;
  first = std::max<std::int64_t>(negative ? base - hi : lo - base, 0);
  last = std::min<std::int64_t>(negative ? base - lo : hi - base, ro);
  return first <= last;
}

// What one octant of the sweep contributes: the reduced rows whose runs can
// land in the clip, and both ends in its reduced frame.
struct OctantPlan {
  bool on = false;
  std::int64_t first = 0, last = -1;
  Point redStart{}, redEnd{};
};

// Reduced row y of octant k, between the inner bound xi and the outer bound
// xo (0 <= y <= x). Even octants own their first row and odd octants their
// diagonal, so every pixel of a full ring is written once.
void BandRow(int k, std::int32_t cx, std::int32_t cy, std::int64_t y, std::int64_t xi, std::int64_t xo,
             std::int64_t beyond, const ArcSweep& sweep, const OctantPlan& plan) {
  const bool odd = (k & 1) != 0;
  if (odd && y == 0) return;
  const std::int64_t lo = std::max(xi, odd ? y : y + 1);
  const std::int64_t hi = xo;
  if (lo > hi) return;
  const std::uint8_t f = sweep.octants[k];
  if (f & kOctantWhole) {
    EmitOctantRun(k, cx, cy, lo, hi, y);
    return;
  }
  const bool holdsStart = (f & kOctantHoldsStart) != 0;
  const bool holdsEnd = (f & kOctantHoldsEnd) != 0;
  // A start along the axis of this octant's first row lies on that row, so
  // the whole row is on its sweep side; the walker's entry column (0) would
  // drop the start pixel of every arc that begins on an axis.
  const bool startOnRow = y == 0 && plan.redStart.y == 0 && plan.redStart.x > 0;
  const std::int64_t s = startOnRow ? beyond : LineColumn(plan.redStart, y, xo, beyond);
  const std::int64_t e = LineColumn(plan.redEnd, y, xo, beyond);
  // The part of the row on the sweep side of each end's line.
  const std::int64_t startLo = odd ? std::max(lo, s) : lo;
  const std::int64_t startHi = odd ? hi : std::min(hi, s);
  const std::int64_t endLo = odd ? lo : std::max(lo, e);
  const std::int64_t endHi = odd ? std::min(hi, e) : hi;
  if (holdsStart && holdsEnd) {
    if (sweep.wrap) {
      EmitOctantRun(k, cx, cy, std::max(startLo, endLo), std::min(startHi, endHi), y);
    } else if (startLo > startHi || endLo > endHi || std::max(startLo, endLo) > std::min(startHi, endHi) + 1) {
      EmitOctantRun(k, cx, cy, startLo, startHi, y);
      EmitOctantRun(k, cx, cy, endLo, endHi, y);
    } else {
      EmitOctantRun(k, cx, cy, std::min(startLo, endLo), std::max(startHi, endHi), y);
    }
  } else if (holdsStart) {
    EmitOctantRun(k, cx, cy, startLo, startHi, y);
  } else if (holdsEnd) {
    EmitOctantRun(k, cx, cy, endLo, endHi, y);
  }
}

// The band between the inner and outer circles over the marked octants,
// row by row of the reduced frame, and on each row the octants of the sweep
// from 7 down to 0; only rows that can reach the clip are walked.
void DrawBand(std::int32_t cx, std::int32_t cy, std::int32_t ri, std::int32_t ro, const ArcSweep& sweep,
              Point latticeStart, Point latticeEnd) {
  if (ro < 0) return;
  if (ro == 0) {
    HorizontalRun(cx, cx, cy);
    return;
  }
  OctantPlan plan[8];
  bool any = false;
  for (int k = 0; k < 8; ++k) {
    plan[k].on = !(sweep.octants[k] & kOctantNotDrawn) && OctantBoxVisible(k, cx, cy, ro);
    any = any || plan[k].on;
  }
  if (!any) return;
  if (ri <= 0) HorizontalRun(cx, cx, cy);
  std::int64_t first = INT64_MAX, last = -1;
  for (int k = 0; k < 8; ++k) {
    OctantPlan& o = plan[k];
    o.on = o.on && OctantRows(k, cx, cy, ro, o.first, o.last);
    if (!o.on) continue;
    o.redStart = IntoOctant(k, latticeStart);
    o.redEnd = IntoOctant(k, latticeEnd);
    first = std::min(first, o.first);
    last = std::max(last, o.last);
  }
  const std::int64_t outerT = static_cast<std::int64_t>(ro) * (ro + 1);
  const std::int64_t innerT = static_cast<std::int64_t>(ri) * (ri + 1);
  const std::int64_t beyond = static_cast<std::int64_t>(ro) + 1;
  std::int64_t xo = first <= last ? RimColumn(outerT, first) : 0;
  std::int64_t xiCircle = ri > 0 && first <= last ? RimColumn(innerT, first) : -1;
  for (std::int64_t y = first; y <= last; ++y) {
    while (xo > 0 && xo * xo + y * y > outerT) --xo;
    if (xo < y) break;  // the outer circle has passed the diagonal
    std::int64_t xi = y;
    if (ri > 0) {
      while (xiCircle > 0 && xiCircle * xiCircle + y * y > innerT) --xiCircle;
      if (xiCircle >= y && xiCircle * xiCircle + y * y <= innerT) xi = xiCircle;
    }
    for (int k = 7; k >= 0; --k) {
      if (plan[k].on && y >= plan[k].first && y <= plan[k].last) BandRow(k, cx, cy, y, xi, xo, beyond, sweep, plan[k]);
    }
  }
}

void ClearTracePointForTarget() {
  if (g_raster.spanTarget == kTargetOutlineTrace) {
    g_raster.traceLastX = 0;
    g_raster.traceLastY = 0;
  }
}

// Draws an arc in view pixels; `start` and `end` are the record's direction
// vectors, `ls` and `le` their lattice points at radius r.
void DrawArcView(std::int32_t cx, std::int32_t cy, std::int32_t r, std::int32_t w, Point start, Point end, Point ls,
                 Point le) {
  const bool full = SameVector(start, end);
  if (g_raster.trackOutlineMode == 1) {
    const ArcSweep sweep = MarkArcSweep(start, end);
    ClearTracePointForTarget();
    const std::int32_t outer = r + w;
    DrawBand(cx, cy, outer, outer, sweep, ls, le);
    if (w > 0 && r >= w) {
      ClearTracePointForTarget();
      DrawBand(cx, cy, r - w, r - w, sweep, ls, le);
    }
    if (!full && g_raster.spanTarget != kTargetOutlineTrace) {
      DrawArcEdge(cx + ls.x, cy + ls.y, w, Negate(start), start);
      DrawArcEdge(cx + le.x, cy + le.y, w, end, Negate(end));
    }
    return;
  }
  const std::int32_t ri = r > w ? r - w : 0;
  FillArcBand(cx, cy, ri, r + w, ls, le, start, end);
  if (!full) {
    FillDisc(cx + ls.x, cy + ls.y, w);
    FillDisc(cx + le.x, cy + le.y, w);
  }
}

// Table point i at radius r, in the reduced frame.
Point TablePoint(std::size_t i, std::int64_t r) {
  const ArcDirection d = g_directions[i];
  const auto scale = [r](std::uint32_t f) {
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(r) * f + 0x80000000ull) >> 32);
  };
  return {scale(d.cos), scale(d.sin)};
}

// The largest table index whose direction is not beyond the reduced vector.
std::size_t TablePlace(Point reduced) {
  const std::size_t n = g_directions.size() - 1;
  for (std::size_t i = n; i > 0; --i) {
    const ArcDirection d = g_directions[i];
    // Direction i is not beyond v when v lies on or after it: cross(d, v) >= 0.
    const double c = static_cast<double>(d.cos) * reduced.y - static_cast<double>(d.sin) * reduced.x;
    if (c >= 0) return i;
  }
  return 0;
}

struct ChordTracer {
  void* context;
  std::int32_t cx, cy;
  std::int64_t r;
  void Chord(int k, Point a, Point b, bool aReal, bool bReal) const {
    const Point p = aReal ? a : MapFromOctant(k, a.x, a.y);
    const Point q = bReal ? b : MapFromOctant(k, b.x, b.y);
    DrawClippedChord(context, cx + p.x, cy + p.y, cx + q.x, cy + q.y);
  }
  // Table chords from index i to index j (either direction).
  void TableChords(int k, std::size_t i, std::size_t j) const {
    while (i != j) {
      const std::size_t next = i < j ? i + 1 : i - 1;
      Chord(k, TablePoint(i, r), TablePoint(next, r), false, false);
      i = next;
    }
  }
  // From an exact end point to the table point at `to`, then the table chords on to `last`.
  void Piece(int k, Point exact, std::size_t to, std::size_t last) const {
    Chord(k, exact, TablePoint(to, r), true, false);
    TableChords(k, to, last);
  }
};

}  // namespace

ArcSweep MarkArcSweep(Point start, Point end) {
  ArcSweep sweep{};
  for (int k = 0; k < 8; ++k) sweep.octants[k] = kOctantMapping[k] | kOctantNotDrawn;
  const int so = ReduceToOctant(start.x, start.y).octant;
  const int eo = ReduceToOctant(end.x, end.y).octant;
  sweep.startOctant = so;
  sweep.endOctant = eo;
  auto mark = [&sweep](int k, std::uint8_t bits) {
    sweep.octants[k] = static_cast<std::uint8_t>((sweep.octants[k] & 7) | bits);
  };
  if (so != eo) {
    mark(so, kOctantHoldsStart);
    for (int k = (so + 1) & 7; k != eo; k = (k + 1) & 7) mark(k, kOctantWhole);
    mark(eo, kOctantHoldsEnd);
  } else if (Cross(start, end) > 0) {
    mark(so, kOctantHoldsStart | kOctantHoldsEnd);
    sweep.wrap = true;
  } else {
    for (int k = 0; k < 8; ++k) mark(k, kOctantWhole);
    mark(so, kOctantHoldsStart | kOctantHoldsEnd);
  }
  return sweep;
}

void FillArcBand(std::int32_t cx, std::int32_t cy, std::int32_t ri, std::int32_t ro, Point latticeStart,
                 Point latticeEnd, Point start, Point end) {
  DrawBand(cx, cy, ri, ro, MarkArcSweep(start, end), latticeStart, latticeEnd);
}

void FillSector(std::int32_t cx, std::int32_t cy, std::int32_t r, Point from, Point to) {
  FillArcBand(cx, cy, 0, r, LatticeAt(from, r), LatticeAt(to, r), from, to);
}

void DrawArcEdge(std::int32_t cx, std::int32_t cy, std::int32_t r, Point from, Point to) {
  FillArcBand(cx, cy, r, r, LatticeAt(from, r), LatticeAt(to, r), from, to);
}

void PrepareArcEnds(ArcLayout* arc) {
  const ReducedVector s = ReduceToOctant(arc->startX, arc->startY);
  const ReducedVector e = ReduceToOctant(arc->endX, arc->endY);
  arc->startMajor = s.major;
  arc->startMinor = s.minor;
  arc->endMajor = e.major;
  arc->endMinor = e.minor;
  arc->startOctant = static_cast<std::uint8_t>(s.octant);
  arc->endOctant = static_cast<std::uint8_t>(e.octant);
  const Point ls = PointAtRadius(s.major, s.minor, arc->radius);
  const Point le = PointAtRadius(e.major, e.minor, arc->radius);
  const Point rs = MapFromOctant(s.octant, ls.x, ls.y);
  const Point re = MapFromOctant(e.octant, le.x, le.y);
  arc->latticeStartX = rs.x;
  arc->latticeStartY = rs.y;
  arc->latticeEndX = re.x;
  arc->latticeEndY = re.y;
}

void PrepareCurrentArc() {
  auto* arc = static_cast<ArcLayout*>(g_raster.currentArc);
  if (!arc) return;
  PrepareArcEnds(arc);
  Point mid = {static_cast<std::int32_t>((static_cast<std::int64_t>(arc->latticeStartX) + arc->latticeEndX) >> 1),
               static_cast<std::int32_t>((static_cast<std::int64_t>(arc->latticeStartY) + arc->latticeEndY) >> 1)};
  if (mid.x == 0 && mid.y == 0) mid = TurnQuarter({arc->latticeStartX, arc->latticeStartY});
  mid = LatticeAt(mid, arc->radius);
  if (!IsDirectionInArc(arc, mid.x, mid.y)) mid = Negate(mid);
  g_midDirection = mid;
}

Point CurrentArcMidDirection() { return g_midDirection; }

void DrawArcRecord(ArcLayout* arc) {
  PrepareArcEnds(arc);
  DrawArcView(arc->centreX, arc->centreY, arc->radius, arc->width, {arc->startX, arc->startY},
              {arc->endX, arc->endY}, {arc->latticeStartX, arc->latticeStartY}, {arc->latticeEndX, arc->latticeEndY});
}

void TransformAndDrawArc(ArcLayout* arc, const Transform* t) {
  // The end vectors keep their world length: scaled to the view, a short
  // vector at a coarse zoom would lose its direction.
  Point start = {arc->startX, arc->startY};
  Point end = {arc->endX, arc->endY};
  TransformArcToView(arc, t);
  TransformVector(t, start.x, start.y);
  TransformVector(t, end.x, end.y);
  arc->startX = start.x;
  arc->startY = start.y;
  arc->endX = end.x;
  arc->endY = end.y;
  DrawArcRecord(arc);
}

int IsDirectionInArc(const ArcLayout* arc, std::int32_t dx, std::int32_t dy) {
  if (dx == 0 && dy == 0) return 1;
  const Point d = {dx, dy};
  const Point s = {arc->startX, arc->startY};
  const Point e = {arc->endX, arc->endY};
  const ArcSweep sweep = MarkArcSweep(s, e);
  const int o = ReduceToOctant(dx, dy).octant;
  const bool notBeforeStart = Cross(s, d) >= 0;
  const bool notAfterEnd = Cross(d, e) >= 0;
  if (o == sweep.startOctant && o == sweep.endOctant) {
    return sweep.wrap ? (notBeforeStart && notAfterEnd) : (notBeforeStart || notAfterEnd);
  }
  if (o == sweep.startOctant) return notBeforeStart ? 1 : 0;
  if (o == sweep.endOctant) return notAfterEnd ? 1 : 0;
  if (sweep.startOctant == sweep.endOctant) return sweep.wrap ? 0 : 1;
  return ((o - sweep.startOctant) & 7) < ((sweep.endOctant - sweep.startOctant) & 7) ? 1 : 0;
}

void GetArcBox(const ArcLayout* arc, const void*, Box* out) {
  ArcLayout a = *arc;
  PrepareArcEnds(&a);
  std::int64_t x0 = 0x7FFFFFFF, y0 = 0x7FFFFFFF, x1 = -0x7FFFFFFF, y1 = -0x7FFFFFFF;
  auto take = [&](std::int64_t x, std::int64_t y) {
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
  };
  take(a.latticeStartX, a.latticeStartY);
  take(a.latticeEndX, a.latticeEndY);
  const std::int64_t r = a.radius;
  const Point axes[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
  for (const Point& axis : axes) {
    if (IsDirectionInArc(&a, axis.x, axis.y)) take(axis.x * r, axis.y * r);
  }
  const std::int64_t w = a.width;
  out->xmin = static_cast<std::int32_t>(x0 + a.centreX - w);
  out->ymin = static_cast<std::int32_t>(y0 + a.centreY - w);
  out->xmax = static_cast<std::int32_t>(x1 + a.centreX + w);
  out->ymax = static_cast<std::int32_t>(y1 + a.centreY + w);
}

void TraceArcRuns(void* context, ArcLayout* arc) {
  if (g_directions.size() < 2) return;
  PrepareArcEnds(arc);
  arc->startX = arc->latticeStartX;
  arc->startY = arc->latticeStartY;
  arc->endX = arc->latticeEndX;
  arc->endY = arc->latticeEndY;
  const Point s = {arc->startX, arc->startY};
  const Point e = {arc->endX, arc->endY};
  const ArcSweep sweep = MarkArcSweep(s, e);
  const std::size_t n = g_directions.size() - 1;
  const ChordTracer tracer{context, arc->centreX, arc->centreY, arc->radius};
  for (int k = 7; k >= 0; --k) {
    const std::uint8_t f = sweep.octants[k];
    if (f & kOctantNotDrawn) continue;
    if (f & kOctantWhole) {
      tracer.TableChords(k, 0, n);
      continue;
    }
    const bool odd = (k & 1) != 0;
    const bool holdsStart = (f & kOctantHoldsStart) != 0;
    const bool holdsEnd = (f & kOctantHoldsEnd) != 0;
    const std::size_t ps = TablePlace(IntoOctant(k, s));
    const std::size_t pe = TablePlace(IntoOctant(k, e));
    if (holdsStart && holdsEnd && sweep.wrap) {
      const std::size_t lo = std::min(ps, pe);
      const std::size_t hi = std::max(ps, pe);
      if (hi - lo <= 1) {
        tracer.Chord(k, s, e, true, true);
      } else if (!odd) {
        tracer.Piece(k, s, ps + 1, pe);
        tracer.Chord(k, TablePoint(pe, arc->radius), e, false, true);
      } else {
        tracer.Piece(k, s, ps, pe + 1);
        tracer.Chord(k, TablePoint(pe + 1, arc->radius), e, false, true);
      }
      continue;
    }
    if (holdsStart) {
      if (!odd) {
        tracer.Piece(k, s, std::min(ps + 1, n), n);
      } else {
        tracer.Piece(k, s, ps, 0);
      }
    }
    if (holdsEnd) {
      if (!odd) {
        tracer.TableChords(k, 0, pe);
        tracer.Chord(k, TablePoint(pe, arc->radius), e, false, true);
      } else {
        const std::size_t from = std::min(pe + 1, n);
        tracer.TableChords(k, n, from);
        tracer.Chord(k, TablePoint(from, arc->radius), e, false, true);
      }
    }
  }
}

void SetArcDirectionTable(std::vector<ArcDirection> table) { g_directions = std::move(table); }

const std::vector<ArcDirection>& ArcDirectionTable() { return g_directions; }

}  // namespace pl3
