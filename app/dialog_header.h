#pragma once
// A header control put over an owner-drawn list of a dialog.
#include "platform/win_types.h"

// Frames the list control, creates a "SysHeader32" with headerId in the
// dialog's font over the list's top and moves the list below it. Returns the
// header, or null when the dialog has no control with controlId.
HWND CreateDialogHeader(HWND dialog, int controlId, int headerId);
