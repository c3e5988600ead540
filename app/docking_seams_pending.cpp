// The program's stand-ins for the docking framework, the command bars and
// toolbars and the project window (app/ui_seams.h), and for what the editors
// ask of the panes (edit/status_seams.h), until they land. The panes are laid
// out in the arrangement they are given (the frame's default one: sides and
// sizes as built), each a captioned window holding its client; a tab group
// shows its first pane. There is no dragging, no floating, no auto-hide and
// no layout file (app/docking_layout_seams_pending.cpp). No pane answers
// an editor's message, the component bin does not change and no stepped name
// is made.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/ui_seams.h"
#include "edit/status_seams.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

struct DockingPane {
  std::uint32_t kind;  // 1 generic, 2 splitter, 3 tab group, 4 document area
  std::uint32_t paneId;
  char* caption;
  HWND window;         // the pane's window (generic), the MDI client (document area)
  HWND client;
  std::uint32_t side;  // splitter: 1 first on top, 2 first at the left, 4 second at the bottom, 8 second at the right
  std::uint32_t size;
  DockingPane* first;
  DockingPane* second;
  std::vector<DockingPane*> members;  // tab group
  RECT rect;
  bool placed;
};

namespace {

constexpr int kCaptionHeight = 22;
constexpr int kBar = 4;
constexpr char kPaneClass[] = "Docking_GenericPane";

std::vector<DockingPane*> gPanes;
DockingPane* gRoot = nullptr;
HWND gHost = nullptr;
bool gClassRegistered = false;

void ForgetDocking() {
  // Tests own their windows; the records are dropped with the run.
  gPanes.clear();
  gRoot = nullptr;
  gHost = nullptr;
  gClassRegistered = false;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ForgetDocking);

DockingPane* NewPane(std::uint32_t kind) {
  auto* pane = new DockingPane{};
  pane->kind = kind;
  gPanes.push_back(pane);
  return pane;
}

LRESULT CALLBACK PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pane = reinterpret_cast<DockingPane*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_SIZE:
      if (pane && pane->client)
        MoveWindow(pane->client, 0, kCaptionHeight, LOWORD(lParam), std::max(0, HIWORD(lParam) - kCaptionHeight), TRUE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(window, &ps);
      RECT strip{};
      GetClientRect(window, &strip);
      strip.bottom = kCaptionHeight;
      FillRect(dc, &strip, GetSysColorBrush(COLOR_3DFACE));
      RECT box{strip.left + 1, strip.top + 2, strip.right - 1, strip.top + 20};
      FrameRect(dc, &box, GetSysColorBrush(COLOR_3DSHADOW));
      if (pane && pane->caption) {
        SetBkMode(dc, TRANSPARENT);
        auto old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        RECT text{box.left + 4, box.top, box.right - 4, box.bottom};
        DrawTextA(dc, pane->caption, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(dc, old);
      }
      EndPaint(window, &ps);
      return 0;
    }
    default:
      // The pane answers its clients' notifications itself (WM_USER + 4 is Escape).
      return message >= WM_USER ? 0 : DefWindowProcA(window, message, wParam, lParam);
  }
}

bool Visible(const DockingPane* pane) { return pane && (pane->kind != 3 || !pane->members.empty()); }

void Place(DockingPane* pane, RECT r) {
  if (!pane) return;
  pane->rect = r;
  pane->placed = true;
  switch (pane->kind) {
    case 1:
    case 4:
      if (pane->window) {
        ShowWindow(pane->window, SW_SHOW);
        MoveWindow(pane->window, r.left, r.top, std::max(0L, static_cast<long>(r.right - r.left)),
                   std::max(0L, static_cast<long>(r.bottom - r.top)), TRUE);
      }
      return;
    case 3:
      for (std::size_t i = 0; i < pane->members.size(); ++i) {
        DockingPane* m = pane->members[i];
        if (i == 0) Place(m, r);
        else if (m->window) ShowWindow(m->window, SW_HIDE);
      }
      return;
    case 2: {
      const bool a = Visible(pane->first), b = Visible(pane->second);
      if (!a || !b) {
        Place(a ? pane->first : pane->second, r);
        return;
      }
      const int size = static_cast<int>(pane->size);
      RECT one = r, two = r;
      switch (pane->side) {
        case 1: one.bottom = std::min(r.bottom, r.top + size - kBar); two.top = std::min(r.bottom, r.top + size); break;
        case 2: one.right = std::min(r.right, r.left + size - kBar); two.left = std::min(r.right, r.left + size); break;
        case 4: one.bottom = std::max(r.top, r.bottom - size); two.top = std::max(r.top, r.bottom - size + kBar); break;
        default: one.right = std::max(r.left, r.right - size); two.left = std::max(r.left, r.right - size + kBar); break;
      }
      Place(pane->first, one);
      Place(pane->second, two);
      return;
    }
    default:
      return;
  }
}

}  // namespace

void Docking_RegisterClasses() {
  if (gClassRegistered) return;
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &PaneProc;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPaneClass;
  gClassRegistered = RegisterClassA(&wc) != 0;
}

void Docking_CreateChannelBars(HWND host) { gHost = host; }

DockingPane* Docking_CreateDocumentArea(HWND, HWND mdiClient) {
  DockingPane* pane = NewPane(4);
  pane->window = mdiClient;
  return pane;
}

DockingPane* Docking_CreateGenericPane(HWND host, std::uint32_t paneId, const char* caption, HWND client) {
  DockingPane* pane = NewPane(1);
  pane->paneId = paneId;
  pane->caption = strdup(caption ? caption : "");
  pane->window = CreateWindowExA(0, kPaneClass, pane->caption, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                 host, nullptr, nullptr, nullptr);
  if (pane->window) SetWindowLongPtrA(pane->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
  pane->client = client;
  if (client && pane->window) {
    SetParent(client, pane->window);
    ShowWindow(client, SW_SHOW);
  }
  return pane;
}

DockingPane* Docking_CreateTabbedPane(HWND) { return NewPane(3); }

void Docking_AddToTabGroup(DockingPane* group, DockingPane* pane) {
  if (group && pane && group->kind == 3 && pane->kind == 1) group->members.push_back(pane);
}

DockingPane* Docking_CreateSplitter(HWND, std::uint32_t side, std::uint32_t size, DockingPane* first,
                                    DockingPane* second, int) {
  DockingPane* pane = NewPane(2);
  pane->side = side;
  pane->size = size;
  pane->first = first;
  pane->second = second;
  return pane;
}

void Docking_SetRoot(DockingPane* root) { gRoot = root; }
void Docking_InitLayout(const RECT* rect) {
  if (rect) Place(gRoot, *rect);
}
void Docking_SetDockArea(const RECT* rect) {
  if (rect) Place(gRoot, *rect);
}
void Docking_EnableFloatingPanes(BOOL) {}
void Docking_ShowFloatingPanes(int) {}
void Docking_DeactivatePane(DockingPane*) {}
void Docking_CloseAutoHideWindow(DockingPane*) {}

void Docking_Shutdown() {
  for (DockingPane* pane : gPanes) {
    std::free(pane->caption);
    delete pane;
  }
  gPanes.clear();
  gRoot = nullptr;
  if (gClassRegistered) UnregisterClassA(kPaneClass, nullptr);
  gClassRegistered = false;
}

bool Docking_PaneRect(const DockingPane* pane, RECT* out) {
  if (!pane || !pane->placed || !out) return false;
  *out = pane->rect;
  return true;
}

void CommandBars_LayOut(HWND, RECT*) {}
HWND CommandBars_CreateTooltip(HWND) { return nullptr; }
void CreateToolbars(HWND) {}
void UpdateToolbarStates(std::uint32_t) {}
void Toolbars_ActivateApp(BOOL) {}
void* GetToolbarLayoutRecords(std::uint32_t* count) {
  if (count) *count = 0;
  return nullptr;
}
void FreeToolbars() {}
void ShowToolbarContextMenu(HWND, POINT) {}

HWND CreateProjectWindow() {
  return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                         gHost ? gHost : nullptr, nullptr, nullptr, nullptr);
}
void ClearProjectTree() {}
void LoadWorkspace(const char*) {}
void AddContainerToProjectTree(void*) {}
void SaveListViewColumnLayouts() {}

LRESULT Docking_SendToPaneClient(std::uint32_t, UINT, WPARAM, LPARAM) { return 0; }
void ComponentBinMarkPlaced(const Tower*) {}
void ComponentBinMarkUnplaced(const Tower*) {}
void ComponentBinAddSymbol(const Tower*, const Tower*, const char*) {}
char* StepNameNumber(const char*, int) { return nullptr; }
