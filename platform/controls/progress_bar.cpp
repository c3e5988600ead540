// The progress bar ("msctls_progress32"): a position within a range drawn as
// blocks, or one smooth band with PBS_SMOOTH, in a sunken well.
#include <algorithm>

#include "platform/controls/bar_common.h"
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

struct ProgressState : user::WindowState {
  int low = 0;
  int high = 100;
  int pos = 0;
  int step = 10;
};

ProgressState* StateOf(HWND hwnd) { return ControlState<ProgressState>(hwnd); }

void Paint(HWND hwnd, HDC dc) {
  ProgressState* st = StateOf(hwnd);
  if (!st) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  const bool vertical = style & PBS_VERTICAL;
  RECT client;
  GetClientRect(hwnd, &client);
  FillSys(dc, client, COLOR_3DFACE);
  DrawThinBorder(dc, client, true);
  RECT inner{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
  if (inner.right <= inner.left || inner.bottom <= inner.top || st->high <= st->low) return;
  const long long span = static_cast<long long>(st->high) - st->low;
  const long long done = static_cast<long long>(st->pos) - st->low;
  const int length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
  const int filled = static_cast<int>(done * length / span);
  const int thickness = vertical ? inner.right - inner.left : inner.bottom - inner.top;
  // Blocks two thirds as long as the bar is thick, two pixels apart; the
  // last block shows once its start is reached.
  const int block = (style & PBS_SMOOTH) ? length : std::max(2, thickness * 2 / 3);
  const int gap = (style & PBS_SMOOTH) ? 0 : 2;
  for (int at = 0; at < filled; at += block + gap) {
    const int end = (style & PBS_SMOOTH) ? filled : std::min(at + block, length);
    RECT piece = vertical ? RECT{inner.left, inner.bottom - end, inner.right, inner.bottom - at}
                          : RECT{inner.left + at, inner.top, inner.left + end, inner.bottom};
    FillSys(dc, piece, COLOR_HIGHLIGHT);
  }
}

LRESULT SetPos(HWND hwnd, ProgressState& st, long long pos) {
  const int old = st.pos;
  st.pos = static_cast<int>(std::clamp<long long>(pos, st.low, std::max(st.low, st.high)));
  if (st.pos != old) InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

LRESULT SetRange(HWND hwnd, ProgressState& st, int low, int high) {
  const LRESULT old = MAKELONG(static_cast<WORD>(st.low), static_cast<WORD>(st.high));
  st.low = low;
  st.high = high;
  SetPos(hwnd, st, st.pos);
  InvalidateRect(hwnd, nullptr, TRUE);
  return old;
}

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ProgressState* st = StateOf(hwnd);
  if (!st && message >= PBM_SETRANGE && message <= PBM_GETPOS) return 0;
  switch (message) {
    case WM_NCCREATE: AttachState<ProgressState>(hwnd); return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case PBM_SETRANGE:
      return SetRange(hwnd, *st, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    case PBM_SETRANGE32: return SetRange(hwnd, *st, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: {
      if (auto* out = reinterpret_cast<PBRANGE*>(lParam)) *out = PBRANGE{st->low, st->high};
      return wParam ? st->low : st->high;
    }
    case PBM_SETPOS: return SetPos(hwnd, *st, static_cast<int>(wParam));
    case PBM_DELTAPOS: return SetPos(hwnd, *st, static_cast<long long>(st->pos) + static_cast<int>(wParam));
    case PBM_GETPOS: return st->pos;
    case PBM_SETSTEP: {
      const int old = st->step;
      st->step = static_cast<int>(wParam);
      return old;
    }
    case PBM_STEPIT: {
      long long next = static_cast<long long>(st->pos) + st->step;
      if (next > st->high) next = st->low + (next - st->high) % std::max<long long>(1, st->high - st->low);
      return SetPos(hwnd, *st, next);
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterProgressBarClass() {
  user::AddSystemClass(PROGRESS_CLASS, 0, &ProgressProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
