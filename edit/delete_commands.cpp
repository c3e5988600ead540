// Delete: the Delete command and the delete click, by edit mode.
#include "edit/cancel_delete.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/walker.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kCursorDelete = 17;
constexpr std::uint16_t kAttributeCopy = 309;
constexpr std::uint16_t kAttributeGroup = 306;
constexpr std::uint16_t kLocatorKindNetName = 16;

void EndTool(HWND window) {
  RecordDesignChange();
  RedrawView(window);
  ClearToolMode(window);
}

// The first primary selection is an attribute locator of kind 16 and every
// primary one is a locator: Delete only cancels.
bool SelectionIsNetNameLocators(const SelectionInfo* list) {
  if (GetSelectionType(list) != Type_AttributeLocator) return false;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    const Entity* e = TowerEntity(s->workingCopy);
    if (!e || e->payloadSize < sizeof(LocatorPayload)) return false;
    return reinterpret_cast<const LocatorPayload*>(EntityPayload(e))->kind == kLocatorKindNetName;
  }
  return false;
}

// Deletes the parent of the held node when it has the code.
void DeleteParentOfCode(const Tower* held, std::uint16_t code) {
  if (!held || held->lastLevel == 0) return;
  Tower* parent = DuplicateTowerToLevel(held, static_cast<std::uint8_t>(held->lastLevel - 1));
  if (const Entity* e = TowerEntity(parent); e && e->typeCode == code) DeleteEntity(parent);
  ReleaseTower(&parent);
}

// A designator copy in a PCB window is shown or hidden instead of deleted.
void ToggleCopyHidden(const Tower* copy) {
  Tower* info = GetChildTower(copy, Type_DesignatorInfo);
  if (info && FindNextEntity(info)) {
    Entity* e = TowerEntity(info);
    if (e->payloadSize >= sizeof(DesignatorInfo))
      reinterpret_cast<DesignatorInfo*>(EntityPayload(e))->display ^= kDesignatorHidden;
  }
  ReleaseTower(&info);
}

void DeleteHeldItem(HWND window, CurrentWindowData& w) {
  const Entity* held = TowerEntity(w.Selection);
  if (held->typeCode == Type_DesignatorData && w.editorKind == kEditorPcb) {
    ToggleCopyHidden(w.Selection);
    CancelCurrentOperation(window, &w);
    return;
  }
  if (held->typeCode == Type_DesignatorData) DeleteParentOfCode(w.Selection, Type_Designator);
  if (held->typeCode == kAttributeCopy) DeleteParentOfCode(w.Selection, kAttributeGroup);
  ClearSelection();
  SetEditCursor(0);
  w.EditMode = Mode_Idle;
  w.SubMode = 0;
  UpdateStatusBar(window);
}

}  // namespace

void DoDelete(HWND window, ButtonRecord* button, EntityRecord** pendingSlot) {
  CurrentWindowData* state = ActiveWindowData;
  if (!state) return;
  CurrentWindowData& w = *state;
  switch (w.EditMode) {
    case Mode_NewSymbol:
    case Mode_EditSymbol:
      if (DeleteSelection(window)) RecordDesignChange();
      RedrawView(window);
      ClearToolMode(window);
      break;
    case Mode_AddNewShape:
      CancelCurrentOperation(window, &w);
      break;
    case Mode_PlaceShape:
      if (!DeletePadStackLayerShape(w.RoutingLayer, 0)) {
        MessageBox(nullptr, "Error deleting pad stack layer", "DoDelete", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
        break;
      }
      EndTool(window);
      break;
    case Mode_EditSelection:
    case Mode_AddNewPad:
    case Mode_AddNewSymbol:
      if (SelectionIsNetNameLocators(w.SelectionList)) {
        CancelCurrentOperation(window, &w);
        return;
      }
      if (DeleteSelectionArray(window, 1)) RecordDesignChange();
      break;
    default: {
      const EntityRecord* pending = pendingSlot ? *pendingSlot : w.PendingRecord;
      if (pending) {
        CancelCurrentOperation(window, &w);
      } else if (TowerEntity(w.Selection)) {
        DeleteHeldItem(window, w);
        RecordDesignChange();
      } else {
        PickObjectAtCursor(window, button, 2);
        RecordDesignChange();
      }
      break;
    }
  }
  SetSelectionAndOptionsMenus(0);
}

void DeleteCommand(HWND window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->EditMode == Mode_Idle) {
    w->EditMode = Mode_Delete;
    SetEditCursor(kCursorDelete);
    UpdateStatusBar(window);
    return;
  }
  HWND document = w->Window ? static_cast<HWND>(w->Window) : window;
  DoDelete(document, &w->Button, &w->PendingRecord);
}
