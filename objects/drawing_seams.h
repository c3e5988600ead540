// The drawing code's pens, outlines and ghosts that the design objects call.
// The drawing code (draw/, above objects/) defines them; tests link it.
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
