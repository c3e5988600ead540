// The "mdiclient" window class, DefFrameProc, DefMDIChildProc and
// TranslateMDISysAccel.
#include <algorithm>
#include <cmath>

#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/menu_internal.h"
#include "platform/scroll.h"

namespace pl3::user {

namespace {

struct MdiState : WindowState {
  HWND frame = nullptr;
  UINT firstId = 100;
  std::vector<HWND> children;  // in id order
  HWND active = nullptr;
  bool maximised = false;  // the active child is
  // The frame's bar while it carries a maximised child's system menu and buttons.
  HMENU decoratedBar = nullptr;
  HMENU childSystemMenu = nullptr;
  bool scrollBars = false;   // made with WS_HSCROLL or WS_VSCROLL
  bool fittingBars = false;  // its scroll bars are being fitted (which resizes it)
};

constexpr UINT kBarButtons[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
constexpr const char* kBarButtonTexts[] = {"_", "\xB0", "X"};  // drawn as text on the bar

MdiState* StateOf(HWND client) {
  WindowRecord* w = Find(client);
  return w ? dynamic_cast<MdiState*>(w->state.get()) : nullptr;
}

HWND ClientOf(HWND child) {
  HWND parent = GetParent(child);
  return StateOf(parent) ? parent : nullptr;
}

// Drops children that went away without telling the client.
void Prune(MdiState* st) {
  std::erase_if(st->children, [](HWND h) { return !IsWindow(h); });
  if (st->active && !IsWindow(st->active)) st->active = nullptr;
}

// ---- The frame's bar while a child is maximised ------------------------------------------

void Undecorate(MdiState* st) {
  HMENU bar = st->decoratedBar;
  st->decoratedBar = nullptr;
  if (!bar || !IsMenu(bar)) return;
  if (GetMenuItemCount(bar) > 0 && GetSubMenu(bar, 0) == st->childSystemMenu) RemoveMenu(bar, 0, MF_BYPOSITION);
  for (UINT id : kBarButtons) RemoveMenu(bar, id, MF_BYCOMMAND);
  st->childSystemMenu = nullptr;
  DrawMenuBar(st->frame);
}

void Decorate(MdiState* st) {
  Undecorate(st);
  HMENU bar = GetMenu(st->frame);
  if (!st->maximised || !st->active || !bar) return;
  HMENU system = GetSystemMenu(st->active, FALSE);
  if (system) InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(system), "-");
  for (size_t i = 0; i < std::size(kBarButtons); ++i)
    AppendMenuA(bar, MF_STRING | (i == 0 ? MF_RIGHTJUSTIFY : 0u), kBarButtons[i], kBarButtonTexts[i]);
  st->decoratedBar = bar;
  st->childSystemMenu = system;
  DrawMenuBar(st->frame);
}

// ---- Maximising and activation -----------------------------------------------------------------

// A maximised child covers the client with its borders and caption outside it.
void Maximise(HWND child) {
  ShowWindow(child, SW_SHOWMAXIMIZED);
  WindowRecord* w = Find(child);
  WindowRecord* client = w ? Find(w->parent) : nullptr;
  if (!w || !client) return;
  RECT in = NonClientInsetsOf(w);
  RECT r{-in.left, -in.top, client->client.right - client->client.left + in.right,
         client->client.bottom - client->client.top + in.bottom};
  SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Activate(HWND client, HWND child) {
  MdiState* st = StateOf(client);
  if (!st) return;
  Prune(st);
  HWND old = st->active;
  if (child == old) return;
  if (child && std::find(st->children.begin(), st->children.end(), child) == st->children.end()) return;
  bool keepMaximised = st->maximised && child;
  st->active = child;
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    if (IsWindow(old)) SendMessageA(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    bool stays = StateOf(client) && std::count(StateOf(client)->children.begin(), StateOf(client)->children.end(), old);
    if (keepMaximised && stays && IsWindow(old)) ShowWindow(old, SW_RESTORE);
  }
  if (!(st = StateOf(client))) return;
  if (!child || !IsWindow(child)) {
    st->maximised = false;
    Decorate(st);
    return;
  }
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (keepMaximised) Maximise(child);
  if (!(st = StateOf(client))) return;
  st->maximised = IsZoomed(child) != FALSE;
  Decorate(st);
  SendMessageA(child, WM_NCACTIVATE, TRUE, 0);
  if (IsWindow(child))
    SendMessageA(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
  if (IsWindow(child) && GetActiveWindow() == TopLevelOf(client)) {
    HWND focus = GetFocus();
    if (!focus || (focus != child && !IsChild(child, focus))) SetFocus(child);
  }
}

// The children in z-order, front first.
std::vector<HWND> ZOrder(HWND client) {
  std::vector<HWND> out;
  for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (StateOf(client) && std::count(StateOf(client)->children.begin(), StateOf(client)->children.end(), h))
      out.push_back(h);
  return out;
}

void Next(HWND client, HWND from, bool previous) {
  MdiState* st = StateOf(client);
  if (!st) return;
  std::vector<HWND> order = ZOrder(client);
  if (order.size() < 2) return;
  if (!from) from = st->active;
  if (previous) {
    Activate(client, order.back());
    return;
  }
  auto at = std::find(order.begin(), order.end(), from);
  HWND next = (at == order.end() || at + 1 == order.end()) ? order.front() : *(at + 1);
  Activate(client, next);
  if (IsWindow(from) && from != next)
    SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A child has gone (or is going): its id goes to the child with the highest id.
void Forget(HWND client, HWND child) {
  MdiState* st = StateOf(client);
  if (!st) return;
  auto at = std::find(st->children.begin(), st->children.end(), child);
  if (at == st->children.end()) return;
  bool wasActive = st->active == child;
  size_t index = static_cast<size_t>(at - st->children.begin());
  st->children.erase(at);
  if (index < st->children.size()) {
    HWND last = st->children.back();
    st->children.pop_back();
    st->children.insert(st->children.begin() + static_cast<std::ptrdiff_t>(index), last);
  }
  for (size_t i = 0; i < st->children.size(); ++i)
    SetWindowLongPtrA(st->children[i], GWL_ID, static_cast<LONG_PTR>(st->firstId + i));
  if (!wasActive) return;
  std::vector<HWND> order = ZOrder(client);
  if (order.empty()) {
    st->active = nullptr;
    st->maximised = false;
    Undecorate(st);
    return;
  }
  // The going child hears that it loses activation to the next, which
  // takes over its maximised state.
  Activate(client, order.front());
}

// ---- The client's scroll bars ------------------------------------------------------------------

// The client's bars span its children and itself: position 0 is the client's
// own edge, so a child past an edge brings the bar for that side.
void FitClientBars(HWND client) {
  MdiState* st = StateOf(client);
  WindowRecord* w = Find(client);
  if (!st || !w || st->fittingBars || !st->scrollBars) return;
  st->fittingBars = true;
  RECT rc;
  GetClientRect(client, &rc);
  // A maximised child covers the client: no bars then.
  RECT span = rc;
  bool zoomed = std::any_of(st->children.begin(), st->children.end(), [](HWND h) { return IsZoomed(h) != FALSE; });
  for (HWND h : st->children) {
    WindowRecord* c = Find(h);
    if (zoomed || !c || !(c->style & WS_VISIBLE) || (c->style & WS_MINIMIZE)) continue;
    UnionRect(&span, &span, &c->rect);
  }
  SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, span.left, span.right - 1, static_cast<UINT>(rc.right), 0, 0};
  SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE | SIF_POS, span.top, span.bottom - 1, static_cast<UINT>(rc.bottom), 0, 0};
  SetScrollInfo(client, SB_HORZ, &h, TRUE);
  SetScrollInfo(client, SB_VERT, &v, TRUE);
  if ((st = StateOf(client)) != nullptr) st->fittingBars = false;
}

// Scrolling the client moves its children.
void ScrollClient(HWND client, bool vertical, WORD code) {
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(client, vertical ? SB_VERT : SB_HORZ, &si);
  int page = static_cast<int>(si.nPage), to = si.nPos;
  switch (code) {
    case SB_LINEUP: to -= 16; break;
    case SB_LINEDOWN: to += 16; break;
    case SB_PAGEUP: to -= page; break;
    case SB_PAGEDOWN: to += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: to = si.nTrackPos; break;
    case SB_TOP: to = si.nMin; break;
    case SB_BOTTOM: to = si.nMax; break;
    default: return;
  }
  to = std::clamp(to, si.nMin, std::max(si.nMin, si.nMax - std::max(page - 1, 0)));
  int delta = si.nPos - to;
  MdiState* st = StateOf(client);
  if (!delta || !st) return;
  std::vector<HWND> children = st->children;
  for (HWND h : children) {
    RECT r;
    if (!GetWindowRect(h, &r)) continue;
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(h, nullptr, r.left + (vertical ? 0 : delta), r.top + (vertical ? delta : 0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitClientBars(client);
}

// ---- Arranging ----------------------------------------------------------------------------

void RestoreMaximised(HWND client) {
  MdiState* st = StateOf(client);
  if (!st || !st->maximised || !st->active) return;
  st->maximised = false;
  Undecorate(st);
  ShowWindow(st->active, SW_RESTORE);
}

// The children to arrange (a maximised one restored first, minimised and
// hidden ones left out) and the client rectangle they share.
std::vector<HWND> Arrangeable(HWND client, WPARAM how, RECT* rc) {
  RestoreMaximised(client);
  std::vector<HWND> out;
  for (HWND h : ZOrder(client))
    if ((GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE) && !IsIconic(h) &&
        !((how & MDITILE_SKIPDISABLED) && !IsWindowEnabled(h)))
      out.push_back(h);
  GetClientRect(client, rc);
  return out;
}

// Tiles in lines: up to three windows in one line (columns when vertical,
// rows when horizontal), more in a grid of ceil(sqrt(n)) lines whose last
// lines take one window more when they do not divide evenly.
void Tile(HWND client, WPARAM how) {
  RECT rc;
  std::vector<HWND> windows = Arrangeable(client, how, &rc);
  int n = static_cast<int>(windows.size());
  if (n == 0) return;
  bool vertical = !(how & MDITILE_HORIZONTAL);
  int lines = n <= 3 ? n : static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  int along = vertical ? rc.right : rc.bottom;   // across the lines
  int across = vertical ? rc.bottom : rc.right;  // along one line
  int k = 0;
  for (int line = 0; line < lines; ++line) {
    int inLine = n <= 3 ? 1 : n / lines + (line >= lines - n % lines ? 1 : 0);
    int a0 = along * line / lines, a1 = along * (line + 1) / lines;
    for (int j = 0; j < inLine && k < n; ++j, ++k) {
      int b0 = across * j / inLine, b1 = across * (j + 1) / inLine;
      RECT r = vertical ? RECT{a0, b0, a1, b1} : RECT{b0, a0, b1, a1};
      SetWindowPos(windows[static_cast<size_t>(k)], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

int CascadeStep() { return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME); }

// Back to front, each a step right of and below the one behind it; the
// active child ends in front.
void Cascade(HWND client, WPARAM how) {
  RECT rc;
  std::vector<HWND> windows = Arrangeable(client, how, &rc);
  int n = static_cast<int>(windows.size());
  if (n == 0) return;
  int step = CascadeStep();
  int cx = std::max(rc.right * 2 / 3, rc.right - step * (n - 1));
  int cy = std::max(rc.bottom * 2 / 3, rc.bottom - step * (n - 1));
  for (int i = 0; i < n; ++i) {
    HWND h = windows[static_cast<size_t>(n - 1 - i)];
    SetWindowPos(h, HWND_TOP, step * i, step * i, cx, cy, SWP_NOACTIVATE);
  }
}

HWND Create(HWND client, const MDICREATESTRUCTA* mcs) {
  MdiState* st = StateOf(client);
  if (!st || !mcs) return nullptr;
  Prune(st);
  RECT rc;
  GetClientRect(client, &rc);
  int x = mcs->x, y = mcs->y, cx = mcs->cx, cy = mcs->cy;
  if (x == CW_USEDEFAULT) {
    int step = CascadeStep() * static_cast<int>(st->children.size() % 8);
    x = y = step;
  }
  if (cx == CW_USEDEFAULT) {
    cx = rc.right * 3 / 4;
    cy = rc.bottom * 3 / 4;
  }
  DWORD style = mcs->style;
  if (!(GetWindowLongPtrA(client, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
    style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  style = (style | WS_CHILD | WS_CLIPSIBLINGS) & ~(WS_POPUP | WS_VISIBLE | WS_MAXIMIZE);
  bool maximise = (mcs->style & WS_MAXIMIZE) != 0;
  UINT id = st->firstId + static_cast<UINT>(st->children.size());
  HWND child = CreateWindowExA(WS_EX_MDICHILD, mcs->szClass, mcs->szTitle, style, x, y, cx, cy, client,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)),
                               static_cast<HINSTANCE>(mcs->hOwner), const_cast<MDICREATESTRUCTA*>(mcs));
  if (!child || !(st = StateOf(client))) return nullptr;
  st->children.push_back(child);
  ShowWindow(child, SW_SHOWNA);
  if (!IsWindow(child)) return nullptr;
  // A new child takes the maximised state over from the active one.
  if (maximise) st->maximised = true;
  Activate(client, child);
  return IsWindow(child) ? child : nullptr;
}

LRESULT CALLBACK ClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MdiState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      WindowRecord* w = Find(hwnd);
      auto state = std::make_unique<MdiState>();
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (cs && cs->lpCreateParams)
        state->firstId = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams)->idFirstChild;
      state->frame = TopLevelOf(GetParent(hwnd));
      state->scrollBars = cs && (static_cast<DWORD>(cs->style) & (WS_HSCROLL | WS_VSCROLL));
      w->state = std::move(state);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_MDICREATE: return reinterpret_cast<LRESULT>(Create(hwnd, reinterpret_cast<MDICREATESTRUCTA*>(lParam)));
    case WM_MDIDESTROY: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (!st || !IsChild(hwnd, child)) return 0;
      Forget(hwnd, child);
      DestroyWindow(child);
      return 0;
    }
    case WM_MDIACTIVATE: Activate(hwnd, reinterpret_cast<HWND>(wParam)); return 0;
    case WM_MDIGETACTIVE:
      if (!st) return 0;
      Prune(st);
      if (lParam) *reinterpret_cast<BOOL*>(lParam) = st->maximised && st->active ? TRUE : FALSE;
      return reinterpret_cast<LRESULT>(st->active);
    case WM_MDINEXT: Next(hwnd, reinterpret_cast<HWND>(wParam), lParam != 0); return 0;
    case WM_MDIMAXIMIZE: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (!st || !IsChild(hwnd, child)) return 0;
      Maximise(child);
      if (!(st = StateOf(hwnd))) return 0;
      if (st->active == child) {
        st->maximised = true;
        Decorate(st);
      } else {
        st->maximised = true;
        Activate(hwnd, child);
      }
      return 0;
    }
    case WM_MDIRESTORE: {
      auto child = reinterpret_cast<HWND>(wParam);
      if (!st || !IsChild(hwnd, child)) return 0;
      if (child == st->active) {
        st->maximised = false;
        Undecorate(st);
      }
      ShowWindow(child, SW_RESTORE);
      return 0;
    }
    case WM_MDITILE: Tile(hwnd, wParam); return TRUE;
    case WM_MDICASCADE: Cascade(hwnd, wParam); return TRUE;
    case WM_MDIICONARRANGE: return 0;
    case WM_MDISETMENU: {
      if (!st) return 0;
      HMENU old = GetMenu(st->frame);
      auto bar = reinterpret_cast<HMENU>(wParam);
      if (!bar) return reinterpret_cast<LRESULT>(old);
      Undecorate(st);
      SetMenu(st->frame, bar);
      if ((st = StateOf(hwnd)) != nullptr) Decorate(st);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_SIZE:
      if (st && st->maximised && st->active) Maximise(st->active);
      FitClientBars(hwnd);
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_VSCROLL:
    case WM_HSCROLL: ScrollClient(hwnd, message == WM_VSCROLL, LOWORD(wParam)); return 0;
    case WM_SETFOCUS:
      if (st && st->active && IsWindow(st->active)) SetFocus(st->active);
      return 0;
    case WM_DESTROY:
      if (st) {
        Undecorate(st);
        st->children.clear();
        st->active = nullptr;
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterMdiClientClass() {
  AddSystemClass("mdiclient", 0, &ClientProc, 0, LoadCursorA(nullptr, IDC_ARROW),
                 reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_APPWORKSPACE + 1)));
}

}  // namespace pl3::user

using namespace pl3::user;

LRESULT DefFrameProcA(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam) {
  MdiState* st = StateOf(client);
  switch (message) {
    case WM_COMMAND:
      // The buttons a maximised child puts on the bar act on it.
      if (st && st->maximised && st->active && LOWORD(wParam) >= 0xF000)
        SendMessageA(st->active, WM_SYSCOMMAND, LOWORD(wParam), lParam);
      return 0;
    case WM_SIZE:
      if (st) {
        RECT rc;
        GetClientRect(frame, &rc);
        MoveWindow(client, 0, 0, rc.right, rc.bottom, TRUE);
      }
      return DefWindowProcA(frame, message, wParam, lParam);
    case WM_SETFOCUS:
      if (st) SetFocus(client);
      return 0;
    default: return DefWindowProcA(frame, message, wParam, lParam);
  }
}

LRESULT DefMDIChildProcA(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND client = ClientOf(child);
  if (!client) return DefWindowProcA(child, message, wParam, lParam);
  switch (message) {
    case WM_CLOSE: SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0); return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MAXIMIZE: SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0); return 0;
        case SC_RESTORE: SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0); return 0;
        case SC_CLOSE: SendMessageA(child, WM_CLOSE, 0, 0); return 0;
        case SC_NEXTWINDOW: SendMessageA(client, WM_MDINEXT, reinterpret_cast<WPARAM>(child), 0); return 0;
        case SC_PREVWINDOW: SendMessageA(client, WM_MDINEXT, reinterpret_cast<WPARAM>(child), 1); return 0;
        default: return DefWindowProcA(child, message, wParam, lParam);
      }
    case WM_SETFOCUS:
      if (MdiState* st = StateOf(client); st && st->active != child) Activate(client, child);
      return 0;
    case WM_MOUSEACTIVATE:
      if (MdiState* st = StateOf(client); st && st->active != child) Activate(client, child);
      return MA_ACTIVATE;
    case WM_DESTROY:
      Forget(client, child);
      FitClientBars(client);
      return DefWindowProcA(child, message, wParam, lParam);
    case WM_MOVE:
    case WM_SIZE:
      FitClientBars(client);
      return DefWindowProcA(child, message, wParam, lParam);
    default: return DefWindowProcA(child, message, wParam, lParam);
  }
}

BOOL TranslateMDISysAccel(HWND client, MSG* msg) {
  MdiState* st = StateOf(client);
  if (!st || !msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  if (!(GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return FALSE;
  Prune(st);
  if (!st->active || !IsWindowEnabled(st->active)) return FALSE;
  bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  WPARAM command = 0;
  switch (msg->wParam) {
    case VK_TAB:
    case VK_F6: command = shift ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    case VK_F4: command = SC_CLOSE; break;
    default: return FALSE;
  }
  SendMessageA(st->active, WM_SYSCOMMAND, command, static_cast<LPARAM>(msg->wParam));
  return TRUE;
}
