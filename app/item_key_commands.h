// The one-key commands that act on what the user is handling: Backspace,
// the Spiral tool, the return of a moved selection to its start, and the
// quarter and typed turns of the selection.
#pragma once
#include "geometry/types.h"
#include "platform/win_types.h"

struct EntityRecord;

// Set Layer (key L): the "Select Layer" dialog for the item in hand or the
// selection; a hole or board outline being placed is left alone; in any
// other mode (idle included) the operation is cancelled and a spiral begins
// at the cursor.
void SetCurrentItemLayer(HWND view, EntityRecord** slot, pl3::Point point);
// Chooses the Spiral tool in an idle window: insert type 19, click state 0.
void SetSpiralTool();
// Backspace: rips up the track run being drawn or dragged, deletes the polygon
// vertex in hand, or, with nothing selected and nothing pending, undoes the
// last step; anything else beeps.
void BackspaceCommand(HWND view, EntityRecord** slot, pl3::Point point);
// Puts a selection being moved (edit modes 39 and 45) back at the block
// origin it had when the move began.
void ReturnSelectionToStart(HWND view);
// Turns the selection by the Transform; a selection whose vertex, radius or
// locator is being edited beeps, a single attribute locator turns its text a
// quarter turn. 1 when turned, 0 when refused.
int RotateSelection(HWND view, const pl3::Transform& transform);
