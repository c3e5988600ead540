// The dimensioners' pieces (objects/dimensioner_seams.h): drawn at once in
// passes 0 and 24, onto a PCB window's display list in pass 37.
#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/entity_drawing.h"
#include "draw/entity_geometry.h"
#include "geometry/graphic_layouts.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"

namespace {

// Pass 37 hands the piece to the list's dispatcher under the dimensioner's
// own build (its placement and action); 0 and 24 draw it at once.
void DrawPiece(const void* record, std::uint32_t size, std::uint16_t type, int pass) {
  if (pass == 37) {
    if (const DisplayBuild* b = CurrentDisplayBuild()) AddEntityToDisplayList(record, size, type, b->placement, b->action);
    return;
  }
  if (pass == 0 || pass == 24) DrawEntityByType(record, type, &pl3::kIdentityTransform, pass);
}

}  // namespace

void DrawDimensionerTrack(void*, std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width, int pass) {
  const pl3::TrackLayout line = MakeTrackRecord(layer, from, to, width);
  DrawPiece(&line, sizeof line, Type_Track, pass);
}

void DrawDimensionerArc(void*, std::uint8_t layer, pl3::Point centre, std::int32_t radius, pl3::Point start,
                        pl3::Point end, std::int32_t width, int pass) {
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
  DrawPiece(&arc, sizeof arc, Type_Arc, pass);
}
