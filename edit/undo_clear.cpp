// Emptying a design's undo history. A file of its own: document filing calls
// it on every design it loads (store/filing_seams.h), and tests that fake the
// record operations still link it.
#include "edit/undo_history.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/tower.h"

void ClearUndoHistory(const Tower* design) {
  if (!design || !TowerEntity(design)) return;
  OwnedTower history(NewestChildTower(design, Type_UndoHistory));
  if (history) DeleteChildEntities(history.get(), Type_UndoEntry);
}
