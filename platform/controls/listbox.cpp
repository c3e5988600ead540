// The LISTBOX control: single, multiple and extended selection, sorted lists,
// item data, owner-drawn fixed and variable items (WM_MEASUREITEM,
// WM_DRAWITEM, WM_COMPAREITEM, WM_DELETEITEM), LBN_SELCHANGE and LBN_DBLCLK.
#include <algorithm>

#include "platform/controls/control_common.h"
#include "platform/scroll.h"

namespace pl3::controls {

namespace {

struct ListBoxState : user::WindowState {
  ItemList list;
  int cur = -1;     // single selection, or the caret of a multiple-selection list
  int anchor = -1;
  int top = 0;
  bool focused = false;
  bool tracking = false;
  bool scrollBar = false;  // made with WS_VSCROLL: the bar shows while the items overflow
  HFONT font = nullptr;
  int horizontalExtent = 0;  // kept for its owner; the list does not scroll sideways
};

ListBoxState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<ListBoxState*>(w->state.get()) : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
bool MultiSel(HWND hwnd) { return StyleOf(hwnd) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }

int ItemTop(ListBoxState& st, int index) {
  int y = 0;
  if (index >= st.top)
    for (int i = st.top; i < index; ++i) y += st.list.items[static_cast<size_t>(i)].height;
  else
    for (int i = index; i < st.top; ++i) y -= st.list.items[static_cast<size_t>(i)].height;
  return y;
}

RECT ItemRect(HWND hwnd, ListBoxState& st, int index) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  int y = ItemTop(st, index);
  return RECT{0, y, rc.right, y + (st.list.Valid(index) ? st.list.items[static_cast<size_t>(index)].height : st.list.itemHeight)};
}

int ItemAt(HWND hwnd, ListBoxState& st, POINT p) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  if (p.y < 0) return -1;
  int y = 0;
  for (int i = st.top; i < st.list.Count(); ++i) {
    y += st.list.items[static_cast<size_t>(i)].height;
    if (p.y < y) return i;
  }
  return -1;
}

int VisibleCount(HWND hwnd, ListBoxState& st) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return std::max(1, (rc.bottom - rc.top) / std::max(1, st.list.itemHeight));
}

// The vertical bar: a position per item, a page of the rows that fit.
void SyncScrollBar(HWND hwnd) {
  ListBoxState* st = StateOf(hwnd);
  if (!st || !st->scrollBar) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, st->list.Count() - 1),
                static_cast<UINT>(VisibleCount(hwnd, *st)), st->top, 0};
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void Redraw(HWND hwnd) {
  SyncScrollBar(hwnd);
  if (!(StyleOf(hwnd) & LBS_NOREDRAW)) InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollTo(HWND hwnd, ListBoxState& st, int top) {
  int last = std::max(0, st.list.Count() - VisibleCount(hwnd, st));
  top = std::clamp(top, 0, last);
  if (top == st.top) return;
  st.top = top;
  Redraw(hwnd);
}

void OnVScroll(HWND hwnd, ListBoxState& st, WORD code) {
  int page = VisibleCount(hwnd, st);
  switch (code) {
    case SB_LINEUP: ScrollTo(hwnd, st, st.top - 1); break;
    case SB_LINEDOWN: ScrollTo(hwnd, st, st.top + 1); break;
    case SB_PAGEUP: ScrollTo(hwnd, st, st.top - page); break;
    case SB_PAGEDOWN: ScrollTo(hwnd, st, st.top + page); break;
    case SB_TOP: ScrollTo(hwnd, st, 0); break;
    case SB_BOTTOM: ScrollTo(hwnd, st, st.list.Count()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, SB_VERT, &si);
      ScrollTo(hwnd, st, si.nTrackPos);
      break;
    }
    default: break;
  }
}

void EnsureVisible(HWND hwnd, ListBoxState& st, int index) {
  if (!st.list.Valid(index)) return;
  if (index < st.top) {
    st.top = index;
    return;
  }
  RECT rc;
  GetClientRect(hwnd, &rc);
  while (st.top < index && ItemRect(hwnd, st, index).bottom > rc.bottom) ++st.top;
}

bool IsSelected(HWND hwnd, ListBoxState& st, int i) {
  if (MultiSel(hwnd)) return st.list.items[static_cast<size_t>(i)].selected;
  return i == st.cur;
}

void Paint(HWND hwnd, HDC dc) {
  ListBoxState* st = StateOf(hwnd);
  if (!st) return;
  HBRUSH brush = PrepareDC(hwnd, dc, WM_CTLCOLORLISTBOX);
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(dc, &rc, brush);
  for (int i = st->top; i < st->list.Count(); ++i) {
    RECT r = ItemRect(hwnd, *st, i);
    if (r.top >= rc.bottom) break;
    bool focus = st->focused && i == (MultiSel(hwnd) ? st->cur : st->cur);
    DrawListItem(st->list, dc, i, r, IsSelected(hwnd, *st, i), focus, IsWindowEnabled(hwnd) ? 0u : ODS_DISABLED, brush);
  }
  if (st->list.Count() == 0 && st->focused && st->list.ownerDrawn) {
    RECT r = ItemRect(hwnd, *st, 0);
    DrawListItem(st->list, dc, -1, r, false, true, 0, brush);
  }
}

void SelectSingle(HWND hwnd, ListBoxState& st, int index, bool notify) {
  if (index == st.cur) return;
  st.cur = index;
  EnsureVisible(hwnd, st, index);
  Redraw(hwnd);
  if (notify && (StyleOf(hwnd) & LBS_NOTIFY)) Notify(hwnd, LBN_SELCHANGE);
}

void SetRange(ListBoxState& st, int a, int b, bool on) {
  if (a > b) std::swap(a, b);
  for (int i = std::max(0, a); i <= b && i < st.list.Count(); ++i) st.list.items[static_cast<size_t>(i)].selected = on;
}

// A user's pick by mouse or key in a list of any selection kind.
void UserPick(HWND hwnd, ListBoxState& st, int index, bool shift, bool ctrl, bool toggle) {
  if (!st.list.Valid(index)) return;
  DWORD style = StyleOf(hwnd);
  if (style & LBS_NOSEL) return;
  if (!MultiSel(hwnd)) {
    SelectSingle(hwnd, st, index, true);
    return;
  }
  if (style & LBS_MULTIPLESEL) {
    if (toggle) st.list.items[static_cast<size_t>(index)].selected = !st.list.items[static_cast<size_t>(index)].selected;
  } else if (shift && st.anchor >= 0) {
    if (!ctrl) SetRange(st, 0, st.list.Count() - 1, false);
    SetRange(st, st.anchor, index, true);
  } else if (ctrl) {
    if (toggle) st.list.items[static_cast<size_t>(index)].selected = !st.list.items[static_cast<size_t>(index)].selected;
    st.anchor = index;
  } else {
    SetRange(st, 0, st.list.Count() - 1, false);
    st.list.items[static_cast<size_t>(index)].selected = true;
    st.anchor = index;
  }
  st.cur = index;
  EnsureVisible(hwnd, st, index);
  Redraw(hwnd);
  if (style & LBS_NOTIFY) Notify(hwnd, LBN_SELCHANGE);
}

LRESULT AddOrInsert(HWND hwnd, ListBoxState& st, int index, LPARAM value) {
  int i = st.list.Insert(index, value);
  if (!MultiSel(hwnd) && st.cur >= i) ++st.cur;
  Redraw(hwnd);
  return i;
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ListBoxState* st = StateOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      user::WindowRecord* w = user::Find(hwnd);
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
      if (w && cs) {
        auto s = std::make_unique<ListBoxState>();
        DWORD style = static_cast<DWORD>(cs->style);
        // Extended selection wins over multiple selection when both are asked for.
        s->list.owner = hwnd;
        s->list.ctlType = ODT_LISTBOX;
        s->list.ownerDrawn = style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
        s->list.variable = style & LBS_OWNERDRAWVARIABLE;
        s->list.hasStrings = !s->list.ownerDrawn || (style & LBS_HASSTRINGS);
        s->list.sorted = style & LBS_SORT;
        s->scrollBar = style & WS_VSCROLL;
        w->state = std::move(s);
      }
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_CREATE:
      if (st) {
        st->list.itemHeight = FontHeight(hwnd) + 2;
        if (st->list.ownerDrawn && !st->list.variable) {
          MEASUREITEMSTRUCT mis{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, 0,
                                static_cast<UINT>(st->list.itemHeight), 0};
          SendMessageA(GetParent(hwnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
          if ((st = StateOf(hwnd)) != nullptr && mis.itemHeight > 0) st->list.itemHeight = static_cast<int>(mis.itemHeight);
        }
      }
      return 0;
    case WM_DESTROY:
      if (st) st->list.Clear();
      return 0;
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_VSCROLL:
      if (st) OnVScroll(hwnd, *st, LOWORD(wParam));
      return 0;
    case WM_SIZE:
      SyncScrollBar(hwnd);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      if (st) st->font = reinterpret_cast<HFONT>(wParam);
      if (st && !st->list.ownerDrawn) {
        st->list.itemHeight = FontHeight(hwnd) + 2;
        for (ListItem& it : st->list.items) it.height = st->list.itemHeight;
      }
      if (lParam) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      if (st) st->focused = true;
      Redraw(hwnd);
      if (StyleOf(hwnd) & LBS_NOTIFY) Notify(hwnd, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (st) st->focused = false;
      Redraw(hwnd);
      if (StyleOf(hwnd) & LBS_NOTIFY) Notify(hwnd, LBN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      if (!st) return 0;
      SetFocus(hwnd);
      if ((st = StateOf(hwnd)) == nullptr) return 0;
      int i = ItemAt(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      UserPick(hwnd, *st, i, wParam & MK_SHIFT, wParam & MK_CONTROL, true);
      if ((st = StateOf(hwnd)) != nullptr) {
        st->tracking = true;
        SetCapture(hwnd);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (st && st->tracking && !MultiSel(hwnd)) {
        int i = ItemAt(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (i >= 0) UserPick(hwnd, *st, i, false, false, false);
      }
      return 0;
    case WM_LBUTTONUP:
      if (st && st->tracking) {
        st->tracking = false;
        ReleaseCapture();
      }
      return 0;
    case WM_LBUTTONDBLCLK:
      if (st && (StyleOf(hwnd) & LBS_NOTIFY) &&
          ItemAt(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) >= 0)
        Notify(hwnd, LBN_DBLCLK);
      return 0;
    case WM_MOUSEWHEEL:
      if (st) {
        int lines = -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3;
        st->top = std::clamp(st->top + lines, 0, std::max(0, st->list.Count() - 1));
        Redraw(hwnd);
      }
      return 0;
    case WM_KEYDOWN: {
      if (!st) return 0;
      if (StyleOf(hwnd) & LBS_WANTKEYBOARDINPUT) {
        LRESULT r = SendMessageA(GetParent(hwnd), WM_VKEYTOITEM, MAKEWPARAM(static_cast<WORD>(wParam), static_cast<WORD>(st->cur)),
                                 reinterpret_cast<LPARAM>(hwnd));
        if (r == -2 || (st = StateOf(hwnd)) == nullptr) return 0;
      }
      int n = st->list.Count();
      if (n == 0) return 0;
      int to = st->cur;
      switch (wParam) {
        case VK_UP: to = std::max(0, st->cur - 1); break;
        case VK_DOWN: to = std::min(n - 1, st->cur + 1); break;
        case VK_HOME: to = 0; break;
        case VK_END: to = n - 1; break;
        case VK_PRIOR: to = std::max(0, st->cur - VisibleCount(hwnd, *st)); break;
        case VK_NEXT: to = std::min(n - 1, st->cur + VisibleCount(hwnd, *st)); break;
        case VK_SPACE:
          if (MultiSel(hwnd)) UserPick(hwnd, *st, st->cur, false, true, true);
          return 0;
        default: return 0;
      }
      if (to < 0) to = 0;
      UserPick(hwnd, *st, to, GetKeyState(VK_SHIFT) < 0, false, false);
      return 0;
    }
    case WM_CHAR:
      // A list without strings asks its owner what a typed character picks.
      if (st && !st->list.hasStrings && (StyleOf(hwnd) & LBS_WANTKEYBOARDINPUT)) {
        const auto picked = static_cast<int>(SendMessageA(
            GetParent(hwnd), WM_CHARTOITEM, MAKEWPARAM(static_cast<WORD>(wParam), static_cast<WORD>(st->cur)),
            reinterpret_cast<LPARAM>(hwnd)));
        if (picked >= 0 && (st = StateOf(hwnd)) != nullptr && picked < st->list.Count())
          UserPick(hwnd, *st, picked, false, false, false);
        return 0;
      }
      if (st && st->list.hasStrings && wParam > 32) {
        char prefix[2] = {static_cast<char>(wParam), 0};
        int i = st->list.Find(st->cur, prefix, false);
        if (i >= 0) UserPick(hwnd, *st, i, false, false, false);
      }
      return 0;
    case LB_ADDSTRING: return st ? AddOrInsert(hwnd, *st, -1, lParam) : LB_ERR;
    case LB_INSERTSTRING: {
      if (!st) return LB_ERR;
      auto i = static_cast<int>(static_cast<std::intptr_t>(wParam));
      if (i > st->list.Count()) return LB_ERR;
      int at = st->list.InsertAt(i, lParam);
      if (!MultiSel(hwnd) && st->cur >= at) ++st->cur;
      Redraw(hwnd);
      return at;
    }
    case LB_DELETESTRING: {
      if (!st) return LB_ERR;
      auto i = static_cast<int>(wParam);
      if (!st->list.Erase(i)) return LB_ERR;
      if ((st = StateOf(hwnd)) == nullptr) return 0;
      if (st->cur == i) st->cur = MultiSel(hwnd) ? std::min(i, st->list.Count() - 1) : -1;
      else if (st->cur > i) --st->cur;
      if (st->top >= st->list.Count()) st->top = std::max(0, st->list.Count() - 1);
      Redraw(hwnd);
      return st->list.Count();
    }
    case LB_RESETCONTENT:
      if (!st) return 0;
      st->list.Clear();
      if ((st = StateOf(hwnd)) != nullptr) {
        st->cur = st->anchor = -1;
        st->top = 0;
      }
      Redraw(hwnd);
      return 0;
    case LB_GETCOUNT: return st ? st->list.Count() : 0;
    case LB_GETTEXT: return st ? st->list.Answer(ItemList::Query::GetText, wParam, lParam) : LB_ERR;
    case LB_GETTEXTLEN: return st ? st->list.Answer(ItemList::Query::TextLength, wParam, lParam) : LB_ERR;
    case LB_GETITEMDATA: return st ? st->list.Answer(ItemList::Query::GetData, wParam, lParam) : LB_ERR;
    case LB_SETITEMDATA: return st ? st->list.Answer(ItemList::Query::SetData, wParam, lParam) : LB_ERR;
    case LB_GETCURSEL:
      if (!st) return LB_ERR;
      if (MultiSel(hwnd)) return st->cur;
      return st->cur >= 0 ? st->cur : LB_ERR;
    case LB_SETCURSEL: {
      if (!st || MultiSel(hwnd)) return LB_ERR;
      auto i = static_cast<int>(static_cast<std::intptr_t>(wParam));
      if (!st->list.Valid(i)) {
        SelectSingle(hwnd, *st, -1, false);
        return i == -1 ? 0 : LB_ERR;
      }
      SelectSingle(hwnd, *st, i, false);
      return i;
    }
    case LB_GETSEL: {
      auto i = static_cast<int>(wParam);
      if (!st || !st->list.Valid(i)) return LB_ERR;
      return IsSelected(hwnd, *st, i) ? 1 : 0;
    }
    case LB_SETSEL: {
      if (!st || !MultiSel(hwnd)) return LB_ERR;
      auto i = static_cast<int>(lParam);
      if (i == -1)
        SetRange(*st, 0, st->list.Count() - 1, wParam != 0);
      else if (st->list.Valid(i))
        st->list.items[static_cast<size_t>(i)].selected = wParam != 0;
      else
        return LB_ERR;
      Redraw(hwnd);
      return 0;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
      if (!st || !MultiSel(hwnd)) return LB_ERR;
      int a = message == LB_SELITEMRANGE ? LOWORD(static_cast<DWORD_PTR>(lParam)) : static_cast<int>(wParam);
      int b = message == LB_SELITEMRANGE ? HIWORD(static_cast<DWORD_PTR>(lParam)) : static_cast<int>(lParam);
      bool on = message == LB_SELITEMRANGE ? wParam != 0 : a <= b;
      SetRange(*st, a, b, on);
      Redraw(hwnd);
      return 0;
    }
    case LB_GETSELCOUNT: {
      if (!st || !MultiSel(hwnd)) return LB_ERR;
      return std::count_if(st->list.items.begin(), st->list.items.end(), [](const ListItem& it) { return it.selected; });
    }
    case LB_GETSELITEMS: {
      if (!st || !MultiSel(hwnd)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      int n = 0;
      for (int i = 0; i < st->list.Count() && n < static_cast<int>(wParam); ++i)
        if (st->list.items[static_cast<size_t>(i)].selected) out[n++] = i;
      return n;
    }
    case LB_FINDSTRING: return st ? st->list.Answer(ItemList::Query::Find, wParam, lParam) : LB_ERR;
    case LB_FINDSTRINGEXACT: return st ? st->list.Answer(ItemList::Query::FindExact, wParam, lParam) : LB_ERR;
    case LB_SELECTSTRING: {
      if (!st) return LB_ERR;
      int i = st->list.Find(static_cast<int>(static_cast<std::intptr_t>(wParam)), reinterpret_cast<LPCSTR>(lParam), false);
      if (i < 0) return LB_ERR;
      if (MultiSel(hwnd)) return LB_ERR;
      SelectSingle(hwnd, *st, i, false);
      return i;
    }
    case LB_GETTOPINDEX: return st ? st->top : 0;
    case LB_SETTOPINDEX:
      if (!st || (static_cast<int>(wParam) >= st->list.Count() && st->list.Count() > 0)) return LB_ERR;
      st->top = static_cast<int>(wParam);
      Redraw(hwnd);
      return 0;
    case LB_GETITEMRECT:
      if (!st || !lParam || (!st->list.Valid(static_cast<int>(wParam)) && wParam != 0)) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, *st, static_cast<int>(wParam));
      return 1;
    case LB_GETITEMHEIGHT:
      if (!st) return LB_ERR;
      if (st->list.variable && st->list.Valid(static_cast<int>(wParam))) return st->list.items[wParam].height;
      return st->list.itemHeight;
    case LB_SETITEMHEIGHT:
      if (!st || LOWORD(static_cast<DWORD_PTR>(lParam)) == 0) return LB_ERR;
      if (st->list.variable) {
        if (!st->list.Valid(static_cast<int>(wParam))) return LB_ERR;
        st->list.items[wParam].height = LOWORD(static_cast<DWORD_PTR>(lParam));
      } else {
        st->list.itemHeight = LOWORD(static_cast<DWORD_PTR>(lParam));
        for (ListItem& it : st->list.items) it.height = st->list.itemHeight;
      }
      Redraw(hwnd);
      return 0;
    case LB_GETCARETINDEX: return st ? st->cur : LB_ERR;
    case LB_SETCARETINDEX:
      if (!st || !st->list.Valid(static_cast<int>(wParam))) return LB_ERR;
      st->cur = static_cast<int>(wParam);
      EnsureVisible(hwnd, *st, st->cur);
      Redraw(hwnd);
      return 0;
    case LB_GETANCHORINDEX: return st ? st->anchor : LB_ERR;
    case LB_SETANCHORINDEX:
      if (!st) return LB_ERR;
      st->anchor = static_cast<int>(wParam);
      return 0;
    case LB_ITEMFROMPOINT: {
      if (!st) return MAKELONG(0, 1);
      int i = ItemAt(hwnd, *st, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return i < 0 ? MAKELONG(static_cast<WORD>(std::max(0, st->list.Count() - 1)), 1) : MAKELONG(static_cast<WORD>(i), 0);
    }
    case LB_SETHORIZONTALEXTENT:
      if (st) st->horizontalExtent = static_cast<int>(wParam);
      return 0;
    case LB_SETCOLUMNWIDTH:
    case LB_SETTABSTOPS:
      return TRUE;
    case LB_GETHORIZONTALEXTENT: return st ? st->horizontalExtent : 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterListBoxClass() {
  user::AddSystemClass(WC_LISTBOX, CS_DBLCLKS | CS_PARENTDC, &ListBoxProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
