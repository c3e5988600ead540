// The engine's layer walks over the active window's design: whether a layer
// holds items, moving every item of one layer to another, the free inner
// layer a removed layer's copper goes to and the number of copper layers in
// use, and the marking of the sizes a sub-tree uses. IsLayerInUse and MoveLayerItems are declared in edit/editing_seams.h
// for the design objects below.
#pragma once
#include <cstdint>

#include "edit/editing_seams.h"

struct LayerTable;
struct Tower;

// Layer 32 for n = 0, layer 1 for n = 1; otherwise the first layer k of
// 1..n-1 that is present (flag bit 1) and holds no items, 32 when none is.
std::uint8_t FindFreeInnerLayer(std::uint32_t n);

// The present layers 1..32 of the table that hold items of the active design.
std::uint32_t CountLayersInUse(const LayerTable& table);

// Marks the active window's size entries that the items under the sub-tree
// use (the marks of action 18), after clearing every mark: the walk's result.
std::int32_t MarkUsedNets(const Tower* subTree);

// Moves the items of the types the walker's table asks for from one layer to
// another (MoveLayerItems asks for every type): the walk's result.
std::int32_t RenumberLayerItems(std::uint8_t fromLayer, std::uint8_t toLayer);
