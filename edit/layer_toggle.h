// The Ctrl+letter layer toggle of a PCB window.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Shows or hides the first present layer whose letter is the key's
// character: the current operation is cancelled, the layer's visible flag
// toggled, the display list recoloured, the view redrawn and the Layers pane
// told. 1 when a layer was toggled; 0, changing nothing, when no layer has
// that letter.
int ToggleLayerByKey(HWND window, void* view, std::uint32_t virtualKey, void* state);
