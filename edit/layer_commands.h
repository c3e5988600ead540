// Next Layer (Space) and Flip Layer (Shift+Space): idle they select at the
// cursor; with an item being placed they flip it to the other side (PCB-like
// editors) or give it the next colour (schematic editors); in Edit Selection
// they apply the matching action to the selection.
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

void NextLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot);
void FlipLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot);
