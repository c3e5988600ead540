// The list view (SysListView32): report, list, small-icon and icon views
// over items kept here or, with LVS_OWNERDATA, kept by the parent and asked
// for one visible cell at a time (LVN_ODCACHEHINT, then LVN_GETDISPINFO), so
// the cost follows the rows shown and not the count. Report view carries a
// header (SysHeader32) that holds the columns' widths, texts and order.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/commctrl.h"
#include "platform/controls/common_control_draw.h"
#include "platform/controls/control_common.h"
#include "platform/scroll.h"
#include "platform/text_case.h"

namespace pl3::controls {

namespace {

constexpr int kListColumnWidth = 120;  // list and small-icon views
constexpr int kIconCellWidth = 76;
constexpr int kIconSize = 32;
constexpr int kDragStart = 4;
constexpr int kTextBuffer = 260;  // what LVN_GETDISPINFO may write
constexpr int kMaxSubItems = 256;

// Indexes held as disjoint half-open ranges: an owner-data list with a
// million rows selected costs one entry.
struct IndexSet {
  std::map<int, int> ranges;  // start -> end

  bool Contains(int i) const {
    auto at = ranges.upper_bound(i);
    if (at == ranges.begin()) return false;
    --at;
    return i < at->second;
  }
  void Add(int a, int b) {
    if (a >= b) return;
    auto at = ranges.upper_bound(a);
    if (at != ranges.begin() && std::prev(at)->second >= a) --at;
    while (at != ranges.end() && at->first <= b) {
      a = std::min(a, at->first);
      b = std::max(b, at->second);
      at = ranges.erase(at);
    }
    ranges[a] = b;
  }
  void Remove(int a, int b) {
    if (a >= b) return;
    auto at = ranges.upper_bound(a);
    if (at != ranges.begin()) --at;
    std::vector<std::pair<int, int>> keep;
    while (at != ranges.end() && at->first < b) {
      if (at->second > a) {
        if (at->first < a) keep.emplace_back(at->first, a);
        if (at->second > b) keep.emplace_back(b, at->second);
        at = ranges.erase(at);
      } else {
        ++at;
      }
    }
    for (auto& [s, e] : keep) ranges[s] = e;
  }
  int Next(int after) const {  // the first index > after, or -1
    int i = after + 1;
    if (Contains(i)) return i;
    auto at = ranges.upper_bound(i);
    return at == ranges.end() ? -1 : at->first;
  }
  long long Size() const {
    long long n = 0;
    for (auto& [s, e] : ranges) n += e - s;
    return n;
  }
};

struct Cell {
  std::string text;
  bool callback = false;
};

struct Item {
  std::vector<Cell> cells;  // [0] the label, then sub-items
  int image = 0;
  LPARAM param = 0;
  UINT state = 0;
};

struct Column {
  int fmt = LVCFMT_LEFT;
  int subItem = 0;
};

struct ListViewState : user::WindowState {
  std::vector<Item> items;
  int ownerCount = 0;  // LVS_OWNERDATA
  IndexSet ownerSelected;
  IndexSet ownerCut;
  int focus = -1;
  int anchor = -1;
  std::vector<Column> columns;
  HWND header = nullptr;
  DWORD exStyle = 0;
  HIMAGELIST images[3] = {};
  HFONT font = nullptr;
  int top = 0;      // first row (report), column (list) or grid row (icon views) shown
  int scrollX = 0;  // report view: pixels scrolled to the right
  bool focused = false;
  // A left press that may become a drag.
  bool pressed = false;
  int pressItem = -1;
  POINT pressAt{};
  // Label editing.
  HWND edit = nullptr;
  int editItem = -1;
  WNDPROC editProc = nullptr;
};

ListViewState* StateOf(HWND hwnd) {
  user::WindowRecord* w = user::Find(hwnd);
  return w ? dynamic_cast<ListViewState*>(w->state.get()) : nullptr;
}

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }
DWORD ViewOf(HWND hwnd) { return StyleOf(hwnd) & LVS_TYPEMASK; }
bool OwnerData(HWND hwnd) { return StyleOf(hwnd) & LVS_OWNERDATA; }

int Count(HWND hwnd, const ListViewState& st) {
  return OwnerData(hwnd) ? st.ownerCount : static_cast<int>(st.items.size());
}
bool Valid(HWND hwnd, const ListViewState& st, int i) { return i >= 0 && i < Count(hwnd, st); }

LRESULT NotifyList(HWND hwnd, UINT code, int item, int subItem, UINT newState = 0, UINT oldState = 0,
                   UINT changed = 0, POINT at = {}) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = at;
  if (ListViewState* st = StateOf(hwnd); st && !OwnerData(hwnd) && Valid(hwnd, *st, item))
    nm.lParam = st->items[static_cast<size_t>(item)].param;
  return SendNotify(hwnd, code, &nm.hdr);
}

// ---- Geometry ---------------------------------------------------------------

int RowHeight(HWND hwnd) { return FontHeight(hwnd) + 4; }

int HeaderHeight(HWND hwnd, const ListViewState& st) {
  if (ViewOf(hwnd) != LVS_REPORT || !st.header || (StyleOf(hwnd) & LVS_NOCOLUMNHEADER)) return 0;
  RECT r;
  GetWindowRect(st.header, &r);
  return r.bottom - r.top;
}

RECT Client(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  return rc;
}

SIZE CellSize(HWND hwnd) {
  switch (ViewOf(hwnd)) {
    case LVS_ICON: return SIZE{kIconCellWidth, kIconSize + 6 + 2 * FontHeight(hwnd)};
    case LVS_SMALLICON:
    case LVS_LIST: return SIZE{kListColumnWidth, RowHeight(hwnd)};
    default: return SIZE{0, RowHeight(hwnd)};
  }
}

// Rows in a column of the list view; items in a row of the icon views.
int PerLine(HWND hwnd) {
  RECT rc = Client(hwnd);
  SIZE cell = CellSize(hwnd);
  if (ViewOf(hwnd) == LVS_LIST) return std::max(1, static_cast<int>(rc.bottom / cell.cy));
  return std::max(1, static_cast<int>(rc.right / std::max(1, static_cast<int>(cell.cx))));
}

int ColumnWidth(const ListViewState& st, int column) {
  HDITEM hi{};
  hi.mask = HDI_WIDTH;
  if (!st.header || !SendMessageA(st.header, HDM_GETITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hi)))
    return 0;
  return hi.cxy;
}

std::vector<int> ColumnOrder(const ListViewState& st) {
  std::vector<int> order(st.columns.size());
  if (!order.empty())
    SendMessageA(st.header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
  return order;
}

int TotalWidth(const ListViewState& st) {
  int w = 0;
  for (size_t c = 0; c < st.columns.size(); ++c) w += ColumnWidth(st, static_cast<int>(c));
  return w;
}

// The left edge of a column in report view, in client coordinates.
int ColumnLeft(const ListViewState& st, int column) {
  int x = -st.scrollX;
  for (int c : ColumnOrder(st)) {
    if (c == column) return x;
    x += ColumnWidth(st, c);
  }
  return x;
}

RECT Bounds(HWND hwnd, const ListViewState& st, int i) {
  SIZE cell = CellSize(hwnd);
  switch (ViewOf(hwnd)) {
    case LVS_REPORT: {
      int y = HeaderHeight(hwnd, st) + (i - st.top) * cell.cy;
      int width = st.columns.empty() ? Client(hwnd).right : TotalWidth(st);
      return RECT{-st.scrollX, y, -st.scrollX + width, y + cell.cy};
    }
    case LVS_LIST: {
      int per = PerLine(hwnd);
      int x = (i / per - st.top) * cell.cx, y = (i % per) * cell.cy;
      return RECT{x, y, x + cell.cx, y + cell.cy};
    }
    default: {
      int per = PerLine(hwnd);
      int x = (i % per) * cell.cx, y = (i / per - st.top) * cell.cy;
      return RECT{x, y, x + cell.cx, y + cell.cy};
    }
  }
}

// The part of an item a code of LVM_GETITEMRECT names.
RECT ItemPart(HWND hwnd, const ListViewState& st, int i, int code) {
  RECT b = Bounds(hwnd, st, i);
  if (code == LVIR_BOUNDS) return b;
  DWORD view = ViewOf(hwnd);
  RECT label = b;
  RECT icon = b;
  if (view == LVS_ICON) {
    icon = RECT{b.left + (b.right - b.left - kIconSize) / 2, b.top + 2, b.left + (b.right - b.left + kIconSize) / 2,
                b.top + 2 + kIconSize};
    label.top = icon.bottom + 2;
  } else {
    bool small = st.images[LVSIL_SMALL] != nullptr;
    int iconWidth = small ? 18 : 0;
    icon.right = icon.left + iconWidth;
    label.left = icon.right;
    if (view == LVS_REPORT && !st.columns.empty()) {
      label.left = ColumnLeft(st, 0) + iconWidth;
      icon.left = label.left - iconWidth;
      icon.right = label.left;
      label.right = ColumnLeft(st, 0) + ColumnWidth(st, 0);
    }
  }
  if (code == LVIR_ICON) return icon;
  if (code == LVIR_LABEL) return label;
  // Select bounds: the icon and label together.
  RECT out;
  UnionRect(&out, &icon, &label);
  return out;
}

// Items whose rectangles may show, as [first, end).
std::pair<int, int> VisibleRange(HWND hwnd, const ListViewState& st) {
  RECT rc = Client(hwnd);
  SIZE cell = CellSize(hwnd);
  int n = Count(hwnd, st);
  int first = 0, end = 0;
  switch (ViewOf(hwnd)) {
    case LVS_REPORT: {
      int rows = (rc.bottom - HeaderHeight(hwnd, st) + cell.cy - 1) / cell.cy;
      first = st.top;
      end = st.top + std::max(0, rows);
      break;
    }
    case LVS_LIST: {
      int per = PerLine(hwnd);
      int columns = (rc.right + cell.cx - 1) / cell.cx;
      first = st.top * per;
      end = (st.top + columns) * per;
      break;
    }
    default: {
      int per = PerLine(hwnd);
      int rows = (rc.bottom + cell.cy - 1) / cell.cy;
      first = st.top * per;
      end = (st.top + rows) * per;
      break;
    }
  }
  return {std::clamp(first, 0, n), std::clamp(end, 0, n)};
}

// Whole rows (report), columns (list) or grid rows that fit: the page of the scroll bar.
int PageLines(HWND hwnd, const ListViewState& st) {
  RECT rc = Client(hwnd);
  SIZE cell = CellSize(hwnd);
  switch (ViewOf(hwnd)) {
    case LVS_REPORT: return std::max(1, static_cast<int>((rc.bottom - HeaderHeight(hwnd, st)) / cell.cy));
    case LVS_LIST: return std::max(1, static_cast<int>(rc.right / cell.cx));
    default: return std::max(1, static_cast<int>(rc.bottom / cell.cy));
  }
}

int LineCount(HWND hwnd, const ListViewState& st) {
  int n = Count(hwnd, st);
  if (ViewOf(hwnd) == LVS_REPORT) return n;
  int per = PerLine(hwnd);
  return (n + per - 1) / per;
}

int HitTest(HWND hwnd, const ListViewState& st, POINT p, UINT* flags) {
  auto [first, end] = VisibleRange(hwnd, st);
  bool fullRow = ViewOf(hwnd) == LVS_REPORT && (st.exStyle & LVS_EX_FULLROWSELECT);
  for (int i = first; i < end; ++i) {
    RECT hit = fullRow || ViewOf(hwnd) != LVS_REPORT ? Bounds(hwnd, st, i) : ItemPart(hwnd, st, i, LVIR_SELECTBOUNDS);
    if (PtInRect(&hit, p)) {
      RECT icon = ItemPart(hwnd, st, i, LVIR_ICON);
      if (flags) *flags = PtInRect(&icon, p) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
      return i;
    }
  }
  if (flags) *flags = LVHT_NOWHERE;
  return -1;
}

// ---- Scrolling ----------------------------------------------------------------

void SyncScrollBars(HWND hwnd) {
  ListViewState* st = StateOf(hwnd);
  if (!st || (StyleOf(hwnd) & LVS_NOSCROLL)) return;
  DWORD view = ViewOf(hwnd);
  int lines = LineCount(hwnd, *st);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, lines - 1),
                static_cast<UINT>(PageLines(hwnd, *st)), st->top, 0};
  if (view == LVS_LIST) {
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    return;
  }
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  if (view == LVS_REPORT) {
    RECT rc = Client(hwnd);
    SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, TotalWidth(*st) - 1),
                 static_cast<UINT>(std::max(0, static_cast<int>(rc.right))), st->scrollX, 0};
    SetScrollInfo(hwnd, SB_HORZ, &h, TRUE);
  }
}

void PlaceHeader(HWND hwnd) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !st->header) return;
  bool shown = ViewOf(hwnd) == LVS_REPORT && !(StyleOf(hwnd) & LVS_NOCOLUMNHEADER);
  RECT rc = Client(hwnd);
  WINDOWPOS pos{};
  HDLAYOUT layout{&rc, &pos};
  SendMessageA(st->header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  int width = std::max(pos.cx + st->scrollX, TotalWidth(*st));
  SetWindowPos(st->header, nullptr, -st->scrollX, pos.y, width, pos.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(st->header, shown ? SW_SHOWNA : SW_HIDE);
}

void Relayout(HWND hwnd) {
  PlaceHeader(hwnd);
  SyncScrollBars(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollToLine(HWND hwnd, ListViewState& st, int top) {
  int last = std::max(0, LineCount(hwnd, st) - PageLines(hwnd, st));
  top = std::clamp(top, 0, last);
  if (top == st.top) return;
  st.top = top;
  SyncScrollBars(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void ScrollToX(HWND hwnd, ListViewState& st, int x) {
  int last = std::max(0, TotalWidth(st) - static_cast<int>(Client(hwnd).right));
  x = std::clamp(x, 0, last);
  if (x == st.scrollX) return;
  st.scrollX = x;
  Relayout(hwnd);
}

void OnScroll(HWND hwnd, ListViewState& st, int bar, WORD code) {
  bool lines = bar == SB_VERT || ViewOf(hwnd) == LVS_LIST;
  int pos = lines ? st.top : st.scrollX;
  int step = lines ? 1 : 16;
  int page = lines ? PageLines(hwnd, st) : static_cast<int>(Client(hwnd).right);
  if (!ScrollCodePosition(hwnd, bar, code, step, page, pos)) return;
  if (lines)
    ScrollToLine(hwnd, st, pos);
  else
    ScrollToX(hwnd, st, pos);
}

BOOL EnsureVisible(HWND hwnd, ListViewState& st, int i) {
  if (!Valid(hwnd, st, i)) return FALSE;
  int line = ViewOf(hwnd) == LVS_REPORT ? i : i / PerLine(hwnd);
  int page = PageLines(hwnd, st);
  if (line < st.top)
    ScrollToLine(hwnd, st, line);
  else if (line >= st.top + page)
    ScrollToLine(hwnd, st, line - page + 1);
  return TRUE;
}

// ---- Item data ------------------------------------------------------------------

// A cell's text: kept, or asked of the parent for owner data and callbacks.
std::string CellText(HWND hwnd, const ListViewState& st, int i, int subItem) {
  if (!OwnerData(hwnd)) {
    const Item& it = st.items[static_cast<size_t>(i)];
    if (subItem >= static_cast<int>(it.cells.size())) return "";
    const Cell& c = it.cells[static_cast<size_t>(subItem)];
    if (!c.callback) return c.text;
  }
  char buffer[kTextBuffer] = {};
  NMLVDISPINFO di{};
  di.item.mask = LVIF_TEXT;
  di.item.iItem = i;
  di.item.iSubItem = subItem;
  di.item.pszText = buffer;
  di.item.cchTextMax = kTextBuffer;
  if (!OwnerData(hwnd)) di.item.lParam = st.items[static_cast<size_t>(i)].param;
  SendNotify(hwnd, LVN_GETDISPINFO, &di.hdr);
  if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACK) return "";
  if (di.item.pszText == buffer) return std::string(buffer, strnlen(buffer, kTextBuffer));
  return di.item.pszText;
}

// An item's image index: kept, or asked of the parent for owner data and callbacks.
int ItemImage(HWND hwnd, const ListViewState& st, int i) {
  if (!OwnerData(hwnd) && st.items[static_cast<size_t>(i)].image != I_IMAGECALLBACK)
    return st.items[static_cast<size_t>(i)].image;
  NMLVDISPINFO di{};
  di.item.mask = LVIF_IMAGE;
  di.item.iItem = i;
  di.item.iImage = I_IMAGENONE;
  if (!OwnerData(hwnd)) di.item.lParam = st.items[static_cast<size_t>(i)].param;
  SendNotify(hwnd, LVN_GETDISPINFO, &di.hdr);
  return di.item.iImage;
}

// The icons the current view shows: large in icon view, small elsewhere.
HIMAGELIST ViewImages(HWND hwnd, const ListViewState& st) {
  return st.images[ViewOf(hwnd) == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL];
}

UINT ItemState(HWND hwnd, const ListViewState& st, int i) {
  if (!Valid(hwnd, st, i)) return 0;
  UINT state = 0;
  if (OwnerData(hwnd)) {
    if (st.ownerSelected.Contains(i)) state |= LVIS_SELECTED;
    if (st.ownerCut.Contains(i)) state |= LVIS_CUT;
  } else {
    state = st.items[static_cast<size_t>(i)].state & ~LVIS_FOCUSED;
  }
  if (i == st.focus) state |= LVIS_FOCUSED;
  return state;
}

void StoreState(HWND hwnd, ListViewState& st, int i, UINT state) {
  if (OwnerData(hwnd)) {
    if (state & LVIS_SELECTED)
      st.ownerSelected.Add(i, i + 1);
    else
      st.ownerSelected.Remove(i, i + 1);
    if (state & LVIS_CUT)
      st.ownerCut.Add(i, i + 1);
    else
      st.ownerCut.Remove(i, i + 1);
  } else {
    st.items[static_cast<size_t>(i)].state = state & ~LVIS_FOCUSED;
  }
  if (state & LVIS_FOCUSED)
    st.focus = i;
  else if (st.focus == i)
    st.focus = -1;
}

void InvalidateItem(HWND hwnd, int i) {
  ListViewState* st = StateOf(hwnd);
  if (!st) return;
  RECT r = Bounds(hwnd, *st, i);
  if (ViewOf(hwnd) == LVS_REPORT) r.right = std::max(r.right, static_cast<LONG>(Client(hwnd).right));
  InvalidateRect(hwnd, &r, TRUE);
}

BOOL SetState(HWND hwnd, int i, UINT mask, UINT value);

// Clears `bit` from every item but `keep`.
void ClearOthers(HWND hwnd, ListViewState& st, UINT bit, int keep) {
  if (bit == LVIS_FOCUSED) {
    if (st.focus >= 0 && st.focus != keep) SetState(hwnd, st.focus, LVIS_FOCUSED, 0);
    return;
  }
  if (OwnerData(hwnd)) {
    IndexSet& set = bit == LVIS_SELECTED ? st.ownerSelected : st.ownerCut;
    bool kept = keep >= 0 && set.Contains(keep);
    if (set.ranges.empty() || (kept && set.Size() == 1)) return;
    set.ranges.clear();
    if (kept) set.Add(keep, keep + 1);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyList(hwnd, LVN_ITEMCHANGED, -1, 0, 0, bit, LVIF_STATE);
    return;
  }
  for (int j = 0; j < Count(hwnd, st); ++j)
    if (j != keep && (st.items[static_cast<size_t>(j)].state & bit)) {
      SetState(hwnd, j, bit, 0);
      ListViewState* now = StateOf(hwnd);
      if (!now) return;
    }
}

// One item's state change with LVN_ITEMCHANGING (which may refuse, except
// for owner data) and LVN_ITEMCHANGED.
BOOL SetState(HWND hwnd, int i, UINT mask, UINT value) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !Valid(hwnd, *st, i)) return FALSE;
  mask &= LVIS_FOCUSED | LVIS_SELECTED | LVIS_CUT | LVIS_DROPHILITED;
  UINT old = ItemState(hwnd, *st, i);
  UINT now = (old & ~mask) | (value & mask);
  if (now == old) return TRUE;
  if (!OwnerData(hwnd) && NotifyList(hwnd, LVN_ITEMCHANGING, i, 0, now, old, LVIF_STATE)) return FALSE;
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return FALSE;
  if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) ClearOthers(hwnd, *st, LVIS_FOCUSED, i);
  if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (StyleOf(hwnd) & LVS_SINGLESEL))
    ClearOthers(hwnd, *st, LVIS_SELECTED, i);
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return FALSE;
  StoreState(hwnd, *st, i, now);
  InvalidateItem(hwnd, i);
  NotifyList(hwnd, LVN_ITEMCHANGED, i, 0, now, old, LVIF_STATE);
  return TRUE;
}

// LVM_SETITEMSTATE with -1: every item (owner data: one LVN_ITEMCHANGED for all).
BOOL SetStateAll(HWND hwnd, UINT mask, UINT value) {
  ListViewState* st = StateOf(hwnd);
  if (!st) return FALSE;
  if (OwnerData(hwnd)) {
    mask &= LVIS_SELECTED | LVIS_CUT;
    if (mask & LVIS_SELECTED) {
      st->ownerSelected.ranges.clear();
      if (value & LVIS_SELECTED) st->ownerSelected.Add(0, st->ownerCount);
    }
    if (mask & LVIS_CUT) {
      st->ownerCut.ranges.clear();
      if (value & LVIS_CUT) st->ownerCut.Add(0, st->ownerCount);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyList(hwnd, LVN_ITEMCHANGED, -1, 0, value & mask, ~value & mask, LVIF_STATE);
    return TRUE;
  }
  if ((mask & value & LVIS_FOCUSED)) return FALSE;  // only one item holds the focus
  for (int i = 0; i < Count(hwnd, *st); ++i) {
    SetState(hwnd, i, mask, value);
    if ((st = StateOf(hwnd)) == nullptr) return FALSE;
  }
  return TRUE;
}

int SelectedCount(HWND hwnd, const ListViewState& st) {
  if (OwnerData(hwnd)) return static_cast<int>(st.ownerSelected.Size());
  return static_cast<int>(
      std::count_if(st.items.begin(), st.items.end(), [](const Item& it) { return (it.state & LVIS_SELECTED) != 0; }));
}

int NextItem(HWND hwnd, const ListViewState& st, int start, UINT flags) {
  int n = Count(hwnd, st);
  UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT);
  auto matches = [&](int i) { return (ItemState(hwnd, st, i) & want) == want; };
  int step = 1;
  if (flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT)) {
    DWORD view = ViewOf(hwnd);
    int per = view == LVS_REPORT ? 1 : PerLine(hwnd);
    bool byLine = view == LVS_LIST ? (flags & (LVNI_ABOVE | LVNI_BELOW)) != 0 : true;
    if (view == LVS_REPORT && (flags & (LVNI_TOLEFT | LVNI_TORIGHT))) return -1;
    int unit = view == LVS_LIST ? (byLine ? 1 : per) : ((flags & (LVNI_ABOVE | LVNI_BELOW)) ? per : 1);
    step = (flags & (LVNI_ABOVE | LVNI_TOLEFT)) ? -unit : unit;
    for (int i = start + step; i >= 0 && i < n; i += step)
      if (matches(i)) return i;
    return -1;
  }
  if (flags == LVNI_FOCUSED) return st.focus > start ? st.focus : -1;
  if (OwnerData(hwnd) && want == LVNI_SELECTED) {
    int i = st.ownerSelected.Next(start);
    return i >= 0 && i < n ? i : -1;
  }
  for (int i = std::max(0, start + 1); i < n; ++i)
    if (matches(i)) return i;
  return -1;
}

// ---- Painting -------------------------------------------------------------------

UINT TextAlign(int fmt) {
  switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

void PaintItem(HWND hwnd, HDC dc, const ListViewState& st, int i) {
  UINT state = ItemState(hwnd, st, i);
  bool selected = state & (LVIS_SELECTED | LVIS_DROPHILITED);
  bool showSel = st.focused || (StyleOf(hwnd) & LVS_SHOWSELALWAYS) || (state & LVIS_DROPHILITED);
  RECT bounds = Bounds(hwnd, st, i);
  DWORD view = ViewOf(hwnd);
  if (view == LVS_REPORT && (StyleOf(hwnd) & LVS_OWNERDRAWFIXED)) {
    DRAWITEMSTRUCT dis{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(i), ODA_DRAWENTIRE,
                       (selected ? ODS_SELECTED : 0u) | (st.focused && i == st.focus ? ODS_FOCUS : 0u), hwnd, dc, bounds,
                       OwnerData(hwnd) ? 0 : static_cast<ULONG_PTR>(st.items[static_cast<size_t>(i)].param)};
    SendMessageA(GetParent(hwnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  bool fullRow = view == LVS_REPORT && (st.exStyle & LVS_EX_FULLROWSELECT);
  RECT label = ItemPart(hwnd, st, i, LVIR_LABEL);
  std::string text = CellText(hwnd, st, i, 0);
  RECT mark = fullRow ? bounds : label;
  if (!fullRow && view != LVS_REPORT) {
    // The highlight fits the label's text in the list and icon views.
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    mark.right = std::min(mark.right, mark.left + extent.cx + 4);
  }
  COLORREF textColour = GetSysColor((state & LVIS_CUT) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  if (selected) {
    FillRect(dc, &mark, GetSysColorBrush(showSel ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (showSel) textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  if (HIMAGELIST icons = ViewImages(hwnd, st)) {
    // Centred in the icon box; cut items, and selected ones while the selection shows, are tinted.
    RECT box = ItemPart(hwnd, st, i, LVIR_ICON);
    int x = box.left + (box.right - box.left - ImageListSize(icons, false)) / 2;
    int y = box.top + (box.bottom - box.top - ImageListSize(icons, true)) / 2;
    bool tinted = (state & LVIS_CUT) || (selected && showSel);
    ImageList_Draw(icons, ItemImage(hwnd, st, i), dc, x, y, ILD_TRANSPARENT | (tinted ? ILD_BLEND50 : 0));
  }
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (view == LVS_REPORT) {
    for (size_t c = 0; c < st.columns.size(); ++c) {
      int column = static_cast<int>(c);
      int left = ColumnLeft(st, column);
      RECT cell{left + 4, bounds.top, left + ColumnWidth(st, column) - 4, bounds.bottom};
      if (c == 0) cell.left = label.left + 2;
      bool inMark = selected && showSel && (fullRow || c == 0);
      SetTextColor(dc, inMark ? textColour : GetSysColor((state & LVIS_CUT) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      std::string s = c == 0 ? text : CellText(hwnd, st, i, st.columns[c].subItem);
      DrawTextA(dc, s.c_str(), -1, &cell, format | TextAlign(st.columns[c].fmt));
    }
    if (st.columns.empty()) {
      SetTextColor(dc, textColour);
      RECT cell{label.left + 2, label.top, label.right, label.bottom};
      DrawTextA(dc, text.c_str(), -1, &cell, format);
    }
    if (st.exStyle & LVS_EX_GRIDLINES) {
      RECT line{bounds.left, bounds.bottom - 1, bounds.right, bounds.bottom};
      FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
  } else {
    SetTextColor(dc, textColour);
    RECT cell{label.left + 2, label.top, label.right, label.bottom};
    DrawTextA(dc, text.c_str(), -1, &cell, view == LVS_ICON ? (DT_CENTER | DT_WORDBREAK | DT_NOPREFIX) : format);
  }
  if (st.focused && i == st.focus) DrawFocusRect(dc, &mark);
}

void Paint(HWND hwnd, HDC dc) {
  ListViewState* st = StateOf(hwnd);
  if (!st) return;
  HBRUSH background = GetSysColorBrush(COLOR_WINDOW);
  SelectObject(dc, ControlFont(hwnd));
  RECT rc = Client(hwnd);
  FillRect(dc, &rc, background);
  auto [first, end] = VisibleRange(hwnd, *st);
  if (first >= end) return;
  if (OwnerData(hwnd)) {
    NMLVCACHEHINT hint{};
    hint.iFrom = first;
    hint.iTo = end - 1;
    SendNotify(hwnd, LVN_ODCACHEHINT, &hint.hdr);
    if ((st = StateOf(hwnd)) == nullptr) return;
    end = std::min(end, Count(hwnd, *st));
  }
  for (int i = first; i < end; ++i) {
    PaintItem(hwnd, dc, *st, i);
    if ((st = StateOf(hwnd)) == nullptr || i + 1 > Count(hwnd, *st)) return;
  }
  if (ViewOf(hwnd) == LVS_REPORT && (st->exStyle & LVS_EX_GRIDLINES)) {
    HBRUSH line = GetSysColorBrush(COLOR_BTNFACE);
    int x = -st->scrollX;
    for (int c : ColumnOrder(*st)) {
      x += ColumnWidth(*st, c);
      RECT v{x - 1, HeaderHeight(hwnd, *st), x, rc.bottom};
      FillRect(dc, &v, line);
    }
  }
}

// The item's icon and label as a one-image list, for dragging; `at` gets its
// upper-left corner in client coordinates.
HIMAGELIST CreateDragImage(HWND hwnd, int i, POINT* at) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !Valid(hwnd, *st, i)) return nullptr;
  const std::string text = CellText(hwnd, *st, i, 0);
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return nullptr;
  HIMAGELIST icons = ViewImages(hwnd, *st);
  const int image = icons ? ItemImage(hwnd, *st, i) : I_IMAGENONE;
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return nullptr;
  SIZE extent{};
  HDC dc = GetDC(hwnd);
  auto oldFont = SelectObject(dc, ControlFont(hwnd));
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, oldFont);
  ReleaseDC(hwnd, dc);
  const int height = std::max(RowHeight(hwnd), ImageListSize(icons, true));
  const RECT icon = ItemPart(hwnd, *st, i, LVIR_ICON);
  const RECT label = ItemPart(hwnd, *st, i, LVIR_LABEL);
  if (at) *at = icons ? POINT{icon.left, icon.top} : POINT{label.left, label.top};
  return MakeDragImage(icons, image, ControlFont(hwnd), text, extent.cx + 4, height);
}

// ---- Items and columns ------------------------------------------------------------

int InsertItem(HWND hwnd, ListViewState& st, const LVITEM* in) {
  if (!in || OwnerData(hwnd) || in->iSubItem != 0) return -1;
  Item it;
  it.cells.resize(1);
  if (in->mask & LVIF_TEXT) {
    it.cells[0].callback = in->pszText == LPSTR_TEXTCALLBACK;
    if (!it.cells[0].callback && in->pszText) it.cells[0].text = in->pszText;
  }
  if (in->mask & LVIF_IMAGE) it.image = in->iImage;
  if (in->mask & LVIF_PARAM) it.param = in->lParam;
  int n = Count(hwnd, st);
  int at = std::clamp(in->iItem, 0, n);
  DWORD style = StyleOf(hwnd);
  if ((style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !it.cells[0].callback) {
    bool down = style & LVS_SORTDESCENDING;
    at = 0;
    while (at < n) {
      int order = CompareNoCase(st.items[static_cast<size_t>(at)].cells[0].text, it.cells[0].text);
      if (down ? order < 0 : order > 0) break;
      ++at;
    }
  }
  UINT state = (in->mask & LVIF_STATE) ? (in->state & in->stateMask) : 0;
  st.items.insert(st.items.begin() + at, std::move(it));
  if (st.focus >= at) ++st.focus;
  if (st.anchor >= at) ++st.anchor;
  NotifyList(hwnd, LVN_INSERTITEM, at, 0);
  if (state) SetState(hwnd, at, state, state);
  if (StateOf(hwnd)) {
    SyncScrollBars(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  return at;
}

BOOL SetItemData(HWND hwnd, ListViewState& st, const LVITEM* in) {
  if (!in || !Valid(hwnd, st, in->iItem) || in->iSubItem < 0) return FALSE;
  if (OwnerData(hwnd)) {
    if (in->mask & LVIF_STATE) return SetState(hwnd, in->iItem, in->stateMask, in->state);
    return in->mask == 0 ? TRUE : FALSE;
  }
  if (in->iSubItem >= kMaxSubItems) return FALSE;  // a wild index must not grow the row without end
  Item& it = st.items[static_cast<size_t>(in->iItem)];
  if (in->mask & LVIF_TEXT) {
    if (it.cells.size() <= static_cast<size_t>(in->iSubItem)) it.cells.resize(static_cast<size_t>(in->iSubItem) + 1);
    Cell& c = it.cells[static_cast<size_t>(in->iSubItem)];
    c.callback = in->pszText == LPSTR_TEXTCALLBACK;
    c.text = c.callback || !in->pszText ? "" : in->pszText;
  }
  if (in->iSubItem == 0) {
    if (in->mask & LVIF_IMAGE) it.image = in->iImage;
    if (in->mask & LVIF_PARAM) it.param = in->lParam;
  }
  InvalidateItem(hwnd, in->iItem);
  if ((in->mask & LVIF_STATE) && in->iSubItem == 0) return SetState(hwnd, in->iItem, in->stateMask, in->state);
  return TRUE;
}

BOOL GetItemData(HWND hwnd, ListViewState& st, LVITEM* out) {
  if (!out || !Valid(hwnd, st, out->iItem) || out->iSubItem < 0) return FALSE;
  int i = out->iItem;
  if (out->mask & LVIF_TEXT) CopyTextOut(CellText(hwnd, st, i, out->iSubItem), out->pszText, out->cchTextMax);
  if (out->mask & LVIF_STATE) out->state = ItemState(hwnd, st, i) & out->stateMask;
  if (!OwnerData(hwnd)) {
    const Item& it = st.items[static_cast<size_t>(i)];
    if (out->mask & LVIF_IMAGE) out->iImage = it.image;
    if (out->mask & LVIF_PARAM) out->lParam = it.param;
  } else if (out->mask & (LVIF_IMAGE | LVIF_PARAM)) {
    NMLVDISPINFO di{};
    di.item.mask = out->mask & (LVIF_IMAGE | LVIF_PARAM);
    di.item.iItem = i;
    di.item.iSubItem = out->iSubItem;
    SendNotify(hwnd, LVN_GETDISPINFO, &di.hdr);
    if (out->mask & LVIF_IMAGE) out->iImage = di.item.iImage;
    if (out->mask & LVIF_PARAM) out->lParam = di.item.lParam;
  }
  return TRUE;
}

BOOL DeleteItem(HWND hwnd, int i) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !Valid(hwnd, *st, i)) return FALSE;
  NotifyList(hwnd, LVN_DELETEITEM, i, 0);
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return FALSE;
  if (OwnerData(hwnd)) {
    // The parent has already dropped its row: later rows move up by one.
    auto shift = [&](IndexSet& set) {
      IndexSet moved;
      for (auto [a, b] : set.ranges) {
        if (b <= i) {
          moved.Add(a, b);
        } else if (a > i) {
          moved.Add(a - 1, b - 1);
        } else {
          moved.Add(a, b - 1);
        }
      }
      set = std::move(moved);
    };
    shift(st->ownerSelected);
    shift(st->ownerCut);
    --st->ownerCount;
  } else {
    st->items.erase(st->items.begin() + i);
  }
  if (st->focus == i) st->focus = -1;
  else if (st->focus > i) --st->focus;
  if (st->anchor >= i) st->anchor = std::max(-1, st->anchor - 1);
  ScrollToLine(hwnd, *st, st->top);
  SyncScrollBars(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

BOOL DeleteAll(HWND hwnd) {
  ListViewState* st = StateOf(hwnd);
  if (!st) return FALSE;
  if (!OwnerData(hwnd) && !st->items.empty()) {
    bool quiet = NotifyList(hwnd, LVN_DELETEALLITEMS, -1, 0) != 0;
    if ((st = StateOf(hwnd)) == nullptr) return FALSE;
    if (!quiet)
      for (int i = 0; i < Count(hwnd, *st); ++i) {
        NotifyList(hwnd, LVN_DELETEITEM, i, 0);
        if ((st = StateOf(hwnd)) == nullptr) return FALSE;
      }
  }
  st->items.clear();
  st->ownerCount = 0;
  st->ownerSelected.ranges.clear();
  st->ownerCut.ranges.clear();
  st->focus = st->anchor = -1;
  st->top = 0;
  SyncScrollBars(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

BOOL SetItemCount(HWND hwnd, ListViewState& st, int count, LPARAM flags) {
  if (count < 0) return FALSE;
  if (!OwnerData(hwnd)) {
    st.items.reserve(static_cast<size_t>(count));
    return TRUE;
  }
  st.ownerCount = count;
  st.ownerSelected.Remove(count, 1 << 30);
  st.ownerCut.Remove(count, 1 << 30);
  if (st.focus >= count) st.focus = -1;
  if (st.anchor >= count) st.anchor = -1;
  if (!(flags & LVSICF_NOSCROLL)) st.top = std::clamp(st.top, 0, std::max(0, LineCount(hwnd, st) - PageLines(hwnd, st)));
  SyncScrollBars(hwnd);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

HDITEM HeaderItemOf(const LVCOLUMN& in) {
  HDITEM hi{};
  if (in.mask & LVCF_WIDTH) {
    hi.mask |= HDI_WIDTH;
    hi.cxy = in.cx;
  }
  if (in.mask & LVCF_TEXT) {
    hi.mask |= HDI_TEXT;
    hi.pszText = in.pszText;
  }
  if (in.mask & LVCF_FMT) {
    hi.mask |= HDI_FORMAT;
    hi.fmt = HDF_STRING | (in.fmt & LVCFMT_JUSTIFYMASK);
  }
  if (in.mask & LVCF_IMAGE) {
    hi.mask |= HDI_IMAGE;
    hi.iImage = in.iImage;
  }
  if (in.mask & LVCF_ORDER) {
    hi.mask |= HDI_ORDER;
    hi.iOrder = in.iOrder;
  }
  return hi;
}

int InsertColumn(HWND hwnd, ListViewState& st, int index, const LVCOLUMN* in) {
  if (!in || index < 0) return -1;
  index = std::min(index, static_cast<int>(st.columns.size()));
  Column c;
  if (in->mask & LVCF_FMT) c.fmt = in->fmt;
  c.subItem = (in->mask & LVCF_SUBITEM) ? in->iSubItem : index;
  HDITEM hi = HeaderItemOf(*in);
  hi.mask |= HDI_FORMAT;
  hi.fmt = HDF_STRING | (c.fmt & LVCFMT_JUSTIFYMASK);
  if (!(hi.mask & HDI_WIDTH)) {
    hi.mask |= HDI_WIDTH;
    hi.cxy = 0;
  }
  int at = static_cast<int>(SendMessageA(st.header, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi)));
  if (at < 0) return -1;
  ListViewState* now = StateOf(hwnd);
  if (!now) return -1;
  now->columns.insert(now->columns.begin() + at, c);
  Relayout(hwnd);
  return at;
}

BOOL GetColumn(ListViewState& st, int index, LVCOLUMN* out) {
  if (!out || index < 0 || index >= static_cast<int>(st.columns.size())) return FALSE;
  HDITEM hi{};
  hi.mask = HDI_WIDTH | HDI_ORDER | HDI_IMAGE;
  if (out->mask & LVCF_TEXT) {
    hi.mask |= HDI_TEXT;
    hi.pszText = out->pszText;
    hi.cchTextMax = out->cchTextMax;
  }
  SendMessageA(st.header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  const Column& c = st.columns[static_cast<size_t>(index)];
  if (out->mask & LVCF_FMT) out->fmt = c.fmt;
  if (out->mask & LVCF_WIDTH) out->cx = hi.cxy;
  if (out->mask & LVCF_SUBITEM) out->iSubItem = c.subItem;
  if (out->mask & LVCF_IMAGE) out->iImage = hi.iImage;
  if (out->mask & LVCF_ORDER) out->iOrder = hi.iOrder;
  return TRUE;
}

BOOL SetColumn(HWND hwnd, ListViewState& st, int index, const LVCOLUMN* in) {
  if (!in || index < 0 || index >= static_cast<int>(st.columns.size())) return FALSE;
  Column& c = st.columns[static_cast<size_t>(index)];
  if (in->mask & LVCF_FMT) c.fmt = in->fmt;
  if (in->mask & LVCF_SUBITEM) c.subItem = in->iSubItem;
  HDITEM hi = HeaderItemOf(*in);
  if (hi.mask) SendMessageA(st.header, HDM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hi));
  Relayout(hwnd);
  return TRUE;
}

// ---- User actions ----------------------------------------------------------------------

// A click or key that moves the focus to `i`: selects it alone, or extends
// from the anchor (shift), or only moves the focus (ctrl).
void UserSelect(HWND hwnd, int i, bool shift, bool ctrl, bool toggle) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !Valid(hwnd, *st, i)) return;
  bool single = StyleOf(hwnd) & LVS_SINGLESEL;
  if (single) {
    shift = false;
    if (ctrl && !toggle) ctrl = false;
  }
  if (shift && st->anchor >= 0) {
    int a = std::min(st->anchor, i), b = std::max(st->anchor, i);
    if (!ctrl) {
      ClearOthers(hwnd, *st, LVIS_SELECTED, -1);
      if ((st = StateOf(hwnd)) == nullptr) return;
    }
    if (OwnerData(hwnd)) {
      st->ownerSelected.Add(a, b + 1);
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyList(hwnd, LVN_ITEMCHANGED, -1, 0, LVIS_SELECTED, 0, LVIF_STATE);
    } else {
      for (int j = a; j <= b; ++j) {
        SetState(hwnd, j, LVIS_SELECTED, LVIS_SELECTED);
        if (!StateOf(hwnd)) return;
      }
    }
  } else if (ctrl) {
    if (toggle) {
      UINT old = ItemState(hwnd, *st, i);
      SetState(hwnd, i, LVIS_SELECTED, (old & LVIS_SELECTED) ? 0 : LVIS_SELECTED);
    }
    if ((st = StateOf(hwnd)) != nullptr) st->anchor = i;
  } else {
    ClearOthers(hwnd, *st, LVIS_SELECTED, i);
    if ((st = StateOf(hwnd)) == nullptr) return;
    SetState(hwnd, i, LVIS_SELECTED, LVIS_SELECTED);
    if ((st = StateOf(hwnd)) != nullptr) st->anchor = i;
  }
  SetState(hwnd, i, LVIS_FOCUSED, LVIS_FOCUSED);
  if ((st = StateOf(hwnd)) != nullptr) EnsureVisible(hwnd, *st, i);
}

void NotifyActivate(HWND hwnd, UINT code, int item, POINT at) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.ptAction = at;
  if (GetKeyState(VK_SHIFT) < 0) nm.uKeyFlags |= 0x0004;
  if (GetKeyState(VK_CONTROL) < 0) nm.uKeyFlags |= 0x0001;
  if (ListViewState* st = StateOf(hwnd); st && !OwnerData(hwnd) && Valid(hwnd, *st, item))
    nm.lParam = st->items[static_cast<size_t>(item)].param;
  SendNotify(hwnd, code, &nm.hdr);
}

int KeyTarget(HWND hwnd, const ListViewState& st, WPARAM key) {
  int n = Count(hwnd, st);
  int cur = st.focus;
  DWORD view = ViewOf(hwnd);
  int per = view == LVS_REPORT ? 1 : PerLine(hwnd);
  int page = PageLines(hwnd, st) * (view == LVS_REPORT ? 1 : per);
  int vertical = view == LVS_LIST ? 1 : per;    // up and down
  int horizontal = view == LVS_LIST ? per : 1;  // left and right
  switch (key) {
    case VK_UP: return cur < 0 ? 0 : std::max(0, cur - vertical);
    case VK_DOWN: return cur < 0 ? 0 : std::min(n - 1, cur + vertical);
    case VK_LEFT: return view == LVS_REPORT ? -1 : (cur < 0 ? 0 : std::max(0, cur - horizontal));
    case VK_RIGHT: return view == LVS_REPORT ? -1 : (cur < 0 ? 0 : std::min(n - 1, cur + horizontal));
    case VK_PRIOR: return cur < 0 ? 0 : std::max(0, cur - page);
    case VK_NEXT: return cur < 0 ? 0 : std::min(n - 1, cur + page);
    case VK_HOME: return 0;
    case VK_END: return n - 1;
    default: return -1;
  }
}

HWND BeginEdit(HWND hwnd, int i);

void OnKeyDown(HWND hwnd, WPARAM key, LPARAM lParam) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  nm.flags = static_cast<UINT>(HIWORD(lParam));
  SendNotify(hwnd, LVN_KEYDOWN, &nm.hdr);
  ListViewState* st = StateOf(hwnd);
  if (!st || Count(hwnd, *st) == 0) return;
  if (key == VK_F2) {
    if ((StyleOf(hwnd) & LVS_EDITLABELS) && st->focus >= 0) BeginEdit(hwnd, st->focus);
    return;
  }
  if (key == VK_SPACE) {
    if (st->focus >= 0) UserSelect(hwnd, st->focus, false, GetKeyState(VK_CONTROL) < 0, true);
    return;
  }
  if (ViewOf(hwnd) == LVS_REPORT && (key == VK_LEFT || key == VK_RIGHT)) {
    ScrollToX(hwnd, *st, st->scrollX + (key == VK_LEFT ? -16 : 16));
    return;
  }
  int to = KeyTarget(hwnd, *st, key);
  if (to < 0) return;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  UserSelect(hwnd, to, GetKeyState(VK_SHIFT) < 0, ctrl, false);
}

void OnButtonDown(HWND hwnd, POINT p, WPARAM keys) {
  SetFocus(hwnd);
  ListViewState* st = StateOf(hwnd);
  if (!st) return;
  if (st->edit) return;
  int i = HitTest(hwnd, *st, p, nullptr);
  if (i < 0) {
    if (!(keys & (MK_SHIFT | MK_CONTROL))) ClearOthers(hwnd, *st, LVIS_SELECTED, -1);
    return;
  }
  bool wasSelected = ItemState(hwnd, *st, i) & LVIS_SELECTED;
  if (!(wasSelected && !(keys & (MK_SHIFT | MK_CONTROL))))
    UserSelect(hwnd, i, keys & MK_SHIFT, keys & MK_CONTROL, true);
  else
    SetState(hwnd, i, LVIS_FOCUSED, LVIS_FOCUSED);
  if ((st = StateOf(hwnd)) == nullptr) return;
  st->pressed = true;
  st->pressItem = i;
  st->pressAt = p;
  SetCapture(hwnd);
}

void OnMouseMove(HWND hwnd, ListViewState& st, POINT p) {
  if (!st.pressed) return;
  if (std::abs(p.x - st.pressAt.x) < kDragStart && std::abs(p.y - st.pressAt.y) < kDragStart) return;
  st.pressed = false;
  int item = st.pressItem;
  POINT at = st.pressAt;
  ReleaseCapture();
  NotifyList(hwnd, LVN_BEGINDRAG, item, 0, 0, 0, 0, at);
}

void OnButtonUp(HWND hwnd, ListViewState& st, POINT p) {
  bool wasPressed = st.pressed;
  st.pressed = false;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (!wasPressed) return;
  ListViewState* now = StateOf(hwnd);
  if (!now) return;
  // A plain click on one of several selected items leaves it selected alone.
  int i = HitTest(hwnd, *now, p, nullptr);
  if (i >= 0 && i == now->pressItem && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 &&
      SelectedCount(hwnd, *now) > 1)
    UserSelect(hwnd, i, false, false, false);
  NotifyActivate(hwnd, NM_CLICK, i, p);
}

// ---- Label editing -----------------------------------------------------------------------

void EndEdit(HWND hwnd, bool accept);

LRESULT CALLBACK LabelEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND list = GetParent(edit);
  ListViewState* st = StateOf(list);
  WNDPROC base = st && st->edit == edit ? st->editProc : nullptr;
  if (!base) return DefWindowProcA(edit, message, wParam, lParam);
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | CallWindowProcA(base, edit, message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        EndEdit(list, wParam == VK_RETURN);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\r' || wParam == 27) return 0;
      break;
    case WM_KILLFOCUS: {
      LRESULT r = CallWindowProcA(base, edit, message, wParam, lParam);
      EndEdit(list, true);
      return r;
    }
    default: break;
  }
  return CallWindowProcA(base, edit, message, wParam, lParam);
}

HWND BeginEdit(HWND hwnd, int i) {
  ListViewState* st = StateOf(hwnd);
  if (!st) return nullptr;
  if (st->edit) EndEdit(hwnd, false);
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return nullptr;
  std::string text = CellText(hwnd, *st, i, 0);
  NMLVDISPINFO di{};
  di.item.mask = LVIF_TEXT;
  di.item.iItem = i;
  di.item.pszText = text.data();
  di.item.cchTextMax = static_cast<int>(text.size()) + 1;
  if (SendNotify(hwnd, LVN_BEGINLABELEDIT, &di.hdr)) return nullptr;
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return nullptr;
  EnsureVisible(hwnd, *st, i);
  RECT r = ItemPart(hwnd, *st, i, LVIR_LABEL);
  HWND edit = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r.left, r.top,
                              std::max(40, static_cast<int>(r.right - r.left)), r.bottom - r.top, hwnd, nullptr, nullptr,
                              nullptr);
  if (!edit || (st = StateOf(hwnd)) == nullptr) return nullptr;
  SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(hwnd)), FALSE);
  st->edit = edit;
  st->editItem = i;
  st->editProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LabelEditProc)));
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
  return edit;
}

void EndEdit(HWND hwnd, bool accept) {
  ListViewState* st = StateOf(hwnd);
  if (!st || !st->edit) return;
  HWND edit = st->edit;
  int i = st->editItem;
  char buffer[kTextBuffer] = {};
  GetWindowTextA(edit, buffer, kTextBuffer);
  // The box goes back to its own procedure, so a focus change while it goes
  // does not end the edit twice.
  SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(st->editProc));
  st->edit = nullptr;
  st->editItem = -1;
  bool hadFocus = GetFocus() == edit;
  DestroyWindow(edit);
  if (hadFocus && IsWindow(hwnd)) SetFocus(hwnd);
  if ((st = StateOf(hwnd)) == nullptr || !Valid(hwnd, *st, i)) return;
  NMLVDISPINFO di{};
  di.item.mask = LVIF_TEXT;
  di.item.iItem = i;
  di.item.pszText = accept ? buffer : nullptr;
  di.item.cchTextMax = kTextBuffer;
  if (!OwnerData(hwnd)) di.item.lParam = st->items[static_cast<size_t>(i)].param;
  LRESULT keep = SendNotify(hwnd, LVN_ENDLABELEDIT, &di.hdr);
  if (!accept || !keep || (st = StateOf(hwnd)) == nullptr || OwnerData(hwnd) || !Valid(hwnd, *st, i)) return;
  Cell& label = st->items[static_cast<size_t>(i)].cells[0];
  if (label.callback) return;  // the parent keeps the text
  label.text = buffer;
  InvalidateItem(hwnd, i);
}

// ---- Header notifications --------------------------------------------------------------------

LRESULT OnHeaderNotify(HWND hwnd, NMHDR* hdr) {
  ListViewState* st = StateOf(hwnd);
  if (!st || hdr->hwndFrom != st->header) return 0;
  auto* nm = reinterpret_cast<NMHEADER*>(hdr);
  // The list's parent hears its header too, as if the header were its own.
  LRESULT answer = SendMessageA(GetParent(hwnd), WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
  if ((st = StateOf(hwnd)) == nullptr) return answer;
  switch (hdr->code) {
    case HDN_ITEMCLICK:
      if (!(StyleOf(hwnd) & LVS_NOSORTHEADER) && nm->iItem >= 0 && nm->iItem < static_cast<int>(st->columns.size()))
        NotifyList(hwnd, LVN_COLUMNCLICK, -1, st->columns[static_cast<size_t>(nm->iItem)].subItem);
      return 0;
    case HDN_BEGINDRAG: return (st->exStyle & LVS_EX_HEADERDRAGDROP) ? answer : TRUE;
    case HDN_ITEMCHANGED:
    case HDN_ENDDRAG:
      if (hdr->code == HDN_ENDDRAG && answer) return answer;
      Relayout(hwnd);
      return answer;
    default: return answer;
  }
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ListViewState* st = StateOf(hwnd);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  auto index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  switch (message) {
    case WM_NCCREATE:
      if (user::WindowRecord* w = user::Find(hwnd)) w->state = std::make_unique<ListViewState>();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CREATE: {
      HWND header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | HDS_BUTTONS | HDS_FULLDRAG, 0, 0, 0, 0, hwnd, nullptr,
                                    nullptr, nullptr);
      if ((st = StateOf(hwnd)) == nullptr) return -1;
      st->header = header;
      Relayout(hwnd);
      return 0;
    }
    case WM_DESTROY:
      if (st && !OwnerData(hwnd)) DeleteAll(hwnd);
      return 0;
    case WM_PAINT: return PaintControl(hwnd, &Paint);
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      Relayout(hwnd);
      return 0;
    case WM_SETFONT:
      if (st) {
        st->font = reinterpret_cast<HFONT>(wParam);
        if (st->header) SendMessageA(st->header, WM_SETFONT, wParam, lParam);
      }
      Relayout(hwnd);
      return 0;
    case WM_GETFONT: return st ? reinterpret_cast<LRESULT>(st->font) : 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      if (st) st->focused = true;
      InvalidateRect(hwnd, nullptr, TRUE);
      {
        NMHDR nm{};
        SendNotify(hwnd, NM_SETFOCUS, &nm);
      }
      return 0;
    case WM_KILLFOCUS:
      if (st) st->focused = false;
      InvalidateRect(hwnd, nullptr, TRUE);
      {
        NMHDR nm{};
        SendNotify(hwnd, NM_KILLFOCUS, &nm);
      }
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (st) OnScroll(hwnd, *st, message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      if (st) ScrollToLine(hwnd, *st, st->top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3);
      return 0;
    case WM_LBUTTONDOWN: OnButtonDown(hwnd, p, wParam); return 0;
    case WM_MOUSEMOVE:
      if (st) OnMouseMove(hwnd, *st, p);
      return 0;
    case WM_LBUTTONUP:
      if (st) OnButtonUp(hwnd, *st, p);
      return 0;
    case WM_CAPTURECHANGED:
      if (st && reinterpret_cast<HWND>(lParam) != hwnd) st->pressed = false;
      return 0;
    case WM_LBUTTONDBLCLK:
      if (st) NotifyActivate(hwnd, NM_DBLCLK, HitTest(hwnd, *st, p, nullptr), p);
      return 0;
    case WM_RBUTTONDOWN: {
      SetFocus(hwnd);
      if ((st = StateOf(hwnd)) == nullptr) return 0;
      int i = HitTest(hwnd, *st, p, nullptr);
      if (i >= 0 && !(ItemState(hwnd, *st, i) & LVIS_SELECTED)) UserSelect(hwnd, i, false, false, false);
      NotifyActivate(hwnd, NM_RCLICK, i, p);
      return 0;
    }
    case WM_KEYDOWN: OnKeyDown(hwnd, wParam, lParam); return 0;
    case WM_NOTIFY: return OnHeaderNotify(hwnd, reinterpret_cast<NMHDR*>(lParam));
    case LVM_GETITEMCOUNT: return st ? Count(hwnd, *st) : 0;
    case LVM_SETITEMCOUNT: return st ? SetItemCount(hwnd, *st, index, lParam) : FALSE;
    case LVM_INSERTITEM: return st ? InsertItem(hwnd, *st, reinterpret_cast<const LVITEM*>(lParam)) : -1;
    case LVM_SETITEM: return st ? SetItemData(hwnd, *st, reinterpret_cast<const LVITEM*>(lParam)) : FALSE;
    case LVM_GETITEM: return st ? GetItemData(hwnd, *st, reinterpret_cast<LVITEM*>(lParam)) : FALSE;
    case LVM_SETITEMTEXT: {
      auto* in = reinterpret_cast<LVITEM*>(lParam);
      if (!st || !in) return FALSE;
      LVITEM change = *in;
      change.mask = LVIF_TEXT;
      change.iItem = index;
      return SetItemData(hwnd, *st, &change);
    }
    case LVM_GETITEMTEXT: {
      auto* out = reinterpret_cast<LVITEM*>(lParam);
      if (!st || !out || !Valid(hwnd, *st, index) || !out->pszText || out->cchTextMax <= 0) return 0;
      CopyTextOut(CellText(hwnd, *st, index, out->iSubItem), out->pszText, out->cchTextMax);
      return static_cast<LRESULT>(std::strlen(out->pszText));
    }
    case LVM_DELETEITEM: return DeleteItem(hwnd, index);
    case LVM_DELETEALLITEMS: return DeleteAll(hwnd);
    case LVM_SETITEMSTATE: {
      auto* in = reinterpret_cast<const LVITEM*>(lParam);
      if (!in) return FALSE;
      if (index == -1) return SetStateAll(hwnd, in->stateMask, in->state);
      return SetState(hwnd, index, in->stateMask, in->state);
    }
    case LVM_GETITEMSTATE: return st ? ItemState(hwnd, *st, index) & static_cast<UINT>(lParam) : 0;
    case LVM_GETSELECTEDCOUNT: return st ? SelectedCount(hwnd, *st) : 0;
    case LVM_GETNEXTITEM: return st ? NextItem(hwnd, *st, index, static_cast<UINT>(LOWORD(lParam))) : -1;
    case LVM_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!st || !r || !Valid(hwnd, *st, index) || r->left < LVIR_BOUNDS || r->left > LVIR_SELECTBOUNDS) return FALSE;
      *r = ItemPart(hwnd, *st, index, r->left);
      return TRUE;
    }
    case LVM_HITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      if (!st || !info) return -1;
      info->iItem = HitTest(hwnd, *st, info->pt, &info->flags);
      info->iSubItem = 0;
      return info->iItem;
    }
    case LVM_ENSUREVISIBLE: return st ? EnsureVisible(hwnd, *st, index) : FALSE;
    case LVM_SCROLL:
      if (!st) return FALSE;
      if (ViewOf(hwnd) == LVS_REPORT) {
        ScrollToX(hwnd, *st, st->scrollX + index);
        ScrollToLine(hwnd, *st, st->top + static_cast<int>(lParam) / CellSize(hwnd).cy);
      } else {
        ScrollToLine(hwnd, *st, st->top + (ViewOf(hwnd) == LVS_LIST ? index / kListColumnWidth
                                                                    : static_cast<int>(lParam) / CellSize(hwnd).cy));
      }
      return TRUE;
    case LVM_REDRAWITEMS:
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case LVM_ARRANGE:
      // Icons always sit on the grid in index order, so arranging only redraws.
      if (!st || ViewOf(hwnd) == LVS_REPORT || ViewOf(hwnd) == LVS_LIST) return FALSE;
      Relayout(hwnd);
      return TRUE;
    case LVM_GETTOPINDEX: return st ? VisibleRange(hwnd, *st).first : 0;
    case LVM_GETCOUNTPERPAGE:
      if (!st) return 0;
      return ViewOf(hwnd) == LVS_REPORT ? PageLines(hwnd, *st) : PageLines(hwnd, *st) * PerLine(hwnd);
    case LVM_CREATEDRAGIMAGE: return reinterpret_cast<LRESULT>(CreateDragImage(hwnd, index, reinterpret_cast<POINT*>(lParam)));
    case LVM_SETIMAGELIST: {
      if (!st || index < LVSIL_NORMAL || index > LVSIL_STATE) return 0;
      HIMAGELIST old = st->images[index];
      st->images[index] = reinterpret_cast<HIMAGELIST>(lParam);
      Relayout(hwnd);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETIMAGELIST:
      return st && index >= LVSIL_NORMAL && index <= LVSIL_STATE ? reinterpret_cast<LRESULT>(st->images[index]) : 0;
    case LVM_EDITLABEL:
      if (index < 0) {
        EndEdit(hwnd, false);
        return 0;
      }
      return reinterpret_cast<LRESULT>(BeginEdit(hwnd, index));
    case LVM_GETEDITCONTROL: return st ? reinterpret_cast<LRESULT>(st->edit) : 0;
    case LVM_INSERTCOLUMN: return st ? InsertColumn(hwnd, *st, index, reinterpret_cast<const LVCOLUMN*>(lParam)) : -1;
    case LVM_GETCOLUMN: return st ? GetColumn(*st, index, reinterpret_cast<LVCOLUMN*>(lParam)) : FALSE;
    case LVM_SETCOLUMN: return st ? SetColumn(hwnd, *st, index, reinterpret_cast<const LVCOLUMN*>(lParam)) : FALSE;
    case LVM_DELETECOLUMN:
      if (!st || index < 0 || index >= static_cast<int>(st->columns.size())) return FALSE;
      SendMessageA(st->header, HDM_DELETEITEM, wParam, 0);
      if ((st = StateOf(hwnd)) == nullptr) return FALSE;
      st->columns.erase(st->columns.begin() + index);
      Relayout(hwnd);
      return TRUE;
    case LVM_GETCOLUMNWIDTH:
      if (!st) return 0;
      if (ViewOf(hwnd) == LVS_LIST) return kListColumnWidth;
      return index >= 0 && index < static_cast<int>(st->columns.size()) ? ColumnWidth(*st, index) : 0;
    case LVM_SETCOLUMNWIDTH: {
      if (!st || index < 0 || index >= static_cast<int>(st->columns.size())) return FALSE;
      HDITEM hi{};
      hi.mask = HDI_WIDTH;
      hi.cxy = std::max(0, static_cast<int>(static_cast<short>(LOWORD(lParam))));
      return SendMessageA(st->header, HDM_SETITEM, wParam, reinterpret_cast<LPARAM>(&hi));
    }
    case LVM_SETCOLUMNORDERARRAY:
      if (!st || !SendMessageA(st->header, HDM_SETORDERARRAY, wParam, lParam)) return FALSE;
      Relayout(hwnd);
      return TRUE;
    case LVM_GETCOLUMNORDERARRAY: return st ? SendMessageA(st->header, HDM_GETORDERARRAY, wParam, lParam) : FALSE;
    case LVM_GETHEADER: return st ? reinterpret_cast<LRESULT>(st->header) : 0;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      if (!st) return 0;
      DWORD old = st->exStyle;
      DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~0u;
      st->exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      if (st->header) {
        DWORD hs = static_cast<DWORD>(GetWindowLongPtrA(st->header, GWL_STYLE));
        hs = (st->exStyle & LVS_EX_HEADERDRAGDROP) ? (hs | HDS_DRAGDROP) : (hs & ~HDS_DRAGDROP);
        SetWindowLongPtrA(st->header, GWL_STYLE, static_cast<LONG_PTR>(hs));
      }
      InvalidateRect(hwnd, nullptr, TRUE);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return st ? st->exStyle : 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterListViewClass() {
  user::AddSystemClass(WC_LISTVIEW, CS_DBLCLKS, &ListViewProc, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace pl3::controls
