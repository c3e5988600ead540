// The world box of each stored graphic record: what redraws, hit tests,
// selection rectangles, zoom to fit and the rule checks start from. The box
// of a design item takes in the plane clearance of its layer, so that a
// redraw covers the clearance drawn round copper; a shape's graphics carry
// none.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct EntityRecord;

// Fills `box` with the box of the payload of the given type code and returns
// 1. Indexed sizes are first resolved into the payload from the active
// window's size table. Codes 0, above 49 and without a box of their own
// leave the box untouched.
int GetGraphicBox(void* payload, std::uint16_t type, pl3::Box* box);

// The same for the graphics a shape definition holds (1, 2, 3, 4, 6, 7),
// without any clearance; other codes leave the box untouched. Returns 1.
int GetShapeGraphicBox(void* payload, std::uint16_t type, pl3::Box* box);

// GetGraphicBox of a working record's payload under its stored code.
int GetGraphicRecordBox(EntityRecord* record, pl3::Box* box);

// The overbar margin of a text whose string holds "~" with at least one more
// character after it: 103,680,000 scaled by the text size's 8.24 factor.
std::int32_t TextOverbarMargin(std::int32_t textSize);
