// The design change mark. Kept apart from the design-wide walks because it
// refreshes the window title through document filing.
#include "objects/design_walks.h"

#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "store/document_titles.h"
#include "store/tower.h"

void RecordDesignChange() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design || !TowerEntity(w->design)) return;
  Tower* target = LastLevel(w->design).typeCode == Type_Page ? GetAncestorTower(w->design, Type_Schematic)
                                                              : DuplicateTower(w->design);
  if (LastLevel(w->design).typeCode == Type_Page && LastLevel(target).typeCode != Type_Schematic) {
    ReleaseTower(&target);
    target = DuplicateTower(w->design);
  }
  DeleteChildEntities(target, Type_ModifiedNote);
  Tower* note = InsertEmptyEntity(target, Type_ModifiedNote);
  ReleaseTower(&note);
  UpdateDocumentWindowTitle(target);
  ReleaseTower(&target);
}
