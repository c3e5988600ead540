// The walker's own action handlers: moving by the walk's offset (3),
// freezing indexed sizes (13), marking the size entries in use (18), layer
// presence (26), and the walk into a placed shape's definition.
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// Action 3: moves the item by WalkMoveOffset; 1 when it was moved, else 0.
std::int32_t OffsetWalkedItem(Tower* item);
// Action 13: clears the size-from-table flag; 1 when it was set (a count for groups).
std::int32_t ClearIndexedSizeFlag(Tower* item);
// Action 18: marks the size entry the item uses as in use.
std::int32_t MarkUsedSizes(Tower* item);
// Action 26: reports in DisplayOptions that an item lies on the walked layers.
void MarkLayerPresence(Tower* item, std::uint8_t action);
// Walks the definition of a placed Shape (107) with the action; restores the walk flags.
std::int32_t ProcessFoundShapeInfo(void* dc, const Tower* shape, const pl3::Transform* transform,
                                   std::uint8_t action);

// The walker's mode byte: while non-zero, a shape walk keeps the window's drawing layer.
extern std::uint8_t WalkModeByte;
// Its bit set while the walk is inside a pad stack.
constexpr std::uint8_t kModeInPadStack = 0x04;
