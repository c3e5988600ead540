// Placing one new graphic as a whole undo step. A file of its own so that
// tests faking it (objects/editor_seams.h) still link the history.
#include <cstdio>

#include "edit/undo_history.h"
#include "objects/design_walks.h"
#include "objects/item_sides.h"
#include "objects/type_codes.h"
#include "store/tower.h"

Tower* InsertEntityWithUndo(const EntityRecord* record, const Tower* parent) {
  if (!record || !parent || !TowerEntity(parent)) return nullptr;
  Tower* stored = StoreGraphicRecord(parent, record, 1);
  CurrentWindowData* window = ActiveWindowData;
  if (!stored || !window) return stored;
  const Entity* e = TowerEntity(stored);
  RecordUndoInsert(NodeRefOf(e), window->UndoStep);
  // The stored code names the item: a track stored as a thermal break is
  // "Insert Thermal Break".
  char caption[64];
  std::snprintf(caption, sizeof caption, "Insert %s", GetTypeName(e->typeCode));
  CloseUndoStep(*window, caption);
  // A design changed without the mark would close without the save question.
  RecordDesignChange();
  return stored;
}
