// The editing engine's undo history as the design objects' commands use it
// (defined in edit/undo_history.cpp; tests link recording fakes). Every
// change of a user action is recorded under the window's UndoStep: an item
// inserted after it is stored, an item removed or replaced before it is
// deleted. When the action is complete, CloseUndoStep captions the step and
// opens the next one.
#pragma once
#include <cstdint>

#include "edit/window_data.h"
#include "store/node_pool.h"

struct Tower;

// Records that the item was inserted (entry kind 1).
void RecordUndoInsert(NodeRef item, std::uint32_t step);
// Records that the item the Tower stands on is about to be removed (kind 2):
// a full copy of it is kept. Returns a Tower on the new entry, which the
// caller frees, or null when nothing was recorded.
Tower* RecordUndoRemove(const Tower* item, std::uint32_t step);
// Records that the item the Tower stands on is about to be replaced by the
// item `newItem` (kind 3): a full copy of the old version is kept. An item
// changed in place names itself as its replacement, and the call comes
// before the change. Returns a Tower on the new entry (the caller frees it),
// or null.
Tower* RecordUndoModify(const Tower* oldItem, NodeRef newItem, std::uint32_t step);
// Names the step in the Undo and Redo menu items.
void SetUndoStepCaption(std::uint32_t step, const char* caption);
// The next step number of the active design's history (1 for a new one).
std::uint32_t NewUndoStepNumber();
// Sets the texts and states of the frame's Undo and Redo items.
void UpdateUndoMenu();

// The end of an action's recording: the window's step is captioned, the
// window takes the next step number and the menu follows.
inline void CloseUndoStep(CurrentWindowData& window, const char* caption) {
  SetUndoStepCaption(window.UndoStep, caption);
  window.UndoStep = NewUndoStepNumber();
  UpdateUndoMenu();
}
