#include "app/frame_menus.h"

#include <cstring>

#include "app/application_globals.h"
#include "app/configuration_options.h"
#include "app/core_utilities.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "app/recent_projects.h"
#include "app/settings_block.h"
#include "objects/undo_seams.h"
#include "app/startup_seams.h"
#include "app/ui_seams.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "objects/selection_menus.h"
#include "objects/symbol_instances.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

// SelectionMenu and MenuRedrawLock are defined with the Options menus
// (app/options_menus.cpp), which use them without the rest of the bar.
HMENU FrameMenuBar = nullptr;
HMENU WindowMenu = nullptr;
HMENU StoredPopups[2] = {nullptr, nullptr};
std::int32_t RubberbandMode = 1;
std::int32_t AnnotationMode = 1;
std::int32_t IOPortUpdateMode = 1;
std::uint8_t PickupDesignator = 0;
std::int32_t PadNamingCounter = 0;

namespace {

constexpr UINT kChecked = MF_BYCOMMAND | MF_CHECKED;
constexpr UINT kUnchecked = MF_BYCOMMAND | MF_UNCHECKED;

void ResetMenus() {
  FrameMenuBar = WindowMenu = SelectionMenu = nullptr;
  StoredPopups[0] = StoredPopups[1] = nullptr;
  RubberbandMode = AnnotationMode = IOPortUpdateMode = 1;
  PickupDesignator = 0;
  PadNamingCounter = 0;
  MenuRedrawLock = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetMenus);

HMENU BarOf(HWND frame) {
  HMENU bar = frame ? GetMenu(frame) : nullptr;
  return bar ? bar : FrameMenuBar;
}

void Check(HWND frame, UINT id, bool on) { CheckMenuItem(BarOf(frame), id, on ? kChecked : kUnchecked); }
void Grey(HWND frame, UINT id) { EnableMenuItem(BarOf(frame), id, MF_BYCOMMAND | MF_GRAYED); }

// Three-state updaters: value 1 checks the first, 0 the second, any other neither.
void CheckPair(HWND frame, std::int64_t value, UINT first, UINT second) {
  Check(frame, first, value == 1);
  Check(frame, second, value == 0);
}

CurrentWindowData* DocumentBlock() {
  return ActiveWindowData && ActiveWindowData != &DefaultWindowData ? ActiveWindowData : nullptr;
}

std::uint32_t ActiveKind() {
  CurrentWindowData* b = DocumentBlock();
  return b ? b->editorKind : 0;
}

bool DesignHas(std::uint16_t code) {
  CurrentWindowData* b = DocumentBlock();
  return b && b->design && GetEntityData(b->design, code) != nullptr;
}

HMENU Load(const char* name) { return LoadMenuA(nullptr, name); }

void AppendPopup(HMENU bar, HMENU popup, const char* caption) {
  if (popup) AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption);
}

void DestroyStored(HMENU* menu) {
  if (*menu) DestroyOwnerDrawnMenu(*menu);
  *menu = nullptr;
}

const char* ConfigMenuOf(std::uint32_t kind) {
  switch (kind) {
    case kEditorPcb: return "PCB_CONFIG_MENU";
    case kEditorShape: return "SHAPE_CONFIG_MENU";
    case kEditorPcbSymbol: return "SYMBOL_CONFIG_MENU";
    case kEditorPadStack: return "PAD_STACK_CONFIG_MENU";
    case kEditorSchematicSymbol: return "LIBRARY_CONFIG_MENU";
    case kEditorSchematic: return "SCHEMATIC_CONFIG_MENU";
    default: return nullptr;
  }
}

bool MechanicalSymbol() {
  CurrentWindowData* b = DocumentBlock();
  return b && b->design && (GetSymbolOptions(b->design) & 1);
}

// The kind's own pop-ups, in order.
void AppendKindPopups(HMENU bar, std::uint32_t kind, HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  switch (kind) {
    case kEditorPcb: {
      AppendPopup(bar, Load("PCB_MENU"), "PC&B");
      AppendPopup(bar, Load("PCB_INSERT_MENU"), "&Insert");
      AppendPopup(bar, Load("PCB_TOOL_MENU"), "&Tools");
      AppendPopup(bar, Load("PCB_SYMBOL_MENU"), "&Symbols");
      AppendPopup(bar, Load("PCB_PLANE_MENU"), "P&lanes");
      AppendPopup(bar, Load("PCB_DRC_MENU"), "&DRC");
      HMENU nets = Load("PCB_NET_MENU");
      if (nets) {
        // The import pop-up is made here: it holds only what the plug-ins give it.
        HMENU import = CreatePopupMenu();
        InsertMenuA(nets, 0, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(import), "&Import Net");
        BuildImportNetMenu(import);
      }
      AppendPopup(bar, nets, "&Nets");
      if (!b || !HasNetHierGroup(b->design)) EnableMenuItem(bar, 2010, MF_BYCOMMAND | MF_GRAYED);
      CheckMenuItem(bar, 2022, b && !(b->StateFlags & kStatePlaneOutlines) ? kChecked : kUnchecked);
      CheckMenuItem(bar, 2683, b && b->CutMarkersVisible ? kChecked : kUnchecked);
      EnableMenuItem(bar, 2498, MF_BYCOMMAND | MF_GRAYED);
      break;
    }
    case kEditorShape:
      AppendPopup(bar, Load("SHAPE_MENU"), "&Shape");
      AppendPopup(bar, Load("SHAPE_INSERT_MENU"), "&Insert");
      AppendPopup(bar, Load("SHAPE_TOOL_MENU"), "&Tools");
      AppendPopup(bar, Load("SHAPE_DRC_MENU"), "&DRC");
      break;
    case kEditorPcbSymbol: {
      const bool mechanical = MechanicalSymbol();
      AppendPopup(bar, Load("SYMBOL_MENU"), "&Symbol");
      AppendPopup(bar, Load(mechanical ? "SYMBOL_MECHANICAL_INSERT_MENU" : "SYMBOL_INSERT_MENU"), "&Insert");
      AppendPopup(bar, Load(mechanical ? "SYMBOL_MECHANICAL_TOOL_MENU" : "SYMBOL_TOOL_MENU"), "&Tools");
      AppendPopup(bar, Load("SYMBOL_DRC_MENU"), "&DRC");
      break;
    }
    case kEditorPadStack:
      AppendPopup(bar, Load("PAD_STACK_MENU"), "Pad &Stack");
      AppendPopup(bar, Load(b && b->SurfaceMount ? "PAD_STACK_SM_INSERT_MENU" : "PAD_STACK_INSERT_MENU"), "&Insert");
      AppendPopup(bar, Load("PAD_STACK_TOOL_MENU"), "&Tools");
      AppendPopup(bar, Load("PAD_STACK_DRC_MENU"), "&DRC");
      break;
    case kEditorSchematicSymbol: {
      const bool special = DesignHas(11022);
      const bool netName = !special && DesignHas(11032);
      AppendPopup(bar, Load("LIBRARY_MENU"), "&Symbol");
      AppendPopup(bar,
                  Load(special ? "LIBRARY_SPECIAL_INSERT_MENU"
                               : netName ? "LIBRARY_NETNAMEGRAPHIC_INSERT_MENU" : "LIBRARY_INSERT_MENU"),
                  "&Insert");
      AppendPopup(bar, Load(special || netName ? "LIBRARY_SPECIAL_TOOL_MENU" : "LIBRARY_TOOL_MENU"), "&Tools");
      break;
    }
    case kEditorSchematic: {
      AppendPopup(bar, Load("SCHEMATIC_MENU"), "&Schematic");
      AppendPopup(bar, Load("SCHEMATIC_INSERT_MENU"), "&Insert");
      HMENU tools = Load("SCHEMATIC_TOOL_MENU");
      if (tools) EnableMenuItem(tools, 2498, MF_BYCOMMAND | MF_GRAYED);
      AppendPopup(bar, tools, "&Tools");
      AppendPopup(bar, Load("SCHEMATIC_SYMBOL_MENU"), "&Symbols");
      break;
    }
    case kEditorPackage:
      AppendPopup(bar, Load("PACKAGE_MENU"), "&Package");
      AppendPopup(bar, Load("PACKAGE_TOOL_MENU"), "&Tools");
      break;
    case 256:
      AppendPopup(bar, Load("3D_TOOL_MENU"), "&Tools");
      break;
    case 257:
      AppendPopup(bar, Load("CONTOUR_TOOL_MENU"), "&Tools");
      break;
    default:
      break;
  }
  (void)frame;
}

bool IsEditorKind(std::uint32_t kind, std::initializer_list<std::uint32_t> kinds) {
  for (std::uint32_t k : kinds)
    if (kind == k) return true;
  return false;
}

}  // namespace

// The frame's Edit menu takes its Undo and Redo items from the active
// design's history.
void UpdateUndoMenu(HWND) { UpdateUndoMenu(); }

void ChangeMenu(int hasDocument) {
  HWND frame = FrameWindow;
  // 1. The bar and its "&File" pop-up.
  DestroyStored(&WindowMenu);
  HMENU bar = CreateMenu();
  HMENU file = Load("FILE_MENU");
  DestroyStored(&StoredPopups[0]);
  if (file) {
    AddBOMScriptMenu(file);
    AppendPopup(bar, file, "&File");
    BuildMRUMenu(file);
  }
  // 2. The configuration pop-up of the kind.
  if (!DocumentBlock()) hasDocument = 0;
  const std::uint32_t kind = hasDocument ? ActiveKind() : 0;
  if (hasDocument) {
    if (const char* config = ConfigMenuOf(kind)) {
      HMENU popup = Load(config);
      if (popup)
        EnableMenuItem(popup, 304, MF_BYCOMMAND | (kind == kEditorPcb ? MF_ENABLED : MF_GRAYED));
      AppendPopup(bar, popup, "&Config");
    }
  } else {
    UpdateToolbarStates(0);
  }
  // 3. Close, the edit pop-up, and the items that need a document.
  if (file) EnableMenuItem(file, 327, MF_BYCOMMAND | (hasDocument ? MF_ENABLED : MF_GRAYED));
  if (hasDocument) {
    if (IsEditorKind(kind, {kEditorPcb, kEditorShape, kEditorPcbSymbol, kEditorSchematicSymbol, kEditorSchematic}))
      AppendPopup(bar, Load("EDIT_MENU"), "&Edit");
    else if (kind == kEditorPadStack)
      AppendPopup(bar, Load("PAD_STACK_EDIT_MENU"), "&Edit");
  } else if (file) {
    for (UINT id : {286u, 334u, 4004u, 336u}) EnableMenuItem(file, id, MF_BYCOMMAND | MF_GRAYED);
  }
  // 4. The kind's pop-ups, "&View" and "&Window".
  DestroyStored(&StoredPopups[1]);
  if (hasDocument) {
    AppendKindPopups(bar, kind, frame);
    if (IsEditorKind(kind, {kEditorPcb, kEditorShape, kEditorPcbSymbol, kEditorPadStack, kEditorSchematicSymbol,
                            kEditorSchematic})) {
      AppendPopup(bar, Load("VIEW_MENU"), "&View");
      WindowMenu = Load("WINDOW_MENU");
      AppendPopup(bar, WindowMenu, "&Window");
    } else if (kind == kEditorPackage) {
      WindowMenu = Load("WINDOW_MENU");
      AppendPopup(bar, WindowMenu, "&Window");
    }
  }
  // 5. "&Help".
  HMENU help = Load("HELP_MENU");
  if (!bar) ShowMessage(frame, "No hMenu", "ChangeMenu");
  if (!help) ShowMessage(frame, "No hTempMenu", "ChangeMenu");
  AppendPopup(bar, help, "&Help");
  // 6. The new bar replaces the old one.
  HMENU old = FrameMenuBar;
  if (MDIClientWindow && IsWindow(MDIClientWindow))
    SendMessageA(MDIClientWindow, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), reinterpret_cast<LPARAM>(WindowMenu));
  else if (frame)
    SetMenu(frame, bar);
  FrameMenuBar = bar;
  if (old && old != bar) DestroyOwnerDrawnMenu(old);
  if (RightButtonMenu) DestroyOwnerDrawnMenu(RightButtonMenu);
  RightButtonMenu = nullptr;
  if (SelectionMenu && !DestroyOwnerDrawnMenu(SelectionMenu))
    ShowMessage(frame, "Unable to destroy selection menu", "FrameWndProc");
  SelectionMenu = nullptr;
  // 7. Check marks and greyed items.
  if (hasDocument) {
    switch (kind) {
      case kEditorPcb: GreyUnlinkPCBMenu(frame); break;
      case kEditorPcbSymbol:
        Check(frame, 341, PadNamingCounter > 0);
        UpdateSymbolTypeMenu(frame);
        break;
      case kEditorPadStack: UpdatePadStackTypeMenu(frame); break;
      case kEditorSchematicSymbol:
        UpdateLibrarySymbolTypeMenu(frame);
        UpdatePinNumbersMenu(frame);
        break;
      case kEditorSchematic: GreyLinkSchematicMenu(frame); break;
      default: break;
    }
    if (!DesignHas(10454)) Grey(frame, 2475);
    if (IsEditorKind(kind, {kEditorPcb, kEditorShape, kEditorPcbSymbol, kEditorPadStack, kEditorSchematic})) {
      CurrentWindowData* b = DocumentBlock();
      const std::uint16_t root = b && b->design && TowerEntity(b->design) ? TowerEntity(b->design)->typeCode : 0;
      const std::uint16_t held = ProgramClipboardRootType();
      EnableMenuItem(BarOf(frame), 2270, MF_BYCOMMAND | (held != 0 && held == root ? MF_ENABLED : MF_GRAYED));
    }
    UpdateUndoMenu(frame);
    UpdateCursorMenu(frame);
    UpdateChevronsMenu(frame);
    UpdateHatchKeepoutsMenu(frame);
    UpdateUnitsMenu(frame);
    UpdateIOPortMenu(frame);
    UpdateHoleMarkersMenu(frame);
    UpdateRubberbandMenu(frame);
    UpdateAnnotationMenu(frame);
    UpdatePickupDesignatorMenu(frame);
    UpdateAutoInheritMenu(frame);
    UpdateAutoAnnotateMenu(frame);
    UpdateWidowsMenu(frame);
    UpdateNetEditMenu(frame);
    UpdateOutlinesMenu(frame);
    UpdateView3DModeMenu(frame);
  }
  // 8. Redraw.
  if (frame) {
    if (MenuRedrawLock) LockWindowUpdate(frame);
    DrawMenuBar(frame);
    if (MenuRedrawLock) LockWindowUpdate(nullptr);
  }
  // 9, 10.
  if (hasDocument) UpdateSelectionMenuForMode();
  MakeMenuOwnerDrawn(bar, 1, 1);
}

void DestroyFrameMenus() {
  HMENU bar = FrameWindow ? GetMenu(FrameWindow) : FrameMenuBar;
  if (!bar) bar = FrameMenuBar;
  if (HMENU fourth = bar ? GetSubMenu(bar, 3) : nullptr) DestroyOwnerDrawnMenu(fourth);
  for (HMENU& stored : StoredPopups)
    if (IsMenu(stored)) DestroyStored(&stored);
  if (bar) DestroyOwnerDrawnMenu(bar);
  if (FrameWindow && GetMenu(FrameWindow) == bar) SetMenu(FrameWindow, nullptr);
  if (bar == FrameMenuBar) FrameMenuBar = nullptr;
  WindowMenu = nullptr;
}

// ---- Updaters -------------------------------------------------------------------------------

void UpdateCursorMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  CheckPair(frame, b ? static_cast<std::int64_t>(b->CursorStyle) : -1, 2015, 2016);
}

void UpdateHatchKeepoutsMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  if (b && b->editorKind == kEditorPcb) Check(frame, 2623, b->PaintOptions.HatchKeepouts != 0);
}

void UpdateChevronsMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  CheckPair(frame, b ? static_cast<std::int64_t>(b->ChevronDisplay) : -1, 2034, 2036);
}

void UpdateRubberbandMenu(HWND frame) { CheckPair(frame, RubberbandMode, 2407, 2408); }

void UpdateWidowsMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  if (!b || b->editorKind != kEditorSchematic) return;
  Check(frame, 2501, b->WidowsCheck == 1);
  Check(frame, 2502, b->WidowsCheck != 1);
}

void UpdateAnnotationMenu(HWND frame) { CheckPair(frame, AnnotationMode, 2435, 2436); }

void UpdateAutoInheritMenu(HWND frame) { Check(frame, 2494, Settings && Settings->AutoInheritMode == 1); }

void UpdateAutoAnnotateMenu(HWND frame) { Check(frame, 2672, Settings && Settings->AutoAnnotateSymbols == 1); }

void UpdatePickupDesignatorMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  if (b && b->editorKind == kEditorPcb) Check(frame, 2437, PickupDesignator != 0);
}

void UpdateHoleMarkersMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  const bool on = b && b->HoleMarkers;
  Check(frame, 2428, on);
  Check(frame, 2429, !on);
}

void UpdateOutlinesMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  Check(frame, 2614, b && b->PaintOptions.BodyOutlines);
  Check(frame, 2616, b && b->PaintOptions.PlacementOutlines);
}

void UpdateIOPortMenu(HWND frame) {
  Check(frame, 2375, IOPortUpdateMode != 0);
  Check(frame, 2376, IOPortUpdateMode == 0);
}

void UpdatePadStackTypeMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  const bool surface = b && (b->SurfaceMount & 1);
  Check(frame, 2045, surface);
  Check(frame, 2046, !surface);
}

void UpdateSymbolTypeMenu(HWND frame) {
  const bool mechanical = MechanicalSymbol();
  Check(frame, 2011, mechanical);
  Check(frame, 2047, !mechanical);
}

void UpdateLibrarySymbolTypeMenu(HWND frame) {
  const bool special = DesignHas(11022);
  const bool netName = !special && DesignHas(11032);
  Check(frame, 2328, special);
  Check(frame, 2449, netName);
  Check(frame, 2347, !special && !netName);
}

void UpdatePinNumbersMenu(HWND frame) {
  CurrentWindowData* b = DocumentBlock();
  const auto* record = b && b->design ? static_cast<const std::uint8_t*>(GetEntityData(b->design, 11037)) : nullptr;
  const bool hidden = record && (record[0] & 1);
  Check(frame, 2509, hidden);
  Check(frame, 2508, !hidden);
}

void GreyUnlinkPCBMenu(HWND frame) { Grey(frame, 2390); }

void GreyLinkSchematicMenu(HWND frame) {
  for (UINT id : {2389u, 2390u, 2537u}) Grey(frame, id);
}

void UpdateUnitsMenu(HWND frame) {
  const std::uint32_t units = DisplayUnitsCode;
  const bool metric = units == 2 || units == 3 || units == 5;
  const bool imperial = units == 0 || units == 1 || units == 4;
  Check(frame, 2038, metric);
  Check(frame, 2039, imperial);
}
