// Small queries about a board's layers: how many copper layers a layer table
// holds, whether a layer is used copper, the extent of the planes on each
// layer and the extent of a design's contents.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/layer_table.h"
#include "platform/win_types.h"

struct Tower;

// One box per layer index {min x, min y, max x, max y}, compared as unsigned
// world units. A layer holds a plane exactly when its box differs from
// kEmptyPlaneExtent. A PCB window keeps its table in Pcb.LayerExtents.
using PlaneExtents = pl3::Box[kLayerCount];
// {0xFFFFFFFF, 0xFFFFFFFF, 0, 0}.
inline constexpr pl3::Box kEmptyPlaneExtent = {-1, -1, 0, 0};

// The window being redrawn while it is not the active one (the PCB command
// 481), null otherwise: the window whose plane table the drawing keeps.
extern HWND InactiveRedrawWindow;

// The copper layers (kind copper, present bit set) of the active window's
// layer table, all 256 records counted; 0 without an active window.
std::uint32_t CountCopperLayers();
std::uint32_t CountCopperLayersOf(const LayerTable& table);
// 1 when record `index` of the active window's table is a present copper layer.
int IsCopperLayer(std::uint32_t index);

// Resets every box to empty, then widens the box of each plane's layer by the
// plane's stored bounding box, for every Plane directly under the design.
void BuildPlaneExtents(const Tower* design, PlaneExtents& table);
// BuildPlaneExtents into the window's own table: the window being drawn when
// there is one, else the active document window.
void UpdateWindowPlaneExtents(const Tower* design);
// 1 when the active window's plane-extent entry of the layer is not empty.
int LayerHasPlane(std::uint32_t layer);

// A new box (std::malloc, the caller frees it): the union of the boxes of the
// design's drawable children and placed symbols, designators taken through
// the current placement transform, clipped to the limit. The empty value
// when nothing counts; null when out of memory.
pl3::Box* GetDesignExtentWithin(const Tower* design, const pl3::Box& limit);

// value + 3: the plane net code's offset of a layer.
std::uint32_t LayerOffsetPlusThree(std::uint32_t value);
