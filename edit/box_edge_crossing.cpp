// The box-edge test of the walk: whether an item's drawn form crosses an
// edge of the window's drag rectangle, so that a rectangle selection can
// tell the items it cuts from those it holds.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "edit/object_select.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/transform.h"
#include "objects/entity_record.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

struct P {
  double x, y;
};

double DistanceToSegment(P p, P a, P b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double Cross(P o, P a, P b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool SegmentsMeet(P a, P b, P c, P d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
  return DistanceToSegment(a, c, d) == 0 || DistanceToSegment(b, c, d) == 0 || DistanceToSegment(c, a, b) == 0 ||
         DistanceToSegment(d, a, b) == 0;
}

double SegmentDistance(P a, P b, P c, P d) {
  if (SegmentsMeet(a, b, c, d)) return 0;
  return std::min({DistanceToSegment(a, c, d), DistanceToSegment(b, c, d), DistanceToSegment(c, a, b),
                   DistanceToSegment(d, a, b)});
}

// The four edges of the drag rectangle in world units: left and top first,
// then right and bottom.
struct Edges {
  P a[4], b[4];
};

Edges DragEdges(const CurrentWindowData* w) {
  // The drag corners are world points (the cursor where the drag began and is now).
  const double x0 = std::min(w->DragStart.x, w->DragCurrent.x), x1 = std::max(w->DragStart.x, w->DragCurrent.x);
  const double y0 = std::min(w->DragStart.y, w->DragCurrent.y), y1 = std::max(w->DragStart.y, w->DragCurrent.y);
  return {{{x0, y0}, {x0, y0}, {x1, y0}, {x0, y1}}, {{x0, y1}, {x1, y0}, {x1, y1}, {x1, y1}}};
}

// A thick segment crosses an edge when the edge comes nearer its centre
// line than its half-width.
bool ThickSegmentCrosses(const Edges& e, P a, P b, double halfWidth) {
  for (int i = 0; i < 4; ++i)
    if (SegmentDistance(a, b, e.a[i], e.b[i]) <= halfWidth) return true;
  return false;
}

// A ring (radius r, half-width hw) crosses an edge that passes within its band.
bool RingCrosses(const Edges& e, P centre, double r, double hw) {
  for (int i = 0; i < 4; ++i) {
    const double nearest = DistanceToSegment(centre, e.a[i], e.b[i]);
    const double farthest = std::max(std::hypot(e.a[i].x - centre.x, e.a[i].y - centre.y),
                                     std::hypot(e.b[i].x - centre.x, e.b[i].y - centre.y));
    if (nearest <= r + hw && farthest >= r - hw) return true;
  }
  return false;
}

bool OutlineCrosses(const Edges& e, const P* points, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    const P a = points[k], b = points[(k + 1) % count];
    for (int i = 0; i < 4; ++i)
      if (SegmentsMeet(a, b, e.a[i], e.b[i])) return true;
  }
  return false;
}

P Mapped(const pl3::Transform* t, std::int32_t x, std::int32_t y) {
  if (t) pl3::TransformPoint(t, x, y);
  return {static_cast<double>(x), static_cast<double>(y)};
}

bool ArcCrosses(const Edges& e, const pl3::ArcLayout& arc, const pl3::Transform* t, double halfWidth) {
  const P centre = Mapped(t, arc.centreX, arc.centreY);
  const P start = Mapped(t, arc.centreX + arc.startX, arc.centreY + arc.startY);
  const P end = Mapped(t, arc.centreX + arc.endX, arc.centreY + arc.endY);
  const double r = std::hypot(start.x - centre.x, start.y - centre.y);
  const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
  double sweep = std::atan2(end.y - centre.y, end.x - centre.x) - a0;
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  constexpr int kSteps = 64;
  P previous = start;
  for (int k = 1; k <= kSteps; ++k) {
    const double a = a0 + sweep * k / kSteps;
    const P next{centre.x + r * std::cos(a), centre.y + r * std::sin(a)};
    if (ThickSegmentCrosses(e, previous, next, halfWidth)) return true;
    previous = next;
  }
  return false;
}

bool IsTrackLike(std::uint16_t type) {
  switch (type) {
    case 1: case 10: case 11: case 37: case 39: case 46: case 47: return true;
    default: return false;
  }
}

bool IsPolygonLike(std::uint16_t type) {
  switch (type) {
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49: return true;
    default: return false;
  }
}

// The item as it is drawn: a copy of its record with indexed sizes taken
// from the window's size lists (a via's from the Vias list, a slot's from
// the Holes list, a board outline keeping its own width). False when the
// payload is too short for its layout.
template <typename T>
bool ReadDrawn(const Entity* e, T* out) {
  if (e->payloadSize < sizeof(T)) return false;
  std::memcpy(out, EntityPayload(e), sizeof(T));
  ResolveEntitySizes(out, e->typeCode);
  return true;
}

bool Crosses(const Entity* e, const pl3::Transform* t, const Edges& edges) {
  const std::uint16_t type = e->typeCode;
  if (IsTrackLike(type)) {
    pl3::TrackLayout line;
    if (!ReadDrawn(e, &line)) return false;
    return ThickSegmentCrosses(edges, Mapped(t, line.x1, line.y1), Mapped(t, line.x2, line.y2), line.width);
  }
  switch (type) {
    case Type_Arc: case Type_BoardOutlineArc: {
      pl3::ArcLayout arc;
      return ReadDrawn(e, &arc) && ArcCrosses(edges, arc, t, arc.width);
    }
    case Type_Circle: {
      pl3::CircleLayout circle;
      if (!ReadDrawn(e, &circle)) return false;
      return RingCrosses(edges, Mapped(t, circle.centreX, circle.centreY), circle.size, 0);
    }
    case Type_Rectangle: {
      pl3::RectangleLayout rect;
      if (!ReadDrawn(e, &rect)) return false;
      P corners[4];
      for (int k = 0; k < 4; ++k) corners[k] = Mapped(t, rect.corners[k].x, rect.corners[k].y);
      return OutlineCrosses(edges, corners, 4);
    }
    case Type_Hole: {
      pl3::HoleLayout hole;
      if (!ReadDrawn(e, &hole)) return false;
      // The first size is the radius of the drawn disc.
      return RingCrosses(edges, Mapped(t, hole.centreX, hole.centreY), 0, hole.size1);
    }
    default: break;
  }
  if (!IsPolygonLike(type) || e->payloadSize < sizeof(pl3::PolygonLayout)) return false;
  const auto* polygon = reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(e));
  const std::size_t count = polygon->count;
  if (count < 2 || e->payloadSize < sizeof(pl3::PolygonLayout) + count * sizeof(pl3::Point)) return false;
  P points[256];
  for (std::size_t k = 0; k < count; ++k) {
    pl3::Point p;
    std::memcpy(&p, EntityPayload(e) + sizeof(pl3::PolygonLayout) + k * sizeof p, sizeof p);
    points[k] = Mapped(t, p.x, p.y);
  }
  return OutlineCrosses(edges, points, count);
}

}  // namespace

std::int32_t ItemCrossesBoxEdge(const pl3::Transform* transform, Tower* item, void*, std::uint8_t, std::uint8_t,
                                std::int32_t*) {
  const CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(item);
  if (!w || !e) return 0;
  return Crosses(e, transform, DragEdges(w)) ? 1 : 0;
}
