// Undo and Redo: one step replayed, its entries newest first.
#include <vector>

#include "edit/ratsnest_seams.h"
#include "edit/status_seams.h"
#include "edit/undo_history_access.h"
#include "edit/undo_index.h"
#include "objects/design_walks.h"
#include "objects/display_list_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/filing_seams.h"

using namespace undohistory;

namespace {

void Beep() { MessageBeep(MB_ICONASTERISK); }

// The replay of one step: the design, its history and the window's display list.
struct Replay {
  const Tower* design;
  const Tower* history;
  void* display;
  bool skipped = false;
};

// A Tower on the item when it is a live item the history recorded and a
// child of the design root; else null. Only such an item is touched.
OwnedTower ItemUnderRoot(const Replay& r, NodeRef item) {
  if (!item) return nullptr;
  Entity* e = NodeAt<Entity>(item);
  if (e->flags & kNodeIsTypeGroup) return nullptr;
  NodeRef newest = item;
  for (NodeRef p = e->previous; p; p = NodeAt<Entity>(p)->previous) newest = p;
  const Entity* root = TowerEntity(r.design);
  for (NodeRef g = root->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    const TypeGroup* group = NodeAt<TypeGroup>(g);
    if (group->typeCode > e->typeCode) break;
    if (group->typeCode == e->typeCode && group->firstChild == newest) return OwnedTower(EntityToTower(r.design, e, -1));
  }
  return nullptr;
}

NodeRef RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }
bool IsSymbolInstance(const Tower* t) { return TowerEntity(t)->typeCode == Type_SymbolInstance; }

// The reference an entry's item node or redo slot holds while it is valid.
NodeRef Named(Entity* namer) { return namer ? undoindex::NamedItem(NodeRefOf(namer)) : 0; }

// A copy of `source` under the design root, put on the display list.
OwnedTower Restore(const Replay& r, const Tower* source) {
  OwnedTower restored = CopyExactly(r.design, source);
  if (restored) PutEntityOnDisplayList(r.display, restored.get());
  return restored;
}

void Remove(const Replay& r, Tower* item) {
  RemoveFromDisplayList(r.display, item);
  DeleteEntity(item);
}

// Kind 1 undone: the inserted item goes into the redo slot.
bool UndoInsertion(const Replay& r, const Tower* entry, Entity* undoItem) {
  OwnedTower item = ItemUnderRoot(r, Named(undoItem));
  if (!item) return false;
  OwnedTower slot(ResetRedoSlot(entry));
  OwnedTower copy = slot ? CopyExactly(slot.get(), item.get()) : nullptr;
  if (!copy) {
    if (slot) DeleteEntity(slot.get());
    return false;
  }
  undoindex::Name(TowerEntity(slot.get()), RefOf(copy.get()));
  RepointUndoReferences(RefOf(item.get()), RefOf(copy.get()));
  RepointUndoReferences(Named(undoItem), RefOf(copy.get()));
  Remove(r, item.get());
  if (IsSymbolInstance(copy.get())) {
    MarkSymbolNetsChanged(copy.get());
    ComponentBinMarkUnplaced(copy.get());
  }
  return true;
}

// Kind 2 undone: the saved copy comes back into the design.
bool UndoRemoval(const Replay& r, const Tower* entry, Entity* undoItem) {
  OwnedTower saved(OpenUndoCopy(entry));
  if (!saved || Named(undoItem) != RefOf(saved.get())) return false;
  OwnedTower restored = Restore(r, saved.get());
  if (!restored) return false;
  OwnedTower slot(ResetRedoSlot(entry));
  undoindex::Name(TowerEntity(slot.get()), RefOf(restored.get()));
  RepointUndoReferences(RefOf(saved.get()), RefOf(restored.get()));
  RepointUndoReferences(Named(undoItem), RefOf(restored.get()));
  if (IsSymbolInstance(restored.get())) {
    MarkSymbolNetsChanged(restored.get());
    ComponentBinMarkPlaced(restored.get());
  }
  return true;
}

// Kind 3 undone: the old version comes back, the newer one goes into the redo slot.
bool UndoModification(const Replay& r, const Tower* entry, Entity* undoItem) {
  OwnedTower newer = ItemUnderRoot(r, Named(undoItem));
  OwnedTower saved(OpenUndoCopy(entry));
  if (!newer || !saved) return false;
  OwnedTower restored = CopyExactly(r.design, saved.get());
  if (!restored) return false;
  RepointUndoReferences(RefOf(saved.get()), RefOf(restored.get()));
  RepointUndoReferences(RefOf(newer.get()), RefOf(restored.get()));
  OwnedTower slot(ResetRedoSlot(entry));
  undoindex::Name(TowerEntity(slot.get()), RefOf(restored.get()));
  CopyExactly(slot.get(), newer.get());
  RemoveFromDisplayList(r.display, newer.get());
  PutEntityOnDisplayList(r.display, restored.get());
  DeleteEntity(newer.get());
  if (IsSymbolInstance(restored.get())) MarkSymbolNetsChanged(restored.get());
  return true;
}

// Kind 1 redone: the redo slot's copy goes back into the design.
bool RedoInsertion(const Replay& r, const Tower* entry, Entity* slot) {
  OwnedTower copy(OpenRedoCopy(entry));
  if (!copy || Named(slot) != RefOf(copy.get())) return false;
  OwnedTower restored = Restore(r, copy.get());
  if (!restored) return false;
  RepointUndoReferences(Named(slot), RefOf(restored.get()));
  RepointUndoReferences(RefOf(copy.get()), RefOf(restored.get()));
  if (IsSymbolInstance(restored.get())) {
    MarkSymbolNetsChanged(restored.get());
    ComponentBinMarkPlaced(restored.get());
  }
  DeleteChild(entry, slot);
  return true;
}

// Kind 2 redone: the restored item leaves the design again.
bool RedoRemoval(const Replay& r, const Tower* entry, Entity* slot) {
  OwnedTower restored = ItemUnderRoot(r, Named(slot));
  OwnedTower saved(OpenUndoCopy(entry));
  if (!restored || !saved) return false;
  RepointUndoReferences(RefOf(restored.get()), RefOf(saved.get()));
  Remove(r, restored.get());
  DeleteChild(entry, slot);
  if (IsSymbolInstance(saved.get())) {
    MarkSymbolNetsChanged(saved.get());
    ComponentBinMarkUnplaced(saved.get());
  }
  return true;
}

// Kind 3 redone: the newer version replaces the restored old one again.
bool RedoModification(const Replay& r, const Tower* entry, Entity* slot) {
  OwnedTower older = ItemUnderRoot(r, Named(slot));
  OwnedTower copy(OpenRedoCopy(entry));
  if (!older || !copy) return false;
  OwnedTower newer = CopyExactly(r.design, copy.get());
  if (!newer) return false;
  RepointUndoReferences(RefOf(copy.get()), RefOf(newer.get()));
  RepointUndoReferences(RefOf(older.get()), RefOf(newer.get()));
  RemoveFromDisplayList(r.display, older.get());
  PutEntityOnDisplayList(r.display, newer.get());
  DeleteEntity(older.get());
  DeleteChild(entry, slot);
  if (IsSymbolInstance(newer.get())) MarkSymbolNetsChanged(newer.get());
  return true;
}

// Replays every entry of the step, newest first, by kind. An entry whose
// records or item do not hold is skipped; entries of unknown kind are
// passed over.
void ReplayStep(Replay& r, std::uint32_t step, bool redo) {
  const std::vector<NodeRef> entries = StepEntries(TowerEntity(r.history), step);
  for (auto at = entries.rbegin(); at != entries.rend(); ++at) {
    Entity* e = NodeAt<Entity>(*at);
    std::uint32_t entryStep = 0, kind = 0;
    if (!ReadEntry(e, &entryStep, &kind) || kind < kUndoInserted || kind > kUndoModified) continue;
    OwnedTower entry(EntityToTower(r.history, e, -1));
    Entity* namer = NewestChild(e, redo ? Type_UndoRedoCopy : Type_UndoItem);
    bool done = false;
    if (entry && namer) {
      switch (kind) {
        case kUndoInserted: done = redo ? RedoInsertion(r, entry.get(), namer) : UndoInsertion(r, entry.get(), namer); break;
        case kUndoRemoved: done = redo ? RedoRemoval(r, entry.get(), namer) : UndoRemoval(r, entry.get(), namer); break;
        default: done = redo ? RedoModification(r, entry.get(), namer) : UndoModification(r, entry.get(), namer); break;
      }
    }
    if (!done) r.skipped = true;
  }
}

// The end of a replay: the change mark, the ratsnest, the active view and the
// menu. An undone or redone step changes the design as much as the edit did.
void FinishReplay(const Replay& r) {
  RecordDesignChange();
  UpdateChangedNetMembers(0);
  HWND active = MDIClientWindow ? reinterpret_cast<HWND>(SendMessage(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  if (active) RedrawView(active);
  UpdateUndoMenu();
  if (r.skipped) Beep();
}

}  // namespace

void UndoLastStep() {
  const Tower* design = ActiveDesign();
  OwnedTower history = OpenHistory(design, false);
  std::uint32_t position = 0;
  if (!history || !ReadPosition(history.get(), &position) || position == kUndoNothingDone) {
    Beep();
    return;
  }
  const std::int64_t previous = PreviousStepBelow(TowerEntity(history.get()), position);
  WritePosition(history.get(), previous < 0 ? kUndoNothingDone : static_cast<std::uint32_t>(previous));
  EmptyChangedNets();
  Replay r{design, history.get(), ActiveWindowData->Display};
  ReplayStep(r, position, false);
  FinishReplay(r);
}

void RedoNextStep() {
  const Tower* design = ActiveDesign();
  OwnedTower history = OpenHistory(design, false);
  std::uint32_t position = 0;
  if (!history || !ReadPosition(history.get(), &position)) {
    Beep();
    return;
  }
  const std::int64_t next = NextStepAbove(TowerEntity(history.get()), position);
  if (next < 0) {
    Beep();
    return;
  }
  WritePosition(history.get(), static_cast<std::uint32_t>(next));
  EmptyChangedNets();
  Replay r{design, history.get(), ActiveWindowData->Display};
  ReplayStep(r, static_cast<std::uint32_t>(next), true);
  FinishReplay(r);
}
