// The parts of the active editor window's state that the design objects read.
#pragma once
#include <cstdint>

#include "objects/layer_table.h"
#include "objects/size_table.h"

// The active window's size table, or null when there is no active window or
// its editor kind has no sizes.
SizeTable* ActiveSizeTable();
// The active window's layer table, or null when there is no active window.
LayerTable* ActiveLayerTable();
// The active window's current layer, 0 when there is no active window.
std::uint8_t ActiveCurrentLayer();
