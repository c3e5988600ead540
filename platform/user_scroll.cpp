// Scroll bars: their state and the calls on it, their layout and drawing,
// and the press on a bar (arrows and trough repeating, the thumb dragged).
#include <algorithm>
#include <array>
#include <span>
#include <unordered_map>

#include "platform/gdi.h"
#include "platform/kernel_base.h"
#include "platform/reset_hooks.h"
#include "platform/scroll_internal.h"

namespace pl3::user {

namespace {

struct ScrollState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
  UINT disabled = ESB_ENABLE_BOTH;  // EnableScrollBar's arrows
  bool disabledForFit = false;      // SIF_DISABLENOSCROLL disabled it: the range fits the page
};

std::unordered_map<HWND, std::array<ScrollState, 3>>& States() {
  static std::unordered_map<HWND, std::array<ScrollState, 3>> states;
  return states;
}
int g_heldIdles = 0;  // headless repeats of the press under way
void ResetScrollStates() {
  States().clear();
  g_heldIdles = 0;
}
const bool kResetRegistered = RegisterGlobalReset(&ResetScrollStates);

constexpr UINT_PTR kTrackTimer = 0xFFF0;

ScrollState* StateOf(HWND hwnd, int bar) {
  if (!Find(hwnd) || bar < SB_HORZ || bar > SB_CTL) {
    SetLastError(Find(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &States()[hwnd][static_cast<size_t>(bar)];
}

bool IsVertical(HWND hwnd, int bar) {
  if (bar == SB_CTL) return (GetWindowLongPtrA(hwnd, GWL_STYLE) & SBS_VERT) != 0;
  return bar == SB_VERT;
}

// The highest position: the last page starts there.
int Limit(const ScrollState& s) { return std::max(s.min, s.max - std::max(static_cast<int>(s.page) - 1, 0)); }

// ---- Layout --------------------------------------------------------------------------------

enum class Part { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct Layout {
  int length = 0;  // along the bar
  int arrow = 0;
  int thumbStart = 0;
  int thumbLength = 0;  // 0: no thumb
};

Layout LayOut(const ScrollState& s, const RECT& r, bool vertical) {
  Layout l;
  l.length = vertical ? r.bottom - r.top : r.right - r.left;
  int thickness = vertical ? r.right - r.left : r.bottom - r.top;
  l.arrow = std::min(thickness, l.length / 2);
  int trough = l.length - 2 * l.arrow;
  long span = static_cast<long>(s.max) - s.min + 1;
  if (trough < 8 || span <= 1 || s.disabled == ESB_DISABLE_BOTH) return l;
  l.thumbLength = s.page ? static_cast<int>(std::max<long>(8, trough * static_cast<long>(s.page) / span)) : thickness;
  l.thumbLength = std::min(l.thumbLength, trough);
  int movable = trough - l.thumbLength;
  int positions = Limit(s) - s.min;
  int pos = s.tracking ? s.trackPos : s.pos;
  l.thumbStart = l.arrow + (positions > 0 ? static_cast<int>(static_cast<long>(movable) * (pos - s.min) / positions) : 0);
  return l;
}

Part PartAt(const Layout& l, int along) {
  if (along < 0 || along >= l.length) return Part::None;
  if (along < l.arrow) return Part::LineUp;
  if (along >= l.length - l.arrow) return Part::LineDown;
  if (!l.thumbLength) return Part::None;
  if (along < l.thumbStart) return Part::PageUp;
  if (along >= l.thumbStart + l.thumbLength) return Part::PageDown;
  return Part::Thumb;
}

// The window-relative rectangles of a window's own bars, from its client area.
RECT OwnBarRect(WindowRecord* w, int bar) {
  RECT c = w->client;
  if (bar == SB_VERT && (w->style & WS_VSCROLL))
    return RECT{c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom};
  if (bar == SB_HORZ && (w->style & WS_HSCROLL))
    return RECT{c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  return RECT{};
}

// ---- Drawing -------------------------------------------------------------------------------------

void DrawArrowGlyph(HDC dc, const RECT& box, bool vertical, bool towardsEnd, bool grey) {
  FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
  RECT edge = box;
  FrameRect(dc, &edge, GetSysColorBrush(COLOR_3DSHADOW));
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  HBRUSH brush = GetSysColorBrush(grey ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  for (int i = 0; i < 4; ++i) {
    int d = towardsEnd ? 1 - i : i - 2;  // row 0, the tip, lies away from the trough
    RECT line = vertical ? RECT{cx - i, cy + d, cx + i + 1, cy + d + 1} : RECT{cx + d, cy - i, cx + d + 1, cy + i + 1};
    FillRect(dc, &line, brush);
  }
}

}  // namespace

void DrawScrollBar(HWND hwnd, int bar, HDC dc, const RECT& r) {
  ScrollState* s = StateOf(hwnd, bar);
  if (!s || r.right <= r.left || r.bottom <= r.top) return;
  bool vertical = IsVertical(hwnd, bar);
  Layout l = LayOut(*s, r, vertical);
  auto span = [&](int from, int to) {
    return vertical ? RECT{r.left, r.top + from, r.right, r.top + to} : RECT{r.left + from, r.top, r.left + to, r.bottom};
  };
  RECT trough = span(l.arrow, l.length - l.arrow);
  FillRect(dc, &trough, GetSysColorBrush(COLOR_SCROLLBAR));
  DrawArrowGlyph(dc, span(0, l.arrow), vertical, false, (s->disabled & ESB_DISABLE_LTUP) != 0);
  DrawArrowGlyph(dc, span(l.length - l.arrow, l.length), vertical, true, (s->disabled & ESB_DISABLE_RTDN) != 0);
  if (l.thumbLength) {
    RECT thumb = span(l.thumbStart, l.thumbStart + l.thumbLength);
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_3DFACE));
    FrameRect(dc, &thumb, GetSysColorBrush(COLOR_3DSHADOW));
  }
}

RECT ScrollBarScreenRect(HWND hwnd, int bar) {
  WindowRecord* w = Find(hwnd);
  if (!w) return RECT{};
  if (bar == SB_CTL) return ClientScreenRect(w);
  RECT r = OwnBarRect(w, bar);
  if (r.right <= r.left) return RECT{};
  RECT win = WindowScreenRect(w);
  OffsetRect(&r, win.left, win.top);
  return r;
}

LRESULT ScrollBarHitTest(HWND hwnd, POINT screen) {
  RECT v = ScrollBarScreenRect(hwnd, SB_VERT), h = ScrollBarScreenRect(hwnd, SB_HORZ);
  if (PtInRect(&v, screen)) return HTVSCROLL;
  if (PtInRect(&h, screen)) return HTHSCROLL;
  return HTSCROLLNONE;
}

void PaintWindowScrollBars(HWND hwnd) {
  WindowRecord* w = Find(hwnd);
  if (!w || !(w->style & (WS_VSCROLL | WS_HSCROLL))) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  for (int bar : {SB_VERT, SB_HORZ}) DrawScrollBar(hwnd, bar, dc, OwnBarRect(Find(hwnd), bar));
  if ((w = Find(hwnd)) != nullptr && (w->style & WS_VSCROLL) && (w->style & WS_HSCROLL)) {
    RECT v = OwnBarRect(w, SB_VERT), h = OwnBarRect(w, SB_HORZ);
    RECT corner{v.left, h.top, v.right, h.bottom};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_3DFACE));
  }
  ReleaseDC(hwnd, dc);
}

namespace {

void Redraw(HWND hwnd, int bar) {
  if (bar == SB_CTL)
    InvalidateRect(hwnd, nullptr, FALSE);
  else if (IsWindowVisible(hwnd))
    PaintWindowScrollBars(hwnd);
}

// Shows or hides a window's own bar as its range needs (the client area and
// WM_SIZE follow).
void FitBar(HWND hwnd, int bar, bool disableNoScroll) {
  ScrollState* s = StateOf(hwnd, bar);
  WindowRecord* w = Find(hwnd);
  if (!s || !w || bar == SB_CTL) return;
  bool needed = s->max > s->min && (s->page == 0 || static_cast<long>(s->page) <= static_cast<long>(s->max) - s->min);
  DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  bool show = needed;
  if (!needed && disableNoScroll) {
    show = true;
    s->disabled = ESB_DISABLE_BOTH;
    s->disabledForFit = true;
  } else if (s->disabledForFit) {
    s->disabled = ESB_ENABLE_BOTH;
    s->disabledForFit = false;
  }
  if (show == ((w->style & flag) != 0)) return;
  w->style = show ? (w->style | flag) : (w->style & ~flag);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int PosAt(const ScrollState& s, const Layout& l, int thumbStart) {
  int movable = l.length - 2 * l.arrow - l.thumbLength;
  if (movable <= 0) return s.min;
  int offset = std::clamp(thumbStart - l.arrow, 0, movable);
  long positions = Limit(s) - s.min;
  return s.min + static_cast<int>((offset * positions + movable / 2) / movable);
}

int Along(const RECT& r, bool vertical, POINT p) { return vertical ? p.y - r.top : p.x - r.left; }

// Headless, a button still held is held on: time moves to the next repeat.
bool HoldOn(HWND hwnd) {
  if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) || NextTimerDue(hwnd) == kNoTimerDue) {
    g_heldIdles = 0;
    return false;
  }
  if (++g_heldIdles > 10000) {  // a runaway repeat must not hang a test
    g_heldIdles = 0;
    return false;
  }
  S().testClock = std::max(S().testClock, NextTimerDue(hwnd));
  return true;
}

WORD CodeOf(Part p) {
  switch (p) {
    case Part::LineUp: return SB_LINEUP;
    case Part::LineDown: return SB_LINEDOWN;
    case Part::PageUp: return SB_PAGEUP;
    case Part::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

}  // namespace

void TrackScrollBar(HWND hwnd, int bar, POINT screen) {
  ScrollState* s = StateOf(hwnd, bar);
  RECT r = ScrollBarScreenRect(hwnd, bar);
  if (!s || r.right <= r.left || !IsWindowEnabled(hwnd)) return;
  bool vertical = IsVertical(hwnd, bar);
  Layout l = LayOut(*s, r, vertical);
  Part part = PartAt(l, Along(r, vertical, screen));
  if (part == Part::None || s->disabled == ESB_DISABLE_BOTH) return;
  if ((part == Part::LineUp && (s->disabled & ESB_DISABLE_LTUP)) ||
      (part == Part::LineDown && (s->disabled & ESB_DISABLE_RTDN)))
    return;
  HWND target = bar == SB_CTL ? GetParent(hwnd) : hwnd;
  UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
  LPARAM control = bar == SB_CTL ? reinterpret_cast<LPARAM>(hwnd) : 0;
  auto send = [&](WORD code, int pos) {
    if (IsWindow(target)) SendMessageA(target, message, MAKEWPARAM(code, static_cast<WORD>(pos)), control);
  };
  int grab = Along(r, vertical, screen) - l.thumbStart;
  const bool hadCapture = GetCapture() == hwnd;  // a dropped list keeps holding the mouse afterwards
  if (part == Part::Thumb) {
    s->tracking = true;
    s->trackPos = s->pos;
  } else {
    send(CodeOf(part), 0);
  }
  SetCapture(hwnd);
  SetTimer(hwnd, kTrackTimer, kScrollFirstRepeatMs, nullptr);
  MSG m;
  while (NextCapturedMessage(hwnd, &m, &HoldOn) && (s = StateOf(hwnd, bar)) != nullptr) {
    if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kTrackTimer) {
      // Arrows repeat while the pointer is on them; the trough until the thumb reaches the pointer.
      POINT p;
      GetCursorPos(&p);
      Layout now = LayOut(*s, ScrollBarScreenRect(hwnd, bar), vertical);
      if (part != Part::Thumb && PartAt(now, Along(r, vertical, p)) == part) send(CodeOf(part), 0);
      if (IsWindow(hwnd)) SetTimer(hwnd, kTrackTimer, kScrollRepeatMs, nullptr);
      continue;
    }
    if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
      if (part == Part::Thumb) {
        int pos = PosAt(*s, l, Along(r, vertical, m.pt) - grab);
        if (pos != s->trackPos) {
          s->trackPos = pos;
          Redraw(hwnd, bar);
          send(SB_THUMBTRACK, pos);
        }
      }
      continue;
    }
    if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP) break;
    if ((m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) ||
        (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK))
      continue;  // the bar holds the mouse
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (IsWindow(hwnd)) {
    KillTimer(hwnd, kTrackTimer);
    if (GetCapture() == hwnd && !hadCapture) ReleaseCapture();
  }
  if ((s = StateOf(hwnd, bar)) == nullptr) return;  // the window went away in its own scroll loop
  bool wasThumb = s->tracking;
  int trackPos = s->trackPos;
  s->tracking = false;
  if (wasThumb) send(SB_THUMBPOSITION, trackPos);
  send(SB_ENDSCROLL, 0);
  if (StateOf(hwnd, bar)) Redraw(hwnd, bar);
}

void ScrollWindowForgotten(HWND hwnd) { States().erase(hwnd); }

}  // namespace pl3::user

using namespace pl3::user;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  ScrollState* s = StateOf(hwnd, bar);
  if (!s || !info) return 0;
  if (info->fMask & SIF_RANGE) {
    s->min = info->nMin;
    s->max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) s->page = info->nPage;
  long span = static_cast<long>(s->max) - s->min + 1;
  if (static_cast<long>(s->page) > span) s->page = static_cast<UINT>(span);
  if (info->fMask & SIF_POS) s->pos = info->nPos;
  s->pos = std::clamp(s->pos, s->min, Limit(*s));
  int pos = s->pos;
  FitBar(hwnd, bar, (info->fMask & SIF_DISABLENOSCROLL) != 0);
  if (redraw && Find(hwnd)) Redraw(hwnd, bar);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  ScrollState* s = StateOf(hwnd, bar);
  if (!s || !info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = s->min;
    info->nMax = s->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->tracking ? s->trackPos : s->pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  ScrollState* s = StateOf(hwnd, bar);
  if (!s) return 0;
  int old = s->pos;
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  ScrollState* s = StateOf(hwnd, bar);
  return s ? s->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!StateOf(hwnd, bar)) return FALSE;
  SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  ScrollState* s = StateOf(hwnd, bar);
  if (!s || !minPos || !maxPos) return FALSE;
  *minPos = s->min;
  *maxPos = s->max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  WindowRecord* w = Find(hwnd);
  if (!w || bar < SB_HORZ || bar > SB_BOTH) return FALSE;
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
    return TRUE;
  }
  DWORD flags = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  DWORD style = show ? (w->style | flags) : (w->style & ~flags);
  if (style == w->style) return TRUE;
  w->style = style;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
  const int both[] = {SB_HORZ, SB_VERT};
  const std::span<const int> bars = bar == SB_BOTH ? std::span<const int>(both) : std::span<const int>(&bar, 1);
  for (int b : bars) {
    ScrollState* s = StateOf(hwnd, b);
    if (!s) return FALSE;
    s->disabled = arrows & ESB_DISABLE_BOTH;
    s->disabledForFit = false;
    Redraw(hwnd, b);
  }
  return TRUE;
}

bool pl3::ScrollCodePosition(HWND hwnd, int bar, WORD code, int line, int page, int& pos) {
  switch (code) {
    case SB_LINEUP: pos -= line; return true;
    case SB_LINEDOWN: pos += line; return true;
    case SB_PAGEUP: pos -= page; return true;
    case SB_PAGEDOWN: pos += page; return true;
    case SB_TOP: pos = 0; return true;
    case SB_BOTTOM: pos = 1 << 30; return true;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, bar, &si);
      pos = si.nTrackPos;
      return true;
    }
    default: return false;
  }
}
