// Applying a Transform to the points of a graphic record, and converting a
// record to view pixels for drawing. Records are changed in place: callers
// pass working copies of stored records.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

namespace pl3 {

// The real size of an indexed size: (entity type code, size index, second
// value). The design objects register the size table's resolver at start-up;
// without one, an indexed record keeps its stored size.
using RealSizeResolver = std::int32_t (*)(std::uint16_t type, std::uint32_t index, std::uint32_t second);
void SetRealSizeResolver(RealSizeResolver resolver);

// Unsigned entries move absolute design coordinates; *Signed entries treat
// the coordinates as signed.
void TransformLine(TrackLayout* track, const Transform* t);
void TransformLineSigned(TrackLayout* track, const Transform* t);
void TransformCircle(CircleLayout* circle, const Transform* t);
void TransformCircleSigned(CircleLayout* circle, const Transform* t);
void TransformHole(HoleLayout* hole, const Transform* t);
void TransformHoleSigned(HoleLayout* hole, const Transform* t);
void TransformArc(ArcLayout* arc, const Transform* t);
void TransformArcSigned(ArcLayout* arc, const Transform* t);
void TransformPolygon(PolygonLayout* polygon, const Transform* t);
void TransformPolygonSigned(PolygonLayout* polygon, const Transform* t);
void TransformRectangle(RectangleLayout* rect, const Transform* t);

// Record to view pixels: points by TransformPoint and the kernel's world-to-
// view step; sizes by the unsigned view scale, indexed sizes resolved first.
void TransformLineToView(TrackLayout* track, const Transform* t);
void TransformSlotToView(TrackLayout* track, const Transform* t);
void TransformCircleToView(CircleLayout* circle, const Transform* t);
void TransformHoleToView(HoleLayout* hole, const Transform* t);
void TransformArcToView(ArcLayout* arc, const Transform* t);
void TransformArcToViewKeepWidth(ArcLayout* arc, const Transform* t);
void TransformRectangleToView(RectangleLayout* rect, const Transform* t);
// Sets the corners of a rectangle whose size is indexed from its centre.
void SetRectangleCorners(RectangleLayout* rect);

}  // namespace pl3
