// SelectObject: a found object becomes the selection, by its type, or
// leaves it when it is clicked again without add.
#include <cstdlib>
#include <cstring>

#include "edit/engine_seams.h"
#include "edit/insertion_array.h"
#include "edit/object_select.h"
#include "edit/object_select_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/symbol_insertion.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/designators.h"
#include "objects/dimensioner_seams.h"
#include "objects/display_list_seams.h"
#include "objects/editor_seams.h"
#include "objects/info_boxes.h"
#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

constexpr std::uint8_t kModeEditSelection = 39;
constexpr std::uint8_t kModeMovePadName = 42;
constexpr std::uint8_t kModeHeldItems = 45;
constexpr std::uint8_t kModeAddNewSymbol = 70;
constexpr std::uint8_t kModeMoveDesignator = 33;
constexpr std::uint8_t kModeMoveAttributeDisplay = 110;
constexpr std::uint32_t kDrawFlagSymbolGhost = 0x80;  // bit 7 of the draw flags
constexpr std::uint32_t kEditCursorPadLayer = 8;

bool Selected(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e && (e->flags & kEntitySelected);
}

std::uint16_t ParentType(const Tower* t) {
  if (!t || t->lastLevel == 0) return 0;
  const Entity* parent = LevelEntity(t->levels[t->lastLevel - 1]);
  return parent ? parent->typeCode : 0;
}

HWND ActiveView(const CurrentWindowData* w) { return static_cast<HWND>(w->Window); }

void RedrawItemBox(const CurrentWindowData* w, const Tower* item) {
  pl3::Box box{};
  if (GetBox(item, &box)) RedrawViewRect(w->Window, &box, 1);
}

// Step 3: the item is selected already.
enum class Reselect { Done, Refused, SelectAgain };
Reselect ReselectOrRelease(CurrentWindowData* w, const Tower* item, std::uint8_t add) {
  SelectionInfo* record = FindSelectionInfoOfTower(w->SelectionList, item);
  if (!record) {
    MessageBox(nullptr, "Internal Error - Selection info not found", "SelectObject",
               MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return Reselect::Refused;
  }
  if (add) {
    record->grabbedPart = GetPrimaryGrabbedPart(record);
    record->flags |= kSelectionPrimary;
    return Reselect::Done;
  }
  const bool wasPrimary = (record->flags & kSelectionPrimary) != 0;
  std::free(ApplySelectionInfo(record, kApplyRelease));
  RemoveSelectionInfo(&w->SelectionList, record);
  if (!w->SelectionList) {
    ClearToolMode(ActiveView(w));
    SetSelectionAndOptionsMenus(0);
    ChangeMenu(1);
    return Reselect::Done;
  }
  return wasPrimary ? Reselect::Done : Reselect::SelectAgain;
}

char* HeapText(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

// A pad label (202) taken up to be moved (mode 42).
int TakeUpLabel(CurrentWindowData* w, const Tower* label) {
  const Entity* e = TowerEntity(label);
  const std::uint8_t* p = EntityPayload(e);
  if (!e || e->payloadSize <= sizeof(PadLabelHead)) return 0;
  const char* text = reinterpret_cast<const char*>(p + sizeof(PadLabelHead));
  const std::size_t room = e->payloadSize - sizeof(PadLabelHead);
  if (!std::memchr(text, 0, room)) return 0;  // a name without its end is not taken up
  const std::size_t length = std::strlen(text);
  Tower* pad = GetAncestorTower(label, Type_PadStackInstanceHier);
  auto* held = static_cast<PadLabelHead*>(std::malloc(sizeof(PadLabelHead) + length + 1));
  if (!held) {
    ReleaseTower(&pad);
    return 0;
  }
  std::memcpy(held, p, sizeof(PadLabelHead) + length + 1);
  pl3::Point at = w->Cursor;
  SnapXY(&at.x, &at.y, 0);
  held->transform.tx = at.x;
  held->transform.ty = at.y;
  std::free(w->PadLabelInHand);
  w->PadLabelInHand = held;
  w->EditMode = kModeMovePadName;
  ReleaseTower(&w->Selection);
  w->Selection = pad;
  TowerEntity(label)->flags |= kEntitySelected;
  ReleaseTower(&w->TemporaryEntity);
  w->TemporaryEntity = DuplicateTower(label);
  std::free(w->PadNameText);
  w->PadNameText = HeapText(text);
  RedrawItemBox(w, label);
  return 1;
}

bool OutsideClient(const CurrentWindowData* w, pl3::Point world) {
  RECT client{};
  if (!w->Window || !GetClientRect(ActiveView(w), &client)) return false;
  pl3::WorldToView(world.x, world.y);
  return world.x < client.left || world.x >= client.right || world.y < client.top || world.y >= client.bottom;
}

// A designator copy (234) or attribute display (309) taken up to be moved.
int TakeUpTextItem(CurrentWindowData* w, const Tower* item, std::uint16_t type) {
  Tower* text = nullptr;
  if (type == Type_DesignatorData) {
    Tower* symbol = w->editorKind == kEditorPcbSymbol ? DuplicateTower(w->design)
                                                       : GetAncestorTower(item, Type_SymbolInstance);
    text = AddDesignatorData(symbol, item, 0);
    ReleaseTower(&symbol);
  } else {
    text = BuildDesignatorTextRecord(item, item, 0);
  }
  if (!text) return 0;
  ReleaseTower(&w->Selection);
  w->Selection = DuplicateTower(item);
  ReleaseTower(&w->TemporaryEntity);
  w->TemporaryEntity = text;
  TowerEntity(item)->flags |= kEntitySelected;
  if (w->Display) RemoveFromDisplayList(w->Display, item);
  w->CursorOffset = {0, 0};
  w->AnchorPoint = w->Cursor;
  pl3::Point position{};
  if (const std::uint8_t* t = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform))) {
    pl3::Transform placement;
    std::memcpy(&placement, t, sizeof placement);
    position = {placement.tx, placement.ty};
  }
  w->InsertionOrigin = position;
  w->EditMode = type == Type_DesignatorData ? kModeMoveDesignator : kModeMoveAttributeDisplay;
  RedrawItemBox(w, item);
  SetSelectionAndOptionsMenus(type == Type_DesignatorData ? 13 : 42);
  if (OutsideClient(w, position)) CentreViewOnCursor(ActiveView(w));
  return 1;
}

bool IsGenericType(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11:
    case 18: case 19: case 23: case 24: case 28: case 29: case 35:
    case 41: case 42: case 43: case 44: case 45: case 46: case 47: case 49:
      return true;
    default:
      return false;
  }
}

// Step 5: by the item's type.
int SelectByType(CurrentWindowData* w, const Tower* item, std::uint16_t type, std::uint8_t add) {
  const std::uint8_t mode = w->EditMode;
  const bool idle = mode == 0;
  const bool genericMode = idle || mode == kModeEditSelection || mode == kModeHeldItems;
  if (IsGenericType(type) || type == Type_Datum) return genericMode ? SelectGraphic(item, 0) : 0;
  switch (type) {
    case Type_AttributeLocator: {
      if (idle) return SelectGraphic(item, 0);
      if (mode != kModeEditSelection) return 0;
      const std::uint16_t parent = ParentType(item);
      if (parent == Type_AttributeLocator || parent == kTypeSchematicSymbol) return 0;
      return SelectGraphic(item, 0);
    }
    case Type_AngleDimensioner: case Type_Dimensioner:
      return idle ? SelectGraphic(item, 0) : 0;
    case Type_SymbolPin: case 27:
      return SelectPinItem(item, 0);
    case kTypeSchematicSymbol:
      return SelectSchematicSymbol(item, 0);
    case Type_SymbolInstance:
      return SelectSymbolInstance(item, 0);
    case 163:
      return SelectPl2Symbol(item, 0);
    case Type_PadStackInstanceHier: {
      const int selected = SelectPadStackInstance(item, 0);
      if (selected && CheckPadLabelOnSelect(item)) RedrawView(w->Window);
      return selected ? 1 : 0;
    }
    case Type_PadStackLayerInfo: {
      if (!idle) return 0;
      if (w->editorKind == kEditorPadStack && add) return 0;
      const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(item), sizeof(PadStackLayerRecord));
      if (!p) return 0;
      const std::uint8_t layer = reinterpret_cast<const PadStackLayerRecord*>(p)->layer;
      if (!SelectPadStackLayer(ActiveView(w), layer)) return 0;
      SetEditCursor(kEditCursorPadLayer);
      return 1;
    }
    case Type_InfoBoxHier:
      return SelectInfoBox(item);
    case Type_Label:
      return idle ? TakeUpLabel(w, item) : 0;
    case Type_DesignatorData: case 309:
      return idle ? TakeUpTextItem(w, item, type) : 0;
    default:
      return 0;
  }
}

}  // namespace

int SelectObject(const Tower* item, std::uint8_t add) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !TowerEntity(item)) return 0;
  w->InsertionTransform = pl3::kIdentityTransform;
  Tower* parent = nullptr;
  if (TowerEntity(item)->typeCode == kTypeSchematicSymbolInfo) {
    parent = GetAncestorTower(item, kTypeSchematicSymbol);
    if (Selected(parent)) item = parent;
  }
  // A pad-stack info stands for its pad stack in every step, so that a click
  // on a selected pad deselects it as a click on any selected item does.
  Tower* pad = nullptr;
  if (TowerEntity(item)->typeCode == Type_PadStackInfo) {
    pad = GetAncestorTower(item, Type_PadStackInstanceHier);
    if (!pad) {
      ReleaseTower(&parent);
      return 0;
    }
    item = pad;
  }
  const std::uint8_t mode = w->EditMode;
  int result = 0;
  if (mode == 0 || mode == kModeEditSelection || mode == kModeHeldItems || mode == kModeAddNewSymbol) {
    result = -1;
    if (Selected(item)) {
      const Reselect r = ReselectOrRelease(w, item, add);
      if (r != Reselect::SelectAgain) result = r == Reselect::Done ? 1 : 0;
    }
  }
  if (result == -1) {
    if (w->SelectionList) ResetArcEndGrabs(w->SelectionList);
    else w->StateFlags &= ~kDrawFlagSymbolGhost;
    if ((w->editorKind == kEditorSchematicSymbol || w->editorKind == kEditorSchematic) && !IsItemAttachedToCursor()) {
      std::free(w->OriginalBlockOrigin);
      w->OriginalBlockOrigin = nullptr;
    }
    const std::uint16_t type = TowerEntity(item)->typeCode;
    // A schematic symbol's info stands for its symbol.
    const Tower* target = type == kTypeSchematicSymbolInfo && parent ? parent : item;
    result = SelectByType(w, target, TowerEntity(target)->typeCode, add);
    if (w->SelectionList) {
      if (w->EditMode != kModeAddNewSymbol) w->EditMode = kModeEditSelection;
      if (!w->OriginalBlockOrigin) StartBlockMove(w->SelectionList);
    }
  }
  ReleaseTower(&parent);
  ReleaseTower(&pad);
  return result;
}
