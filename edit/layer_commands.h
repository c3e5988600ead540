// Next Layer (Space) and Flip Layer (Shift+Space): idle they select at the
// cursor; with an item being placed they flip it to the other side (PCB-like
// editors) or give it the next colour (schematic editors); in Edit Selection
// they apply the matching action to the selection.
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;

// The selection actions these commands apply (the selection engine's table).
constexpr unsigned kSelectionNextLayer = 3;
constexpr unsigned kSelectionFlipSide = 6;
constexpr unsigned kSelectionNextColour = 9;

void NextLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot);
void FlipLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot);
