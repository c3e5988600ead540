#include "app/dialog_header.h"

#include "platform/commctrl.h"
#include "platform/frame_drawing.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

// The frame round list and header: a "STATIC" that paints only its edge.
LRESULT CALLBACK HeaderFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
    EndPaint(hwnd, &ps);
    return 0;
  }
  WNDCLASSA statics{};
  GetClassInfoA(nullptr, "STATIC", &statics);
  return CallWindowProcA(statics.lpfnWndProc, hwnd, message, wParam, lParam);
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT rc;
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace

HWND CreateDialogHeader(HWND dialog, int controlId, int headerId) {
  HWND control = GetDlgItem(dialog, controlId);
  if (!control) return nullptr;
  const auto font = static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  RECT rc = RectInDialog(dialog, control);
  RECT frame = rc;
  InflateRect(&frame, 2, 2);
  HWND frameWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, frame.left, frame.top,
                                     frame.right - frame.left, frame.bottom - frame.top, dialog, nullptr, nullptr, nullptr);
  if (frameWindow) SetWindowLongPtrA(frameWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HeaderFrameProc));
  HWND header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | HDS_BUTTONS | HDS_FULLDRAG, 0, 0, 0, 0, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(headerId)), nullptr, nullptr);
  if (!header) return nullptr;
  SendMessageA(header, WM_SETFONT, font, 0);
  WINDOWPOS pos{};
  HDLAYOUT layout{&rc, &pos};
  SendMessageA(header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  SetWindowPos(header, pos.hwndInsertAfter, pos.x, pos.y, pos.cx, pos.cy, pos.flags | SWP_SHOWWINDOW);
  SetWindowPos(control, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER);
  if (frameWindow) SetWindowPos(frameWindow, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return header;
}
