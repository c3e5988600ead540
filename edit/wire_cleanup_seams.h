// What the wire clean-up asks of the schematic editor: where the pins of a
// placed schematic symbol are. Defined by the schematic editor; until it
// lands the program links app/schematic_pin_seams_pending.cpp (no pins) and
// tests link their own.
#pragma once
#include "geometry/types.h"

struct Tower;

// The world point of the symbol's pin `index` (from 0): 1 and the point, or
// 0 when the symbol has no such pin.
int GetSchematicSymbolPinPoint(const Tower* symbol, int index, pl3::Point* point);
