// The trackbar ("msctls_trackbar32"): a thumb on a channel moved by keys,
// clicks beside the thumb (a page) and drags, each move reported to the
// parent as WM_HSCROLL or WM_VSCROLL.
#include <algorithm>

#include "platform/controls/bar_common.h"
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

constexpr int kThumbLong = 21;   // across the channel
constexpr int kThumbShort = 11;  // along it
constexpr int kChannelThick = 4;
constexpr int kTickLength = 3;

struct TrackState : user::WindowState {
  int min = 0;
  int max = 100;
  int pos = 0;
  int line = 1;
  int page = 20;
  bool dragging = false;
  int grabOffset = 0;  // pointer to thumb centre when the drag began
  bool focused = false;
};

TrackState* StateOf(HWND hwnd) { return ControlState<TrackState>(hwnd); }

bool Vertical(HWND hwnd) { return GetWindowLongPtrA(hwnd, GWL_STYLE) & TBS_VERT; }

// The channel runs along the middle, inset by half a thumb at each end.
RECT ChannelRect(HWND hwnd) {
  RECT c;
  GetClientRect(hwnd, &c);
  const int inset = kThumbShort / 2 + 2;
  if (Vertical(hwnd)) {
    const int x = (c.right - kChannelThick) / 2;
    return RECT{x, inset, x + kChannelThick, std::max<int>(inset, c.bottom - inset)};
  }
  const int y = (c.bottom - kChannelThick) / 2;
  return RECT{inset, y, std::max<int>(inset, c.right - inset), y + kChannelThick};
}

int ChannelLength(const RECT& channel, bool vertical) {
  return vertical ? channel.bottom - channel.top : channel.right - channel.left;
}

// Position to pixel along the channel and back (rounded to the nearest).
int PixelOf(const TrackState& st, const RECT& channel, bool vertical) {
  const int start = vertical ? channel.top : channel.left;
  if (st.max <= st.min) return start;
  return start + static_cast<int>(static_cast<long long>(st.pos - st.min) * ChannelLength(channel, vertical) /
                                  (static_cast<long long>(st.max) - st.min));
}

int PositionAt(const TrackState& st, const RECT& channel, bool vertical, int pixel) {
  const int length = ChannelLength(channel, vertical);
  if (length <= 0 || st.max <= st.min) return st.min;
  const long long offset = std::clamp(pixel - (vertical ? channel.top : channel.left), 0, length);
  const long long span = static_cast<long long>(st.max) - st.min;
  return st.min + static_cast<int>((offset * span + length / 2) / length);
}

RECT ThumbRect(HWND hwnd, const TrackState& st) {
  const bool vertical = Vertical(hwnd);
  const RECT channel = ChannelRect(hwnd);
  const int at = PixelOf(st, channel, vertical);
  if (vertical) {
    const int cx = (channel.left + channel.right) / 2;
    return RECT{cx - kThumbLong / 2, at - kThumbShort / 2, cx - kThumbLong / 2 + kThumbLong, at - kThumbShort / 2 + kThumbShort};
  }
  const int cy = (channel.top + channel.bottom) / 2;
  return RECT{at - kThumbShort / 2, cy - kThumbLong / 2, at - kThumbShort / 2 + kThumbShort, cy - kThumbLong / 2 + kThumbLong};
}

void Paint(HWND hwnd, HDC dc) {
  TrackState* st = StateOf(hwnd);
  if (!st) return;
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH background = PrepareDC(hwnd, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_3DFACE));
  const bool vertical = Vertical(hwnd);
  const RECT channel = ChannelRect(hwnd);
  DrawWell(dc, channel);
  const RECT thumb = ThumbRect(hwnd, *st);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  if ((style & TBS_AUTOTICKS) && !(style & TBS_NOTICKS) && st->max > st->min) {
    // A tick per line step below (or right of) the thumb, never more than one per two pixels.
    const long long span = static_cast<long long>(st->max) - st->min;
    const int length = ChannelLength(channel, vertical);
    const long long every = std::max<long long>(std::max(1, st->line), (2 * span + length - 1) / std::max(1, length));
    for (long long v = 0; v <= span; v += every) {
      const int at = (vertical ? channel.top : channel.left) + static_cast<int>(v * length / span);
      RECT tick = vertical ? RECT{thumb.right + 2, at, thumb.right + 2 + kTickLength, at + 1}
                           : RECT{at, thumb.bottom + 2, at + 1, thumb.bottom + 2 + kTickLength};
      FillSys(dc, tick, COLOR_BTNTEXT);
    }
  }
  FillSys(dc, thumb, COLOR_3DFACE);
  DrawRaisedButton(dc, thumb);
  if (st->focused) {
    RECT focus = client;
    DrawFocusRect(dc, &focus);
  }
}

void Tell(HWND hwnd, WORD code, int pos) {
  const UINT message = Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL;
  SendMessageA(GetParent(hwnd), message, MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
}

void MoveTo(HWND hwnd, TrackState& st, long long pos) {
  const int next = static_cast<int>(std::clamp<long long>(pos, st.min, std::max(st.min, st.max)));
  if (next == st.pos) return;
  st.pos = next;
  InvalidateRect(hwnd, nullptr, TRUE);
}

// A user's move: the new position first, then the code to the parent.
void UserMove(HWND hwnd, WORD code, long long pos) {
  TrackState* st = StateOf(hwnd);
  if (!st) return;
  MoveTo(hwnd, *st, pos);
  const bool carriesPos = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
  Tell(hwnd, code, carriesPos ? st->pos : 0);
}

void OnKey(HWND hwnd, TrackState& st, WPARAM vk) {
  const long long pos = st.pos;
  switch (vk) {
    case VK_LEFT:
    case VK_UP: UserMove(hwnd, TB_LINEUP, pos - st.line); return;
    case VK_RIGHT:
    case VK_DOWN: UserMove(hwnd, TB_LINEDOWN, pos + st.line); return;
    case VK_PRIOR: UserMove(hwnd, TB_PAGEUP, pos - st.page); return;
    case VK_NEXT: UserMove(hwnd, TB_PAGEDOWN, pos + st.page); return;
    case VK_HOME: UserMove(hwnd, TB_TOP, st.min); return;
    case VK_END: UserMove(hwnd, TB_BOTTOM, st.max); return;
    default: return;
  }
}

bool IsMoveKey(WPARAM vk) {
  return vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT ||
         vk == VK_HOME || vk == VK_END;
}

int AlongOf(HWND hwnd, LPARAM lParam) {
  return Vertical(hwnd) ? static_cast<short>(HIWORD(lParam)) : static_cast<short>(LOWORD(lParam));
}

void OnButtonDown(HWND hwnd, TrackState& st, LPARAM lParam) {
  SetFocus(hwnd);
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT thumb = ThumbRect(hwnd, st);
  const int along = AlongOf(hwnd, lParam);
  const int centre = Vertical(hwnd) ? (thumb.top + thumb.bottom) / 2 : (thumb.left + thumb.right) / 2;
  SetCapture(hwnd);
  if (PtInRect(&thumb, pt)) {
    st.dragging = true;
    st.grabOffset = along - centre;
    return;
  }
  // Beside the thumb: a page towards the click.
  if (along < centre) UserMove(hwnd, TB_PAGEUP, static_cast<long long>(st.pos) - st.page);
  else UserMove(hwnd, TB_PAGEDOWN, static_cast<long long>(st.pos) + st.page);
}

LRESULT CALLBACK TrackProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TrackState* st = StateOf(hwnd);
  if (!st && message != WM_NCCREATE) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: AttachState<TrackState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      st->focused = message == WM_SETFOCUS;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_KEYDOWN: OnKey(hwnd, *st, wParam); return 0;
    case WM_KEYUP:
      if (IsMoveKey(wParam)) Tell(hwnd, TB_ENDTRACK, 0);
      return 0;
    case WM_LBUTTONDOWN: OnButtonDown(hwnd, *st, lParam); return 0;
    case WM_MOUSEMOVE:
      if (st->dragging) {
        const int along = AlongOf(hwnd, lParam) - st->grabOffset;
        const int pos = PositionAt(*st, ChannelRect(hwnd), Vertical(hwnd), along);
        if (pos != st->pos) UserMove(hwnd, TB_THUMBTRACK, pos);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != hwnd) return 0;
      const bool dragged = st->dragging;
      st->dragging = false;
      ReleaseCapture();
      if (dragged) UserMove(hwnd, TB_THUMBPOSITION, st->pos);
      Tell(hwnd, TB_ENDTRACK, 0);
      return 0;
    }
    case WM_CAPTURECHANGED: st->dragging = false; return 0;
    case TBM_GETPOS: return st->pos;
    case TBM_GETRANGEMIN: return st->min;
    case TBM_GETRANGEMAX: return st->max;
    case TBM_SETPOS: MoveTo(hwnd, *st, static_cast<int>(lParam)); return 0;
    case TBM_SETRANGE:
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
      if (message != TBM_SETRANGEMAX) st->min = message == TBM_SETRANGE ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam);
      if (message != TBM_SETRANGEMIN) st->max = message == TBM_SETRANGE ? static_cast<short>(HIWORD(lParam)) : static_cast<int>(lParam);
      st->pos = std::clamp(st->pos, st->min, std::max(st->min, st->max));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TBM_SETPAGESIZE: {
      const int old = st->page;
      st->page = static_cast<int>(lParam);
      return old;
    }
    case TBM_GETPAGESIZE: return st->page;
    case TBM_SETLINESIZE: {
      const int old = st->line;
      st->line = static_cast<int>(lParam);
      return old;
    }
    case TBM_GETLINESIZE: return st->line;
    case TBM_GETTHUMBRECT:
      if (auto* out = reinterpret_cast<RECT*>(lParam)) *out = ThumbRect(hwnd, *st);
      return 0;
    case TBM_GETCHANNELRECT:
      if (auto* out = reinterpret_cast<RECT*>(lParam)) *out = ChannelRect(hwnd);
      return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterTrackbarClass() {
  user::AddSystemClass(TRACKBAR_CLASS, 0, &TrackProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
