// What the pin tool's click calls in the schematic symbol library editor,
// which lies above the frame. Declared here; until the editor lands the
// program links the stand-ins of app/insert_pin_seams_pending.cpp, and tests
// link fakes.
#pragma once
#include "platform/win_types.h"

struct Tower;

// Whether the symbol has a pin that is not placed yet.
int HasUnplacedPins(const Tower* symbol);
// Runs the "Insert Pin" dialog (1041) over the symbol's unplaced pins and
// returns its result.
int RunInsertPinDialog(HWND owner, const Tower* symbol);
