// Where the pins of a placed schematic symbol stand on the page, for the
// wire clean-up and the wires that follow a moved symbol
// (edit/schematic_pins.cpp).
#pragma once
#include "geometry/types.h"

struct Tower;

// The world point of the symbol's pin `index` (from 0): 1 and the point, or
// 0 when the symbol has no such pin.
int GetSchematicSymbolPinPoint(const Tower* symbol, int index, pl3::Point* point);
