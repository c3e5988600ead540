// Drawing texts glyph by glyph in the program's vector fonts, in one of the
// text modes: 0 XOR ghost; 1 and 5 into the raster plane; 2 glyph lines
// through the raster kernel; 8 ghost with filled glyph polygons; 9 the PCB
// display list; 10 the collecting array; 11 like 1 with overbars drawn by GDI
// on the output device context. Modes 3 to 7 and 11 draw font 3 with font 2.
#pragma once
#include <cstdint>

#include "objects/text_item_services.h"

struct EntityRecord;

// The program-wide array that mode 10 fills: one record of
// kCollectedPolygonSize bytes (a glyph polygon payload, transformed, on the
// text's layer) per glyph polygon.
inline constexpr std::uint32_t kCollectedPolygonSize = 2868;
struct CollectedPolygonArray {
  std::uint32_t count = 0;
  std::uint8_t* records = nullptr;
};
extern CollectedPolygonArray CollectedTextPolygons;
void FreeCollectedTextPolygons();

// Overbars counted in mode 7 add two triangles each.
extern std::uint32_t TextTriangleCount;
// Set: strings are drawn as written, without expanding their fields.
extern std::uint8_t PlainTextSwitch;
// The half width, in world units, of the glyph lines of mode 2 (0: one
// pixel); the clearance drawing sets it to the plane clearance.
extern std::int32_t TextPenWidth;

// Draws the text payload of a record in mode 1 with the active window's
// placement transform.
void DrawTextItem(void* dc, const EntityRecord* record);
