// The frame's "&Options" and "&Selection" pop-ups: rebuilt at bar position 3
// whenever the selection, the item in hand or the edit mode changes
// (SetSelectionAndOptionsMenus, declared in objects/editor_seams.h).
#include "app/options_menus.h"

#include <cstring>

#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/pending_services.h"
#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/options_menu_seams.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr UINT kRotateItems[] = {2005, 2006, 2041};
constexpr UINT kSizeItems[] = {430, 431, 2027, 2028, 2029};
constexpr UINT kEditItems[] = {427, 426, 429, 2004};
constexpr UINT kExportItems[] = {2382, 2383, 2674};
constexpr UINT kKeepoutItems[] = {2649, 2653, 2654, 2652};
constexpr UINT kDelete = 427, kSetLayer = 2032, kChangeName = 2355, kRipUpTrack = 2447, kFixed = 2391;
constexpr UINT kAngleAssist = 295, kFlipDirection = 297;
constexpr std::uint16_t kEntityFixed = 0x1000;

void Report(const char* text, const char* caption) {
  MessageBox(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

template <std::size_t N>
void SetItems(HMENU menu, const UINT (&ids)[N], bool enabled) {
  for (UINT id : ids) EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}
void SetItem(HMENU menu, UINT id, bool enabled) { EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)); }

bool IsSchematic(std::uint32_t editor) { return editor == kEditorSchematic || editor == kEditorSchematicSymbol; }

const Entity* HeadEntity(const CurrentWindowData& w) {
  return w.SelectionList ? TowerEntity(w.SelectionList->workingCopy) : nullptr;
}

bool EntityIsVia(const Entity* e) {
  return e && e->typeCode == Type_Hole && e->payloadSize >= sizeof(pl3::HoleLayout) &&
         (EntityPayload(e)[offsetof(pl3::HoleLayout, flags)] & kHoleIsVia);
}

// The selection's head, or the item being placed, carries the via flag.
bool ItemInHandIsVia(const CurrentWindowData& w) {
  if (w.SelectionList) return EntityIsVia(HeadEntity(w));
  return w.PendingRecord && (w.PendingRecord->as<pl3::HoleLayout>().flags & kHoleIsVia);
}

bool EverySelectedIsVia(const CurrentWindowData& w) {
  if (!w.SelectionList) return false;
  for (const SelectionInfo* s = w.SelectionList; s; s = s->next)
    if (!EntityIsVia(TowerEntity(s->workingCopy))) return false;
  return true;
}

// Three forms of one menu: for the shape editor, the schematic editors and the rest.
const char* ByEditor(std::uint32_t editor, const char* shape, const char* schematic, const char* other) {
  if (editor == kEditorShape) return shape;
  if (IsSchematic(editor)) return schematic;
  return other;
}

const char* OptionsMenuName(std::uint32_t kind, const CurrentWindowData& w) {
  const std::uint32_t editor = w.editorKind;
  switch (kind) {
    case 1:
      if (editor == kEditorShape) return "SHAPE_OPTIONS_MENU_LINE";
      if (IsSchematic(editor)) return "SCHEMATIC_OPTIONS_MENU_LINE";
      return "OPTIONS_MENU_LINE";
    case 2: return ByEditor(editor, "SHAPE_OPTIONS_MENU_ARC", "SCHEMATIC_OPTIONS_MENU_ARC", "OPTIONS_MENU_ARC");
    case 3: return ByEditor(editor, "SHAPE_OPTIONS_MENU_CIRCLE", "SCHEMATIC_OPTIONS_MENU_CIRCLE", "OPTIONS_MENU_CIRCLE");
    case 4:
    case 45:
      return ByEditor(editor, "SHAPE_OPTIONS_MENU_POLYGON", "SCHEMATIC_OPTIONS_MENU_POLYGON", "OPTIONS_MENU_POLYGON");
    case 5:
      return ByEditor(editor, "SHAPE_OPTIONS_MENU_RECTANGLE", "SCHEMATIC_OPTIONS_MENU_RECTANGLE", "OPTIONS_MENU_RECTANGLE");
    case 6: return ItemInHandIsVia(w) ? "OPTIONS_MENU_VIA" : "OPTIONS_MENU_HOLE";
    case 7: return "OPTIONS_MENU_POLY_PLANE";
    case 8: return "OPTIONS_MENU_POLYGON";
    case 9: return IsSchematic(editor) ? "SCHEMATIC_OPTIONS_MENU_STRING" : "OPTIONS_MENU_STRING";
    case 11: return IsNonElectricalSymbol(w.design) ? "OPTIONS_MENU_MECHANICAL_PAD_STACK" : "OPTIONS_MENU_PAD_STACK";
    case 12:
      if (IsSchematic(editor)) return "SCHEMATIC_OPTIONS_MENU_SYMBOL";
      return IsManualPlacementState(&w) ? "OPTIONS_MENU_MANUAL_SYMBOL" : "OPTIONS_MENU_SYMBOL";
    case 13: return editor == kEditorPcbSymbol ? "SYMBOL_OPTIONS_MENU_DESIGNATOR" : "OPTIONS_MENU_DESIGNATOR";
    case 14: return "OPTIONS_MENU_SHAPE";
    case 15: return "OPTIONS_MENU_MECH";
    case 16: return "OPTIONS_MENU_NEW_SYMBOL";
    case 17: return "OPTIONS_MENU_CENTROID";
    case 18: return "OPTIONS_MENU_SPIRAL";
    case 19: return "OPTIONS_MENU_DIMENSIONER";
    case 20: return "OPTIONS_MENU_ANGLE_DIMENSIONER";
    case 21:
      if (editor == kEditorShape) return "SHAPE_OPTIONS_MENU_DEFAULT";
      if (IsSchematic(editor)) return "SCHEMATIC_OPTIONS_MENU_DEFAULT";
      return EverySelectedIsVia(w) ? "OPTIONS_MENU_DEFAULT_VIA" : "OPTIONS_MENU_DEFAULT";
    case 22: return "OPTIONS_MENU_ATTRIBUTE_PIN_NAME";
    case 23: return "OPTIONS_MENU_ATTRIBUTE_PIN_NUMBER";
    case 24: return "OPTIONS_MENU_ATTRIBUTE_DESIGNATOR";
    case 25: return "OPTIONS_MENU_ATTRIBUTE_IO_PORT";
    case 26: return "OPTIONS_MENU_ATTRIBUTE_VALUE";
    case 27: return "OPTIONS_MENU_ATTRIBUTE_NET_NAME";
    case 28: return "OPTIONS_MENU_ATTRIBUTE_USER";
    case 29: return "OPTIONS_MENU_ATTRIBUTE_GRAPHIC_NET_NAME";
    case 30: return "OPTIONS_MENU_ATTRIBUTE_DEFAULT";
    case 31: return "OPTIONS_MENU_THIN_LINE";
    case 32: return "OPTIONS_MENU_THIN_ARC";
    case 33: return "OPTIONS_MENU_ATTRIBUTE_NAMED_IO_PORT";
    case 34: return "SCHEMATIC_OPTIONS_MENU_SPECIAL_SYMBOL";
    case 35: return "SCHEMATIC_OPTIONS_MENU_WIRE";
    case 36: return "SCHEMATIC_OPTIONS_MENU_BUS";
    case 37: return "OPTIONS_MENU_DATUM";
    case 38:
      return editor == kEditorSchematicSymbol ? "LIBRARY_OPTIONS_MENU_ATTRIBUTE_GLOBAL_NET"
                                              : "OPTIONS_MENU_ATTRIBUTE_GLOBAL_NET";
    case 39: return "OPTIONS_MENU_ATTRIBUTE_DISPLAY_NET_NAME";
    case 40: return "OPTIONS_MENU_PL2_SYMBOL";
    case 41: return "OPTIONS_MENU_PL2_DESIGNATOR";
    case 42: return editor == kEditorPcbSymbol ? "SYMBOL_OPTIONS_MENU_PCB_ATTRIBUTE" : "OPTIONS_MENU_PCB_ATTRIBUTE";
    case 43: return "OPTIONS_MENU_POLY_KEEPOUT";
    case 44: return "OPTIONS_MENU_BODY_OUTLINE";
    default: return nullptr;  // 0, 10 and kinds outside 1 to 45
  }
}

// The only primary record is a dimensioner that is not held by part 15.
bool OnlyPrimaryIsLooseDimensioner(const SelectionInfo* list) {
  const SelectionInfo* only = nullptr;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    if (only) return false;
    only = s;
  }
  const Entity* e = only ? TowerEntity(only->workingCopy) : nullptr;
  if (!e || (e->typeCode != Type_Dimensioner && e->typeCode != Type_AngleDimensioner)) return false;
  return only->grabbedPart != 15;
}

void SetStatesWithSelection(HMENU menu, const CurrentWindowData& w) {
  const SelectionInfo* head = w.SelectionList;
  switch (head->grabbedPart) {
    case 4: case 5: case 8: case 9: case 10:
      SetItems(menu, kRotateItems, false);  // a vertex, radius or locator is being edited
      break;
    default:
      SetItems(menu, kRotateItems, true);
      SetItems(menu, kSizeItems, !OnlyPrimaryIsLooseDimensioner(head));
      break;
  }
  SetItems(menu, kEditItems, true);
  SetItems(menu, kExportItems, w.EditMode == Mode_EditSelection && head->original);
}

void SetStatesWithoutSelection(HMENU menu, std::uint32_t kind, const CurrentWindowData& w) {
  switch (w.EditMode) {
    case 71: case 74: SetItem(menu, kChangeName, false); break;
    case 75: case 76: case 77: SetItems(menu, kSizeItems, false); break;
    default: SetItems(menu, kSizeItems, true); break;
  }
  switch (kind) {
    case 5: case 9: case 11:
      SetItems(menu, kEditItems, true);
      break;
    case 12: case 13: case 14: case 15: case 16: case 42:
      break;
    default:
      SetItems(menu, kEditItems, true);
      SetItems(menu, kRotateItems, true);
      break;
  }
  SetItem(menu, kAngleAssist, true);
  SetItem(menu, kFlipDirection, true);
  SetItems(menu, kExportItems, w.EditMode == Mode_AddNewShape || w.EditMode == Mode_PlaceShape);
}

// The Fixed item of a datum and the kind items of a keepout.
void SetKindSpecificStates(HMENU menu, std::uint32_t kind, const CurrentWindowData& w) {
  const Entity* head = HeadEntity(w);
  if (kind == 1 && w.editorKind != kEditorPcb && w.editorKind != kEditorShape && !IsSchematic(w.editorKind))
    SetItem(menu, kRipUpTrack, false);
  if (kind == 37 && w.EditMode == Mode_EditSelection) {
    if (head && (head->flags & kEntityFixed)) CheckMenuItem(menu, kFixed, MF_BYCOMMAND | MF_CHECKED);
    else SetItem(menu, kFixed, false);
  }
  if (kind == 43) {
    if (w.PendingRecord && !w.SelectionList) SetItems(menu, kKeepoutItems, false);
    if (w.EditMode == Mode_EditSelection && head) {
      UINT ticked = 0;
      switch (head->typeCode) {
        case Type_PolygonKeepout: ticked = 2649; break;
        case Type_PolygonViaKeepout: ticked = 2654; break;
        case Type_PolygonPlacementKeepout: ticked = 2652; break;
        case Type_PolygonWiringKeepout: ticked = 2653; break;
        default: break;
      }
      for (UINT id : kKeepoutItems) CheckMenuItem(menu, id, MF_BYCOMMAND | (id == ticked ? MF_CHECKED : MF_UNCHECKED));
    }
  }
}

HMENU Bar() { return FrameWindow ? GetMenu(FrameWindow) : nullptr; }

// Takes the pop-up out of the bar when it stands there; false when a pop-up
// that is still a menu could not be removed.
bool TakeOut(HMENU bar, HMENU popup) {
  if (!IsMenu(popup)) return true;  // it went with an earlier bar
  const int count = GetMenuItemCount(bar);
  for (int i = 0; i < count; ++i) {
    if (GetSubMenu(bar, i) == popup) return RemoveMenu(bar, static_cast<UINT>(i), MF_BYPOSITION) != FALSE;
  }
  return false;
}

}  // namespace

void SetSelectionAndOptionsMenus(std::uint32_t kind) {
  HMENU bar = Bar();
  if (!bar) return;
  // 1. The old pop-ups leave the bar.
  if (OptionsMenu && !TakeOut(bar, OptionsMenu)) Report("Failed to remove Options menu", "SetOptionsMenu");
  if (SelectionMenu) {
    if (!TakeOut(bar, SelectionMenu)) Report("Failed to remove selection menu", "SetSelectionMenu");
    if (IsMenu(SelectionMenu)) DestroyOwnerDrawnMenu(SelectionMenu);
    SelectionMenu = nullptr;
  }
  if (OptionsMenu && IsMenu(OptionsMenu)) DestroyOwnerDrawnMenu(OptionsMenu);
  OptionsMenu = nullptr;

  // 2, 3. The Options pop-up of the kind.
  SelectionMenuKind = kind;
  const CurrentWindowData* window = ActiveWindowData;
  if (window) {
    const CurrentWindowData& w = *window;
    const char* name = kind <= 45 ? OptionsMenuName(kind, w) : nullptr;
    if (HMENU popup = name ? LoadMenuA(nullptr, name) : nullptr) {
      if (!InsertMenuA(bar, 3, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Options")) {
        Report("Failed to insert Options menu", "SetOptionsMenu");
        DestroyMenu(popup);
      } else {
        OptionsMenu = popup;
        if (w.SelectionList) SetStatesWithSelection(popup, w);
        else SetStatesWithoutSelection(popup, kind, w);
        SetKindSpecificStates(popup, kind, w);
        if (TowerEntity(w.Selection)) SetItem(popup, kDelete, true);
        if (w.editorKind != kEditorPcb) SetItem(popup, kSetLayer, false);
      }
    }
    // 4. The Selection pop-up while the selection is edited, before Options.
    if (w.EditMode == Mode_EditSelection || w.EditMode == Mode_AddNewPad) {
      HMENU selection = LoadMenuA(nullptr, IsSchematic(w.editorKind) ? "SCHEMATIC_SELECTION_MENU" : "SELECTION_MENU");
      if (selection && InsertMenuA(bar, 3, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(selection), "&Selection")) {
        SelectionMenu = selection;
      } else {
        Report("Failed to insert Selection menu", "SetSelectionMenu");
        if (selection) DestroyMenu(selection);
      }
    }
  }
  // 5. Redraw the bar and make it owner-drawn.
  if (FrameWindow) {
    if (MenuRedrawLock) LockWindowUpdate(FrameWindow);
    DrawMenuBar(FrameWindow);
    if (MenuRedrawLock) LockWindowUpdate(nullptr);
  }
  MakeMenuOwnerDrawn(bar, 1, 1);
}
