// The BUTTON control: push buttons (default or not), check boxes (two and
// three states, automatic or not), radio buttons (automatic ones clear the
// others of their group), group boxes and owner-drawn buttons.
#include "platform/controls/control_common.h"

namespace pl3::controls {

namespace {

struct ButtonState : user::WindowState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool tracking = false;  // mouse pressed inside, capture held
  HFONT font = nullptr;
  HANDLE image = nullptr;
};

ButtonState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<ButtonState*>(w->state.get()) : nullptr;
}

DWORD TypeOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheck(DWORD t) { return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE; }
bool IsRadio(DWORD t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }
bool IsPush(DWORD t) { return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_USERBUTTON; }

void Paint(HWND hwnd, HDC dc) {
  ButtonState* st = StateOf(hwnd);
  if (!st) return;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  DWORD type = style & BS_TYPEMASK;
  RECT rc;
  GetClientRect(hwnd, &rc);
  bool enabled = IsWindowEnabled(hwnd);
  if (type == BS_OWNERDRAW) {
    UINT state = (st->pushed ? ODS_SELECTED : 0u) | (st->focused ? ODS_FOCUS : 0u) | (enabled ? 0u : ODS_DISABLED);
    DRAWITEMSTRUCT dis{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, state, hwnd, dc, rc, 0};
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  HBRUSH brush = PrepareDC(hwnd, dc, WM_CTLCOLORBTN);
  char text[512];
  GetWindowTextA(hwnd, text, sizeof text);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  if (type == BS_GROUPBOX) {
    int h = FontHeight(hwnd);
    RECT frame{rc.left, rc.top + h / 2, rc.right, rc.bottom};
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_3DSHADOW));
    SIZE ext{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &ext);
    RECT label{rc.left + 8, rc.top, rc.left + 8 + ext.cx + 4, rc.top + h};
    if (text[0]) FillRect(dc, &label, brush);
    label.left += 2;
    DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_LEFT | DT_TOP);
    return;
  }
  FillRect(dc, &rc, brush);
  if (IsPush(type) || (style & BS_PUSHLIKE)) {
    bool down = st->pushed || ((style & BS_PUSHLIKE) && st->check);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
    FrameRect(dc, &rc, GetSysColorBrush(type == BS_DEFPUSHBUTTON ? COLOR_WINDOWFRAME : COLOR_3DSHADOW));
    if (down) {
      RECT in = rc;
      InflateRect(&in, -1, -1);
      FrameRect(dc, &in, GetSysColorBrush(COLOR_3DSHADOW));
    }
    RECT t = rc;
    if (down) OffsetRect(&t, 1, 1);
    DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (st->focused) {
      RECT f = rc;
      InflateRect(&f, -3, -3);
      DrawFocusRect(dc, &f);
    }
    return;
  }
  // Check box or radio button: the box, then the text beside it.
  int box = 13;
  int top = rc.top + (rc.bottom - rc.top - box) / 2;
  bool left = (style & BS_LEFTTEXT) != 0;
  RECT b{left ? rc.right - box : rc.left, top, left ? rc.right : rc.left + box, top + box};
  FillRect(dc, &b, GetSysColorBrush(st->pushed ? COLOR_3DFACE : COLOR_WINDOW));
  FrameRect(dc, &b, GetSysColorBrush(COLOR_3DSHADOW));
  if (st->check == BST_CHECKED || st->check == BST_INDETERMINATE) {
    RECT mark = b;
    InflateRect(&mark, -3, -3);
    FillRect(dc, &mark, GetSysColorBrush(st->check == BST_CHECKED ? COLOR_WINDOWTEXT : COLOR_3DSHADOW));
  }
  RECT t{left ? rc.left : b.right + 4, rc.top, left ? b.left - 4 : rc.right, rc.bottom};
  DrawTextA(dc, text, -1, &t, DT_SINGLELINE | DT_VCENTER | (left ? DT_RIGHT : DT_LEFT));
  if (st->focused) DrawFocusRect(dc, &t);
}

// A click's effect on the button's own state, then BN_CLICKED.
void Click(HWND hwnd) {
  ButtonState* st = StateOf(hwnd);
  if (!st) return;
  DWORD type = TypeOf(hwnd);
  if (type == BS_AUTOCHECKBOX) {
    SendMessageA(hwnd, BM_SETCHECK, st->check ? BST_UNCHECKED : BST_CHECKED, 0);
  } else if (type == BS_AUTO3STATE) {
    SendMessageA(hwnd, BM_SETCHECK, (st->check + 1) % 3, 0);
  } else if (type == BS_AUTORADIOBUTTON) {
    HWND parent = GetParent(hwnd);
    HWND h = hwnd;
    // Clear every other automatic radio button of the group.
    for (HWND sib = GetNextDlgGroupItem(parent, hwnd, FALSE); sib && sib != hwnd;
         sib = GetNextDlgGroupItem(parent, sib, FALSE)) {
      if (TypeOf(sib) == BS_AUTORADIOBUTTON) SendMessageA(sib, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(h, BM_SETCHECK, BST_CHECKED, 0);
  }
  if (IsWindow(hwnd)) Notify(hwnd, BN_CLICKED);
}

void SetPushed(HWND hwnd, bool pushed) {
  ButtonState* st = StateOf(hwnd);
  if (!st || st->pushed == pushed) return;
  st->pushed = pushed;
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE:
      if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<ButtonState>();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST:
      if (TypeOf(hwnd) == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE: {
      DWORD t = TypeOf(hwnd);
      if (t == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (IsPush(t) || t == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (IsRadio(t)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (t == BS_GROUPBOX) return DLGC_STATIC;
      return DLGC_BUTTON;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:
      if (st) st->focused = true;
      InvalidateRect(hwnd, nullptr, FALSE);
      if (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_NOTIFY) Notify(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (st) {
        st->focused = false;
        if (st->tracking) {
          st->tracking = false;
          if (GetCapture() == hwnd) ReleaseCapture();
        }
        st->pushed = false;
      }
      InvalidateRect(hwnd, nullptr, FALSE);
      if (GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_NOTIFY) Notify(hwnd, BN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDBLCLK:
      if ((GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_NOTIFY) || IsRadio(TypeOf(hwnd)) || TypeOf(hwnd) == BS_OWNERDRAW) {
        Notify(hwnd, BN_DBLCLK);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (!st) return 0;
      SetFocus(hwnd);
      if (!IsWindow(hwnd) || GetFocus() != hwnd) return 0;
      st->tracking = true;
      SetCapture(hwnd);
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (st && st->tracking) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        SetPushed(hwnd, PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (st && st->tracking) {
        st->tracking = false;
        bool inside = st->pushed;
        SetPushed(hwnd, false);
        ReleaseCapture();
        if (inside) Click(hwnd);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (st && st->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
        st->tracking = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE && st && !st->pushed) SetPushed(hwnd, true);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && st && st->pushed) {
        SetPushed(hwnd, false);
        Click(hwnd);
      }
      return 0;
    case BM_CLICK:
      SetPushed(hwnd, true);
      SetPushed(hwnd, false);
      Click(hwnd);
      return 0;
    case BM_GETCHECK: return st ? static_cast<LRESULT>(st->check) : 0;
    case BM_SETCHECK: {
      if (!st) return 0;
      DWORD t = TypeOf(hwnd);
      UINT v = static_cast<UINT>(wParam);
      if (t != BS_3STATE && t != BS_AUTO3STATE && v == BST_INDETERMINATE) v = BST_CHECKED;
      if (!IsCheck(t) && !IsRadio(t)) return 0;
      if (st->check != v) {
        st->check = v;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      // A checked radio button becomes the group's tab stop.
      if (IsRadio(t)) {
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
        SetWindowLongPtrA(hwnd, GWL_STYLE, v ? (style | WS_TABSTOP) : style);
      }
      return 0;
    }
    case BM_GETSTATE:
      return st ? static_cast<LRESULT>(st->check | (st->pushed ? BST_PUSHED : 0u) | (st->focused ? BST_FOCUS : 0u)) : 0;
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_SETSTYLE: {
      DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
      SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK));
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    case BM_SETIMAGE: {
      if (!st) return 0;
      HANDLE old = st->image;
      st->image = reinterpret_cast<HANDLE>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE: return st ? reinterpret_cast<LRESULT>(st->image) : 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterButtonClass() {
  user::AddSystemClass(WC_BUTTON, CS_DBLCLKS | CS_PARENTDC, &ButtonProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
