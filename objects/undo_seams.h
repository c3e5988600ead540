// The editing engine's undo history as the design objects' commands use it:
// entries appended to the window's current undo step, the step's caption and
// the next step number. Defined by the engine; until it lands the program
// links the stand-ins of app/undo_seams_pending.cpp (nothing is recorded) and
// tests link recording fakes.
#pragma once
#include <cstdint>

struct Tower;

// Appends an insertion entry (the new entity's identity) to the undo step.
// Returns a Tower or null, which the caller releases.
Tower* RecordUndoInsert(const Tower* entity, std::uint32_t undoStep);
// Appends a removal entry (the entity's identity and a full copy of it) to
// the undo step; call it before the entity is deleted. Returns a Tower or
// null, which the caller frees.
Tower* RecordUndoRemove(const Tower* entity, std::uint32_t undoStep);
// Appends a change entry for the item to the undo step: a copy of its
// previous version and the item that replaces it. With a null previous copy
// the call comes before the item is changed in place and the step copies the
// item as it stands. Returns a Tower on the entry or null; the caller releases it.
Tower* RecordUndoModify(const Tower* item, const Tower* previousCopy, std::uint32_t undoStep);
// Names the undo step in the Undo and Redo menus.
void SetUndoStepCaption(std::uint32_t undoStep, const char* caption);
// The number of the next undo step; the caller makes it the window's current one.
std::uint32_t NewUndoStepNumber();
// Sets the Undo and Redo menu items of the view from the step captions.
void UpdateUndoMenu(void* view);
