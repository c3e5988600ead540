#include "objects/undo_edits.h"

#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/display_list_seams.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "store/tower.h"

void StoreWithUndo(const CurrentWindowData& w, std::uint16_t type, std::uint32_t size, const void* payload) {
  Tower* stored = InsertEntity(w.design, size, type, payload);
  if (!stored) return;
  RecordUndoInsert(NodeRefOf(TowerEntity(stored)), w.UndoStep);
  PutEntityOnDisplayList(w.Display, stored);
  ReleaseTower(&stored);
}

void RemoveWithUndo(const CurrentWindowData& w, Tower* const* entities, int count) {
  for (int i = 0; i < count; ++i) {
    if (!entities[i]) continue;
    if (Tower* undo = RecordUndoRemove(entities[i], w.UndoStep)) FreeTower(undo);
  }
  for (int i = 0; i < count; ++i)
    if (entities[i]) RemoveFromDisplayList(w.Display, entities[i]);
  for (int i = 0; i < count; ++i)
    if (entities[i]) DeleteEntity(entities[i]);
}

void FinishUndoStep(HWND window, CurrentWindowData& w, const char* caption) {
  CloseUndoStep(w, caption);
  RecordDesignChange();
  RedrawView(window);
}

