// The SCROLLBAR control: a bar filling its client area (SBS_VERT or
// SBS_HORZ) that reports presses to its parent as WM_VSCROLL or WM_HSCROLL.
#include "platform/controls/control_common.h"
#include "platform/scroll_internal.h"

namespace pl3::controls {

namespace {

void Paint(HWND hwnd, HDC dc) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  user::DrawScrollBar(hwnd, SB_CTL, dc, rc);
}

LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hwnd, &p);
      user::TrackScrollBar(hwnd, SB_CTL, p);
      return 0;
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterScrollBarClass() {
  user::AddSystemClass("SCROLLBAR", CS_DBLCLKS, &ScrollBarProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
