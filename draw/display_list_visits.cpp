// The look-ups of the design objects over the active window's display list
// (objects/item_helper_seams.h). Kept apart so that a program that fakes
// them still links the display list.
#include "draw/display_list.h"
#include "edit/window_data.h"
#include "objects/design_helpers.h"
#include "objects/tower_validity.h"
#include "objects/item_helper_seams.h"
#include "objects/type_codes.h"
#include "store/tower.h"

int VisitDisplayItems(int (*visit)(const DisplayItemView& item, void* context), void* context) {
  const CurrentWindowData* w = ActiveWindowData;
  const auto* list = w && w->editorKind == kEditorPcb ? static_cast<const DisplayList*>(w->Display) : nullptr;
  if (!list || !visit) return 0;
  TowerValidityCache valid;
  for (const DisplayNode* head : list->lists) {
    for (const DisplayNode* n = head; n; n = n->next) {
      const DisplayItem* item = n->item;
      if (!item) continue;
      Tower* instance = item->entity ? GetAncestorTower(item->entity, Type_SymbolInstance) : nullptr;
      if (instance && LastLevel(instance).typeCode != Type_SymbolInstance) ReleaseTower(&instance);
      DisplayItemView view{item->kind, instance, item->box, {0, 0}, !item->entity || !IsTowerValidIn(item->entity, valid)};
      if (item->kind == 7 || item->kind == 17) {
        const pl3::HoleLayout& h = ItemAs<HoleItem>(item)->record.hole;
        view.centre = {h.centreX, h.centreY};
      }
      const int result = visit(view, context);
      ReleaseTower(&instance);
      if (result) return result;
    }
  }
  return 0;
}
