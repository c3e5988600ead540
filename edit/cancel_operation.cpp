// Cancel: whatever the active editor window is doing ends, by its edit mode.
// The mode's ghost is erased, the temporary changes of the mode undone, the
// record in hand freed, and the window returns to idle.
#include <vector>

#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/command_workers.h"
#include "objects/designators.h"
#include "objects/display_list_seams.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "objects/window_state.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kViewModeBit4 = 0x10;
constexpr std::uint16_t kSelectedFlags = kEntitySelected | kEntitySelectedPart;

void RedrawItemBox(HWND window, const Tower* item) {
  if (!item) return;
  pl3::Box box = pl3::kEmptyBox;
  if (GetBox(item, &box)) RedrawViewRect(window, &box, 1);
}

void ClearFlags(const Tower* t, std::uint16_t flags) {
  if (Entity* e = TowerEntity(t)) e->flags &= static_cast<std::uint16_t>(~flags);
}

void FreePending(CurrentWindowData& w) {
  delete w.PendingRecord;
  w.PendingRecord = nullptr;
}

// The row of every mode without one of its own: the held item's ghost erased
// (drawn without angle assist, as the drag drew it) and the record freed.
void CancelPlacing(HWND window, CurrentWindowData& w) {
  if (w.Selection) {
    const std::uint8_t assist = w.AngleAssist;
    w.AngleAssist = 0;
    GhostCurrentMode(window);
    w.AngleAssist = assist;
    ReleaseTower(&w.Selection);
  }
  FreePending(w);
  SetSelectionAndOptionsMenus(0);
  InvalidateRect(window, nullptr, FALSE);
}

// Whether the entity has any child left.
bool HasChildEntity(const Entity* parent) { return parent && parent->firstChild; }

// Designator (33) or attribute-locator (110) placing: the copies of the text
// that were made for the placing go again, the one kept loses its flags.
void CancelCopyPlacing(HWND window, CurrentWindowData& w, std::uint16_t siblingCode) {
  GhostCurrentMode(window);
  if (w.Selection && w.Selection->lastLevel > 0) {
    Tower* parent = DuplicateTowerToLevel(w.Selection, static_cast<std::uint8_t>(w.Selection->lastLevel - 1));
    std::vector<Entity*> doomed;
    for (NodeRef g = parent ? TowerEntity(parent)->firstChild : 0; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != siblingCode) continue;
      for (NodeRef c = NodeAt<TypeGroup>(g)->firstChild; c; c = NodeAt<Entity>(c)->next) {
        Entity* e = NodeAt<Entity>(c);
        if (e->flags & kEntitySelected)
          e->flags &= static_cast<std::uint16_t>(~kEntityTransientBits);
        else
          doomed.push_back(e);
      }
    }
    for (Entity* e : doomed) {
      Tower* t = EntityToTower(parent, e, -1);
      if (t) DeleteEntity(t);
      ReleaseTower(&t);
    }
    ReleaseTower(&parent);
    ReleaseTower(&w.Selection);
  }
  SetSelectionAndOptionsMenus(0);
  if (Tower* pending = w.TemporaryEntity) {
    // The symbol instance that owns the copy is drawn again without it.
    if (pending->lastLevel >= 1) {
      Tower* owner = DuplicateTowerToLevel(pending, 1);
      RemoveFromDisplayList(w.Display, owner);
      const std::uint8_t parentLevel = static_cast<std::uint8_t>(pending->lastLevel - 1);
      Tower* parent = pending->lastLevel >= 2 ? DuplicateTowerToLevel(pending, parentLevel) : nullptr;
      DeleteEntity(pending);
      if (parent && !HasChildEntity(TowerEntity(parent))) DeleteEntity(parent);
      ReleaseTower(&parent);
      PutEntityOnDisplayList(w.Display, owner);
      ReleaseTower(&owner);
    } else {
      DeleteEntity(pending);
    }
    ReleaseTower(&w.TemporaryEntity);
  }
  RedrawView(window);
}

}  // namespace

void CancelCurrentOperation(HWND window, void* block) {
  CurrentWindowData* state = block ? static_cast<CurrentWindowData*>(block) : ActiveWindowData;
  if (!state) return;
  CurrentWindowData& w = *state;
  switch (w.EditMode) {
    case Mode_Idle:
      break;
    case Mode_AddNewPolygon:
    case Mode_EditPolygon:
      EndItemPick(window);
      SetSelectionAndOptionsMenus(0);
      ClearToolMode(window);
      InvalidateRect(window, nullptr, FALSE);
      FreePending(w);
      break;
    case Mode_NewSymbol:
      if (const Entity* e = TowerEntity(w.Selection); e && e->typeCode == Type_SymbolDefinition)
        RemoveMovingPoints(w.Selection);
      ClearSelection();
      FreeInsertionArray(w);
      RedrawView(window);
      break;
    case Mode_EditSymbol:
      ClearSelection();
      FreeInsertionArray(w);
      RedrawView(window);
      break;
    case Mode_AddNewShape:
    case Mode_PlaceShape:
      EndShapePlacement(window);
      FreeInsertionArray(w);
      SetSelectionAndOptionsMenus(0);
      break;
    case Mode_NamePad:
    case Mode_RemovePadName:
      if (w.Selection) {
        ClearFlags(w.Selection, kEntityHighlighted);
        RedrawItemBox(window, w.Selection);
        ReleaseTower(&w.Selection);
        InvalidateRect(window, nullptr, FALSE);
      }
      SetSelectionAndOptionsMenus(0);
      break;
    case 32:  // moving a pad name
      ClearFlags(w.TemporaryEntity, kSelectedFlags);
      ReleaseTower(&w.TemporaryEntity);
      ClearFlags(w.Selection, kEntityHighlighted);
      RedrawView(window);
      ReleaseTower(&w.Selection);
      SetSelectionAndOptionsMenus(0);
      break;
    case Mode_PlaceDesignator:
      CancelCopyPlacing(window, w, Type_DesignatorString);
      break;
    case Mode_PlaceAttributeLocator:
      CancelCopyPlacing(window, w, kTypeAttributeName);
      break;
    case Mode_MoveOrigin:
    case Mode_MoveSymbolOrigin:
      GhostCurrentMode(window);
      break;
    case Mode_ZoomIn:
    case Mode_ZoomOut:
    case Mode_CentreView:
    case Mode_CentreOnPad:
      w.EditMode = Mode_Idle;
      DrawCrosshair(window, &w.Crosshair);
      break;
    case Mode_EditSelection:
    case Mode_AddNewPad:
    case Mode_AddNewSymbol:
      CancelSelectionArray(window);
      SetSelectionAndOptionsMenus(0);
      ClearToolMode(window);
      InvalidateRect(window, nullptr, FALSE);
      RedrawView(window);
      break;
    case Mode_SetBlockOrigin:
      EnterEditSelectionMode(window);
      return;
    case Mode_MovePadName:
      GhostCurrentMode(window);
      ClearFlags(w.TemporaryEntity, kSelectedFlags);
      ReleaseTower(&w.TemporaryEntity);
      RedrawItemBox(window, w.Selection);
      break;
    case Mode_NewPin:
      GhostCurrentMode(window);
      if (w.TemporaryEntity) DeleteChildEntities(w.TemporaryEntity, Type_Origin);
      ReleaseTower(&w.TemporaryEntity);
      w.EditMode = Mode_Idle;
      break;
    case Mode_AddNewLocator:
    case Mode_PositionLocator: {
      EntityRecord* pending = w.PendingRecord;
      const std::uint16_t kind = pending && pending->header.recordType == Type_AttributeLocator
                                     ? pending->as<LocatorPayload>().kind
                                     : 0;
      if ((kind == 3 || kind == 15) && w.TemporaryEntity) DeleteEntity(w.TemporaryEntity);
      ReleaseTower(&w.TemporaryEntity);
      if (pending && pending->header.recordType == Type_AttributeLocator) CancelLocatorPlacing(pending);
      CancelPlacing(window, w);
      break;
    }
    case Mode_Measure:
      HideMeasuringTooltip(window);
      CancelPlacing(window, w);
      break;
    case Mode_EditNet:
      GhostCurrentMode(window);
      FreePending(w);
      break;
    case Mode_PlaceMacroBlock:
      GhostCurrentMode(window);
      FreePending(w);
      SetSelectionAndOptionsMenus(0);
      return;
    default:
      CancelPlacing(window, w);
      break;
  }
  SetEditCursor(0);
  w.EditMode = Mode_Idle;
  w.SubMode = 0;
  UpdateStatusBar(window);
  w.ViewFlags &= ~kViewModeBit4;
  UpdateStatusBar(window);
  ChangeMenu(static_cast<int>(w.editorKind));
}
