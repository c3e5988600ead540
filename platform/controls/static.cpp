// The STATIC control: text, frames and rectangles, owner-drawn statics, and
// STN_CLICKED with SS_NOTIFY.
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

struct StaticState : user::WindowState {
  HFONT font = nullptr;
  HANDLE image = nullptr;
};

StaticState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<StaticState*>(w->state.get()) : nullptr;
}

void Paint(HWND hwnd, HDC dc) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  RECT rc;
  GetClientRect(hwnd, &rc);
  DWORD type = style & SS_TYPEMASK;
  if (type == SS_OWNERDRAW) {
    DRAWITEMSTRUCT dis{ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE,
                       IsWindowEnabled(hwnd) ? 0u : ODS_DISABLED, hwnd, dc, rc, 0};
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  HBRUSH brush = PrepareDC(hwnd, dc, WM_CTLCOLORSTATIC);
  switch (type) {
    case SS_BLACKRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW)); return;
    case SS_WHITERECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW)); return;
    case SS_BLACKFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW)); return;
    case SS_ETCHEDHORZ: {
      RECT line{rc.left, rc.top, rc.right, rc.top + 1};
      FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
      OffsetRect(&line, 0, 1);
      FillRect(dc, &line, GetSysColorBrush(COLOR_3DHIGHLIGHT));
      return;
    }
    case SS_ETCHEDVERT: {
      RECT line{rc.left, rc.top, rc.left + 1, rc.bottom};
      FillRect(dc, &line, GetSysColorBrush(COLOR_3DSHADOW));
      OffsetRect(&line, 1, 0);
      FillRect(dc, &line, GetSysColorBrush(COLOR_3DHIGHLIGHT));
      return;
    }
    case SS_ETCHEDFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW)); return;
    case SS_ICON:
    case SS_BITMAP: FillRect(dc, &rc, brush); return;
    default: break;
  }
  FillRect(dc, &rc, brush);
  char text[1024];
  GetWindowTextA(hwnd, text, sizeof text);
  UINT format = DT_NOPREFIX * ((style & SS_NOPREFIX) ? 1 : 0);
  if (type == SS_CENTER) format |= DT_CENTER | DT_WORDBREAK;
  else if (type == SS_RIGHT) format |= DT_RIGHT | DT_WORDBREAK;
  else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) format |= DT_SINGLELINE;
  else format |= DT_WORDBREAK;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  if (style & SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text, -1, &rc, format);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<StaticState>();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      if (StaticState* st = StateOf(hwnd)) st->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: {
      StaticState* st = StateOf(hwnd);
      return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    }
    case WM_NCHITTEST:
      if (!(GetWindowLongPtrA(hwnd, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: Notify(hwnd, STN_CLICKED); return 0;
    case WM_LBUTTONDBLCLK: Notify(hwnd, STN_DBLCLK); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
      StaticState* st = StateOf(hwnd);
      if (!st) return 0;
      HANDLE old = st->image;
      st->image = reinterpret_cast<HANDLE>(message == STM_SETICON ? wParam : static_cast<WPARAM>(lParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: {
      StaticState* st = StateOf(hwnd);
      return st ? reinterpret_cast<LRESULT>(st->image) : 0;
    }
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterStaticClass() {
  user::AddSystemClass(WC_STATIC, CS_DBLCLKS | CS_PARENTDC, &StaticProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
