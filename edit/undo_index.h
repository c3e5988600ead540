// What the undo history keeps in memory beside its records.
//
// References. An entry names its item by the item's node reference, and the
// pool reuses the place of a freed node, so a reference alone cannot tell
// whether it still names the item it was given. Every reference the history
// writes (into a Type_UndoItem or Type_UndoRedoCopy node, "the namer") is
// registered here with the item it names. When the store frees the item
// (whoever deletes it: the history, a command that records nothing, the
// design's teardown) its namers lose their registration, and the reference
// they still hold is stale: NamedItem answers 0 for it. A reference read
// from a file or copied with a design is never registered, so it is stale
// too. Re-pointing moves the registrations, so it costs the namers of the
// one item, not a walk of the history.
//
// Steps. For each history the entries and captions are kept by step number,
// in recording order, so that one step is found without reading the others.
// The index of a history is built from its records on first use and then
// kept in step by the history's own inserts and the store's free observer.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "store/tower.h"

namespace undoindex {

// The item the namer's reference names, or 0 when it is stale or was never
// registered.
NodeRef NamedItem(NodeRef namer);
// Writes `item` into the namer's first four payload bytes and registers it;
// 0 leaves the namer naming nothing.
void Name(Entity* namer, NodeRef item);
// Every registered reference to `from` now names `to` (a no-op when they are
// the same or either is 0).
void Repoint(NodeRef from, NodeRef to);

struct HistoryIndex {
  std::map<std::uint32_t, std::vector<NodeRef>> entries;   // 10501 nodes by step, oldest first
  std::map<std::uint32_t, std::vector<NodeRef>> captions;  // 10508 nodes by step, oldest first
};
// The index of the history entity, built on first use. Entries without a
// whole {step, kind} payload and captions without a step are left out.
HistoryIndex& IndexOf(Entity* history);
// Adds a new entry or caption of the history to its index.
void AddEntry(Entity* history, Entity* entry, std::uint32_t step);
void AddCaption(Entity* history, Entity* caption, std::uint32_t step);

}  // namespace undoindex
