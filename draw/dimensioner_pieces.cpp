// The dimensioners' pieces (objects/dimensioner_seams.h): drawn at once in
// passes 0 and 24, onto a PCB window's display list in pass 37.
#include "draw/display_builders.h"
#include "draw/entity_drawing.h"
#include "draw/entity_geometry.h"
#include "geometry/graphic_layouts.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"

void DrawDimensionerTrack(void*, std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width, int pass) {
  if (pass == 37) {
    AddDimensionerTrackToDisplayList(layer, from, to, width);
    return;
  }
  if (pass != 0 && pass != 24) return;
  pl3::TrackLayout line{};
  line.head.layer = layer;
  line.head.transform = pl3::kIdentityTransform;
  line.width = width;
  line.x1 = from.x;
  line.y1 = from.y;
  line.x2 = to.x;
  line.y2 = to.y;
  DrawEntityByType(&line, Type_Track, &pl3::kIdentityTransform, pass);
}

void DrawDimensionerArc(void*, std::uint8_t layer, pl3::Point centre, std::int32_t radius, pl3::Point start,
                        pl3::Point end, std::int32_t width, int pass) {
  if (pass == 37) {
    AddDimensionerArcToDisplayList(layer, centre, radius, start, end, width);
    return;
  }
  if (pass != 0 && pass != 24) return;
  pl3::ArcLayout arc{};
  arc.head.layer = layer;
  arc.head.transform = pl3::kIdentityTransform;
  arc.width = width;
  arc.radius = radius;
  arc.centreX = centre.x;
  arc.centreY = centre.y;
  arc.startX = start.x - centre.x;
  arc.startY = start.y - centre.y;
  arc.endX = end.x - centre.x;
  arc.endY = end.y - centre.y;
  ScaleVectorToLength(radius, &arc.startX, &arc.startY);
  ScaleVectorToLength(radius, &arc.endX, &arc.endY);
  DrawEntityByType(&arc, Type_Arc, &pl3::kIdentityTransform, pass);
}
