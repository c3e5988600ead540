// The work of built-in commands whose owners are built: the command
// handlers hand these here instead of to PerformCommandOperation, which
// keeps the rest until their owners land.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// Does the named operation for the active window when its owner is built and
// sets *result (non-zero when handled); false, with nothing done, for any
// other operation.
//   "tools.settocorvanestandard": the standard locator sizes of the symbol
//   being edited; "tools.convertindexedsizes": imported custom sizes made
//   indexed; "tools.movecursorleft", "...up", "...right", "...down": the
//   arrow keys' cursor step in the view; "insert.via.trackend": a via at the
//   free end of the track being added.
bool PerformBuiltOperation(const char* operation, HWND window, std::uint32_t* result);
