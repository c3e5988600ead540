// The undo history's records: step numbers, captions, the position, the
// three record operations and the history's own housekeeping.
#include "edit/undo_history.h"

#include <cstring>
#include <vector>

#include "edit/undo_history_access.h"
#include "edit/undo_index.h"
#include "objects/entity_copy.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"

namespace undohistory {

const Tower* ActiveDesign() {
  const CurrentWindowData* w = ActiveWindowData;
  return w && w->design && TowerEntity(w->design) ? w->design : nullptr;
}

OwnedTower OpenHistory(const Tower* design, bool create) {
  if (!design || !TowerEntity(design)) return nullptr;
  Tower* history = NewestChildTower(design, Type_UndoHistory);
  if (!history && create) history = InsertEmptyEntity(design, Type_UndoHistory);
  return OwnedTower(history);
}

Entity* NewestChild(const Entity* parent, std::uint16_t code) {
  if (!parent) return nullptr;
  for (NodeRef g = parent->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    const TypeGroup* group = NodeAt<TypeGroup>(g);
    if (group->typeCode == code) return NodeAt<Entity>(group->firstChild);
    if (group->typeCode > code) break;
  }
  return nullptr;
}

Entity* FirstChild(const Entity* parent) {
  return parent && parent->firstChild ? NodeAt<Entity>(NodeAt<TypeGroup>(parent->firstChild)->firstChild) : nullptr;
}

bool ReadPosition(const Tower* history, std::uint32_t* position) {
  const std::uint8_t* p = PayloadOfAtLeast(NewestChild(TowerEntity(history), Type_UndoPosition), 4);
  if (!p) return false;
  *position = ReadU32(p, 0);
  return true;
}

void WritePosition(const Tower* history, std::uint32_t position) {
  if (std::uint8_t* p = PayloadOfAtLeast(NewestChild(TowerEntity(history), Type_UndoPosition), 4)) {
    WriteU32(p, 0, position);
    return;
  }
  OwnedTower made(InsertEntity(history, 4, Type_UndoPosition, &position));
}

bool ReadEntry(const Entity* entry, std::uint32_t* step, std::uint32_t* kind) {
  const std::uint8_t* p = PayloadOfAtLeast(const_cast<Entity*>(entry), 8);
  if (!p) return false;
  *step = ReadU32(p, 0);
  *kind = ReadU32(p, 4);
  return true;
}

OwnedTower CopyExactly(const Tower* destination, const Tower* source) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t state = w ? w->StateFlags : 0;
  const std::uint32_t walk = w ? w->WalkFlags : 0;
  // The copy keeps the item's own layer: no override or mirror applies.
  if (w) {
    w->StateFlags &= ~kStateLayerOverride;
    w->WalkFlags &= ~kWalkMirrorMode;
  }
  OwnedTower copy(CopyAndInsertEntity(destination, source, &pl3::kIdentityTransform));
  if (w) {
    w->StateFlags = state;
    w->WalkFlags = walk;
  }
  return copy;
}

std::vector<NodeRef> StepEntries(Entity* history, std::uint32_t step) {
  const auto& entries = undoindex::IndexOf(history).entries;
  const auto at = entries.find(step);
  return at == entries.end() ? std::vector<NodeRef>{} : at->second;
}

std::int64_t NextStepAbove(Entity* history, std::uint32_t position) {
  const auto& entries = undoindex::IndexOf(history).entries;
  const auto at = position == kUndoNothingDone ? entries.begin() : entries.upper_bound(position);
  return at == entries.end() ? -1 : static_cast<std::int64_t>(at->first);
}

std::int64_t PreviousStepBelow(Entity* history, std::uint32_t position) {
  const auto& entries = undoindex::IndexOf(history).entries;
  auto at = entries.lower_bound(position);
  if (at == entries.begin()) return -1;
  return static_cast<std::int64_t>((--at)->first);
}

void DeleteChild(const Tower* parent, Entity* child) {
  if (!child) return;
  OwnedTower t(EntityToTower(parent, child, -1));
  if (t) DeleteEntity(t.get());
}

void DropTail(const Tower* history) {
  std::uint32_t position = 0;
  if (!ReadPosition(history, &position)) return;
  Entity* h = TowerEntity(history);
  const auto& entries = undoindex::IndexOf(h).entries;
  std::vector<NodeRef> doomed;
  for (auto at = position == kUndoNothingDone ? entries.begin() : entries.upper_bound(position);
       at != entries.end(); ++at)
    doomed.insert(doomed.end(), at->second.begin(), at->second.end());
  for (NodeRef e : doomed) DeleteChild(history, NodeAt<Entity>(e));
}

}  // namespace undohistory

using namespace undohistory;

namespace {

// Steps 1 to 4 of every record operation: the history (made when missing),
// its position (made holding the step when missing), the undone steps
// dropped and the position set to the step.
OwnedTower BeginRecord(std::uint32_t step) {
  OwnedTower history = OpenHistory(ActiveDesign(), true);
  if (!history) return nullptr;
  std::uint32_t position = 0;
  if (!ReadPosition(history.get(), &position)) WritePosition(history.get(), step);
  DropTail(history.get());
  WritePosition(history.get(), step);
  return history;
}

// A new entry {step, kind} with its Type_UndoItem naming `item`. Returns a
// Tower on the entry and sets *undoItem to one on the item node.
OwnedTower AddEntry(const Tower* history, std::uint32_t step, std::uint32_t kind, NodeRef item, OwnedTower* undoItem) {
  const std::uint32_t record[2] = {step, kind};
  OwnedTower entry(InsertEntity(history, sizeof record, Type_UndoEntry, record));
  if (!entry) return nullptr;
  undoindex::AddEntry(TowerEntity(history), TowerEntity(entry.get()), step);
  const std::uint32_t none = 0;
  undoItem->reset(InsertEntity(entry.get(), 4, Type_UndoItem, &none));
  undoindex::Name(TowerEntity(undoItem->get()), item);
  return entry;
}

// The saved copy of a removed or replaced item under the entry's item node;
// the entry goes again when the item cannot be copied.
OwnedTower SaveCopy(OwnedTower& entry, const Tower* undoItem, const Tower* item) {
  OwnedTower copy = CopyExactly(undoItem, item);
  if (!copy) {
    DeleteEntity(entry.get());
    entry.reset();
  }
  return copy;
}

}  // namespace

std::uint32_t NewUndoStepNumber() {
  CurrentWindowData* w = ActiveWindowData;
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  if (!history) {
    history = OpenHistory(ActiveDesign(), true);
    if (!history) return w ? w->UndoStep : 0;
    const std::uint32_t zero = 0;
    OwnedTower counter(InsertEntity(history.get(), 4, Type_UndoStepCounter, &zero));
  }
  std::uint8_t* counter = PayloadOfAtLeast(NewestChild(TowerEntity(history.get()), Type_UndoStepCounter), 4);
  if (!counter) {
    // A history without its counter (a damaged file) starts counting again.
    const std::uint32_t one = 1;
    OwnedTower made(InsertEntity(history.get(), 4, Type_UndoStepCounter, &one));
    return 1;
  }
  const std::uint32_t next = ReadU32(counter, 0) + 1;
  WriteU32(counter, 0, next);
  return next;
}

Tower* FindUndoStepCaption(std::uint32_t step) {
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  if (!history) return nullptr;
  const auto& captions = undoindex::IndexOf(TowerEntity(history.get())).captions;
  const auto at = captions.find(step);
  if (at == captions.end() || at->second.empty()) return nullptr;
  return EntityToTower(history.get(), NodeAt<Entity>(at->second.back()), -1);
}

void SetUndoStepCaption(std::uint32_t step, const char* caption) {
  if (Tower* old = FindUndoStepCaption(step)) {
    DeleteEntity(old);
    ReleaseTower(&old);
  }
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  if (!history) return;
  const char* text = caption ? caption : "";
  OwnedTower node(InsertEntity(history.get(), static_cast<std::uint32_t>(std::strlen(text) + 1), Type_UndoCaption, text));
  if (!node) return;
  OwnedTower owner(InsertEntity(node.get(), 4, Type_UndoPosition, &step));
  undoindex::AddCaption(TowerEntity(history.get()), TowerEntity(node.get()), step);
}

void RecordUndoInsert(NodeRef item, std::uint32_t step) {
  if (!item) return;
  OwnedTower history = BeginRecord(step);
  if (!history) return;
  OwnedTower undoItem;
  AddEntry(history.get(), step, kUndoInserted, item, &undoItem);
}

Tower* RecordUndoRemove(const Tower* item, std::uint32_t step) {
  const Entity* e = TowerEntity(item);
  if (!e) return nullptr;
  OwnedTower history = BeginRecord(step);
  if (!history) return nullptr;
  OwnedTower undoItem;
  OwnedTower entry = AddEntry(history.get(), step, kUndoRemoved, NodeRefOf(e), &undoItem);
  if (!entry) return nullptr;
  OwnedTower copy = SaveCopy(entry, undoItem.get(), item);
  if (!copy) return nullptr;
  // The entry's own reference moves to the copy with every other one.
  RepointUndoReferences(NodeRefOf(e), NodeRefOf(TowerEntity(copy.get())));
  return entry.release();
}

Tower* RecordUndoModify(const Tower* oldItem, NodeRef newItem, std::uint32_t step) {
  const Entity* e = TowerEntity(oldItem);
  if (!e || !newItem) return nullptr;
  OwnedTower history = BeginRecord(step);
  if (!history) return nullptr;
  OwnedTower undoItem;
  OwnedTower entry = AddEntry(history.get(), step, kUndoModified, newItem, &undoItem);
  if (!entry) return nullptr;
  OwnedTower copy = SaveCopy(entry, undoItem.get(), oldItem);
  if (!copy) return nullptr;
  RepointUndoReferences(NodeRefOf(e), NodeRefOf(TowerEntity(copy.get())));
  // The entry names the new version, which may be the old item changed in place.
  undoindex::Name(TowerEntity(undoItem.get()), newItem);
  return entry.release();
}

void DropRedoTail() {
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  if (history) DropTail(history.get());
}

std::int64_t GetNextRedoStep() {
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  std::uint32_t position = 0;
  if (!history || !ReadPosition(history.get(), &position)) return -1;
  return NextStepAbove(TowerEntity(history.get()), position);
}

std::int64_t GetPreviousUndoStep() {
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  std::uint32_t position = 0;
  if (!history || !ReadPosition(history.get(), &position)) return -1;
  return PreviousStepBelow(TowerEntity(history.get()), position);
}

std::uint32_t CountUndoStepEntries(int redo) {
  OwnedTower history = OpenHistory(ActiveDesign(), false);
  std::uint32_t position = 0;
  if (!history || !ReadPosition(history.get(), &position)) return 0;
  Entity* h = TowerEntity(history.get());
  std::int64_t step = position == kUndoNothingDone ? -1 : static_cast<std::int64_t>(position);
  if (redo) step = NextStepAbove(h, position);
  if (step < 0) return 0;
  return static_cast<std::uint32_t>(StepEntries(h, static_cast<std::uint32_t>(step)).size());
}

void RepointUndoReferences(NodeRef oldReference, NodeRef newReference) {
  undoindex::Repoint(oldReference, newReference);
}

Tower* ResetRedoSlot(const Tower* entry) {
  if (!TowerEntity(entry)) return nullptr;
  DeleteChildEntities(entry, Type_UndoRedoCopy);
  const std::uint32_t none = 0;
  return InsertEntity(entry, 4, Type_UndoRedoCopy, &none);
}

namespace {

Tower* OpenCopyUnder(const Tower* entry, std::uint16_t code) {
  Entity* holder = NewestChild(TowerEntity(entry), code);
  Entity* copy = FirstChild(holder);
  if (!copy) return nullptr;
  OwnedTower holderTower(EntityToTower(entry, holder, -1));
  return holderTower ? EntityToTower(holderTower.get(), copy, -1) : nullptr;
}

}  // namespace

Tower* OpenUndoCopy(const Tower* entry) { return OpenCopyUnder(entry, Type_UndoItem); }
Tower* OpenRedoCopy(const Tower* entry) { return OpenCopyUnder(entry, Type_UndoRedoCopy); }
