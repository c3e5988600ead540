// The undo and redo history of a design, kept inside the design as records
// under its root entity (type codes 10500 to 10508, objects/type_codes.h).
// The three record operations, the step numbers and captions and the menu
// are declared in objects/undo_seams.h, where the design objects reach them;
// this header adds the rest. Every operation acts on the design of the
// active window (ActiveWindowData) unless it takes a design.
//
// One user action is one step: the entries carrying its number are undone
// and redone together, newest first. Items are copied into the history when
// they leave the design; an entry names its item by node reference, and
// when the item moves to another node every reference to it moves too.
// Undo and redo act only on the item an entry recorded: an entry whose item
// is gone, was never recorded in this run, or is not a child of the design
// root is skipped with a beep.
#pragma once
#include <cstdint>

#include "objects/undo_seams.h"

struct EntityRecord;

// Entry kinds.
constexpr std::uint32_t kUndoInserted = 1;
constexpr std::uint32_t kUndoRemoved = 2;
constexpr std::uint32_t kUndoModified = 3;
// The position of a history with nothing to undo.
constexpr std::uint32_t kUndoNothingDone = 0xFFFFFFFF;
// More entries than this in a step: the commands show the wait cursor.
constexpr std::uint32_t kUndoWaitCursorEntries = 10;

// A Tower on the newest caption node of the step, or null; the caller
// releases it.
Tower* FindUndoStepCaption(std::uint32_t step);
// Stores the record under the parent and puts it on the window's display
// list, records the insertion as a whole step captioned "Insert <type name>"
// and opens the next step. Returns the new entity's Tower (the caller
// releases it), or null when nothing was stored. Also declared in
// objects/editor_seams.h for the design objects' placing tools.
Tower* InsertEntityWithUndo(const EntityRecord* record, const Tower* parent);
// Deletes every entry of the design's history with what it holds; the
// counter, the position and the captions stay. Operations that rebuild a
// design wholesale, and the opening of a design, call it.
void ClearUndoHistory(const Tower* design);
// The Undo and Redo commands. Nothing to undo or redo: a beep.
void UndoLastStep();
void RedoNextStep();
// The number of entries that Undo (redo 0) or Redo (redo non-zero) would
// replay; 0 without a history or such a step.
std::uint32_t CountUndoStepEntries(int redo);
// The smallest step of any entry above the position (a position of
// kUndoNothingDone is below every step), or -1.
std::int64_t GetNextRedoStep();
// The largest step of any entry below the position, or -1.
std::int64_t GetPreviousUndoStep();
// Deletes every entry above the position (every entry when nothing is done).
void DropRedoTail();

// Internal steps, declared for the tests. Every reference to the old node,
// in entries and redo slots, is set to the new one.
void RepointUndoReferences(NodeRef oldReference, NodeRef newReference);
// Replaces the entry's redo slot with a new one holding 0; returns a Tower on it.
Tower* ResetRedoSlot(const Tower* entry);
// A Tower on the saved copy (the first child of the entry's Type_UndoItem)
// or on the redo copy, or null.
Tower* OpenUndoCopy(const Tower* entry);
Tower* OpenRedoCopy(const Tower* entry);
