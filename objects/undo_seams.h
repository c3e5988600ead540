// What the design objects' one-step commands ask of the undo engine, which
// the editing engine builds. Declared here; until it lands the program links
// stand-ins (app/undo_seams_pending.cpp) that record nothing, and tests link
// recording fakes.
#pragma once
#include <cstdint>

struct Tower;

// Appends a change entry for the item to the undo step: a copy of its
// previous version and the item that replaces it. With a null previous copy
// the call comes before the item is changed in place and the step copies the
// item as it stands. Returns a Tower on the entry or null; the caller releases it.
Tower* RecordUndoModify(const Tower* item, const Tower* previousCopy, std::uint32_t undoStep);
// Captions an undo step ("Default to Corvane standard").
void SetUndoStepCaption(std::uint32_t undoStep, const char* caption);
// The next undo step number, which the caller makes the window's current step.
std::uint32_t NewUndoStepNumber();
// Sets the Undo and Redo menu items of the view from the step captions.
void UpdateUndoMenu(void* view);
