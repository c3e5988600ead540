// What cancel and delete ask of the selection engine, which is built
// elsewhere. Defined by the selection's owner; until it lands the program
// links the stand-ins of app/selection_engine_seams_pending.cpp (nothing is
// selected, so nothing is cancelled, deleted or picked) and tests link
// recording fakes.
#pragma once
#include "platform/win_types.h"

struct ButtonRecord;

// Ends the selection array of Edit Selection, Add New Pad and Add New
// Symbol: the working copies go, the originals stay as they were.
void CancelSelectionArray(HWND window);
// Deletes the selection with undo, asking first (with `ask`) when it holds
// as many primary items as the configured threshold; 1 when deleted, 0 when
// declined or there was nothing to delete.
int DeleteSelectionArray(HWND window, int ask);
// Deletes the item held by New Symbol and Edit Symbol with undo; non-zero
// when the design changed.
int DeleteSelection(HWND window);
// Picks the object under the button record's mouse point for a purpose
// (edit/picking.h: 1 select, 2 delete, 3 copy, 4 and 5 copy with a step up
// or down, 6 select); non-zero when a select changed the selection.
int PickObjectAtCursor(HWND window, ButtonRecord* button, int action);
