#include "draw/polygon_drawing.h"

#include <algorithm>

#include "geometry/rasterise.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"

namespace {

using pl3::Point;

// The polygon's points placed and in view pixels.
int PolygonViewPoints(const pl3::PolygonLayout* polygon, const pl3::Transform* t, Point* out) {
  const int n = std::min<int>(polygon->count, kPolygonMaxPoints);
  const Point* points = pl3::PolygonPoints(polygon);
  for (int i = 0; i < n; ++i) {
    out[i] = points[i];
    if (t) pl3::TransformSignedPoint(t, out[i].x, out[i].y);
    pl3::WorldToViewSigned(out[i].x, out[i].y);
  }
  return n;
}

}  // namespace

void DrawPolygonEdges(const pl3::PolygonLayout* polygon, const pl3::Transform* t, std::int32_t halfWidth) {
  Point p[kPolygonMaxPoints];
  const int n = PolygonViewPoints(polygon, t, p);
  if (n < 2) return;
  for (int i = 0; i < n; ++i) {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % n];
    if (n == 2 && i == 1) break;  // two points make one edge
    pl3::DrawTrack(a.x, a.y, b.x, b.y, halfWidth);
  }
}

void DrawTransformedPolygon(const void* polygon, const pl3::Transform* transform, int kind) {
  if (!polygon) return;
  const auto* p = static_cast<const pl3::PolygonLayout*>(polygon);
  switch (kind) {
    case kPolygonDrawFilled: case kPolygonDrawPlane:
      pl3::FillPolygon(p, transform);
      return;
    case kPolygonDrawCutout:
      pl3::FillPolygon(p, transform);
      pl3::DrawPolygonCornerMarks(p, transform, pl3::ScaleToView(kCutoutCornerMark));
      return;
    default:
      DrawPolygonEdges(p, transform, 0);
      return;
  }
}

