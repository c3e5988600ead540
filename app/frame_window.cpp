#include "app/frame_window.h"

#include "app/frame_command_hub.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/application_globals.h"
#include "app/configuration_file.h"
#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/editor_window_services.h"
#include "app/frame_menus.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "app/start_values.h"
#include "platform/resource_images.h"
#include "app/registry_values.h"
#include "app/settings_block.h"
#include "app/ui_seams.h"
#include "draw/auto_pan.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/path_helpers.h"
#include "store/safe_file.h"
#include "store/tower.h"

std::uint32_t ZoomLimitLargest = 0;
std::uint32_t ZoomLimitSteps[11] = {};
std::uint32_t ZoomLimitSmallest = 0;
HINSTANCE ProgramInstance = nullptr;
DockingPane* DockingRoot = nullptr;

namespace {

constexpr UINT_PTR kIdleTimer = 50;
constexpr int kInset = 4;
constexpr int kTabInset = 26;
constexpr int kTabBarHeight = 22;
constexpr char kTabProperty[] = "TabData";
constexpr int kWindowListDialog = 1217;
constexpr int kWindowList = 281;
constexpr int kActivateButton = 3509;

WNDPROC gClientProc = nullptr;
int gBorderWidth = 0;
int gDoubleBorderWidth = 0;
std::uint32_t gFrameUserData[4] = {};

void ResetFrame() {
  ZoomLimitLargest = ZoomLimitSmallest = 0;
  std::fill(std::begin(ZoomLimitSteps), std::end(ZoomLimitSteps), 0u);
  ProgramInstance = nullptr;
  DockingRoot = nullptr;
  gClientProc = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFrame);

TabStrip* TabsOf(HWND client) { return static_cast<TabStrip*>(GetPropA(client, kTabProperty)); }

// Makes the client recompute its frame (the tab bar's inset).
void RecomputeFrame(HWND client) {
  SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

// Sizes the zoom limits by the virtual screen.
void MakeZoomLimits() {
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const double s = 4294967295.0 / std::max(1, std::max(width, height));
  ZoomLimitLargest = static_cast<std::uint32_t>(s);
  for (int k = 0; k < 11; ++k) ZoomLimitSteps[k] = static_cast<std::uint32_t>(s / static_cast<double>(1u << k));
  ZoomLimitSmallest = static_cast<std::uint32_t>(s / 2048.0);
}

void OnCreate(HWND frame) {
  FrameWindow = frame;
  InitFrameUserData(frame);
  gBorderWidth = GetSystemMetrics(SM_CXBORDER);
  gDoubleBorderWidth = gBorderWidth * 2;
  MakeZoomLimits();
  CLIENTCREATESTRUCT ccs{nullptr, kFirstMdiChild};
  MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, 0x47300000, 0, 0, 0, 0, frame, nullptr, ProgramInstance, &ccs);
  if (MDIClientWindow) ShowWindow(MDIClientWindow, SW_SHOW);
  InitialiseApplication();
  RECT r{};
  GetWindowRect(frame, &r);
  MoveWindow(frame, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void OnSize(HWND frame, int width, int height) {
  RECT area{0, 0, width, height};
  CommandBars_LayOut(frame, &area);
  area.bottom -= StatusBarHeight;
  if (DockingRoot) {
    Docking_SetDockArea(&area);
  } else if (MDIClientWindow) {
    MoveWindow(MDIClientWindow, area.left, area.top, area.right - area.left, std::max(0L, static_cast<long>(area.bottom - area.top)), TRUE);
  }
  InvalidateRect(frame, nullptr, FALSE);
  if (StatusBarWindow) MoveWindow(StatusBarWindow, 0, height - StatusBarHeight, width, StatusBarHeight, TRUE);
}

// Closing: every document must agree; then the layouts are saved and the
// frame destroyed. 1 when the close is refused.
LRESULT OnClose(HWND frame) {
  if (!SendMessageA(frame, WM_COMMAND, 291, 0)) return 1;
  std::uint32_t count = 0;
  if (void* records = GetToolbarLayoutRecords(&count)) {
    const std::string path = std::string(DirectoryBuffer(ConfigurationFolder)) + "\\Toolbars.CFG";
    WriteToolbarLayoutFile(path.c_str(), records, count);
    std::free(records);
  }
  if (Settings && Settings->ConfigurationPath) {
    char path[2200];
    std::snprintf(path, sizeof path, "%s\\dockingwindows.xml", Settings->ConfigurationPath);
    Docking_SaveLayout(path);
  }
  DestroyWindow(frame);
  return 0;
}

void OnDestroy() {
  DestroyFrameMenus();
  DestroyProgramLog();
  SaveListViewColumnLayouts();
  SaveConfiguration("PL3.CFG");
  FreeApplicationGlobals();
  SaveWindowPlacement();
  PostQuitMessage(0);
}

void OnCopyData(HWND frame, const COPYDATASTRUCT* data) {
  // The block is the other instance's path: it must be a whole string.
  if (!data || data->dwData != kHandOverCode || !data->lpData || data->cbData == 0 || data->cbData > kHandOverLimit)
    return;
  if (!std::memchr(data->lpData, 0, data->cbData)) return;
  SendMessageA(frame, kOpenContainerMessage, reinterpret_cast<WPARAM>(data->lpData), 0);
}

void OnOpenContainer(const char* path) {
  if (!path || !*path || !FileExists(path)) return;
  if (ContainerRecord* container = FilingSystem_OpenContainer(path, "Administrator", ""))
    AddContainerToProjectTree(container);
}

// Takes out of the queue every left click the menu loop left for the frame.
void DropFrameClicks(HWND frame) {
  MSG m;
  while (PeekMessageA(&m, frame, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) {
  }
}

}  // namespace

void InitFrameUserData(HWND frame) {
  gFrameUserData[0] = 0;
  gFrameUserData[1] = 250;
  gFrameUserData[2] = 1;
  gFrameUserData[3] = 2;
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(gFrameUserData));
}

ATOM RegisterFrameClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = 4099;  // vertical and horizontal redraw, byte-aligned client
  wc.lpfnWndProc = &FrameWndProc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCE(162), IMAGE_ICON, 16, 16, 0));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kFrameClassName;
  return RegisterClassExA(&wc);
}

HWND CreateFrameWindow(HINSTANCE instance, HMENU menu) {
  return CreateWindowExA(0, kFrameClassName, kFrameTitle, 0x10CF0000, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr, menu,
                         instance, nullptr);
}

LRESULT CALLBACK FrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AddEntropyFromMessage(message, lParam, wParam);
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      OnSize(window, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ENABLE:
      Docking_EnableFloatingPanes(static_cast<BOOL>(wParam));
      return 0;
    case WM_CLOSE:
      return OnClose(window);
    case WM_ERASEBKGND:
      return 1;
    case WM_ACTIVATEAPP:
      Toolbars_ActivateApp(static_cast<BOOL>(wParam));
      Docking_ShowFloatingPanes(wParam ? SW_SHOW : SW_HIDE);
      return 0;
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      return draw && draw->CtlType == ODT_MENU ? DrawOwnerDrawnMenuItem(window, draw) : 0;
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      return measure && measure->CtlType == ODT_MENU ? MeasureOwnerDrawnMenuItem(window, measure) : 0;
    }
    case WM_COPYDATA:
      OnCopyData(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return 0;
    case WM_COMMAND:
      if (const LRESULT answer = DoFrameCommand(window, wParam, lParam, ProgramInstance)) return answer;
      if (!IsWindow(window)) return 0;
      return DefFrameProcA(window, IsWindow(MDIClientWindow) ? MDIClientWindow : nullptr, message, wParam, lParam);
    case WM_TIMER:
      if (wParam == kButtonHoldTimer) OnButtonHoldTimer();
      return 0;
    case WM_INITMENUPOPUP:
      if (WindowMenu && reinterpret_cast<HMENU>(wParam) == WindowMenu) BuildWindowMenuList();
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (ActiveWindowData && ActiveWindowData->Window) UpdateAutoPan(static_cast<HWND>(ActiveWindowData->Window));
      return 1;
    case WM_EXITMENULOOP:
      DropFrameClicks(window);
      return 0;
    case kOpenContainerMessage:
      OnOpenContainer(reinterpret_cast<const char*>(wParam));
      return 0;
    case WM_USER + 8:
      if (HWND active = MDIClientWindow ? reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0))
                                        : nullptr)
        SendMessageA(active, WM_USER + 8, wParam, lParam);
      return 0;
    default:
      return DefFrameProcA(window, IsWindow(MDIClientWindow) ? MDIClientWindow : nullptr, message, wParam, lParam);
  }
}

// ---- Placement ------------------------------------------------------------------------------

LONG SaveWindowPlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (FrameWindow) GetWindowPlacement(FrameWindow, &wp);
  HKEY key = nullptr;
  const LONG opened = CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (opened != static_cast<LONG>(ERROR_SUCCESS)) return opened;
  char text[1024];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d %d %d", static_cast<int>(wp.flags),
                static_cast<int>(wp.length), static_cast<int>(wp.ptMaxPosition.x), static_cast<int>(wp.ptMaxPosition.y),
                static_cast<int>(wp.ptMinPosition.x), static_cast<int>(wp.ptMinPosition.y),
                static_cast<int>(wp.rcNormalPosition.bottom), static_cast<int>(wp.rcNormalPosition.top),
                static_cast<int>(wp.rcNormalPosition.left), static_cast<int>(wp.rcNormalPosition.right),
                static_cast<int>(wp.showCmd));
  const LONG result = RegSetValueEx(key, "DefaultWindowPlacement", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                     static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
  return result;
}

int RestoreWindowPlacement() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key) != static_cast<LONG>(ERROR_SUCCESS))
    return 0;
  char text[1024];
  const bool read = ReadRegistryText(key, "DefaultWindowPlacement", text, sizeof text);
  RegCloseKey(key);
  if (!read) return 0;
  int v[11] = {};
  char extra = 0;
  // All eleven numbers, and nothing after them but blanks.
  if (std::sscanf(text, "%d %d %d %d %d %d %d %d %d %d %d %c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7],
                  &v[8], &v[9], &v[10], &extra) != 11)
    return 0;
  WINDOWPLACEMENT wp{};
  wp.flags = static_cast<UINT>(v[0]);
  wp.length = static_cast<UINT>(v[1]);
  wp.ptMaxPosition = {v[2], v[3]};
  wp.ptMinPosition = {v[4], v[5]};
  wp.rcNormalPosition = {v[8], v[7], v[9], v[6]};
  wp.showCmd = static_cast<UINT>(v[10]);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const RECT& n = wp.rcNormalPosition;
  if (!(n.left <= desktop.right && n.right >= desktop.left && n.top <= desktop.bottom && n.bottom >= desktop.top))
    return 0;
  if (wp.showCmd == 2 || wp.showCmd == 6 || wp.showCmd == 7) wp.showCmd = 3;
  wp.length = sizeof wp;
  SetWindowPlacement(FrameWindow, &wp);
  return 1;
}

bool WriteToolbarLayoutFile(const char* path, const void* records, std::uint32_t count) {
  if (!path || (count && !records)) return false;
  std::vector<std::uint8_t> bytes(4 + static_cast<std::size_t>(count) * 20);
  std::memcpy(bytes.data(), &count, 4);
  if (count) std::memcpy(bytes.data() + 4, records, static_cast<std::size_t>(count) * 20);
  std::string error;
  return WriteBytesSafely(path, bytes, &error);
}

// ---- Tab bar ------------------------------------------------------------------------------------

void AttachTabBar(HWND client) {
  if (!client) return;
  WNDPROC old = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MDIClientTabProc)));
  if (old != &MDIClientTabProc) gClientProc = old;
  SetPropA(client, kTabProperty, TabStrip_Create(1));
  RecomputeFrame(client);
}

void AddMDITab(HWND client, HWND documentWindow, const Tower* design) {
  TabStrip* tabs = TabsOf(client);
  if (!tabs) return;
  char caption[512];
  FormTabCaption(design, caption, sizeof caption);
  TabStripTab* tab = TabStrip_AddTab(tabs, caption, documentWindow);
  TabStrip_SetIcon(tab, reinterpret_cast<HICON>(GetClassLongPtrA(documentWindow, GCLP_HICONSM)));
  RecomputeFrame(client);
}

void RemoveMDITab(HWND client, HWND documentWindow) {
  TabStrip* tabs = TabsOf(client);
  if (!tabs) return;
  TabStrip_RemoveTab(tabs, TabStrip_FindByKey(tabs, documentWindow));
  RecomputeFrame(client);
}

void SelectMDITab(HWND client) {
  TabStrip* tabs = TabsOf(client);
  if (!tabs) return;
  HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
  tabs->current = TabStrip_FindByKey(tabs, active);
}

LRESULT CALLBACK MDIClientTabProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  TabStrip* tabs = TabsOf(client);
  const bool anyTabs = tabs && tabs->count > 0;
  switch (message) {
    case WM_DESTROY:
      TabStrip_Destroy(static_cast<TabStrip*>(RemovePropA(client, kTabProperty)));
      break;
    case WM_SIZE:
      InvalidateRect(client, nullptr, TRUE);
      break;
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(client, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_APPWORKSPACE));
      return 1;
    }
    case WM_SETCURSOR:
      Docking_DeactivatePane(nullptr);
      Docking_CloseAutoHideWindow(nullptr);
      break;
    case WM_NCCALCSIZE: {
      RECT* r = lParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : nullptr;
      if (r) {
        r->left += kInset;
        r->right -= kInset;
        r->bottom -= kInset;
        r->top += anyTabs ? kTabInset : kInset;
      }
      break;
    }
    case WM_NCHITTEST: {
      const bool left = GetKeyState(VK_LBUTTON) < 0;
      if (left && anyTabs) {
        RECT w{};
        GetWindowRect(client, &w);
        const int x = GET_X_LPARAM(lParam) - w.left, y = GET_Y_LPARAM(lParam) - w.top;
        TabStripTab* hit = TabStrip_HitTest(tabs, x, y);
        if (hit && hit != tabs->current) {
          tabs->current = hit;
          RedrawWindow(client, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
          SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hit->key), 0);
        }
      }
      if (left || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0) {
        Docking_DeactivatePane(nullptr);
        Docking_CloseAutoHideWindow(nullptr);
      }
      break;
    }
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(client);
      RECT w{}, c{};
      GetWindowRect(client, &w);
      OffsetRect(&w, -w.left, -w.top);
      FrameRect(dc, &w, GetSysColorBrush(COLOR_BTNSHADOW));
      c = RECT{w.left + kInset, w.top + (anyTabs ? kTabInset : kInset), w.right - kInset, w.bottom - kInset};
      const int saved = SaveDC(dc);
      ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
      RECT band{w.left + 1, w.top + 1, w.right - 1, w.bottom - 1};
      FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
      if (anyTabs) {
        RECT strip{w.left + 1, w.top + 2, w.right - 1, w.top + 2 + kTabBarHeight};
        TabStrip_Draw(dc, tabs, &strip);
      }
      RestoreDC(dc, saved);
      ReleaseDC(client, dc);
      break;
    }
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(client, &p);
      ShowToolbarContextMenu(client, p);
      return 0;
    }
    default:
      break;
  }
  return CallWindowProcA(gClientProc ? gClientProc : &DefWindowProcA, client, message, wParam, lParam);
}

// ---- Window list ----------------------------------------------------------------------------------

void BuildWindowMenuList() {
  HMENU menu = WindowMenu;
  if (!IsMenu(menu)) return;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    const UINT id = GetMenuItemID(menu, i);
    if (id < kFirstWindowListId || id > kWindowListMoreId) continue;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_OWNERDRAW) FreeOwnerDrawnItem(reinterpret_cast<OwnerDrawnMenuRecord*>(info.dwItemData));
    DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    if (id == kFirstWindowListId) {
      if (i > 0) {
        MENUITEMINFOA above{};
        above.cbSize = sizeof above;
        above.fMask = MIIM_DATA | MIIM_FTYPE;
        GetMenuItemInfoA(menu, static_cast<UINT>(i - 1), TRUE, &above);
        if (above.fType & MFT_OWNERDRAW) FreeOwnerDrawnItem(reinterpret_cast<OwnerDrawnMenuRecord*>(above.dwItemData));
        DeleteMenu(menu, static_cast<UINT>(i - 1), MF_BYPOSITION);
      }
      break;
    }
  }
  if (!MDIClientWindow) return;
  int count = 0;
  for (HWND w = GetWindow(MDIClientWindow, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++count;
  if (count == 0) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  HWND active = reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0));
  for (int n = 1; n <= std::min(count, 10); ++n) {
    HWND document = GetDlgItem(MDIClientWindow, kFirstMdiChild - 1 + n);
    char title[256] = "";
    if (document) GetWindowTextA(document, title, sizeof title);
    char text[300];
    std::snprintf(text, sizeof text, "&%d %s", n, title);
    const UINT id = kFirstWindowListId - 1 + static_cast<UINT>(n);
    AppendMenuA(menu, MF_STRING | (document && document == active ? MF_CHECKED : MF_UNCHECKED), id, text);
  }
  if (count >= 11) AppendMenuA(menu, MF_STRING, kWindowListMoreId, "Windows...");
  MakeMenuOwnerDrawn(menu, 0, 1);
}

INT_PTR CALLBACK WindowListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  HWND list = GetDlgItem(dialog, kWindowList);
  switch (message) {
    case WM_INITDIALOG:
      if (MDIClientWindow)
        for (HWND w = GetWindow(MDIClientWindow, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
          char title[256] = "";
          GetWindowTextA(w, title, sizeof title);
          const LRESULT i = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
          SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(w));
        }
      SendMessageA(list, LB_SETCURSEL, 0, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kWindowList:
          if (HIWORD(wParam) == LBN_DBLCLK) SendMessageA(dialog, WM_COMMAND, kActivateButton, 0);
          return TRUE;
        case kActivateButton: {
          const LRESULT i = SendMessageA(list, LB_GETCURSEL, 0, 0);
          if (i < 0) return TRUE;
          EndDialog(dialog, SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
          return TRUE;
        }
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

BOOL CALLBACK CloseOrRecolourChildProc(HWND child, LPARAM action) {
  if (action == 1) return static_cast<BOOL>(SendMessageA(child, WM_CLOSE, 0, 0));
  if (action == 2) {
    // The editors repaint with the program's colours as they now stand.
    InvalidateRect(child, nullptr, TRUE);
    return TRUE;
  }
  return TRUE;
}

HWND CreateTrackingTooltip(HWND owner) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             ProgramInstance, nullptr);
  if (!tip) return nullptr;
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(FrameWindow);
  char empty[] = "";
  tool.lpszText = empty;
  if (!SendMessageA(tip, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&tool))) {
    MessageBox(owner, "Couldn't create the tooltip control.", "Error", MB_OK);
    DestroyWindow(tip);
    return nullptr;
  }
  SendMessageA(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  return tip;
}

namespace {
const DialogControl kWindowListControls[] = {
    {"LISTBOX", kWindowList, "", 7, 7, 180, 110, WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY},
    {"BUTTON", kActivateButton, "Activate", 194, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 194, 25, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kWindowListTemplate{nullptr, kWindowListDialog, "Windows", 0, 0, 251, 124,
                                         DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWindowListControls};
const bool gWindowListRegistered = pl3::RegisterDialogTemplate(&kWindowListTemplate);
}  // namespace
