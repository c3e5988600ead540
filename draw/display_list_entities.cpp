// The display list's put and remove (objects/display_list_seams.h), in a
// file of their own: tests of the design objects that record these calls
// still link the dispatcher that the drawing code needs.
#include <cstdlib>
#include <initializer_list>

#include "draw/display_list.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypePl2Symbol = 163;

bool IsPcbWindow() { return ActiveWindowData && ActiveWindowData->editorKind == kEditorPcb; }

}  // namespace

void PutEntityOnDisplayList(void* displayList, const Tower* entity) {
  auto* list = static_cast<DisplayList*>(displayList);
  if (!list || !IsPcbWindow()) return;
  const Entity* e = TowerEntity(entity);
  if (!e) return;
  DisplayList* const savedList = CurrentDisplayList;
  const Tower* const savedEntity = CurrentDisplayEntity;
  CurrentDisplayList = list;
  CurrentDisplayEntity = entity;
  const pl3::Transform placement = ActiveWindowData->BaseTransform;
  AddEntityToDisplayList(EntityPayload(e), e->payloadSize, e->typeCode, &placement, 37);
  CurrentDisplayList = savedList;
  CurrentDisplayEntity = savedEntity;
}

// ---- Removal -----------------------------------------------------------------------------------

namespace {

bool ReachesEntity(const Tower* t, const Entity* target) { return t && TowerEntity(t) == target; }

bool ItemBelongsTo(const DisplayItem* item, const Entity* target, std::uint16_t code) {
  if (ReachesEntity(item->owner, target)) return true;
  if (!item->entity) return false;
  Tower* cut = GetAncestorTower(item->entity, code);
  const bool hit = ReachesEntity(cut, target);
  ReleaseTower(&cut);
  return hit;
}

void RemoveFromList(DisplayNode** head, const Entity* target, std::uint16_t code) {
  for (DisplayNode** link = head; *link;) {
    DisplayNode* node = *link;
    if (node->item && ItemBelongsTo(node->item, target, code)) {
      *link = node->next;
      FreeDisplayItem(node->item);
      std::free(node);
    } else {
      link = &node->next;
    }
  }
}

}  // namespace

void* RemoveFromDisplayList(void* displayList, const Tower* entity) {
  auto* list = static_cast<DisplayList*>(displayList);
  if (DisplayListHold) return list;
  if (!IsPcbWindow()) return nullptr;
  const Entity* target = TowerEntity(entity);
  if (!list || !target) return list;
  const std::uint16_t code = target->typeCode;
  auto search = [&](DisplayListIndex index) { RemoveFromList(&list->lists[index], target, code); };
  switch (code) {
    case 7: search(DisplayList_Holes); break;
    case 8: search(DisplayList_Planes); break;
    case 9: case 35: search(DisplayList_Cutouts); break;
    case 34: search(DisplayList_Datums); break;
    case 46: case 47: search(DisplayList_Slots); break;
    case Type_InfoBoxHier: search(DisplayList_Markers); break;
    case Type_SymbolInstance: case kTypePl2Symbol:
      for (DisplayListIndex index : {DisplayList_Holes, DisplayList_General, DisplayList_PinLabels,
                                     DisplayList_PreRoutes, DisplayList_Slots}) {
        search(index);
      }
      break;
    default: search(DisplayList_General); break;
  }
  return list;
}
