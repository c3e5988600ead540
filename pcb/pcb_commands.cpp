#include "pcb/pcb_commands.h"

#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/pcb_window_seams.h"
#include "app/builtin_commands.h"
#include "app/start_values.h"
#include "app/startup_seams.h"
#include "draw/display_paint.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/design_helpers.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/display_list_seams.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/frame_seams.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "pcb/layer_counts.h"
#include "pcb/pcb_command_seams.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

namespace {

// A symbol converted from an earlier-generation board.
constexpr std::uint16_t kTypeEarlierSymbol = 163;

constexpr std::uint32_t kConsoleGeneral = 6;
constexpr std::uint32_t kLogRefusal = 1;
constexpr std::uint32_t kLogNotice = 4;

ConsolePane* Pane(const CurrentWindowData& b) { return static_cast<ConsolePane*>(b.Console); }

bool HasChild(const Tower* design, std::uint16_t code) { return design && GetEntityData(design, code) != nullptr; }

void EndOperation(HWND window, CurrentWindowData& b) { CancelCurrentOperation(window, &b); }

// Net commands run only while the board's net editing option is on.
bool NetEditingAllowed(const CurrentWindowData& b) {
  if (b.NetEditingEnabled) return true;
  MessageBeep(MB_ICONEXCLAMATION);
  AddConsoleMessage(Pane(b), kConsoleGeneral, 0, 0, 0, kLogRefusal, "You need to enable the net editing option.");
  return false;
}

void RebuildAndRedraw(HWND window, CurrentWindowData& b) {
  b.Display = RebuildDisplayList(b.design, static_cast<DisplayList*>(b.Display));
  RedrawView(window);
}

// Fix All and Unfix All of one or two kinds: nothing at all when the design
// holds none of them.
void FixAll(HWND window, CurrentWindowData& b, std::uint16_t code, std::uint16_t other, int fixed,
            const char* message) {
  EndOperation(window, b);
  if (!HasChild(b.design, code) && !(other && HasChild(b.design, other))) return;
  SetFixedState(b.design, code, fixed);
  if (other) SetFixedState(b.design, other, fixed);
  AddConsoleMessage(Pane(b), kConsoleGeneral, 0, 0, 0, kLogNotice, "%s", message);
  RecordDesignChange();
}

void ShowDesignators(HWND window, CurrentWindowData& b, int hidden) {
  EndOperation(window, b);
  if (hidden) {
    SetAllDesignatorsHidden(b, 1);
    RecordDesignChange();
    AddConsoleMessage(Pane(b), kConsoleGeneral, 0, 0, 0, kLogNotice, "All designators have been hidden.");
  } else {
    AddConsoleMessage(Pane(b), kConsoleGeneral, 0, 0, 0, kLogNotice, "All designators have been shown.");
    SetAllDesignatorsHidden(b, 0);
    RecordDesignChange();
  }
  RedrawView(window);
}

void GetSymbol(HWND window, CurrentWindowData& b) {
  char* text = ShowEnterTextDlgEx("Get Symbol", "Enter symbol designator", nullptr, 0);
  if (EnterTextDialogResult && text && *text) GetSymbolByDesignator(window, b.design, text);
  std::free(text);
}

void InsertSymbol(HWND window, CurrentWindowData& b) {
  EndOperation(window, b);
  if (!InsertSymbolFromNetlist(window)) return;
  SetEditCursor(6);
  b.EditMode = Mode_NewSymbol;
  b.InsertType = Type_Polygon;
  SetSelectionAndOptionsMenus(16);
}

void BeginNetEditAtCursor(HWND window, CurrentWindowData& b, int operation) {
  if (!NetEditingAllowed(b)) return;
  EndOperation(window, b);
  SelectNetEditTool();
  BeginNetEdit(&b.Button, operation);
  UpdateStatusBar(window);
}

void GenerateNetlist(HWND window, CurrentWindowData& b) {
  if (!NetEditingAllowed(b)) return;
  if (ShowMessageEx(window,
                    "Are you sure you want to generate the netlist from the connectivity?  This will destroy the "
                    "existing netlist.",
                    "Pelmora3", MB_YESNO) != IDYES)
    return;
  EndOperation(window, b);
  GenerateNetlistFromCopper();
}

void RemoveNetlist(HWND window, CurrentWindowData& b) {
  if (!NetEditingAllowed(b)) return;
  EndOperation(window, b);
  if (ShowMessageEx(FrameWindow, "Are you sure you want to completely remove the netlist?", "Pelmora3",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  DeleteNetlist();
}

// Solid (2022) and Cut Markers Visible (2683): only a board with planes.
void TogglePlaneView(HWND window, CurrentWindowData& b, bool cutMarkers) {
  EndOperation(window, b);
  if (!HasChild(b.design, Type_Plane)) return;
  if (cutMarkers)
    b.CutMarkersVisible ^= 1u;
  else
    b.StateFlags ^= kStatePlaneOutlines;
  ChangeMenu(1);
  RedrawView(window);
}

void PlaneClearances(HWND window, CurrentWindowData& b) {
  EndOperation(window, b);
  if (ShowPlaneClearancesDialog(window) == IDOK) RebuildAndRedraw(window, b);
  RecordDesignChange();
}

// The idle-only plane commands end the operation first, then run only when
// the window is idle.
bool EndAndIdle(HWND window, CurrentWindowData& b) {
  EndOperation(window, b);
  return b.EditMode == 0;
}

void FindSymbol(HWND window, CurrentWindowData& b) {
  if (HasChild(b.design, Type_SymbolInstance))
    ShowFindComponentDialog(window);
  else
    ShowMessage(window, "No symbols have been placed", "Find Symbol");
}

void TogglePickupDesignator() {
  FixedDesignators = FixedDesignators ? 0 : 1;
  PickupDesignator = static_cast<std::uint8_t>(FixedDesignators);
  UpdatePickupDesignatorMenu(FrameWindow);
}

void RunBuiltin(const char* name, HWND window, CurrentWindowData& b) {
  if (BuiltinHandler handler = FindBuiltinCommandHandler(name)) handler(window, &b, &b, 0);
}

void RatsNestDisplay(HWND window, CurrentWindowData& b) {
  if (HasChild(b.design, Type_NetHierGroup))
    RatsNestConfig(window);
  else
    ShowMessage(window, "No nets have been imported.", "Reassess Rats Nests");
}

void Information(HWND window, CurrentWindowData& b) {
  if (!b.design) return;
  Tower* copy = DuplicateTower(b.design);
  GetPCBInfoDlg(window, copy, 2);
  FreeTower(copy);
}

// A client-pixel box of the view in world units.
pl3::Box ViewBoxToWorld(const CurrentWindowData& b, std::int32_t right, std::int32_t bottom) {
  const auto world = [&](std::int32_t pixel, std::int32_t origin) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(pixel + origin) * b.Zoom);
  };
  return {world(0, b.ViewOriginX), world(0, b.ViewOriginY), world(right, b.ViewOriginX), world(bottom, b.ViewOriginY)};
}

// 481: the view drawn while another window is active, that window's block
// put back around it by 482 and 483.
void RedrawWhileInactive(HWND window, CurrentWindowData& b) {
  const HWND active = GetActiveWindow();
  if (active == window) return;
  InactiveRedrawWindow = window;
  if (active) SendMessageA(active, WM_COMMAND, 482, 0);
  MakePCBWindowCurrent(&b);
  const pl3::Box box =
      ViewBoxToWorld(b, GetSystemMetrics(SM_CXVIRTUALSCREEN) - 1, GetSystemMetrics(SM_CYVIRTUALSCREEN) - 1);
  RedrawViewRect(window, &box, 1);
  if (active) SendMessageA(active, WM_COMMAND, 483, 0);
  InactiveRedrawWindow = nullptr;
}

void RestoreAfterInactiveRedraw(HWND window, CurrentWindowData& b) {
  MakePCBWindowCurrent(&b);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  const pl3::Box at = ViewBoxToWorld(b, p.x, p.y);
  b.MouseWorld = {at.xmax, at.ymax};
  InvalidateRect(window, nullptr, FALSE);
}

void RedrawPendingBox(HWND window, CurrentWindowData& b) {
  if (!IsBoxValid(&b.PendingRedraw)) return;
  const pl3::Box box = b.PendingRedraw;
  SetEmptyBox(&b.PendingRedraw);
  RedrawViewRect(window, &box, 1);
}

void DispatchRow(HWND window, std::uint32_t id, CurrentWindowData& b) {
  switch (id) {
    // Insertion and placing.
    case 201:
      if (b.EditMode == 0) b.InsertType = Type_PlaneCutout;
      break;
    case 215:
      if (b.EditMode == 0) b.InsertType = Type_Plane;
      break;
    case 221: InsertSymbol(window, b); break;
    case 2018: DoMechanicalSymbol(window, b); break;
    case 2413: GetSymbol(window, b); break;
    case 432: DoEditText(window, b); break;
    case 4007: DoChangeDesignator(window, b); break;
    // Symbols.
    case 242:
      EndOperation(window, b);
      MapSymbolDefinitions(window);
      break;
    case 453:
      FixAll(window, b, Type_SymbolInstance, kTypeEarlierSymbol, 1, "All symbols have been fixed in position.");
      break;
    case 454: FixAll(window, b, Type_SymbolInstance, kTypeEarlierSymbol, 0, "All symbols have been unfixed."); break;
    case 2012: ShowDesignators(window, b, 1); break;
    case 2013: ShowDesignators(window, b, 0); break;
    case 2293: FindSymbol(window, b); break;
    case 2437: TogglePickupDesignator(); break;
    case 2614: RunBuiltin("tools.togglebodyoutlines", window, b); break;
    case 2616: RunBuiltin("tools.toggleplacementoutlines", window, b); break;
    case 4016: WriteDesignatorList(b.design); break;
    // Nets.
    case 445: RatsNestDisplay(window, b); break;
    case 2010:
      EndOperation(window, b);
      OpenNetFile(window, b.design);
      RecordDesignChange();
      break;
    case 2511: BeginNetEditAtCursor(window, b, 1); break;
    case 2512: BeginNetEditAtCursor(window, b, 3); break;
    case 2513: BeginNetEditAtCursor(window, b, 4); break;
    case 2514: GenerateNetlist(window, b); break;
    case 2515:
      EndOperation(window, b);
      b.NetEditingEnabled = b.NetEditingEnabled ? 0 : 1;
      UpdateNetEditMenu(FrameWindow);
      break;
    case 2516: RemoveNetlist(window, b); break;
    // Planes.
    case 2019: FixAll(window, b, Type_Plane, 0, 1, "All planes have been fixed in position."); break;
    case 2020: FixAll(window, b, Type_Plane, 0, 0, "All planes have been unfixed."); break;
    case 2022: TogglePlaneView(window, b, false); break;
    case 2683: TogglePlaneView(window, b, true); break;
    case 2403: PlaneClearances(window, b); break;
    case 2284:
      if (!EndAndIdle(window, b)) break;
      DeleteAutoThermalBreaks(b.design);
      RedrawView(window);
      break;
    case 2684:
      if (EndAndIdle(window, b)) AutoThermalBreak(window, b.design);
      break;
    case 2687:
      if (EndAndIdle(window, b)) RunAutocut();
      break;
    case 2688:
      if (!EndAndIdle(window, b)) break;
      RemoveAutoCuts(b.design);
      RedrawView(window);
      break;
    // Datums, rules, board.
    case 2384: FixAll(window, b, Type_Datum, 0, 1, "All datums have been fixed in position."); break;
    case 2385: FixAll(window, b, Type_Datum, 0, 0, "All datums have been unfixed."); break;
    case 441:
      EndOperation(window, b);
      PerformFullDRC(window);
      break;
    case 452:
      EndOperation(window, b);
      ConfigureDRC(window);
      break;
    case 228: Information(window, b); break;
    case 2569: DoBoardSetup(window, b); break;
    // View upkeep.
    case 481: RedrawWhileInactive(window, b); break;
    case 483: RestoreAfterInactiveRedraw(window, b); break;
    case 484: RedrawPendingBox(window, b); break;
    default: break;
  }
}

}  // namespace

std::uint32_t SetFixedState(const Tower* design, std::uint16_t code, int fixed) {
  std::uint32_t changed = 0;
  Tower* items = design ? GetChildTower(design, code) : nullptr;
  while (items && FindNextEntity(items)) {
    Entity* e = TowerEntity(items);
    e->flags = static_cast<std::uint16_t>(fixed ? e->flags | kEntityFixed : e->flags & ~kEntityFixed);
    ++changed;
  }
  ReleaseTower(&items);
  return changed;
}

void SetAllDesignatorsHidden(CurrentWindowData& block, int hidden) {
  Tower* symbols = block.design ? GetChildTower(block.design, Type_SymbolInstance) : nullptr;
  while (symbols && FindNextEntity(symbols)) {
    Tower* designator = NewestChildTower(symbols, Type_Designator);
    Tower* newest = NewestChildTower(designator, Type_DesignatorData);
    auto* info = reinterpret_cast<DesignatorInfo*>(ChildPayloadOfAtLeast(newest, Type_DesignatorInfo, sizeof(DesignatorInfo)));
    if (info) {
      if (void* list = RemoveFromDisplayList(block.Display, symbols)) block.Display = list;
      std::uint16_t display = 0;
      std::memcpy(&display, &info->display, sizeof display);
      display = static_cast<std::uint16_t>(hidden ? display | kDesignatorHidden : display & ~kDesignatorHidden);
      std::memcpy(&info->display, &display, sizeof display);
      PutEntityOnDisplayList(block.Display, symbols);
    }
    ReleaseTower(&newest);
    ReleaseTower(&designator);
  }
  ReleaseTower(&symbols);
}

LRESULT DoPCBCommand(HWND window, WPARAM wParam, CurrentWindowData* block) {
  const std::uint32_t id = LOWORD(wParam);
  if (id >= 20000 && id <= 20031) {
    ImportNetCommand(id - 20000);
    return 0;
  }
  if (id >= 21000 && id <= 21127) {
    RunListedScript(id - 21000);
    return 0;
  }
  // Saving works on any board, busy or idle: the save ends the operation itself.
  switch (id) {
    case 286: SavePCBWindow(window); return 0;
    case 334: SavePCBWindowAs(window); return 0;
    case 4004: SaveAllPCBWindows(); return 0;
    default: break;
  }
  if (block) DispatchRow(window, id, *block);
  return 0;
}
