// The size configuration sheet, which the dialogs layer (ui/) builds, as the
// application layer reaches it: the "Configure Sizes" button of the Invalid
// Size notice opens it. Defined in ui/size_dialogs.cpp.
#pragma once
#include "platform/win_types.h"

// Runs the "Configure Sizes" sheet on the active window's size table; 0 and
// nothing shown for an editor kind without size lists.
int ShowConfigureSizesDialog(HWND frame);
