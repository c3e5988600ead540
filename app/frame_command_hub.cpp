#include "app/frame_command_hub.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/about_box.h"
#include "app/core_utilities.h"
#include "app/document_open.h"
#include "app/enter_text_dialog.h"
#include "app/frame_editing_commands.h"
#include "app/frame_hub_seams.h"
#include "app/frame_operation_seams.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "app/grid_dialogs.h"
#include "app/locator_insertion.h"
#include "app/rotate_commands.h"
#include "app/width_stepping.h"
#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/mouse_road.h"
#include "edit/tool_commands.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/command_workers.h"
#include "objects/cursor_zoom.h"
#include "objects/design_walks.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/dialogs.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"

std::uint8_t AutoNamePads = 0;
std::uint32_t ProgramCursorStyle = 1;
std::uint8_t EditorDialogOpenFlag = 1;

namespace {

void ResetHubGlobals() {
  AutoNamePads = 0;
  ProgramCursorStyle = 1;
  EditorDialogOpenFlag = 1;
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetHubGlobals);

// What a case tells the common tail.
enum class Ending { Forward, Return0, Return1, ReturnResult };

struct Command {
  HWND frame;
  HWND child;  // the active child at the start, or null
  UINT id;
  WPARAM wParam;
  LPARAM lParam;
  HINSTANCE instance;
  CurrentWindowData* w;  // the active window's block when there is a child
  LRESULT result;        // the answer of a case that ends with ReturnResult
};

void Cancel(const Command& c) {
  if (c.child && c.w) CancelCurrentOperation(c.child, c.w);
}
void Redraw(const Command& c) {
  if (c.child) RedrawView(c.child);
}

// ---- Window commands -----------------------------------------------------------------

// Closes every child in turn; stops at the first whose close is declined.
Ending CloseAll() {
  if (!MDIClientWindow) return Ending::Return1;
  for (;;) {
    HWND child = GetWindow(MDIClientWindow, GW_CHILD);
    if (!child) break;
    if (!SendMessageA(child, WM_CLOSE, 0, 0) && IsWindow(child)) return Ending::Return0;
    if (IsWindow(child) && GetWindow(MDIClientWindow, GW_CHILD) == child) return Ending::Return0;
  }
  ChangeMenu(0);
  return Ending::Return1;
}

void ToggleShowState(const Command& c, HWND target) {
  if (!target) return;
  if (c.w) GhostSelectionAndMode(c.child, c.w->PendingRecord);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (GetWindowPlacement(target, &placement)) {
    placement.showCmd = placement.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED;
    SetWindowPlacement(target, &placement);
  }
  if (c.w) GhostSelectionAndMode(c.child, c.w->PendingRecord);
}

// ---- Zoom, unzoom and pan -------------------------------------------------------------

// Takes the cross-hair lines off the view; the next cursor update draws
// them afresh.
void EraseCrosshair(CurrentWindowData& w) {
  if (!w.Window) return;
  DrawCrosshair(static_cast<HWND>(w.Window), &w.Crosshair);
  w.Crosshair.position = {-1, -1};
}

bool IsViewMode(std::uint8_t mode) { return mode == 35 || mode == 36 || mode == 37; }

void EnterViewMode(const Command& c, std::uint8_t mode, std::uint32_t cursor) {
  if (!c.w) return;
  const std::uint8_t now = c.w->EditMode;
  if (now == mode || (now != 0 && !IsViewMode(now))) return;
  EraseCrosshair(*c.w);
  c.w->EditMode = mode;
  SetEditCursor(cursor);
}

// ---- Copy selection --------------------------------------------------------------------

bool HoldsType(const SelectionInfo* list, std::uint16_t type) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Tower* item = s->workingCopy ? s->workingCopy : s->original;
    if (item && LastLevel(item).typeCode == type) return true;
  }
  return false;
}

bool HoldsSchematicAttribute(const CurrentWindowData& w) {
  return w.editorKind == kEditorSchematic && HoldsType(w.SelectionList, Type_Attribute);
}

// One refused kind: false when the command ends.
bool RefuseKind(const Command& c, const char* single, const char* question) {
  constexpr const char* kCaption = "Copy Selection";
  if (CountSelections(c.w->SelectionList, 1) == 1) {
    ShowMessage(c.frame, single, kCaption);
    return false;
  }
  return MessageBox(c.frame, question, kCaption, MB_OKCANCEL | MB_SYSTEMMODAL | MB_ICONEXCLAMATION) == IDOK;
}

// The copy command (429): refuses what cannot be copied, then makes copies
// that follow the cursor. Never forwarded.
Ending CopySelection(const Command& c) {
  if (!c.w) return Ending::Return0;
  CurrentWindowData& w = *c.w;
  if (HoldsType(w.SelectionList, Type_Centroid) &&
      !RefuseKind(c, "Can't copy centroids.", "Can't copy centroids. Drop centroids and continue?"))
    return Ending::Return0;
  if (HoldsType(w.SelectionList, Type_Datum)) {
    ShowMessage(c.frame, "Can't copy datums.", "Copy Selection");
    return Ending::Return0;
  }
  if ((SelectionHasUncopyableSymbols(w.SelectionList) || HoldsType(w.SelectionList, 163)) &&
      !RefuseKind(c, "Can't copy symbols.", "Can't copy symbols. Drop symbols and continue?"))
    return Ending::Return0;
  if (HoldsType(w.SelectionList, Type_InfoBoxHier) &&
      !RefuseKind(c, "Can't copy info boxes.", "Can't copy info boxes. Drop info boxes and continue?"))
    return Ending::Return0;
  if (HoldsType(w.SelectionList, Type_SymbolPin) &&
      !RefuseKind(c, "Can't copy pins.", "Can't copy pins. Drop pins and continue?"))
    return Ending::Return0;
  if (HoldsSchematicAttribute(w)) {
    ShowMessage(c.frame, "Can't copy symbol attributes in schematic editor.", "Copy Selection");
    return Ending::Return0;
  }
  DropUncopyableItems(c.child, &w.SelectionList);
  if (!w.SelectionList) {
    Cancel(c);
    return Ending::Return0;
  }
  if (!RevertSelectionArray(w.SelectionList)) return Ending::Return0;
  if (SelectionInfo* copies = CopySelectionInPlace(c.child))
    w.SelectionList = copies;
  else
    Cancel(c);
  return Ending::Return0;
}

// ---- Insertions and tools ------------------------------------------------------------

// Begins the armed insertion at the cursor with a device context of the view.
void BeginAtCursor(const Command& c) {
  HDC dc = GetViewDC(c.child);
  ButtonRecord* button = reinterpret_cast<ButtonRecord*>(&c.w->MousePixel);
  BeginInsertion(c.child, button, &c.w->PendingRecord);
  ReleaseViewDC(c.child, dc);
}

// The tools that begin their item at the cursor at once.
bool BeginsAtOnce(UINT id) {
  switch (id) {
    case 256: case 258: case 265: case 457: case 458: case 2605: case 492: case 2263: return true;
    default: return false;
  }
}

// A tool of the Insert menu: cancel, arm, cursor 6 (not for 494), and begin
// the item when the tool does so at once. Nothing without a window.
Ending SelectTool(const Command& c) {
  if (!c.child || !c.w) return Ending::Return0;
  Cancel(c);
  ArmInsertTool(c.id);
  if (c.id != 494) SetEditCursor(6);
  if (BeginsAtOnce(c.id)) BeginAtCursor(c);
  return Ending::Forward;
}

bool DesignHasChild(const Tower* design, std::uint16_t code) {
  if (!design) return false;
  Tower* child = GetChildTower(design, code);
  const bool found = child != nullptr;
  ReleaseTower(&child);
  return found;
}

bool SymbolHasCentroid(const CurrentWindowData& w) {
  return DesignHasChild(w.design, Type_Centroid);
}

Ending InsertCentroid(const Command& c) {
  if (!c.child || !c.w) return Ending::Return0;
  if (SymbolHasCentroid(*c.w)) {
    ShowMessage(c.frame, "A centroid has already been placed for this symbol.", "Insert Centroid");
    return Ending::Forward;
  }
  return SelectTool(c);
}

// ---- Attribute locators ---------------------------------------------------------------

std::uint16_t LocatorKindOf(UINT id) {
  switch (id) {
    case 2299: return 1;
    case 2291: return 3;
    case 2306: return 4;
    case 2300: return 6;
    case 2292: return 9;
    case 2307: return 10;
    case 2332: return 13;
    case 2349: case 2350: return 14;
    case 2333: return 15;
    case 2397: return 16;
    case 2398: return 17;
    default: return 0;
  }
}

// Asks for the global net of a Global Net locator; false when cancelled.
bool AskGlobalNetLocatorName() {
  char* name = AskGlobalNetName("Insert Global Net Locator", "Enter net or click 'All'", 0);
  if (!name) return false;
  SetPendingLocatorName(name);
  std::free(name);
  return true;
}

Ending InsertLocator(const Command& c) {
  if (!c.child || !c.w) return Ending::Return0;
  const std::uint16_t kind = LocatorKindOf(c.id);
  if (c.id == 2397 && !(c.w->design && DesignHasChild(c.w->design, 11032))) return Ending::Forward;
  // A symbol attribute locator points at the first selected symbol, taken
  // before the cancel drops the selection.
  Tower* symbol = nullptr;
  if (c.id == 2350 && c.w->SelectionList) {
    const SelectionInfo* first = c.w->SelectionList;
    if (const Tower* item = first->original ? first->original : first->workingCopy) symbol = DuplicateTower(item);
  }
  Cancel(c);
  bool start = true;
  if (c.id == 2349 || c.id == 2350) {
    start = AskAttributeLocatorName();
    if (!start && c.id == 2350) Cancel(c);
  } else if (c.id == 2398) {
    start = AskGlobalNetLocatorName();
  } else if (c.id == 2332) {
    char name[kGraphicNetNameRoom] = {};
    if (!AskGraphicNetName(c.frame, c.w->design, name, sizeof name, &symbol)) return Ending::Forward;
    StartLocatorAt(c.child, *c.w, kind, c.w->Cursor);
    NameGraphicNetNameLocator(c.child, *c.w, name, symbol);
    ReleaseTower(&symbol);
    return Ending::Forward;
  }
  if (start) {
    StartLocatorAt(c.child, *c.w, kind, c.w->Cursor);
    if (symbol && c.w->PendingRecord) SetLocatorTarget(c.w->PendingRecord, symbol);
  }
  ReleaseTower(&symbol);
  return Ending::Forward;
}

// ---- Freehand rotation -----------------------------------------------------------------

bool GrabsAPoint(std::uint16_t part) {
  switch (part) {
    case 1: case 2: case 4: case 5: case 8: case 9: case 10: return true;
    default: return false;
  }
}

std::uint16_t SelectionType(const SelectionInfo* s) {
  const Tower* item = s->workingCopy ? s->workingCopy : s->original;
  return item ? LastLevel(item).typeCode : 0;
}

// 455: rotates by a typed angle what the edit mode works on; false when the
// command ends without forwarding.
bool RotateByTypedAngle(const Command& c, FreehandRotationRequest* request) {
  (void)request;
  CurrentWindowData* w = c.w;
  if (!w || !c.child) return true;
  const std::uint8_t mode = w->EditMode;
  switch (mode) {
    case 24: case 25: case 26: case 27: case 33: case 78: case 82: case 110:
    case 28: case 29:
      FreehandRotateModeItem(c.child, false);
      return true;
    case 59: case 61:
      SetPlacedCentroidAngle(c.child);
      return true;
    case 60:
      SetPlacedCentroidAngle(c.child);
      AcceptCurrentEdit(c.child, reinterpret_cast<ButtonRecord*>(&w->MousePixel), &w->PendingRecord);
      return true;
    case 39: case 45: {
      const SelectionInfo* first = w->SelectionList;
      if (SelectionHasPl2Symbols(first)) {
        ShowMessage(c.frame, "PL2 symbols may only be rotated by multiples of 90 degrees", "Freehand Rotate");
        return true;
      }
      if (!first) return true;
      if (GrabsAPoint(first->grabbedPart)) {
        MessageBeep(0);
        return false;
      }
      const std::uint16_t type = SelectionType(first);
      if (CountSelections(first, 1) == 1 && type == Type_Centroid) {
        SetSelectedCentroidAngle(c.child);
        if (first->grabbedPart == 6) AcceptCurrentEdit(c.child, reinterpret_cast<ButtonRecord*>(&w->MousePixel), &w->PendingRecord);
        return true;
      }
      if (type == Type_Circle || type == Type_Hole || type == Type_Via || type == Type_InfoBoxHier) return true;
      FreehandRotateSelection(c.child, false);
      return true;
    }
    case 113:
      RotateCurrentItemSelection(c.child);
      return true;
    case 0:
      return true;
    default:
      if (w->PendingRecord && w->PendingRecord->header.recordType == Type_Rectangle) FreehandRotateModeItem(c.child, false);
      return true;
  }
}

Ending FreehandRotation(const Command& c) {
  if (!c.child || !c.w) return Ending::Forward;
  auto* request = static_cast<FreehandRotationRequest*>(std::malloc(sizeof(FreehandRotationRequest)));
  if (!request) return Ending::Forward;
  *request = {c.child, c.w, c.w->PendingRecord};
  SendMessageA(c.frame, WM_COMMAND, 455, reinterpret_cast<LPARAM>(request));
  std::free(request);
  return Ending::Forward;
}

// ---- Fit To Window and off-angle tracks ---------------------------------------------

Ending FitToWindow(const Command& c) {
  if (!c.child || !c.w) return Ending::Forward;
  pl3::Box box{};
  if (c.w->editorKind == kEditorPcb) {
    if (!c.w->Display) return Ending::Forward;
    GetDisplayListBox(static_cast<DisplayList*>(c.w->Display), &box);
  } else if (!GetDesignExtent(c.w->design, c.w, 0, &box)) {
    return Ending::Forward;
  }
  RECT client{};
  GetClientRect(c.child, &client);
  std::uint32_t zoom = 0, scale = 0;
  pl3::Point centre{};
  if (!FitZoomToBox(box, static_cast<std::uint32_t>(client.right - client.left),
                    static_cast<std::uint32_t>(client.bottom - client.top), &zoom, &scale, &centre))
    return Ending::Forward;
  c.w->Zoom = zoom;
  UpdateViewGlobals();
  CentreViewOnPoint(c.child, centre);
  MoveCursorToPoint(c.child, centre);
  return Ending::Forward;
}

// ---- Cursor style ------------------------------------------------------------------------

Ending SetCursorStyle(const Command& c, std::uint32_t style) {
  if (!c.child || !c.w || c.w->CursorStyle == style) return Ending::Forward;
  ProgramCursorStyle = style;
  c.w->CursorStyle = style;
  EraseCrosshair(*c.w);
  SetEditCursor(c.w->EditMode ? 6 : 0);
  SendMessageA(c.child, WM_MOUSEMOVE, 0, static_cast<LPARAM>(c.w->MouseMessagePos));
  UpdateCursorMenu(c.frame);
  return Ending::Forward;
}

Ending FlipAutoNamePads(const Command& c) {
  AutoNamePads = AutoNamePads ? 0 : 1;
  if (HMENU menu = GetMenu(c.frame))
    CheckMenuItem(menu, 341, MF_BYCOMMAND | (AutoNamePads ? MF_CHECKED : MF_UNCHECKED));
  return Ending::Forward;
}

// ---- Highlight net ----------------------------------------------------------------------

Ending HighlightNet(const Command& c, bool destination) {
  if (!c.child || !c.w) return Ending::Forward;
  CurrentWindowData& w = *c.w;
  if (!destination && w.editorKind == kEditorSchematic) {
    Cancel(c);
    SetHighlightNetTool(c.child);
    return Ending::Forward;
  }
  if (!destination && w.editorKind != kEditorPcb) return Ending::Forward;
  const bool placingTrack = w.EditMode == 1 || w.EditMode == 104;
  const bool oneTrack = w.EditMode == 39 && CountSelections(w.SelectionList, 1) == 1 && w.SelectionList &&
                        SelectionType(w.SelectionList) == Type_Track;
  if (placingTrack || oneTrack) {
    HighlightNetAtCursor(c.child, destination ? 0 : 1);
  } else {
    Cancel(c);
    if (destination)
      SetHighlightDestinationTool(c.child);
    else
      SetHighlightNetTool(c.child);
  }
  RecordDesignChange();
  return Ending::Forward;
}

// ---- Mode entry ---------------------------------------------------------------------------

struct ModeRow {
  UINT id;
  std::uint8_t mode;
  std::int32_t cursor;  // -1: unchanged
};
constexpr ModeRow kModeRows[] = {
    {2392, 109, 40}, {2474, 105, 38}, {2446, 103, 24}, {2438, 99, 34}, {2439, 100, 35},
    {2441, 101, 36}, {2445, 97, -1},  {2478, 106, -1},
};

bool EnterMode(const Command& c) {
  for (const ModeRow& row : kModeRows) {
    if (row.id != c.id) continue;
    if (!c.child || !c.w) return true;
    Cancel(c);
    c.w->EditMode = row.mode;
    if (row.cursor >= 0) SetEditCursor(static_cast<std::uint32_t>(row.cursor));
    return true;
  }
  return false;
}

// ---- Width and size steps --------------------------------------------------------------

bool StepWidth(const Command& c) {
  if (!c.child) return false;
  switch (c.id) {
    case 430: case 2315: IncreaseWidth(c.child, c.w); return true;
    case 431: case 2316: DecreaseWidth(c.child, c.w); return true;
    case 2027: case 2317: MinimiseWidth(c.child, c.w); return true;
    case 2028: case 2318: MaximiseWidth(c.child, c.w); return true;
    case 295: CycleAngleAssist(c.child); return true;
    case 297: FlipDirection(c.child); return true;
    default: return false;
  }
}

// ---- Operations of the editors ------------------------------------------------------

void RunOperationRow(const Command& c, const FrameOperationRow& row) {
  if ((row.steps & kRowNeedsWindow) && (!c.child || !c.w)) return;
  if (row.steps & kRowCancel) Cancel(c);
  if (!PerformFrameCommandOperation(row.id, c.child)) return;
  if ((row.steps & kRowRebuild) && c.w && c.w->editorKind == kEditorPcb && c.w->design)
    c.w->Display = RebuildDisplayList(c.w->design, static_cast<DisplayList*>(c.w->Display));
  if (row.steps & kRowRedraw) Redraw(c);
  if (row.steps & kRowRecord) RecordDesignChange();
}

// Wire, bus and the dimension tools: the pending insertion type of an idle
// window.
bool SelectTypeTool(const Command& c) {
  std::uint8_t type = 0;
  switch (c.id) {
    case 2275: type = 28; break;
    case 2276: type = 29; break;
    case 2304: type = Type_Dimensioner; break;
    case 2681: type = Type_AngleDimensioner; break;
    default: return false;
  }
  if (!c.child || !c.w) return true;
  Cancel(c);
  if (c.id == 2275)
    SetWireTool();
  else if (c.w->EditMode == 0)
    c.w->InsertType = type;
  SetEditCursor(6);
  return true;
}

// ---- The switch ---------------------------------------------------------------------------

bool IsToolId(UINT id) {
  switch (id) {
    case 251: case 254: case 2552: case 2550: case 2549: case 2551: case 2483: case 257: case 215:
    case 201: case 359: case 2386: case 2578: case 2587: case 2588: case 2645: case 2591: case 2593:
    case 2607: case 2611: case 2023: case 2025: case 256: case 258: case 265: case 457: case 458:
    case 2605: case 492: case 494:
      return true;
    default:
      return false;
  }
}

bool IsLocatorId(UINT id) { return LocatorKindOf(id) != 0; }

Ending RunCase(Command& c) {
  const UINT id = c.id;
  if (id >= kFirstWindowListId && id < kWindowListMoreId) {
    if (HWND w = GetDlgItem(MDIClientWindow, static_cast<int>(id) - 2455))
      SendMessageA(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
    return Ending::Forward;
  }
  if (IsToolId(id)) return SelectTool(c);
  if (IsLocatorId(id)) return InsertLocator(c);
  if (SelectTypeTool(c)) return c.child ? Ending::Forward : Ending::Return0;
  if (EnterMode(c)) return c.child ? Ending::Forward : Ending::Return0;
  if (StepWidth(c)) return Ending::Forward;
  switch (id) {
    case 283:
      PostMessageA(c.frame, WM_CLOSE, 0, 0);
      return Ending::Forward;
    case 327:
      if (c.child) SendMessageA(c.child, WM_CLOSE, 0, 0);
      return Ending::Forward;
    case 291:
      return CloseAll();
    case 287:
      SendMessageA(MDIClientWindow, WM_MDITILE, MDITILE_HORIZONTAL, 0);
      return Ending::Return0;
    case 2365:
      SendMessageA(MDIClientWindow, WM_MDITILE, MDITILE_VERTICAL, 0);
      return Ending::Return0;
    case 288:
      SendMessageA(MDIClientWindow, WM_MDICASCADE, 0, 0);
      return Ending::Return0;
    case 318:
    case 320:
      if (c.child) SendMessageA(MDIClientWindow, WM_MDINEXT, reinterpret_cast<WPARAM>(c.child), id == 318 ? 1 : 0);
      return Ending::Forward;
    case 343:
      ToggleShowState(c, c.child);
      return Ending::Forward;
    case 317:
      ToggleShowState(c, c.frame);
      return Ending::Forward;
    case kWindowListMoreId: {
      const INT_PTR chosen = DialogBoxParamA(c.instance, MAKEINTRESOURCE(1217), c.frame, &WindowListDlgProc, 0);
      if (chosen) {
        SendMessageA(MDIClientWindow, WM_MDIACTIVATE, static_cast<WPARAM>(chosen), 0);
        SetFocus(reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)));
      }
      return Ending::Forward;
    }
    case 417:
      DialogBoxParamA(c.instance, "ABOUTDLG", c.frame, &AboutDlgProc, 0);
      return Ending::Forward;
    case 2043:
      ShowHelp();
      return Ending::Forward;
    case 260:
      EnterViewMode(c, 35, 15);
      return Ending::Forward;
    case 261:
      EnterViewMode(c, 36, 16);
      return Ending::Forward;
    case 262:
      EnterViewMode(c, 37, 12);
      return Ending::Forward;
    case 429:
      return CopySelection(c);
    case 2263:
      return InsertCentroid(c);
    case 2041:
      return FreehandRotation(c);
    case 455:
      return RotateByTypedAngle(c, reinterpret_cast<FreehandRotationRequest*>(c.lParam)) ? Ending::Forward
                                                                                          : Ending::Return0;
    case 2506:
      return FitToWindow(c);
    case 2499:
      if (c.child && c.w && c.w->editorKind == kEditorPcb) {
        Cancel(c);
        HighlightOffAngleTracks(c.w);
        Redraw(c);
      }
      return Ending::Forward;
    case 2267:
      return HighlightNet(c, false);
    case 2266:
      return HighlightNet(c, true);
    case 2015:
      return SetCursorStyle(c, 1);
    case 2016:
      return SetCursorStyle(c, 0);
    case 341:
      return FlipAutoNamePads(c);
    case 298:
      if (c.child) {
        ShowSelectGridDialog(c.frame);
        Redraw(c);
      }
      return Ending::Forward;
    case 462:
      SendMessageA(c.frame, WM_COMMAND, 498, 0);
      return Ending::Forward;
    case 2336:
    case 2337:
    case 2356: {
      const std::uint8_t saved = EditorDialogOpenFlag;
      EditorDialogOpenFlag = 0;
      PerformFrameCommandOperation(id, c.child);
      EditorDialogOpenFlag = saved;
      return Ending::Forward;
    }
    case 2582: case 2583: case 2584: case 2661: case 2663: case 2664:
      Cancel(c);
      PerformFrameCommandOperation(id, c.child);
      return Ending::Forward;
    default:
      break;
  }
  HWND made = nullptr;
  switch (RunDocumentCommand(c.frame, c.child, id, c.instance, &made)) {
    case DocumentEnding::NotMine: break;
    case DocumentEnding::Forward: return Ending::Forward;
    case DocumentEnding::Return0: return Ending::Return0;
    case DocumentEnding::ReturnWindow:
      c.result = reinterpret_cast<LRESULT>(made);
      return Ending::ReturnResult;
  }
  if (RunFrameEditingCommand(c.frame, c.child, c.w, id)) return Ending::Forward;
  if (const FrameOperationRow* row = FindFrameOperationRow(id)) RunOperationRow(c, *row);
  return Ending::Forward;
}

}  // namespace

bool FitZoomToBox(const pl3::Box& box, std::uint32_t clientWidth, std::uint32_t clientHeight, std::uint32_t* zoom,
                  std::uint32_t* scale, pl3::Point* centre) {
  if (clientWidth == 0 || clientHeight == 0) return false;
  const auto x1 = static_cast<std::uint32_t>(box.xmin), x2 = static_cast<std::uint32_t>(box.xmax);
  const auto y1 = static_cast<std::uint32_t>(box.ymin), y2 = static_cast<std::uint32_t>(box.ymax);
  centre->x = static_cast<std::int32_t>((static_cast<std::uint64_t>(x1) + x2) / 2);
  centre->y = static_cast<std::int32_t>((static_cast<std::uint64_t>(y1) + y2) / 2);
  const std::uint32_t width = x1 > x2 ? x1 - x2 : x2 - x1;
  const std::uint32_t height = y1 > y2 ? y1 - y2 : y2 - y1;
  std::uint32_t z = std::max(width / clientWidth, height / clientHeight);
  constexpr std::uint32_t kMostZoom = 1024000;
  z = std::clamp<std::uint32_t>(z, 1, kMostZoom);
  *zoom = z;
  *scale = static_cast<std::uint32_t>(4294967295.0 / z);
  return true;
}

bool IsOffAngleTrack(pl3::Point a, pl3::Point b) {
  const double dx = std::fabs(static_cast<double>(a.x) - b.x);
  const double dy = std::fabs(static_cast<double>(a.y) - b.y);
  const double diagonal = std::fabs(dx - dy);
  if (dx <= 2 || dy <= 2 || diagonal <= 2) return false;
  double ratio;
  if (dx > 2 * dy)
    ratio = dy / dx;
  else if (dy > 2 * dx)
    ratio = dx / dy;
  else
    ratio = diagonal / dy;
  return std::atan(ratio) * 6.283185307 > 0.05;
}

int HighlightOffAngleTracks(CurrentWindowData* state) {
  if (!state || !state->Display) return 0;
  int count = 0;
  auto* list = static_cast<DisplayList*>(state->Display);
  for (DisplayNode* node = list->lists[DisplayList_General]; node; node = node->next) {
    DisplayItem* item = node->item;
    if (!item || item->kind != Type_Track || item->layer < 1 || item->layer > 32 || (item->flags & 2)) continue;
    const auto* line = reinterpret_cast<const LineItem*>(item);
    if (!IsOffAngleTrack({line->record.x1, line->record.y1}, {line->record.x2, line->record.y2})) continue;
    HighlightDisplayItem(item);
    if (item->entity) TowerEntity(item->entity)->flags |= kEntityHighlighted;
    ++count;
  }
  return count;
}

LRESULT DoFrameCommand(HWND frame, WPARAM wParam, LPARAM lParam, HINSTANCE instance) {
  Command c{frame, nullptr, LOWORD(wParam), wParam, lParam, instance, nullptr, 0};
  if (MDIClientWindow) {
    HWND active = reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0));
    if (IsWindow(active)) c.child = active;
  }
  if (c.child) c.w = ActiveWindowData;
  switch (RunCase(c)) {
    case Ending::Return0: return 0;
    case Ending::Return1: return 1;
    case Ending::ReturnResult: return c.result;
    case Ending::Forward: break;
  }
  if (c.child && IsWindow(c.child)) SendMessageA(c.child, WM_COMMAND, wParam, lParam);
  return 0;
}
