// Small operations on entity payloads shared by the drawing, ghosting and
// editing code: rotating a payload in place about a pivot, mirroring it about
// the origin of the schematic symbol that holds it, exchanging line ends,
// rectangle corners, rescaling direction vectors and centring a box on an
// anchor.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// The symbol entity (30) whose origin the mirrors reflect about.
inline constexpr std::uint16_t kMirrorSymbolCode = 30;

// Applies the transform's linear part to the payload in place about the
// pivot (the transform's translation when null). 1 for the handled types,
// 0 (payload untouched) for the rest.
int RotateEntityData(void* payload, std::uint16_t type, const pl3::Point* pivot, const pl3::Transform* transform);

// x' = 2 * originX - x.
inline std::int32_t MirrorX(std::int32_t x, std::int32_t originX) {
  return static_cast<std::int32_t>(2u * static_cast<std::uint32_t>(originX) - static_cast<std::uint32_t>(x));
}
// The origin x of the symbol (30) enclosing the entity `item` stands on;
// false when there is none or it has no Origin.
bool ContainingSymbolOriginX(const Tower* item, std::int32_t* originX);

// The mirrors about a vertical through originX.
void MirrorLineData(void* linePayload, std::int32_t originX);       // x1 and x2
void MirrorCircleData(void* circlePayload, std::int32_t originX);   // the centre
void MirrorRectangleData(void* rectPayload, std::int32_t originX);  // four corners and the centre
void MirrorPolygonData(void* polygonPayload, std::int32_t originX, std::uint32_t payloadSize);
void MirrorArcData(void* arcPayload, std::int32_t originX);  // centre, swapped and negated vectors
// One x about the symbol enclosing `symbolItem`; unchanged without one.
void MirrorAboutRecordCentre(const Tower* symbolItem, std::int32_t* x);
// Attribute locator: both position x values and the justification style.
void MirrorTextData(void* locatorPayload, std::int32_t originX);
// Text: the translation x and the justification; returns |old x - origin|.
std::int32_t MirrorTextPayload(void* textPayload, std::int32_t originX);
// Two-point record (x1, y1, x2, y2 from the start).
void MirrorTwoPointData(void* record, std::int32_t originX);

// Exchanges (x1, y1) and (x2, y2) of a line payload.
void SwapLineEnds(void* linePayload);
// Exchanges the two ends of a segment record {x1, y1, x2, y2}.
void SwapSegmentEnds(void* segment);

// The rectangle's four corners after its sizes are resolved, turned by its
// own transform about its centre and then by `transform`.
void GetRectangleCorners(const void* rectPayload, const pl3::Transform* transform, pl3::Point corners[4]);

// The direction vector rescaled to `length`.
void ScaleVectorToLength(std::int32_t length, std::int32_t* dx, std::int32_t* dy);
void ScalePointVectorToLength(std::int32_t length, pl3::Point* vector);

// Makes the box symmetric about the transform's translation, keeping the
// larger distance: in y when the linear part is the current placement's or
// the half turn, otherwise in x.
void CentreBoxOnAnchor(pl3::Box* box, const pl3::Transform* transform);

// Resolves the line's indexed sizes and applies its own rotation.
void RecalcTrackDataBox(void* linePayload);
