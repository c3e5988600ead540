// The world boxes of the items the editors point at, the box test of the
// walker, the boxes and origins a library item is saved with, the body box
// of a schematic symbol and the reach of a dragged attribute locator.
// GetBox is declared in objects/dimensioner_seams.h and TestBoundingBox in
// draw/display_list_seams.h, where their callers below this folder reach them;
// TestBoundingBox is defined in edit/item_box_overlap.cpp.
#pragma once
#include <cstdint>

#include "draw/display_list_seams.h"
#include "geometry/types.h"
#include "objects/dimensioner_seams.h"

struct SelectionInfo;

// The Origin record (112): x, y and a flag word.
struct OriginRecord {
  std::int32_t x;
  std::int32_t y;
  std::uint16_t flags;
};
static_assert(sizeof(OriginRecord) == 12);

// The item's layer (its first layer, no mirroring).
std::uint8_t GetItemLayer(const Tower* item);
// The box of an item's children, from {0xFFFFFFFF, 0xFFFFFFFF, 0, 0}
// (compared unsigned); with withDesignators the Designator under the transform too.
void GetItemContentsBox(const Tower* item, int withDesignators, const pl3::Transform* transform, pl3::Box* box);
// 1 when the item's origin lies inside its box (stored afresh from its contents).
int OriginWithinBox(const Tower* item);
// The first time per window (ViewFlags bit 1 clear) the item's origin
// becomes the window's coordinate origin, and the bit is set.
void StoreWindowOriginOnce(const Tower* item);
// 1 when a hole, or a pad-stack layer entry (111) on layer 1, is drawn on the
// pixel of the item's origin at zoom 500; 0 otherwise and when the item has
// no origin (a message says so).
int OriginTouchesTopOrBottom(const Tower* item);
// A new heap copy (std::free) of the item's origin, or null.
OriginRecord* GetItemOrigin(const Tower* item);
// The box of a schematic symbol's body (its record's children without the
// attribute locators), under the symbol's Transform; 0 without a record.
int GetSchematicSymbolBodyBox(const Tower* symbol, pl3::Box* box);
// While one attribute locator of a schematic symbol is dragged: 0 when the
// point lies more than one inch from the symbol's body, else 1.
constexpr std::uint32_t kLocatorReach = 36576000;
int LocatorWithinReach(const SelectionInfo* selection, pl3::Point point);
