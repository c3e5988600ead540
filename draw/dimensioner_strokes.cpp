// The strokes the dimensioners are built of (objects/dimensioner_seams.h):
// tracks and arcs drawn at once in passes 0 and 24 or handed to the display
// list's dispatcher in pass 37, and the XOR construction lines and circles of
// their ghosts. A file of its own, so that tests of the dimensioners can
// bring recording versions.
#include <cstdint>

#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/entity_drawing.h"
#include "draw/entity_geometry.h"
#include "geometry/clipping.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"

namespace {

constexpr int kPassDisplayList = 37;
// GDI takes a circle only while both coordinate sums of its box stay below this.
constexpr std::int64_t kGdiCoordinateLimit = 32767;

// Pass 37 hands the stroke to the list's dispatcher under the dimensioner's
// own build (its placement and action); 0 and 24 draw it at once.
void DrawStroke(const void* record, std::uint32_t size, std::uint16_t type, int pass) {
  if (pass == kPassDisplayList) {
    if (const DisplayBuild* b = CurrentDisplayBuild()) AddEntityToDisplayList(record, size, type, b->placement, b->action);
    return;
  }
  if (pass == 0 || pass == 24) DrawEntityByType(record, type, &pl3::kIdentityTransform, pass);
}

pl3::Point ToView(pl3::Point p) {
  pl3::WorldToView(p.x, p.y);
  return p;
}

}  // namespace

void DrawDimensionerTrack(void*, std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width, int pass) {
  // The record holds half the width.
  const pl3::TrackLayout line = MakeTrackRecord(layer, from, to, width / 2);
  DrawStroke(&line, sizeof line, Type_Track, pass);
}

void DrawDimensionerArc(void*, std::uint8_t layer, pl3::Point centre, std::int32_t radius, pl3::Point start,
                        pl3::Point end, std::int32_t width, int pass) {
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
  ScaleVectorToLength(radius, &arc.startX, &arc.startY);
  ScaleVectorToLength(radius, &arc.endX, &arc.endY);
  DrawStroke(&arc, sizeof arc, Type_Arc, pass);
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
