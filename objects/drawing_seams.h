// What the design objects call in the drawing code (draw/), which lies above
// them: pens, outlines and ghosts, immediate drawing by type code, the mirror
// of a locator about its symbol, the origin square and a drawing global. The
// drawing code defines them.
#pragma once
#include <cstdint>

#include "geometry/types.h"

// Selects an XOR pen of the width that shows the wanted colour (a colour
// code such as 0x820000, the datum ghost colour); RestoreXorPen puts back the
// pen, brush and raster operation it replaced.
void SetXorPen(void* dc, int width, std::uint32_t colour);
void RestoreXorPen(void* dc);
// The XOR pen of an entity on a layer (a colour class in schematic windows).
void SetEntityPen(void* dc, int width, std::uint8_t layer);
// XOR-draws the outline of a line-like payload of the type under the
// transform, its legs split by the bend byte; drawn twice it erases itself.
void GhostTrackData(void* dc, const void* payload, std::uint32_t bendFlags, const pl3::Transform* transform,
                    std::uint16_t type);
// A world box as four one-pixel lines in all planes (colour class 25 in
// schematic windows).
void DrawBoxOutline(const pl3::Box& box);
struct Tower;

// Draws one payload of the type under the transform in the draw pass, into
// the active window's layer plane (draw/entity_drawing.cpp).
void DrawEntityByType(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass);

// The origin x of the schematic symbol (30) enclosing the entity `item`
// stands on; false when there is none or it has no Origin
// (draw/entity_geometry.cpp).
bool ContainingSymbolOriginX(const Tower* item, std::int32_t* originX);
// Mirrors an attribute locator payload about a vertical through originX: both
// x values and the justification (draw/entity_geometry.cpp).
void MirrorTextData(void* locatorPayload, std::int32_t originX);

// XOR-draws a square of plus and minus 10 thou around the Origin (112) of the
// entity the Tower stands on; drawn twice it erases itself.
void DrawOriginSquare(void* dc, const Tower* item);

namespace pl3 {
// Bit 0 set: the attribute texts of symbols are not drawn in schematics
// (draw/raster_callbacks.cpp).
extern std::uint32_t SuppressSymbolTextsFlag;
}  // namespace pl3
