// What the item key commands and the rotate commands call in the selection
// engine, the undo history, the insertion tools and the PCB editor, which are
// built beside them. Declared here under their owners' names; the program
// links stand-ins from app/*_seams_pending.cpp until each owner lands, and
// tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct ButtonRecord;
struct EntityRecord;
struct SelectionInfo;

// ---- The undo history -------------------------------------------------------
// Undoes the last step of the active window's design (a beep when none).
void UndoLastStep();
// The entries that Undo (redo 0) or Redo (redo non-zero) would replay.
std::uint32_t CountUndoStepEntries(int redo);

// ---- The selection engine ----------------------------------------------------
// Moves every record's working copy by the delta (and the window's block
// origin, unless the first record holds grabbed part 3); 1, or 0 after an
// unknown type.
int MoveSelectionArray(SelectionInfo* list, std::int32_t dx, std::int32_t dy);
// Releases the secondary records and applies the Transform to every primary
// one; returns the box of the released secondaries.
pl3::Box TransformSelectionArray(const pl3::Transform* transform);

// ---- The insertion tools ----------------------------------------------------
// Begins a spiral at the cursor record's point (edit mode 64).
int BeginInsertSpiral(HWND window, EntityRecord** slot, ButtonRecord* cursor);

// ---- The schematic editor ---------------------------------------------------
// Chooses the Wire tool in the active window.
void SetWireTool();
// Begins a wire at the cursor record's point.
int BeginInsertWire(HWND window, EntityRecord** slot, ButtonRecord* cursor);

// ---- The PCB editor ------------------------------------------------------------
// Removes, with undo, the run of connected tracks laid from the segment.
void RipUpTrack(EntityRecord* track);
// The same for the one selected track.
void RipUpSelectedTrack(SelectionInfo* selection);
// Recomputes the ratsnest lines attached to the items being moved.
void UpdateMovingPoints();
