// Tooltips ("tooltips_class32"): a topmost pop-up showing the text of the
// tool under a resting pointer, or of a tracked tool where the program puts it.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls/bar_common.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr int kPadX = 4;
constexpr int kPadY = 2;
constexpr UINT kInitialDelay = 500;
constexpr UINT kAutoPopDelay = 5000;

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  std::string text;
  LPARAM param = 0;
};

struct TipState : user::WindowState {
  std::vector<Tool> tools;
  int shown = -1;     // the tool whose tip is up
  int waiting = -1;   // the tool the pointer rests on, before the delay ends
  int tracked = -1;   // the TTF_TRACK tool held by TTM_TRACKACTIVATE
  POINT trackAt{0, 0};
  int maxWidth = -1;
  bool active = true;
  UINT initial = kInitialDelay;
  UINT autoPop = kAutoPopDelay;
  HFONT font = nullptr;
};

TipState* StateOf(HWND hwnd) { return ControlState<TipState>(hwnd); }

bool SameTool(const Tool& t, HWND hwnd, UINT_PTR id) { return t.hwnd == hwnd && t.id == id; }

int FindTool(const TipState& st, const TOOLINFOA* info) {
  if (!info || info->cbSize != sizeof(TOOLINFOA)) return -1;
  for (size_t i = 0; i < st.tools.size(); ++i) {
    if (SameTool(st.tools[i], info->hwnd, info->uId)) return static_cast<int>(i);
  }
  return -1;
}

std::string TextOf(const TOOLINFOA& info) {
  if (!info.lpszText || IS_INTRESOURCE(info.lpszText)) return {};
  return info.lpszText;
}

// The text rectangle: its lines as written (a tip may hold "\r\n"), and
// wrapped at the maximum width when there is one.
SIZE TextSize(HWND hwnd, const TipState& st, const std::string& text) {
  HDC dc = GetDC(hwnd);
  SelectObject(dc, ControlFont(hwnd));
  RECT r{0, 0, st.maxWidth > 0 ? st.maxWidth - 2 * kPadX - 2 : 0x7FFF, 0};
  const UINT format = DT_CALCRECT | DT_NOPREFIX | (st.maxWidth > 0 ? DT_WORDBREAK : 0u);
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, format);
  ReleaseDC(hwnd, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE BubbleSize(HWND hwnd, const TipState& st, const Tool& tool) {
  const SIZE text = TextSize(hwnd, st, tool.text);
  return SIZE{text.cx + 2 * kPadX + 2, text.cy + 2 * kPadY + 2};
}

void Paint(HWND hwnd, HDC dc) {
  TipState* st = StateOf(hwnd);
  if (!st) return;
  RECT client;
  GetClientRect(hwnd, &client);
  FillSys(dc, client, COLOR_INFOBK);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_INFOTEXT));
  const int index = st->shown;
  if (index < 0 || index >= static_cast<int>(st->tools.size())) return;
  SelectObject(dc, ControlFont(hwnd));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  RECT text{client.left + kPadX + 1, client.top + kPadY + 1, client.right - kPadX - 1, client.bottom - kPadY - 1};
  const UINT format = DT_NOPREFIX | (st->maxWidth > 0 ? DT_WORDBREAK : 0u);
  DrawTextA(dc, st->tools[index].text.c_str(), -1, &text, format);
}

// Keeps the bubble on the screen: moved left and up as far as needed, never
// past the top-left corner.
POINT KeepOnScreen(POINT at, SIZE size) {
  const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  at.x = std::max(0, std::min<int>(at.x, cx - size.cx));
  at.y = std::max(0, std::min<int>(at.y, cy - size.cy));
  return at;
}

void NotifyTool(HWND tip, const Tool& tool, UINT code) {
  NMHDR hdr{tip, tool.id, code};
  if (IsWindow(tool.hwnd)) SendMessageA(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&hdr));
}

void Show(HWND hwnd, TipState& st, int index, POINT at) {
  st.shown = index;
  const Tool tool = st.tools[index];
  const SIZE size = BubbleSize(hwnd, st, tool);
  at = KeepOnScreen(at, size);
  SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyTool(hwnd, tool, TTN_SHOW);
}

void Pop(HWND hwnd, TipState& st) {
  KillTimer(hwnd, kShowTimer);
  KillTimer(hwnd, kPopTimer);
  st.waiting = -1;
  if (st.shown < 0) return;
  const Tool tool = st.tools[st.shown];
  st.shown = -1;
  ShowWindow(hwnd, SW_HIDE);
  NotifyTool(hwnd, tool, TTN_POP);
}

POINT TrackPlace(const TipState& st, const Tool& tool) {
  if (tool.flags & TTF_ABSOLUTE) return st.trackAt;
  return POINT{st.trackAt.x + 16, st.trackAt.y + 20};
}

// The untracked tool under a point of `window`'s client area, or -1.
int ToolAt(const TipState& st, HWND window, POINT client) {
  for (size_t i = 0; i < st.tools.size(); ++i) {
    const Tool& t = st.tools[i];
    if (t.flags & TTF_TRACK) continue;
    if (t.flags & TTF_IDISHWND) {
      if (reinterpret_cast<HWND>(t.id) == window) return static_cast<int>(i);
    } else if (t.hwnd == window && PtInRect(&t.rect, client)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void Relay(HWND hwnd, TipState& st, const MSG* msg) {
  if (!msg || !st.active) return;
  if (msg->message != WM_MOUSEMOVE) {
    if (msg->message >= WM_LBUTTONDOWN && msg->message <= WM_MBUTTONDBLCLK && st.tracked < 0) Pop(hwnd, st);
    return;
  }
  const POINT client{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
  const int index = ToolAt(st, msg->hwnd, client);
  if (index == st.shown && index >= 0) return;
  if (st.shown >= 0 && st.tracked < 0) Pop(hwnd, st);
  if (index < 0) {
    KillTimer(hwnd, kShowTimer);
    st.waiting = -1;
    return;
  }
  if (index != st.waiting) {
    st.waiting = index;
    SetTimer(hwnd, kShowTimer, st.initial, nullptr);
  }
}

void OnTimer(HWND hwnd, TipState& st, UINT_PTR id) {
  KillTimer(hwnd, id);
  if (id == kPopTimer) {
    if (st.tracked < 0) Pop(hwnd, st);
    return;
  }
  if (st.waiting < 0 || st.tracked >= 0) return;
  const int index = st.waiting;
  st.waiting = -1;
  if (st.tools[index].text.empty()) return;  // nothing to say: no bubble
  POINT cursor;
  GetCursorPos(&cursor);
  Show(hwnd, st, index, POINT{cursor.x, cursor.y + 20});
  if (StateOf(hwnd)) SetTimer(hwnd, kPopTimer, st.autoPop, nullptr);
}

void RemoveTool(HWND hwnd, TipState& st, int index) {
  if (index == st.shown || index == st.tracked) {
    st.tracked = -1;
    Pop(hwnd, st);
  }
  if (index == st.waiting) st.waiting = -1;
  st.tools.erase(st.tools.begin() + index);
  auto shift = [index](int& i) { if (i > index) --i; };
  shift(st.shown), shift(st.waiting), shift(st.tracked);
}

LRESULT TrackActivate(HWND hwnd, TipState& st, bool on, const TOOLINFOA* info) {
  const int index = FindTool(st, info);
  if (index < 0 || !(st.tools[index].flags & TTF_TRACK)) return 0;
  if (!on) {
    if (st.tracked == index) {
      st.tracked = -1;
      Pop(hwnd, st);
    }
    return 0;
  }
  if (st.shown >= 0) Pop(hwnd, st);
  st.tracked = index;
  Show(hwnd, st, index, TrackPlace(st, st.tools[index]));
  return 0;
}

LRESULT ToolMessage(HWND hwnd, TipState& st, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* info = reinterpret_cast<TOOLINFOA*>(lParam);
  const int index = FindTool(st, info);
  switch (message) {
    case TTM_ADDTOOL: {
      if (!info || info->cbSize != sizeof(TOOLINFOA) || index >= 0) return FALSE;
      Tool t;
      t.flags = info->uFlags;
      t.hwnd = info->hwnd;
      t.id = info->uId;
      t.rect = info->rect;
      t.text = TextOf(*info);
      t.param = info->lParam;
      st.tools.push_back(t);
      return TRUE;
    }
    case TTM_DELTOOL:
      if (index >= 0) RemoveTool(hwnd, st, index);
      return 0;
    case TTM_NEWTOOLRECT:
      if (index >= 0) st.tools[index].rect = info->rect;
      return 0;
    case TTM_UPDATETIPTEXT:
      if (index < 0) return 0;
      st.tools[index].text = TextOf(*info);
      if (index == st.shown) {
        // The bubble follows its new text's size where it stands.
        RECT wr;
        GetWindowRect(hwnd, &wr);
        const SIZE size = BubbleSize(hwnd, st, st.tools[index]);
        const POINT at = index == st.tracked ? KeepOnScreen(TrackPlace(st, st.tools[index]), size)
                                             : POINT{wr.left, wr.top};
        SetWindowPos(hwnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_NOZORDER);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      return 0;
    case TTM_GETTOOLINFO: {
      if (index < 0) return FALSE;
      const Tool& t = st.tools[index];
      info->uFlags = t.flags;
      info->rect = t.rect;
      info->lParam = t.param;
      return TRUE;
    }
    case TTM_GETTEXT: {
      if (index < 0 || !info->lpszText || wParam == 0) return 0;
      CopyTextOut(st.tools[index].text, info->lpszText, static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFF)));
      return static_cast<LRESULT>(std::strlen(info->lpszText));
    }
    case TTM_GETBUBBLESIZE: {
      if (index < 0) return 0;
      const SIZE size = BubbleSize(hwnd, st, st.tools[index]);
      return MAKELONG(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
    }
    case TTM_TRACKACTIVATE: return TrackActivate(hwnd, st, wParam != 0, info);
    default: return 0;
  }
}

LRESULT CALLBACK TipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TipState* st = StateOf(hwnd);
  if (!st && message != WM_NCCREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: AttachState<TipState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_TIMER: OnTimer(hwnd, *st, wParam); return 0;
    case WM_SETFONT: st->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
    case TTM_ACTIVATE:
      st->active = wParam != 0;
      if (!st->active && st->tracked < 0) Pop(hwnd, *st);
      return 0;
    case TTM_SETDELAYTIME: {
      const UINT ms = static_cast<UINT>(static_cast<short>(LOWORD(lParam)) < 0 ? 0 : LOWORD(lParam));
      if (wParam == TTDT_INITIAL || wParam == TTDT_AUTOMATIC) st->initial = ms ? ms : kInitialDelay;
      if (wParam == TTDT_AUTOPOP || wParam == TTDT_AUTOMATIC) st->autoPop = ms ? ms : kAutoPopDelay;
      return 0;
    }
    case TTM_GETDELAYTIME: return wParam == TTDT_AUTOPOP ? st->autoPop : st->initial;
    case TTM_RELAYEVENT: Relay(hwnd, *st, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(st->tools.size());
    case TTM_TRACKPOSITION:
      st->trackAt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (st->tracked >= 0) {
        const SIZE size = BubbleSize(hwnd, *st, st->tools[st->tracked]);
        const POINT at = KeepOnScreen(TrackPlace(*st, st->tools[st->tracked]), size);
        SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
      }
      return 0;
    case TTM_SETMAXTIPWIDTH: {
      const int old = st->maxWidth;
      st->maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_GETMAXTIPWIDTH: return st->maxWidth;
    case TTM_POP:
      if (st->tracked < 0) Pop(hwnd, *st);
      return 0;
    case TTM_ADDTOOL:
    case TTM_DELTOOL:
    case TTM_NEWTOOLRECT:
    case TTM_UPDATETIPTEXT:
    case TTM_GETTOOLINFO:
    case TTM_GETTEXT:
    case TTM_GETBUBBLESIZE:
    case TTM_TRACKACTIVATE: return ToolMessage(hwnd, *st, message, wParam, lParam);
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterTooltipClass() {
  user::AddSystemClass(TOOLTIPS_CLASS, CS_SAVEBITS, &TipProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
