// The undo steps the locator and symbol code ask for through their seams
// (objects/attribute_locators.h, objects/symbol_seams.h), recorded in the
// history of the active window's design. A file of its own so that tests
// faking these seams still link the history.
#include "objects/attribute_locators.h"
#include "objects/symbol_seams.h"
#include "objects/undo_seams.h"
#include "store/tower.h"

namespace {

void RecordRemovalInStep(const Tower* item) {
  if (!ActiveWindowData || !item) return;
  Tower* entry = RecordUndoRemove(item, ActiveWindowData->UndoStep);
  ReleaseTower(&entry);
}

}  // namespace

void RecordInsertionUndo(const Tower* inserted, const char* caption) {
  CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(inserted);
  if (!w || !e) return;
  RecordUndoInsert(NodeRefOf(e), w->UndoStep);
  CloseUndoStep(*w, caption);
}

void RecordDeletionUndo(const Tower* entity) { RecordRemovalInStep(entity); }

// The item changes in place: it is its own replacement.
void RecordModificationUndo(const Tower* entity, const char* caption) {
  CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(entity);
  if (!w || !e) return;
  Tower* undo = RecordUndoModify(entity, NodeRefOf(e), w->UndoStep);
  ReleaseTower(&undo);
  CloseUndoStep(*w, caption);
}

void DeleteEntityWithUndo(Tower* item, const char* caption) {
  CurrentWindowData* w = ActiveWindowData;
  RecordRemovalInStep(item);
  DeleteEntity(item);
  if (w) CloseUndoStep(*w, caption);
}
