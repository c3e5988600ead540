#include "geometry/record_view.h"

#include "geometry/transform.h"
#include "geometry/view_mapping.h"

namespace pl3 {
namespace {

// Configuration set once at start-up, not working state: tests set their own.
RealSizeResolver g_resolver = nullptr;

// Entity type codes whose size lists the record-to-view steps consult.
constexpr std::uint16_t kSizeOfTrack = 1;
constexpr std::uint16_t kSizeOfArc = 2;
constexpr std::uint16_t kSizeOfCircle = 3;
constexpr std::uint16_t kSizeOfRectangle = 6;
constexpr std::uint16_t kSizeOfHole = 7;
constexpr std::uint16_t kSizeOfVia = 17;
constexpr std::uint16_t kSizeOfSlot = 46;

// The stored size, or the real size of the record's index when it is indexed.
std::int32_t RealSize(const GraphicLayoutHead& head, std::int32_t stored, std::uint16_t type, std::uint32_t second) {
  if (!(head.sizeFlags & kSizeIndexed) || !g_resolver) return stored;
  return g_resolver(type, head.sizeIndex, second);
}

void PointToView(const Transform* t, std::int32_t& x, std::int32_t& y) {
  TransformPoint(t, x, y);
  WorldToViewCurrent(x, y);
}

void LineToView(TrackLayout* track, const Transform* t, std::uint16_t type) {
  PointToView(t, track->x1, track->y1);
  PointToView(t, track->x2, track->y2);
  track->width = ScaleToView(RealSize(track->head, track->width, type, 0));
}

void ArcPointsToView(ArcLayout* arc, const Transform* t) {
  TransformVectorToView(t, arc->startX, arc->startY);
  TransformVectorToView(t, arc->endX, arc->endY);
  arc->radius = ScaleToViewRoundingUp(arc->radius);
  TransformPoint(t, arc->centreX, arc->centreY);
  const ViewMapping& v = ActiveViewMapping();
  arc->centreX = static_cast<std::int32_t>(static_cast<std::uint32_t>(ScaleToViewRoundingUp(arc->centreX)) -
                                           static_cast<std::uint32_t>(v.originX));
  arc->centreY = static_cast<std::int32_t>(static_cast<std::uint32_t>(ScaleToViewRoundingUp(arc->centreY)) -
                                           static_cast<std::uint32_t>(v.originY));
}

}  // namespace

void SetRealSizeResolver(RealSizeResolver resolver) { g_resolver = resolver; }

void TransformLine(TrackLayout* track, const Transform* t) {
  TransformPoint(t, track->x1, track->y1);
  TransformPoint(t, track->x2, track->y2);
}
void TransformLineSigned(TrackLayout* track, const Transform* t) {
  TransformSignedPoint(t, track->x1, track->y1);
  TransformSignedPoint(t, track->x2, track->y2);
}
void TransformCircle(CircleLayout* circle, const Transform* t) { TransformPoint(t, circle->centreX, circle->centreY); }
void TransformCircleSigned(CircleLayout* circle, const Transform* t) {
  TransformSignedPoint(t, circle->centreX, circle->centreY);
}
void TransformHole(HoleLayout* hole, const Transform* t) { TransformPoint(t, hole->centreX, hole->centreY); }
void TransformHoleSigned(HoleLayout* hole, const Transform* t) { TransformSignedPoint(t, hole->centreX, hole->centreY); }

void TransformArc(ArcLayout* arc, const Transform* t) {
  TransformVector(t, arc->startX, arc->startY);
  TransformVector(t, arc->endX, arc->endY);
  TransformPoint(t, arc->centreX, arc->centreY);
}
void TransformArcSigned(ArcLayout* arc, const Transform* t) {
  TransformVector(t, arc->startX, arc->startY);
  TransformVector(t, arc->endX, arc->endY);
  TransformSignedPoint(t, arc->centreX, arc->centreY);
}

void TransformPolygon(PolygonLayout* polygon, const Transform* t) {
  TransformPoints(t, PolygonPoints(polygon), PolygonPoints(polygon), polygon->count);
}
void TransformPolygonSigned(PolygonLayout* polygon, const Transform* t) {
  Point* p = PolygonPoints(polygon);
  for (int i = 0; i < polygon->count; ++i) TransformSignedPoint(t, p[i].x, p[i].y);
}

void TransformRectangle(RectangleLayout* rect, const Transform* t) {
  for (Point& c : rect->corners) TransformPoint(t, c.x, c.y);
  TransformPoint(t, rect->centreX, rect->centreY);
}

void TransformLineToView(TrackLayout* track, const Transform* t) { LineToView(track, t, kSizeOfTrack); }
void TransformSlotToView(TrackLayout* track, const Transform* t) { LineToView(track, t, kSizeOfSlot); }

void TransformCircleToView(CircleLayout* circle, const Transform* t) {
  PointToView(t, circle->centreX, circle->centreY);
  circle->size = ScaleToView(RealSize(circle->head, circle->size, kSizeOfCircle, 0));
}

void TransformHoleToView(HoleLayout* hole, const Transform* t) {
  const std::uint16_t type = (hole->flags & kHoleFromViaList) ? kSizeOfVia : kSizeOfHole;
  PointToView(t, hole->centreX, hole->centreY);
  hole->size1 = ScaleToView(RealSize(hole->head, hole->size1, type, 0));
  hole->size2 = ScaleToView(RealSize(hole->head, hole->size2, type, 1));
}

void TransformArcToView(ArcLayout* arc, const Transform* t) {
  arc->width = ScaleToView(RealSize(arc->head, arc->width, kSizeOfArc, 0));
  ArcPointsToView(arc, t);
}

void TransformArcToViewKeepWidth(ArcLayout* arc, const Transform* t) { ArcPointsToView(arc, t); }

void SetRectangleCorners(RectangleLayout* rect) {
  if (!(rect->head.sizeFlags & kSizeIndexed) || !g_resolver) return;
  const std::uint32_t w = static_cast<std::uint32_t>(g_resolver(kSizeOfRectangle, rect->head.sizeIndex, 0)) >> 1;
  const std::uint32_t h = static_cast<std::uint32_t>(g_resolver(kSizeOfRectangle, rect->head.sizeIndex, 1)) >> 1;
  const std::uint32_t cx = static_cast<std::uint32_t>(rect->centreX);
  const std::uint32_t cy = static_cast<std::uint32_t>(rect->centreY);
  auto at = [](std::uint32_t x, std::uint32_t y) {
    return Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
  };
  rect->corners[0] = at(cx - w, cy - h);
  rect->corners[1] = at(cx + w, cy - h);
  rect->corners[2] = at(cx + w, cy + h);
  rect->corners[3] = at(cx - w, cy + h);
}

void TransformRectangleToView(RectangleLayout* rect, const Transform* t) {
  SetRectangleCorners(rect);
  for (Point& c : rect->corners) PointToView(t, c.x, c.y);
  PointToView(t, rect->centreX, rect->centreY);
}

}  // namespace pl3
