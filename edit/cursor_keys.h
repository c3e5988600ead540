// The arrow keys move the editing cursor by one step: 1/20 inch while items
// move with the cursor, else the current grid's spacing when snapping is on,
// else one view pixel; a polar grid steps along its rings and angles.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// The editable area the arrow keys keep the cursor in (5 to 50 inches).
constexpr std::int32_t kCursorKeyLowest = 182'880'000;
constexpr std::int32_t kCursorKeyHighest = 1'828'800'000;

// The step of one arrow key (VK_LEFT and VK_RIGHT use the grid's x spacing,
// VK_UP and VK_DOWN its y spacing) in the active window.
std::int32_t CursorKeyStep(std::uint32_t key);

// Moves the cursor of the view one step for an arrow key (37 left, 38 up,
// 39 right, 40 down); a step that would leave the editable area, or move a
// locked axis, is not taken. The cursor is snapped, the mouse pointer and
// the mode's ghost follow, and the view is centred when the cursor left it.
// The result is that of giving back the view's device context.
int MoveCursorByKey(HWND window, std::uint32_t key, ButtonRecord* cursor, EntityRecord** pendingSlot);
