// The attribute editors of the selected schematic symbol, opened by the
// frame's commands; each takes the command id and the active editor window
// (null when there is none) and returns 1 when the design changed.
#pragma once
#include "platform/win_types.h"

// 2336: the selected symbol's own attributes ("Edit Symbol Instance
// Attributes"); a symbol still being placed is placed first. An OK is one
// undo step, "Edit symbol attributes", and a packaged symbol's package
// instance takes the symbol's inheritable attributes.
int EditSelectedSymbolAttributes(UINT id, HWND child);
// 2337: the attributes of the selected symbol's package instance; refused
// with "This symbol has not been packaged yet." when it has none.
int EditSelectedPackageAttributes(UINT id, HWND child);
// 2356: the global pin editor of the selected symbol's package; refused as
// 2337, and with "No global nets exist for this package." when the package
// has no pins on global nets.
int EditSelectedPackageGlobalPins(UINT id, HWND child);
