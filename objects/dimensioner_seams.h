// What the dimensioners ask of the drawing code and the editing engine, which
// lie above objects/: tracks and arcs by draw pass, the XOR construction
// primitives (draw/dimensioner_strokes.cpp), the item under the cursor and
// its box (the engine's; until it lands the program links the stand-ins of
// app/dimensioner_seams_pending.cpp: nothing is found).
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// A track of the width on the layer: drawn at once in passes 0 and 24, added
// to a PCB window's display list in pass 37 (under the dimensioner's own
// build); other passes draw nothing.
void DrawDimensionerTrack(void* target, std::uint8_t layer, pl3::Point from, pl3::Point to, std::int32_t width,
                          int pass);
// An arc of the width about the centre from the start point's side to the end
// point's side, counter-clockwise, at the radius; by pass as the track.
void DrawDimensionerArc(void* target, std::uint8_t layer, pl3::Point centre, std::int32_t radius, pl3::Point start,
                        pl3::Point end, std::int32_t width, int pass);
// Construction lines and circles in world units on the device context, with
// the pen the caller selected (an XOR pen for ghosts).
void GhostWorldLine(void* dc, pl3::Point from, pl3::Point to);
void GhostWorldCircle(void* dc, pl3::Point centre, std::int32_t radius);

// The best item within the pick aperture of a world point, or null; the
// window's hit list becomes a copy of it (edit/item_search.cpp). The caller
// releases the result.
Tower* FindItemsNearPoint(std::int32_t x, std::int32_t y, std::uint8_t includeSelected, std::uint8_t useDisplayList);
// The world box of any item: 1 and the box, or 0 when the item has none.
int GetBox(const Tower* item, pl3::Box* box);
