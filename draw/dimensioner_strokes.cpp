// The strokes the dimensioners are built of (objects/dimensioner_seams.h):
// tracks and arcs drawn at once into the raster plane or added to the
// display list by draw pass, and the XOR construction lines and circles of
// their ghosts. A file of its own, so that tests of the dimensioners can
// bring recording versions.
#include <cstdint>

#include "geometry/arcs.h"
#include "geometry/clipping.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/view_mapping.h"
#include "objects/dimensioner_seams.h"
#include "objects/display_list_seams.h"
#include "platform/gdi.h"

namespace {

constexpr int kPassDisplayList = 37;
// GDI takes a circle only while both coordinate sums of its box stay below this.
constexpr std::int64_t kGdiCoordinateLimit = 32767;

bool DrawsAtOnce(int pass) { return pass == 0 || pass == 24; }

pl3::Point ToView(pl3::Point p) {
  pl3::WorldToView(p.x, p.y);
  return p;
}

}  // namespace

void DrawDimensionerTrack(void*, std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width, int pass) {
  pl3::TrackLayout line{};
  line.head.layer = layer;
  line.head.transform = pl3::kIdentityTransform;
  line.width = width / 2;  // the record holds half the width
  line.x1 = from.x;
  line.y1 = from.y;
  line.x2 = to.x;
  line.y2 = to.y;
  if (DrawsAtOnce(pass)) {
    pl3::TransformAndDrawLine(&line, &pl3::kIdentityTransform);
  } else if (pass == kPassDisplayList) {
    AddTrackToDisplayList(&line, &pl3::kIdentityTransform, 0, pl3::g_raster.currentEntity, 0);
  }
}

void DrawDimensionerArc(void*, std::uint8_t layer, pl3::Point centre, std::int32_t radius, pl3::Point start,
                        pl3::Point end, std::int32_t width, int pass) {
  if (!DrawsAtOnce(pass)) return;  // the display list takes tracks only
  pl3::ArcLayout arc{};
  arc.head.layer = layer;
  arc.head.transform = pl3::kIdentityTransform;
  arc.width = width / 2;
  arc.radius = radius;
  arc.centreX = centre.x;
  arc.centreY = centre.y;
  arc.startX = start.x - centre.x;
  arc.startY = start.y - centre.y;
  arc.endX = end.x - centre.x;
  arc.endY = end.y - centre.y;
  pl3::PrepareArcEnds(&arc);
  pl3::TransformAndDrawArc(&arc, &pl3::kIdentityTransform);
}

void GhostWorldLine(void* dc, pl3::Point from, pl3::Point to) {
  const pl3::Point a = ToView(from), b = ToView(to);
  pl3::ViewSegment s = {a.x, a.y, b.x, b.y};
  if (!dc || pl3::ClipSegmentToView(&s) != 0) return;
  MoveToEx(static_cast<HDC>(dc), s.x1, s.y1, nullptr);
  LineTo(static_cast<HDC>(dc), s.x2, s.y2);
}

void GhostWorldCircle(void* dc, pl3::Point centre, std::int32_t radius) {
  const pl3::Point c = ToView(centre);
  const std::int32_t r = pl3::ScaleToView(radius);
  const std::int64_t left = std::int64_t{c.x} - r, right = std::int64_t{c.x} + r + 1;
  const std::int64_t top = std::int64_t{c.y} - r, bottom = std::int64_t{c.y} + r + 1;
  if (!dc || left + right >= kGdiCoordinateLimit || top + bottom >= kGdiCoordinateLimit) return;
  if (!pl3::DiscVisible(pl3::CurrentViewClip(), c.x, c.y, r)) return;
  Ellipse(static_cast<HDC>(dc), static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
          static_cast<int>(bottom));
}
