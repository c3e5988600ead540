// The undo history's own helpers, shared by its record operations
// (undo_history.cpp) and its replay (undo_replay.cpp).
#pragma once
#include <cstdint>
#include <vector>

#include "edit/undo_history.h"
#include "store/tower.h"

namespace undohistory {

// The design of the active window, or null.
const Tower* ActiveDesign();
// A Tower on the design's history; made when missing and `create` is set.
OwnedTower OpenHistory(const Tower* design, bool create);
// The newest child of the code, and the first child of any code, or null.
Entity* NewestChild(const Entity* parent, std::uint16_t code);
Entity* FirstChild(const Entity* parent);
// The position; false when the history has no whole position record.
bool ReadPosition(const Tower* history, std::uint32_t* position);
void WritePosition(const Tower* history, std::uint32_t position);
// An entry's {step, kind}; false when its payload is short.
bool ReadEntry(const Entity* entry, std::uint32_t* step, std::uint32_t* kind);
// A deep copy of the source under the destination, exactly as it is.
OwnedTower CopyExactly(const Tower* destination, const Tower* source);
// The entries of a step, oldest first.
std::vector<NodeRef> StepEntries(Entity* history, std::uint32_t step);
// The smallest step above the position (every step is above
// kUndoNothingDone) and the largest below it; -1 for none.
std::int64_t NextStepAbove(Entity* history, std::uint32_t position);
std::int64_t PreviousStepBelow(Entity* history, std::uint32_t position);
// Deletes the child entity of the parent (with its sub-tree).
void DeleteChild(const Tower* parent, Entity* child);
// Deletes the entries above the position.
void DropTail(const Tower* history);

}  // namespace undohistory
