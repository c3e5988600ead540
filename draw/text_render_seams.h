// What glyph drawing asks of the ghost drawing and the immediate per-type
// drawing (the display list's builders it calls directly). Until those land
// the program links the stand-ins of app/text_render_seams_pending.cpp, which
// draw nothing; tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

// One glyph polygon (a polygon payload of `size` bytes, already in world
// units): mode 0 its XOR ghost with no edited point, 1 and 5 drawn into the
// plane with the placement transform, 8 its filled XOR ghost.
void DrawGlyphPolygon(void* dc, std::uint8_t mode, const void* polygon, std::uint32_t size);
// The edges of one closed outline of `count` world points in XOR with the
// entity pen (mode 0 outlines and overbars).
void GhostGlyphEdges(void* dc, const pl3::Point* points, std::uint32_t count);
// The raster fill value becomes the layer's colour.
void SetCurrentLayerColour(std::uint8_t layer);
