// The COMBOBOX control: drop-down lists and drop-down fields (an EDIT child
// with id 1001), item data, sorted and owner-drawn items (WM_MEASUREITEM,
// WM_DRAWITEM with ODS_COMBOBOXEDIT for the selection field, WM_COMPAREITEM),
// and CBN_SELCHANGE, CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDOK/CANCEL,
// CBN_EDITCHANGE. The dropped list is a pop-up window of class "ComboLBox".
#include <algorithm>

#include "platform/controls/control_common.h"
#include "platform/scroll_internal.h"

namespace pl3::controls {

namespace {

constexpr int kEditId = 1001;
constexpr int kButtonWidth = 16;
constexpr int kMaxDroppedItems = 10;

struct ComboState : user::WindowState {
  ItemList list;
  int cur = -1;
  int top = 0;
  int hot = -1;  // the item under the mouse in the dropped list
  bool focused = false;
  HWND edit = nullptr;
  HWND popup = nullptr;
  int fieldHeight = 0;
  int droppedWidth = 0;
  HFONT font = nullptr;
};

ComboState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<ComboState*>(w->state.get()) : nullptr;
}

DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & 3; }

void ShowDropDown(HWND combo, bool show, bool accepted);

void SyncEdit(HWND combo, ComboState& st) {
  if (!st.edit) return;
  std::string text = st.list.Valid(st.cur) ? st.list.items[static_cast<size_t>(st.cur)].text : "";
  HWND edit = st.edit;
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void Select(HWND combo, ComboState& st, int index, bool notify) {
  if (!st.list.Valid(index)) index = -1;
  bool changed = index != st.cur;
  st.cur = index;
  SyncEdit(combo, st);
  InvalidateRect(combo, nullptr, TRUE);
  if (st.popup) InvalidateRect(st.popup, nullptr, TRUE);
  if (notify && changed) Notify(combo, CBN_SELCHANGE);
}

void PaintField(HWND hwnd, HDC dc) {
  ComboState* st = StateOf(hwnd);
  if (!st) return;
  HBRUSH brush = PrepareDC(hwnd, dc, WM_CTLCOLOREDIT);
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, brush);
  FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DSHADOW));
  RECT button{rc.right - kButtonWidth, rc.top, rc.right, rc.bottom};
  FillRect(dc, &button, GetSysColorBrush(COLOR_3DFACE));
  FrameRect(dc, &button, GetSysColorBrush(COLOR_3DSHADOW));
  // The arrow: a small triangle of horizontal runs.
  int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2 - 1;
  for (int i = 0; i < 4; ++i) {
    RECT run{cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1};
    FillRect(dc, &run, GetSysColorBrush(COLOR_BTNTEXT));
  }
  if (Kind(hwnd) != CBS_DROPDOWNLIST) return;
  RECT field{rc.left + 1, rc.top + 1, button.left, rc.bottom - 1};
  bool focus = st->focused && !st->popup;
  UINT state = ODS_COMBOBOXEDIT | (IsWindowEnabled(hwnd) ? 0u : ODS_DISABLED);
  DrawListItem(st->list, dc, st->cur, field, focus, focus, state, brush);
}

RECT FieldRect(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return RECT{rc.left + 1, rc.top + 1, rc.right - kButtonWidth, rc.bottom - 1};
}

// ---- The dropped list ----------------------------------------------------------------

int PopupItemAt(ComboState& st, POINT p) {
  int y = 1;
  for (int i = st.top; i < st.list.Count(); ++i) {
    int h = st.list.items[static_cast<size_t>(i)].height;
    if (p.y >= y && p.y < y + h) return i;
    y += h;
  }
  return -1;
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto combo = reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  ComboState* st = StateOf(combo);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc && st) {
        HBRUSH brush = PrepareDC(combo, dc, WM_CTLCOLORLISTBOX);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, brush);
        int y = 1;
        for (int i = st->top; i < st->list.Count() && y < rc.bottom; ++i) {
          int h = st->list.items[static_cast<size_t>(i)].height;
          RECT r{1, y, rc.right - 1, y + h};
          int mark = st->hot >= 0 ? st->hot : st->cur;
          DrawListItem(st->list, dc, i, r, i == mark, false, 0, brush);
          y += h;
        }
        FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_VSCROLL:
      if (st) {
        int page = kMaxDroppedItems, last = std::max(0, st->list.Count() - page), to = st->top;
        switch (LOWORD(wParam)) {
          case SB_LINEUP: --to; break;
          case SB_LINEDOWN: ++to; break;
          case SB_PAGEUP: to -= page; break;
          case SB_PAGEDOWN: to += page; break;
          case SB_THUMBTRACK:
          case SB_THUMBPOSITION: to = static_cast<short>(HIWORD(wParam)); break;
          default: break;
        }
        st->top = std::clamp(to, 0, last);
        SetScrollPos(hwnd, SB_VERT, st->top, TRUE);
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (st) {
        int i = PopupItemAt(*st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (i != st->hot && i >= 0) {
          st->hot = i;
          InvalidateRect(hwnd, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: {
      if (!st) return 0;
      RECT rc;
      GetClientRect(hwnd, &rc);
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      POINT screen = p;
      ClientToScreen(hwnd, &screen);
      if (message != WM_LBUTTONUP && user::ScrollBarHitTest(hwnd, screen) == HTVSCROLL) {
        user::TrackScrollBar(hwnd, SB_VERT, screen);  // the list's own bar, while it holds the mouse
        return 0;
      }
      if (!PtInRect(&rc, p)) {
        // A press outside closes the list; a release outside (the end of the
        // click that opened it) does nothing.
        if (message != WM_LBUTTONUP) ShowDropDown(combo, false, false);
        return 0;
      }
      if (message == WM_LBUTTONUP) {
        int i = PopupItemAt(*st, p);
        if (i >= 0) {
          Select(combo, *st, i, true);
          ShowDropDown(combo, false, true);
        }
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (st && st->popup == hwnd && reinterpret_cast<HWND>(lParam) != hwnd) ShowDropDown(combo, false, false);
      return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void ShowDropDown(HWND combo, bool show, bool accepted) {
  ComboState* st = StateOf(combo);
  if (!st || show == (st->popup != nullptr)) return;
  if (show) {
    Notify(combo, CBN_DROPDOWN);
    if ((st = StateOf(combo)) == nullptr || st->popup) return;
    RECT wr;
    GetWindowRect(combo, &wr);
    int h = 2;
    for (int i = 0; i < std::min(st->list.Count(), kMaxDroppedItems); ++i) h += st->list.items[static_cast<size_t>(i)].height;
    if (st->list.Count() == 0) h += st->list.itemHeight;
    int w = std::max<int>(wr.right - wr.left, st->droppedWidth);
    st->top = std::clamp(st->cur - kMaxDroppedItems + 1, 0, std::max(0, st->list.Count() - kMaxDroppedItems));
    st->hot = -1;
    // More items than fit get a bar.
    bool bar = st->list.Count() > kMaxDroppedItems;
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "ComboLBox", "",
                                 WS_POPUP | (bar ? WS_VSCROLL : 0u), wr.left, wr.bottom, w, h, combo, nullptr, nullptr,
                                 nullptr);
    if (!popup || (st = StateOf(combo)) == nullptr) return;
    SetWindowLongPtrA(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(combo));
    if (bar) {
      SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, st->list.Count() - 1,
                    static_cast<UINT>(kMaxDroppedItems), st->top, 0};
      SetScrollInfo(popup, SB_VERT, &si, FALSE);
    }
    st->popup = popup;
    ShowWindow(popup, SW_SHOWNA);
    SetCapture(popup);
    InvalidateRect(combo, nullptr, TRUE);
    return;
  }
  HWND popup = st->popup;
  st->popup = nullptr;
  if (GetCapture() == popup) ReleaseCapture();
  DestroyWindow(popup);
  InvalidateRect(combo, nullptr, TRUE);
  Notify(combo, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (IsWindow(combo)) Notify(combo, CBN_CLOSEUP);
}

LRESULT InsertItem(HWND hwnd, ComboState& st, int index, LPARAM value) {
  int i = st.list.Insert(index, value);
  if (st.cur >= i) ++st.cur;
  InvalidateRect(hwnd, nullptr, TRUE);
  return i;
}

void KeyDown(HWND hwnd, ComboState& st, WPARAM vk) {
  bool alt = GetKeyState(VK_MENU) < 0;
  if (vk == VK_F4 || (alt && (vk == VK_DOWN || vk == VK_UP))) {
    ShowDropDown(hwnd, st.popup == nullptr, st.popup != nullptr);
    return;
  }
  if (st.popup && (vk == VK_RETURN || vk == VK_ESCAPE)) {
    ShowDropDown(hwnd, false, vk == VK_RETURN);
    return;
  }
  int n = st.list.Count();
  if (n == 0) return;
  int to = st.cur;
  switch (vk) {
    case VK_UP: to = std::max(0, st.cur - 1); break;
    case VK_DOWN: to = std::min(n - 1, st.cur + 1); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    case VK_PRIOR: to = std::max(0, st.cur - kMaxDroppedItems); break;
    case VK_NEXT: to = std::min(n - 1, st.cur + kMaxDroppedItems); break;
    default: return;
  }
  Select(hwnd, st, to, true);
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      user::WindowRecord* w = user::Find(hwnd);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (w && cs) {
        auto s = std::make_unique<ComboState>();
        DWORD style = static_cast<DWORD>(cs->style);
        s->list.owner = hwnd;
        s->list.ctlType = ODT_COMBOBOX;
        s->list.ownerDrawn = style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
        s->list.variable = style & CBS_OWNERDRAWVARIABLE;
        s->list.hasStrings = !s->list.ownerDrawn || (style & CBS_HASSTRINGS);
        s->list.sorted = style & CBS_SORT;
        w->state = std::move(s);
        // Scroll bars are the dropped list's (it gets one when its items do
        // not fit), never the box's own frame.
        w->style &= ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
      }
      return TRUE;
    }
    case WM_CREATE: {
      if (!st) return -1;
      int h = FontHeight(hwnd);
      st->list.itemHeight = h + 2;
      st->fieldHeight = h + 6;
      if (st->list.ownerDrawn) {
        UINT id = static_cast<UINT>(GetDlgCtrlID(hwnd));
        MEASUREITEMSTRUCT field{ODT_COMBOBOX, id, static_cast<UINT>(-1), 0, static_cast<UINT>(h), 0};
        SendMessageA(GetParent(hwnd), WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&field));
        if ((st = StateOf(hwnd)) == nullptr) return -1;
        st->fieldHeight = static_cast<int>(field.itemHeight) + 6;
        if (!st->list.variable) {
          MEASUREITEMSTRUCT item{ODT_COMBOBOX, id, 0, 0, static_cast<UINT>(st->list.itemHeight), 0};
          SendMessageA(GetParent(hwnd), WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&item));
          if ((st = StateOf(hwnd)) == nullptr) return -1;
          if (item.itemHeight > 0) st->list.itemHeight = static_cast<int>(item.itemHeight);
        }
      }
      // The control's own height is its selection field; the list drops below it.
      RECT wr;
      GetWindowRect(hwnd, &wr);
      SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, st->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      if ((st = StateOf(hwnd)) == nullptr) return -1;
      if (Kind(hwnd) != CBS_DROPDOWNLIST) {
        RECT f = FieldRect(hwnd);
        st->edit = CreateWindowExA(0, WC_EDIT, "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, f.left + 1, f.top + 1,
                                   f.right - f.left - 2, f.bottom - f.top - 2, hwnd,
                                   reinterpret_cast<HMENU>(static_cast<std::intptr_t>(kEditId)), nullptr, nullptr);
      }
      return 0;
    }
    case WM_DESTROY:
      if (st) {
        if (st->popup) {
          HWND p = st->popup;
          st->popup = nullptr;
          DestroyWindow(p);
        }
        st->list.Clear();
      }
      return 0;
    case WM_PAINT: return PaintControl(hwnd, &PaintField);
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (st && st->edit) SendMessageA(st->edit, WM_SETFONT, wParam, lParam);
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (st && st->popup ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
      if (!st) return 0;
      if (st->edit) {
        SetFocus(st->edit);
        return 0;
      }
      st->focused = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (!st) return 0;
      st->focused = false;
      if (st->popup) ShowDropDown(hwnd, false, false);
      InvalidateRect(hwnd, nullptr, TRUE);
      if (IsWindow(hwnd)) Notify(hwnd, CBN_KILLFOCUS);
      return 0;
    case WM_COMMAND:
      // The edit field's notifications become the combo box's own.
      if (st && reinterpret_cast<HWND>(lParam) == st->edit && st->edit) {
        WORD code = HIWORD(wParam);
        if (code == EN_CHANGE) Notify(hwnd, CBN_EDITCHANGE);
        else if (code == EN_UPDATE) Notify(hwnd, CBN_EDITUPDATE);
        else if (code == EN_SETFOCUS) Notify(hwnd, CBN_SETFOCUS);
        else if (code == EN_KILLFOCUS) Notify(hwnd, CBN_KILLFOCUS);
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (!st) return 0;
      if (!st->edit) SetFocus(hwnd);
      if ((st = StateOf(hwnd)) != nullptr) ShowDropDown(hwnd, st->popup == nullptr, false);
      return 0;
    case WM_MOUSEWHEEL:
      if (st && !st->popup) KeyDown(hwnd, *st, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (st) KeyDown(hwnd, *st, wParam);
      return 0;
    case WM_CHAR:
      if (st && st->list.hasStrings && wParam > 32 && !st->edit) {
        char prefix[2] = {static_cast<char>(wParam), 0};
        int i = st->list.Find(st->cur, prefix, false);
        if (i >= 0) Select(hwnd, *st, i, true);
      }
      return 0;
    case WM_SETTEXT:
      if (!st) return FALSE;
      if (st->edit) return SetWindowTextA(st->edit, reinterpret_cast<LPCSTR>(lParam));
      {
        int i = st->list.Find(-1, reinterpret_cast<LPCSTR>(lParam), true);
        if (i < 0) return CB_ERR;
        Select(hwnd, *st, i, false);
        return TRUE;
      }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPSTR>(lParam);
      if (!st || !buf || wParam == 0) return 0;
      if (st->edit) return GetWindowTextA(st->edit, buf, static_cast<int>(wParam));
      std::string text = st->list.Valid(st->cur) ? st->list.items[static_cast<size_t>(st->cur)].text : "";
      size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buf, text.data(), n);
      buf[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
      if (!st) return 0;
      if (st->edit) return GetWindowTextLengthA(st->edit);
      return st->list.Valid(st->cur) ? static_cast<LRESULT>(st->list.items[static_cast<size_t>(st->cur)].text.size()) : 0;
    case WM_ENABLE:
      if (st && st->edit) EnableWindow(st->edit, static_cast<BOOL>(wParam));
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case CB_ADDSTRING: return st ? InsertItem(hwnd, *st, -1, lParam) : CB_ERR;
    case CB_INSERTSTRING: {
      if (!st) return CB_ERR;
      auto i = static_cast<int>(static_cast<std::intptr_t>(wParam));
      if (i > st->list.Count()) return CB_ERR;
      int at = st->list.InsertAt(i, lParam);
      if (st->cur >= at) ++st->cur;
      InvalidateRect(hwnd, nullptr, TRUE);
      return at;
    }
    case CB_DELETESTRING: {
      if (!st) return CB_ERR;
      auto i = static_cast<int>(wParam);
      if (!st->list.Erase(i)) return CB_ERR;
      if ((st = StateOf(hwnd)) == nullptr) return 0;
      if (st->cur == i) st->cur = -1;
      else if (st->cur > i) --st->cur;
      InvalidateRect(hwnd, nullptr, TRUE);
      return st->list.Count();
    }
    case CB_RESETCONTENT:
      if (!st) return 0;
      st->list.Clear();
      if ((st = StateOf(hwnd)) != nullptr) {
        st->cur = -1;
        SyncEdit(hwnd, *st);
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return CB_OKAY;
    case CB_GETCOUNT: return st ? st->list.Count() : 0;
    case CB_GETCURSEL: return st && st->cur >= 0 ? st->cur : CB_ERR;
    case CB_SETCURSEL: {
      if (!st) return CB_ERR;
      auto i = static_cast<int>(static_cast<std::intptr_t>(wParam));
      Select(hwnd, *st, i, false);
      return st->list.Valid(i) ? i : CB_ERR;
    }
    case CB_GETLBTEXT: return st ? st->list.Answer(ItemList::Query::GetText, wParam, lParam) : CB_ERR;
    case CB_GETLBTEXTLEN: return st ? st->list.Answer(ItemList::Query::TextLength, wParam, lParam) : CB_ERR;
    case CB_GETITEMDATA: return st ? st->list.Answer(ItemList::Query::GetData, wParam, lParam) : CB_ERR;
    case CB_SETITEMDATA: return st ? st->list.Answer(ItemList::Query::SetData, wParam, lParam) : CB_ERR;
    case CB_FINDSTRING: return st ? st->list.Answer(ItemList::Query::Find, wParam, lParam) : CB_ERR;
    case CB_FINDSTRINGEXACT: return st ? st->list.Answer(ItemList::Query::FindExact, wParam, lParam) : CB_ERR;
    case CB_SELECTSTRING: {
      if (!st) return CB_ERR;
      int i = st->list.Find(static_cast<int>(static_cast<std::intptr_t>(wParam)), reinterpret_cast<LPCSTR>(lParam), false);
      if (i < 0) return CB_ERR;
      Select(hwnd, *st, i, false);
      return i;
    }
    case CB_SHOWDROPDOWN: ShowDropDown(hwnd, wParam != 0, false); return TRUE;
    case CB_GETDROPPEDSTATE: return st && st->popup ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (!st || !lParam) return CB_ERR;
      {
        RECT wr;
        GetWindowRect(hwnd, &wr);
        wr.bottom += st->list.itemHeight * kMaxDroppedItems;
        *reinterpret_cast<RECT*>(lParam) = wr;
      }
      return CB_OKAY;
    case CB_GETITEMHEIGHT:
      if (!st) return CB_ERR;
      if (static_cast<int>(static_cast<std::intptr_t>(wParam)) == -1) return st->fieldHeight - 6;
      if (st->list.variable && st->list.Valid(static_cast<int>(wParam))) return st->list.items[wParam].height;
      return st->list.itemHeight;
    case CB_SETITEMHEIGHT:
      if (!st || lParam <= 0) return CB_ERR;
      if (static_cast<int>(static_cast<std::intptr_t>(wParam)) == -1) {
        st->fieldHeight = static_cast<int>(lParam) + 6;
        RECT wr;
        GetWindowRect(hwnd, &wr);
        SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, st->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else if (st->list.variable && st->list.Valid(static_cast<int>(wParam))) {
        st->list.items[wParam].height = static_cast<int>(lParam);
      } else {
        st->list.itemHeight = static_cast<int>(lParam);
        for (ListItem& it : st->list.items) it.height = st->list.itemHeight;
      }
      return CB_OKAY;
    case CB_GETEDITSEL: return st && st->edit ? SendMessageA(st->edit, EM_GETSEL, wParam, lParam) : CB_ERR;
    case CB_SETEDITSEL:
      if (!st || !st->edit) return CB_ERR;
      SendMessageA(st->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)))),
                   static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))));
      return TRUE;
    case CB_LIMITTEXT:
      if (st && st->edit) SendMessageA(st->edit, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETTOPINDEX: return st ? st->top : CB_ERR;
    case CB_SETTOPINDEX:
      if (!st || !st->list.Valid(static_cast<int>(wParam))) return CB_ERR;
      st->top = static_cast<int>(wParam);
      return CB_OKAY;
    case CB_SETDROPPEDWIDTH:
      if (st) st->droppedWidth = static_cast<int>(wParam);
      return static_cast<LRESULT>(wParam);
    case CB_GETDROPPEDWIDTH: return st ? st->droppedWidth : CB_ERR;
    case CB_SETEXTENDEDUI: return CB_OKAY;
    case CB_GETEXTENDEDUI: return FALSE;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterComboBoxClass() {
  user::AddSystemClass(WC_COMBOBOX, CS_DBLCLKS | CS_PARENTDC, &ComboProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
  user::AddSystemClass("ComboLBox", CS_DBLCLKS | CS_SAVEBITS, &PopupProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

void RegisterStaticClass();
void RegisterScrollBarClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterListBoxClass();

}  // namespace pl3::controls

void pl3::user::RegisterControlClasses() {
  controls::RegisterStaticClass();
  controls::RegisterButtonClass();
  controls::RegisterEditClass();
  controls::RegisterListBoxClass();
  controls::RegisterComboBoxClass();
  controls::RegisterScrollBarClass();
}
