// Update Pad Stack: replaces the definition of the selected pad-stack
// instance, in that instance or in every instance of the same definition,
// by a pad stack the user chooses from the library.
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;
struct StoreItemChoice;
struct Tower;

// Lets the user choose a library item of the kind and loads it under the
// parent (the library chooser; tests replace it).
using PadStackChooser = StoreItemChoice* (*)(HWND parent, const char* filter, int mode, const Tower* loadingParent);
extern PadStackChooser ChoosePadStackItem;

// The replacement keeps each pad's origin where it was; it cannot be undone,
// so the design's undo history is cleared.
void UpdatePadStacks(HWND window, ButtonRecord* point, EntityRecord** pendingSlot);
