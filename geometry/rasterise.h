// Rasterising tracks, lines, polygons, rectangles, discs and holes into runs
// for the current span target. Primitives work on view pixels; the record
// entries convert a working copy of a graphic record first.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

namespace pl3 {

// One-pixel lines.
void DrawViewLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
void DrawWorldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
// A segment of half-width w (w = 0: one pixel); no round ends.
void DrawThickViewLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t w);
// A track in view pixels by the raster state's modes (normal, outline, highlight).
void DrawTrack(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t w);

void FillTriangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                  std::int32_t y2);
// The triangle given by the six words x0, y0, x1, y1, x2, y2 at `points`.
void FillTriangleRecord(const std::int32_t* points);
// A convex polygon of up to 4 points filled with one horizontal run per row.
void FillConvexPolygon(const Point* points, int count);

void FillDisc(std::int32_t cx, std::int32_t cy, std::int32_t r);
void DrawCircleOutline(std::int32_t cx, std::int32_t cy, std::int32_t r);
// Two opposite quarters filled, the other two outlined; bit 0 of side picks the pair.
void FillQuarteredDisc(std::int32_t cx, std::int32_t cy, std::int32_t r, int side);

// A one-pixel line whose pixels are stored one by one, StepLinePattern first.
void DrawPatternedWorldLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// Record entries: the record (a working copy) is converted in place.
void DrawTrackRecord(TrackLayout* track);
void TransformAndDrawLine(TrackLayout* track, const Transform* t);
void TransformAndDrawSlot(TrackLayout* track, const Transform* t);
void TransformAndFillCircle(CircleLayout* circle, const Transform* t);
void FillHoleOuter(HoleLayout* hole, const Transform* t);
void FillHoleInner(HoleLayout* hole, const Transform* t);
void DrawHoleRing(HoleLayout* hole, const Transform* t);
void DrawHoleCross(HoleLayout* hole, const Transform* t);
// Fills the triangles that the polygon record carries.
void FillPolygon(const PolygonLayout* polygon, const Transform* t);
void DrawPolygonCornerMarks(const PolygonLayout* polygon, const Transform* t, std::int32_t length);
// The two triangles c0-c1-c2 and c0-c3-c2 of a rectangle already in view pixels.
void FillRectangleRecord(const RectangleLayout* rect);

}  // namespace pl3
