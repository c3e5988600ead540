// The non-client area of captioned child windows: the caption with its
// system-menu box and Minimize, Maximize and Close buttons, the sizing
// border, their hit-test codes, the buttons' press, and the move and size
// loops (limited by WM_GETMINMAXINFO).
#include <algorithm>

#include "platform/gdi.h"
#include "platform/menu_internal.h"

namespace pl3::user {

namespace {

constexpr int kButtonWidth = 16;
constexpr int kCornerReach = 16;  // how far along an edge a corner's grip reaches

struct Caption {
  bool shown = false;
  int frame = 0;  // border width on each side
  RECT bar{};     // the caption, window coordinates
  RECT systemBox{}, minButton{}, maxButton{}, closeButton{};
};

}  // namespace

bool HasOwnCaption(DWORD style, DWORD exStyle, bool child) {
  return (style & WS_CAPTION) == WS_CAPTION && (child || (exStyle & WS_EX_TOOLWINDOW));
}

namespace {

bool OwnFrame(WindowRecord* w) { return w->parent || HasOwnCaption(w->style, w->exStyle, false); }

Caption CaptionOf(WindowRecord* w) {
  Caption c;
  if (!w || !HasOwnCaption(w->style, w->exStyle, w->parent != nullptr)) return c;
  RECT in = NonClientInsetsOf(w);
  c.shown = true;
  c.frame = in.left;
  int width = w->rect.right - w->rect.left;
  c.bar = RECT{c.frame, c.frame, width - c.frame, in.top};
  RECT button{c.bar.right - 2 - kButtonWidth, c.bar.top + 2, c.bar.right - 2, c.bar.bottom - 2};
  if (w->style & WS_SYSMENU) {
    c.systemBox = RECT{c.bar.left + 1, c.bar.top + 1, c.bar.left + 1 + kButtonWidth, c.bar.bottom - 1};
    c.closeButton = button;
    OffsetRect(&button, -kButtonWidth - 2, 0);
  }
  if (w->style & WS_MAXIMIZEBOX) {
    c.maxButton = button;
    OffsetRect(&button, -kButtonWidth, 0);
  }
  if (w->style & WS_MINIMIZEBOX) c.minButton = button;
  return c;
}

POINT ToWindow(WindowRecord* w, POINT screen) {
  RECT r = WindowScreenRect(w);
  return POINT{screen.x - r.left, screen.y - r.top};
}

// The sizing edge or corner under a window point of a WS_THICKFRAME child.
LRESULT EdgeAt(WindowRecord* w, const Caption& c, POINT p) {
  int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  bool left = p.x < c.frame, right = p.x >= width - c.frame;
  bool top = p.y < c.frame, bottom = p.y >= height - c.frame;
  if (!left && !right && !top && !bottom) return HTNOWHERE;
  bool nearLeft = p.x < kCornerReach, nearRight = p.x >= width - kCornerReach;
  bool nearTop = p.y < kCornerReach, nearBottom = p.y >= height - kCornerReach;
  if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
  if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
  if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
  if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
  return left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
}

void DrawButton(HDC dc, const RECT& r, int kind, bool pressed) {
  if (r.right <= r.left) return;
  FillRect(dc, &r, GetSysColorBrush(pressed ? COLOR_3DSHADOW : COLOR_3DFACE));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
  HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  switch (kind) {
    case 0: {  // minimise: a bar at the bottom
      RECT bar{cx - 4, r.bottom - 4, cx + 4, r.bottom - 2};
      FillRect(dc, &bar, ink);
      break;
    }
    case 1: {  // maximise or restore: a window outline
      RECT box{cx - 4, cy - 4, cx + 4, cy + 4};
      FrameRect(dc, &box, ink);
      RECT top{box.left, box.top, box.right, box.top + 2};
      FillRect(dc, &top, ink);
      break;
    }
    default:  // close: a cross
      for (int i = -3; i <= 3; ++i) {
        RECT a{cx + i, cy + i, cx + i + 1, cy + i + 1}, b{cx + i, cy - i, cx + i + 1, cy - i + 1};
        FillRect(dc, &a, ink);
        FillRect(dc, &b, ink);
      }
  }
}

// Holds a caption button until the release; true when released over it.
bool TrackButton(HWND hwnd, LRESULT hit) {
  SetCapture(hwnd);
  bool over = true;
  MSG m;
  while (NextCapturedMessage(hwnd, &m, nullptr)) {
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      over = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKEPOINTLPARAM(m.pt.x, m.pt.y)) == hit;
      if (m.message == WM_LBUTTONUP) {
        if (GetCapture() == hwnd) ReleaseCapture();
        return over && IsWindow(hwnd);
      }
      continue;
    }
    if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (IsWindow(hwnd) && GetCapture() == hwnd) ReleaseCapture();
  return false;
}

// The new rectangle for a drag of (dx, dy) from `start`, in the parent's coordinates.
RECT Dragged(RECT r, WPARAM edge, int dx, int dy, const MINMAXINFO& limits) {
  if (edge == 0) {
    OffsetRect(&r, dx, dy);
    return r;
  }
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  auto clampSize = [&](int size, bool horizontal) {
    int lo = horizontal ? limits.ptMinTrackSize.x : limits.ptMinTrackSize.y;
    int hi = horizontal ? limits.ptMaxTrackSize.x : limits.ptMaxTrackSize.y;
    return std::clamp(size, lo, std::max(lo, hi));
  };
  // The edge that is not dragged stays where it is.
  if (left) r.left = r.right - clampSize(r.right - r.left - dx, true);
  if (right) r.right = r.left + clampSize(r.right - r.left + dx, true);
  if (top) r.top = r.bottom - clampSize(r.bottom - r.top - dy, false);
  if (bottom) r.bottom = r.top + clampSize(r.bottom - r.top + dy, false);
  return r;
}

}  // namespace

LRESULT NonClientHitTest(HWND hwnd, POINT screen) {
  WindowRecord* w = Find(hwnd);
  Caption c = CaptionOf(w);
  if (!w || !OwnFrame(w)) return HTNOWHERE;
  RECT whole = WindowScreenRect(w);
  if (!PtInRect(&whole, screen)) return HTNOWHERE;
  POINT p = ToWindow(w, screen);
  if ((w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
    if (LRESULT edge = EdgeAt(w, c.shown ? c : Caption{false, NonClientInsetsOf(w).left}, p)) return edge;
  if (!c.shown || !PtInRect(&c.bar, p)) return HTNOWHERE;
  if (PtInRect(&c.closeButton, p)) return HTCLOSE;
  if (PtInRect(&c.maxButton, p)) return HTMAXBUTTON;
  if (PtInRect(&c.minButton, p)) return HTMINBUTTON;
  if (PtInRect(&c.systemBox, p)) return HTSYSMENU;
  return HTCAPTION;
}

void PaintCaptionButtons(HWND hwnd, HDC dc) {
  Caption c = CaptionOf(Find(hwnd));
  if (!c.shown) return;
  DrawButton(dc, c.minButton, 0, false);
  DrawButton(dc, c.maxButton, 1, false);
  DrawButton(dc, c.closeButton, 2, false);
  if (c.systemBox.right > c.systemBox.left) {
    RECT box = c.systemBox;
    InflateRect(&box, -3, -3);
    FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_3DDKSHADOW));
  }
}

RECT CaptionTextRect(HWND hwnd) {
  Caption c = CaptionOf(Find(hwnd));
  RECT r = c.bar;
  if (c.systemBox.right > c.systemBox.left) r.left = c.systemBox.right + 2;
  for (const RECT& b : {c.minButton, c.maxButton, c.closeButton})
    if (b.right > b.left) r.right = std::min(r.right, b.left - 2);
  return r;
}

bool NonClientPress(HWND hwnd, LRESULT hit, POINT screen) {
  LPARAM at = MAKEPOINTLPARAM(screen.x, screen.y);
  switch (hit) {
    case HTCAPTION: SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, at); return true;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), at);
      return true;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON: {
      if (!TrackButton(hwnd, hit)) return true;
      WPARAM command = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
      SendMessageA(hwnd, WM_SYSCOMMAND, command, at);
      return true;
    }
    case HTSYSMENU: {
      HMENU system = GetSystemMenu(hwnd, FALSE);
      RECT r;
      GetWindowRect(hwnd, &r);
      Caption c = CaptionOf(Find(hwnd));
      if (system) TrackPopupMenu(system, 0, r.left + c.bar.left, r.top + c.bar.bottom, 0, hwnd, nullptr);
      return true;
    }
    default: return false;
  }
}

void MoveSizeLoop(HWND hwnd, WPARAM command, POINT start) {
  WindowRecord* w = Find(hwnd);
  if (!w || (w->style & WS_MAXIMIZE)) return;
  WPARAM edge = (command & 0xFFF0) == SC_SIZE ? (command & 0x000F) : 0;
  if ((command & 0xFFF0) == SC_SIZE && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;
  MINMAXINFO limits{};
  RECT screen = pl3::ScreenRect();
  limits.ptMaxSize = POINT{screen.right - screen.left, screen.bottom - screen.top};
  limits.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  limits.ptMaxTrackSize = POINT{0x7FFF, 0x7FFF};
  SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  if (!(w = Find(hwnd))) return;
  const RECT original = w->rect;
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  if (!IsWindow(hwnd)) return;
  SetCapture(hwnd);
  auto place = [&](const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  MSG m;
  while (NextCapturedMessage(hwnd, &m, nullptr)) {
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      place(Dragged(original, edge, m.pt.x - start.x, m.pt.y - start.y, limits));
      if (m.message == WM_LBUTTONUP) break;
      continue;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      place(original);  // cancelled
      break;
    }
    if ((m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) || m.message == WM_KEYUP || m.message == WM_CHAR)
      continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  if (!IsWindow(hwnd)) return;  // destroyed inside its own loop
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace pl3::user
