// The corner command: finds where two tracks meet under the cursor (a sharp
// corner, or a rounded one: two tracks joined by an arc) and rounds or
// sharpens it with the corner operations of objects/corner_radius.h.
#pragma once

#include "platform/win_types.h"

struct CornerRecord;

// The corner under the window's cursor as a new record holding Towers of its
// own (free it with FreeCornerRecord), or null. With several corners there a
// pop-up names them ("Radius Corner <layer>", "Unradius Corner <layer>");
// `dismissed` is 1 when that menu was closed without a choice, else 0.
CornerRecord* FindCornerAtCursor(HWND window, int* dismissed);
// Releases the record's Towers and the record.
void FreeCornerRecord(CornerRecord* corner);

// A rounded corner is sharpened, a sharp one rounded with the corner radius
// setting; the exclamation beep when there is no corner under the cursor.
void DoCornerCommand(HWND window);
