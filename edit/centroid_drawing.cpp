// The centroid marker's XOR drawing; its drag handle is the grab routine of
// objects/entity_copy.cpp. The marker is a circle of its size round its
// position, a cross through it, and an arrow twice the size long along its
// direction with two head strokes of a third of the size, turned 30 degrees
// either way.
#include <algorithm>
#include <cmath>

#include "draw/entity_geometry.h"
#include "draw/gdi_shapes.h"
#include "draw/ghost_pens.h"
#include "draw/ghost_seams.h"
#include "edit/centroids.h"
#include "edit/drag_geometry.h"
#include "edit/window_data.h"
#include "geometry/rasterise.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/locator_kinds.h"

namespace {

using pl3::Point;

// The size of a centroid is held explicitly in the size word.
std::int32_t SizeOf(const CentroidPayload& c) { return static_cast<std::int32_t>(c.head.sizeIndex); }

Point ToView(const pl3::Transform* t, Point p) {
  if (t) pl3::TransformPoint(t, p.x, p.y);
  pl3::WorldToView(p.x, p.y);
  return p;
}

// With a device context the marker is XOR-drawn by GDI; without one it is
// rasterised into the layer plane of the pass being drawn.
void Segment(void* dc, Point a, Point b) {
  if (dc)
    DrawSegmentLine(dc, {a.x, a.y, b.x, b.y});
  else
    pl3::DrawViewLine(a.x, a.y, b.x, b.y);
}

void Circle(void* dc, Point c, std::int32_t r) {
  if (dc)
    DrawCircle(dc, c.x, c.y, r);
  else
    pl3::DrawCircleOutline(c.x, c.y, r);
}

// One head stroke: a third of the size back from the tip, turned by `turn`.
Point HeadStroke(Point tip, Point back, std::int32_t length, const pl3::Transform& turn) {
  ScalePointVectorToLength(length, &back);
  pl3::TransformVector(&turn, back.x, back.y);
  return {tip.x + back.x, tip.y + back.y};
}

void DrawMarker(void* dc, const CentroidPayload& c, const pl3::Transform* transform) {
  const std::int32_t size = SizeOf(c);
  const Point at = c.position;
  const Point centre = ToView(transform, at);
  const std::int32_t radius = pl3::ScaleToView(size);
  Circle(dc, centre, radius);
  // The cross stops a pixel short of the circle, whose pixels it would
  // otherwise XOR away; the vertical arm leaves out the centre the
  // horizontal one drew.
  const std::int32_t arm = std::max(radius - 1, 0);
  Segment(dc, {centre.x - arm, centre.y}, {centre.x + arm + 1, centre.y});
  Segment(dc, {centre.x, centre.y - arm}, {centre.x, centre.y});
  Segment(dc, {centre.x, centre.y + 1}, {centre.x, centre.y + arm + 1});
  if (c.direction.x == 0 && c.direction.y == 0) return;
  Point arrow = c.direction;
  ScalePointVectorToLength(2 * size, &arrow);
  const Point tip{at.x + arrow.x, at.y + arrow.y};
  const Point back{-arrow.x, -arrow.y};
  const Point tipView = ToView(transform, tip);
  Segment(dc, centre, tipView);
  Segment(dc, tipView, ToView(transform, HeadStroke(tip, back, size / 3, kArrowHeadPlus30)));
  Segment(dc, tipView, ToView(transform, HeadStroke(tip, back, size / 3, kArrowHeadMinus30)));
}

}  // namespace

void DrawCentroid(void* dc, const void* payload, const pl3::Transform* transform) {
  if (!payload || !ActiveWindowData) return;
  const auto& c = *static_cast<const CentroidPayload*>(payload);
  if (!dc) {
    DrawMarker(nullptr, c, transform);
    return;
  }
  SetXorPen(dc, 0, kGhostWhite);
  DrawMarker(dc, c, transform);
  RestoreXorPen(dc);
}
