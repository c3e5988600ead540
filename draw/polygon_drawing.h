// Polygons drawn into the layer plane: filled by their stored triangles,
// with the corner marks of plane cutouts, or as their edges.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"

// How DrawTransformedPolygon draws a polygon: filled (polygons), filled as
// a plane, filled with its corner marks (plane cutouts), or as its closed
// outline (keepouts and component outlines).
constexpr int kPolygonDrawFilled = 0;
constexpr int kPolygonDrawPlane = 4;
constexpr int kPolygonDrawCutout = 8;
constexpr int kPolygonDrawOutline = 16;
// The corner marks of a plane cutout are this long (world units).
constexpr std::int32_t kCutoutCornerMark = 320000;

// Draws a polygon payload under the transform into the plane with the
// current colour and raster operation, by the kind above. The count byte is
// capped at the largest polygon a record holds.
void DrawTransformedPolygon(const void* polygon, const pl3::Transform* transform, int kind);

// Every edge of the polygon under the transform, the closing one included
// (a polygon of two points has one edge), as a track of half width
// `halfWidth` view pixels (0: one pixel).
void DrawPolygonEdges(const pl3::PolygonLayout* polygon, const pl3::Transform* transform, std::int32_t halfWidth);
