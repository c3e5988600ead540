#include "pcb/pcb_window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/command_table.h"
#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/editor_support.h"
#include "app/editor_window_services.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "app/open_requests.h"
#include "app/start_values.h"
#include "app/ui_seams.h"
#include "draw/auto_pan.h"
#include "draw/auto_pan_seams.h"
#include "draw/view_markers.h"
#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "draw/grids.h"
#include "draw/view_redraw.h"
#include "draw/view_scroll.h"
#include "edit/engine_seams.h"
#include "edit/mouse_road.h"
#include "edit/ratsnest_seams.h"
#include "edit/saved_state.h"
#include "edit/status_bar.h"
#include "edit/status_seams.h"
#include "edit/view_scrolling.h"
#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/datums.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/item_helpers.h"
#include "objects/new_documents.h"
#include "objects/size_table.h"
#include "objects/view_seams.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "pcb/new_pcb_dialog.h"
#include "pcb/pcb_save.h"
#include "pcb/pcb_window_seams.h"
#include "pcb/symbol_drop.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/document_titles.h"
#include "store/tower.h"

ATOM PCBWindowClass = 0;

namespace {

constexpr std::uint16_t kTypePl2Definition = 162;
constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint16_t kTypePl2Link = 164;
constexpr std::uint32_t kStateCleared10 = 0x10;
constexpr std::uint32_t kStateCleared20000 = 0x20000;
constexpr std::uint8_t kModeMeasure = 87;

// The block current while no document window owns it: teardown points the
// current-block global here when the active window goes.
CurrentWindowData EmptyBlock{};

void ResetPcbWindowGlobals() {
  PCBWindowClass = 0;
  EmptyBlock.design = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetPcbWindowGlobals);

HWND ActiveChild() {
  return MDIClientWindow ? reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

ConsolePane* PaneOf(CurrentWindowData* block) { return block ? static_cast<ConsolePane*>(block->Console) : nullptr; }

void SetBlockWorkingArea(CurrentWindowData& block) {
  if (!block.WorkingArea[2] && !block.WorkingArea[3])
    for (int k = 0; k < 4; ++k) block.WorkingArea[k] = NewBoardDefaults[k];
  SetWorkingArea(block.WorkingArea);
}

// Deletes every Sub Net Points List Info (268) under every Sub Net Hier
// (269) of the design's nets: the ratsnest rebuilds them.
void DeleteSubNetPoints(const Tower* design) {
  Tower* nets = GetChildTower(design, Type_Net);
  if (!nets) return;
  while (FindNextEntity(nets)) {
    Tower* hiers = GetChildTower(nets, Type_SubNetHier);
    while (hiers && FindNextEntity(hiers)) DeleteChildEntities(hiers, Type_SubNetPointsListInfo);
    ReleaseTower(&hiers);
  }
  ReleaseTower(&nets);
}

// The block of an opened design (bit 0 of the request flags).
CurrentWindowData* RetrieveOpenedBoard(HWND window) {
  HDC dc = GetViewDC(window);
  CurrentWindowData* block = RetrievePCBData(window, PendingItemTower);
  ReleaseViewDC(window, dc);
  if (!block) return nullptr;
  block->Window = window;
  SetBlockWorkingArea(*block);
  DeleteSubNetPoints(block->design);
  block->StateFlags &= ~kStateCleared10;
  return block;
}

// A new board from the dialog's answer, or an empty one for an import.
CurrentWindowData* CreateNewBoard(HWND window, const NewPcbSettings* settings) {
  auto* info = static_cast<NewObjectInfo*>(std::calloc(1, sizeof(NewObjectInfo)));
  if (!info) return nullptr;
  std::uint32_t layers = settings ? settings->layerCount : DefaultPCBLayers;
  if (layers < 1 || layers > 32) layers = layers < 1 ? 1 : 32;
  info->layerCount = layers;
  if (settings && settings->description) info->description = DuplicateString(settings->description);
  CurrentWindowData* block = CreatePCBData(window, info);
  if (!block) return nullptr;
  block->Window = window;
  block->NetEditingEnabled = settings ? settings->allowNetEditing : 0;
  block->CopperLayerCount = layers;
  if (settings) DefaultPCBLayers = layers;
  for (int k = 0; k < 4; ++k) block->WorkingArea[k] = NewBoardDefaults[k];
  SetWorkingArea(block->WorkingArea);
  return block;
}

CurrentWindowData* BuildBlock(HWND window, const CREATESTRUCTA* cs) {
  if (OpenRequestFlags & kOpenTakePendingItem) return PendingItemTower ? RetrieveOpenedBoard(window) : nullptr;
  if (OpenRequestFlags & kOpenNamedOrImport) return CreateNewBoard(window, nullptr);
  const auto* mdi = cs ? static_cast<const MDICREATESTRUCTA*>(cs->lpCreateParams) : nullptr;
  const auto* settings = mdi ? reinterpret_cast<const NewPcbSettings*>(mdi->lParam) : nullptr;
  return settings ? CreateNewBoard(window, settings) : nullptr;
}

void InsertWindowRecord(const Tower* design, HWND window) {
  DeleteChildEntities(design, kRecordDocumentWindow);
  Tower* record = InsertEntity(design, sizeof window, kRecordDocumentWindow, &window);
  ReleaseTower(&record);
}

void ClampViaSize(CurrentWindowData& block) {
  if (!block.sizeTable) return;
  const std::uint32_t count = (*block.sizeTable)[SizeKind_Vias].count();
  if (count && block.CurrentViaSize >= count) block.CurrentViaSize = count - 1;
}

LRESULT OnCreate(HWND window, WPARAM wParam, LPARAM lParam) {
  CurrentWindowData* block = BuildBlock(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
  if (!block) {
    // The window goes when WM_CREATE fails; the child that was active takes
    // the frame back.
    if (HWND previous = ActiveChild(); previous && previous != window)
      SendMessageA(previous, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(previous));
    DefMDIChildProc(window, WM_CREATE, wParam, lParam);
    return -1;
  }
  const bool imported = (OpenRequestFlags & kOpenNamedOrImport) && !(OpenRequestFlags & kOpenTakePendingItem);
  const bool opened = (OpenRequestFlags & kOpenTakePendingItem) != 0;
  InsertWindowRecord(block->design, window);
  block->StateFlags &= ~kStateCleared20000;
  ClampViaSize(*block);
  EnsureMasterDatum(block->design);
  DeleteUnusedPl2Definitions(block->design);

  block->PendingTarget = nullptr;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(block));
  MakePCBWindowCurrent(block);
  ShowWindow(window, SW_SHOW);
  SetFocus(window);
  if (CountDocumentWindows() <= 1 && MDIClientWindow)
    SendMessageA(MDIClientWindow, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);

  block->Display = RebuildDisplayList(block->design, static_cast<DisplayList*>(block->Display));
  SetEditCursor(0);
  WarnReadOnlyDuplicate(block->design);

  auto* pane = static_cast<ConsolePane*>(std::calloc(1, sizeof(ConsolePane)));
  block->Console = pane;
  if (pane) CreateConsolePane(DiagramConsoleWindow, 1, pane, block->design);
  SetWindowTextA(window, DocumentWindowTitle(block->design).c_str());
  if (MDIClientWindow) AddMDITab(MDIClientWindow, window, block->design);
  if (pane) {
    LoadConsolePane(pane, block->design);
    ShowConsolePane(pane);
  }
  LogDocumentStart(opened ? DocumentStart::Opened : imported ? DocumentStart::Imported : DocumentStart::Created);
  RedrawView(window);
  return 0;
}

void OnDestroy(HWND window) {
  CurrentWindowData* block = PCBWindowData(window);
  if (!block || !block->design) return;
  if (ConsolePane* pane = PaneOf(block)) {
    DestroyConsolePane(pane);
    std::free(pane);
    block->Console = nullptr;
  }
  FreeRatsnestLines(block->RatsnestLines);
  block->RatsnestLines = nullptr;
  int index = -1;
  if (ContainerRecord* record = FindDocumentOpenFile(block->design, &index)) {
    const std::string path = record->entries[static_cast<std::size_t>(index)].path;
    FilingSystem_CloseFile(record, path.c_str());
    FilingSystem_CloseContainer(record);
  }
  if (ActiveWindowData == block) {
    // The view and the drawing kernel let go of this window's surface first.
    StopAutoPan();
  }
  Tower* temporary = block->TemporaryEntity;
  block->TemporaryEntity = nullptr;
  DeleteEntity(block->design);
  FreeDisplayList(static_cast<DisplayList*>(block->Display));
  block->Display = nullptr;
  ReleaseTower(&block->design);
  if (ActiveWindowData == block) {
    EmptyBlock.design = nullptr;
    ActiveWindowData = &EmptyBlock;
  }
  ReleaseTower(&temporary);
  FreeWindowData(*block);
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  delete block;
  if (MDIClientWindow) RemoveMDITab(MDIClientWindow, window);
}

void OnPaint(HWND window) {
  CurrentWindowData* block = PCBWindowData(window);
  const bool overlays = block && block == ActiveWindowData;
  HDC dc = overlays ? GetViewDC(window) : nullptr;
  if (overlays) {
    ToggleViewOverlays(window, dc, *block);
    FillOutsideDrawing(window, dc);
  }
  if (!block || !PaintViewFromSurface(window, *block)) {
    PAINTSTRUCT ps{};
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
  }
  if (overlays) {
    ToggleViewOverlays(window, dc, *block);
    ReleaseViewDC(window, dc);
  }
}

LRESULT OnMouseMove(HWND window, CurrentWindowData* block) {
  UpdateAutoPan(window);
  const HWND active = ActiveChild();
  if (GetFocus() != active || GetActiveWindow() != FrameWindow) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return 0;
  }
  if (active != window) {
    const CurrentWindowData* current = ActiveWindowData;
    SetCursor(LoadCursorA(nullptr, current && current->EditMode ? IDC_NO : IDC_ARROW));
    return 0;
  }
  if (!block) return 0;
  HDC dc = GetViewDC(window);
  SetCursor(static_cast<HCURSOR>(block->CursorHandle));
  DoMouseMove(window, &block->Button, &block->PendingRecord, 0);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  ReleaseViewDC(window, dc);
  return 0;
}

void OnMouseWheel(HWND window, CurrentWindowData* block, WPARAM wParam) {
  if (!block || block != ActiveWindowData) return;
  HDC dc = GetViewDC(window);
  EditorMouseWheel(window, static_cast<std::uint32_t>(wParam));
  RECT client{};
  GetClientRect(window, &client);
  if (block->Surface.memoryDC)
    BitBlt(dc, 0, 0, client.right, client.bottom, block->Surface.memoryDC, 0, 0, SRCCOPY);
  FillOutsideDrawing(window, dc);
  GhostSelectionAndMode(window, block->PendingRecord);
  if (!block->ViewOnlyHighlighted) ShowOriginMarker(window, block->CoordinateOrigin.x, block->CoordinateOrigin.y);
  DrawCrosshair(window, &block->Crosshair);
  ReleaseViewDC(window, dc);
}

void SendPaneRefresh(CurrentWindowData* block) {
  Docking_SendToPaneClient(Pane_Info, kPaneRefreshMessage, reinterpret_cast<WPARAM>(block), 0);
  Docking_SendToPaneClient(Pane_Grids, kPaneRefreshMessage, 0, reinterpret_cast<LPARAM>(block));
}

LRESULT OnMDIActivate(HWND window, CurrentWindowData* block, WPARAM wParam, LPARAM lParam) {
  PostMessageA(window, kPcbActivationMarker, 0, 0);
  if (reinterpret_cast<HWND>(wParam) == window) {
    if (block && block->EditMode == kModeMeasure) CancelCurrentOperation(window, block);
    if (CurrentWindowData* current = ActiveWindowData; current && current->ViewOnlyHighlighted == 1) {
      current->ViewOnlyHighlighted = 0;
      RedrawView(window);
    }
    SetStatusBarLayout(static_cast<std::uint32_t>(-1));
    ChangeMenu(0);
    if (!lParam) UpdateToolbarStates(0);
    SendPaneRefresh(nullptr);
    return DefMDIChildProc(window, WM_MDIACTIVATE, wParam, lParam);
  }
  if (!block) return DefMDIChildProc(window, WM_MDIACTIVATE, wParam, lParam);
  if (MDIClientWindow) SelectMDITab(MDIClientWindow);
  SendPaneRefresh(block);
  if (ConsolePane* pane = PaneOf(block)) ShowConsolePane(pane);
  SetFocus(window);
  MakePCBWindowCurrent(block);
  ChangeMenu(1);
  UpdateToolbarStates(block->editorKind);
  GetCursorWorldPosition(window);
  RedrawView(window);
  UpdateStatusBar(window);
  SetStatusBarLayout(block->editorKind);
  LoadPadResistOptions(block->design);
  UpdateViewScrollBars(window);
  return 0;
}

void OnReload(HWND window, CurrentWindowData* block) {
  if (!block || !block->design) return;
  const HWND previous = ActiveChild();
  MakePCBWindowCurrent(block);
  int index = -1;
  if (ContainerRecord* record = FindDocumentOpenFile(block->design, &index)) {
    if (Tower* fresh = FilingSystem_ReloadDocument(record, index)) {
      ReleaseTower(&block->design);
      block->design = fresh;
    }
  }
  block->Display = RebuildDisplayList(block->design, static_cast<DisplayList*>(block->Display));
  RedrawView(window);
  if (previous && MDIClientWindow) SendMessageA(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous), 0);
}

void OnMouseActivateClick(HWND window, CurrentWindowData* block) {
  if (!block) return;
  HDC dc = GetViewDC(window);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(window, &p);
  SetCursor(static_cast<HCURSOR>(block->CursorHandle));
  block->MouseMessagePos = static_cast<std::uint32_t>(MAKELONG(p.x, p.y));
  if (block == ActiveWindowData) DoMouseMove(window, &block->Button, &block->PendingRecord, 0);
  ReleaseViewDC(window, dc);
  SetFocus(window);
}

}  // namespace

CurrentWindowData* PCBWindowData(HWND window) {
  return reinterpret_cast<CurrentWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void MakePCBWindowCurrent(CurrentWindowData* block) {
  ActiveWindowData = block;
  if (!block) return;
  UpdateViewGlobals();
  SetWorkingArea(block->WorkingArea);
}

int DeleteUnusedPl2Definitions(const Tower* design) {
  if (!design) return 0;
  std::vector<NodeRef> linked;
  Tower* symbols = GetChildTower(design, kTypePl2Symbol);
  while (symbols && FindNextEntity(symbols)) {
    Tower* links = GetChildTower(symbols, kTypePl2Link);
    while (links && FindNextEntity(links)) {
      const Entity* link = TowerEntity(links);
      if (link->payloadSize >= 4) {
        NodeRef ref = 0;
        std::memcpy(&ref, EntityPayload(link), sizeof ref);
        linked.push_back(ref);
      }
    }
    ReleaseTower(&links);
  }
  ReleaseTower(&symbols);

  int deleted = 0;
  Tower* definitions = GetChildTower(design, kTypePl2Definition);
  bool again = definitions != nullptr;
  while (again) {
    again = false;
    ResetTowerSearch(definitions, kSearchMatch);
    while (Entity* e = FindNextEntity(definitions)) {
      if (std::find(linked.begin(), linked.end(), NodeRefOf(e)) != linked.end()) continue;
      DeleteEntity(definitions);
      ++deleted;
      again = true;
      break;
    }
  }
  ReleaseTower(&definitions);
  return deleted;
}

ATOM RegisterPCBWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_BYTEALIGNCLIENT;
  wc.lpfnWndProc = &PCBWndProc;
  wc.cbWndExtra = 4;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCE(1333), IMAGE_ICON, 16, 16, LR_SHARED));
  wc.lpszClassName = "PCB_CHILD";
  PCBWindowClass = RegisterClassExA(&wc);
  return PCBWindowClass;
}

HWND CreatePCBWindow(HINSTANCE instance) {
  MDICREATESTRUCTA mdi{};
  mdi.szClass = "PCB_CHILD";
  mdi.szTitle = "PCB Window";
  mdi.hOwner = instance;
  mdi.x = mdi.y = mdi.cx = mdi.cy = CW_USEDEFAULT;
  mdi.style = WS_HSCROLL | WS_VSCROLL;
  NewPcbSettings* settings = nullptr;
  if (!(OpenRequestFlags & (kOpenTakePendingItem | kOpenNamedOrImport))) {
    settings = AskNewPcbSettings(FrameWindow);
    if (!settings) return nullptr;
    mdi.lParam = reinterpret_cast<LPARAM>(settings);
  }
  if (HWND active = ActiveChild()) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(active, &placement) && placement.showCmd == SW_SHOWMAXIMIZED) mdi.style |= WS_MAXIMIZE;
  }
  HWND window = MDIClientWindow ? reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDICREATE, 0,
                                                                     reinterpret_cast<LPARAM>(&mdi)))
                                : nullptr;
  FreeNewObjectInfo(settings);
  return window;
}

LRESULT CALLBACK PCBWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AddEntropyFromMessage(message, lParam, wParam);
  if (ActiveWindowData) ActiveWindowData->MouseMessagePos = static_cast<std::uint32_t>(lParam);
  CurrentWindowData* block = PCBWindowData(window);
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, wParam, lParam);
    case WM_DESTROY:
      OnDestroy(window);
      DefMDIChildProc(window, message, wParam, lParam);
      return 1;
    case WM_SIZE:
      if (block) {
        UpdateViewScrollBars(window);
        if (ActiveChild() == window)
          RedrawView(window);
        else
          SendMessageA(window, WM_COMMAND, 481, 0);
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_CLOSE:
      if (!ConfirmPCBWindowClose(window)) return 0;
      CancelCurrentOperation(window, block);
      DefMDIChildProc(window, message, wParam, lParam);
      return 1;
    case WM_MOUSEACTIVATE:
      Docking_DeactivatePane(nullptr);
      Docking_CloseAutoHideWindow(nullptr);
      if (GetFocus() != window && LOWORD(lParam) == HTCLIENT) {
        SendMessageA(window, kPcbMouseActivateMessage, 0, 0);
        return MA_ACTIVATEANDEAT;
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_KEYDOWN:
      DispatchKeyCommand(static_cast<std::uint32_t>(wParam), lParam, window, block, block);
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_KEYUP:
      EditorKeyUp(window, static_cast<std::uint32_t>(wParam));
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_F10) {
        DispatchKeyCommand(static_cast<std::uint32_t>(wParam), lParam, window, block, block);
        return 0;
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_SYSKEYUP:
      if (wParam == VK_F10) return 0;
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_COMMAND:
      DoPCBCommand(window, wParam, block);
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_NEXTWINDOW && lParam) {
        HighlightCopperAtCursor(window);
        return 0;
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (block && block == ActiveWindowData) DoScroll(window, message, static_cast<std::uint32_t>(wParam & 0xFFFF));
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(window, block);
    case WM_LBUTTONDOWN:
      if (block && NoPendingUpdate(window)) {
        ButtonDownFlag = 1;
        DoLButtonDown(window, &block->Button, &block->PendingRecord);
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_LBUTTONUP:
      if (block && ButtonDownFlag) {
        ButtonDownFlag = 0;
        DoLButtonUp(window, &block->Button, &block->PendingRecord);
      }
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_RBUTTONDOWN:
      if (block) StartButtonHoldTimer(&block->Button);
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_RBUTTONUP:
      if (block) StopButtonHoldTimerAndRelease(window, &block->Button, message);
      return 0;
    case WM_MBUTTONUP:
      if (block) CentreViewOnCursor(window);
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_MOUSEWHEEL:
      OnMouseWheel(window, block, wParam);
      return DefMDIChildProc(window, message, wParam, lParam);
    case WM_MDIACTIVATE:
      return OnMDIActivate(window, block, wParam, lParam);
    case WM_QUERYNEWPALETTE:
      return static_cast<LRESULT>(RealizeViewPalette(window));
    case WM_PALETTECHANGED:
      OnPaletteChanged(window, reinterpret_cast<HWND>(wParam));
      return DefMDIChildProc(window, message, wParam, lParam);
    case kPcbReloadMessage:
      OnReload(window, block);
      return DefMDIChildProc(window, message, wParam, lParam);
    case kPcbSymbolDropMessage:
      if (!DropSymbolOnBoard(window, block, reinterpret_cast<const PcbSymbolDrop*>(wParam))) return 0;
      return DefMDIChildProc(window, message, wParam, lParam);
    case kPcbMouseActivateMessage:
      OnMouseActivateClick(window, block);
      return DefMDIChildProc(window, message, wParam, lParam);
    case kAutoPanStepMessage:
      if (block) AutoPanScroll(window, static_cast<std::uint32_t>(wParam));
      return DefMDIChildProc(window, message, wParam, lParam);
    default:
      return DefMDIChildProc(window, message, wParam, lParam);
  }
}
