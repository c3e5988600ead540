#include "platform/controls/control_common.h"

#include <cstring>

#include "platform/text_case.h"

namespace pl3::controls {

LRESULT PaintControl(HWND control, void (*paint)(HWND, HDC)) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control, &ps);
  if (dc) paint(control, dc);
  EndPaint(control, &ps);
  return 0;
}

void Notify(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
               reinterpret_cast<LPARAM>(control));
}

HFONT ControlFont(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  return font ? font : reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HBRUSH PrepareDC(HWND control, HDC dc, UINT ctlColorMessage) {
  SelectObject(dc, ControlFont(control));
  HWND parent = GetParent(control);
  auto brush = reinterpret_cast<HBRUSH>(
      parent ? SendMessageA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))
             : 0);
  if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcA(control, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(control)));
  return brush;
}

int FontHeight(HWND control) {
  HDC dc = GetDC(control);
  if (!dc) return 13;
  SelectObject(dc, ControlFont(control));
  TEXTMETRICA tm{};
  int h = GetTextMetricsA(dc, &tm) ? tm.tmHeight : 13;
  ReleaseDC(control, dc);
  return h > 0 ? h : 13;
}

int ItemList::Compare(int index, LPARAM value) {
  if (hasStrings) {
    // A null string is stored as the empty one (Insert), so it sorts as one.
    auto text = reinterpret_cast<LPCSTR>(value);
    return CompareNoCase(items[static_cast<size_t>(index)].text, text ? text : "");
  }
  COMPAREITEMSTRUCT cis{ctlType, static_cast<UINT>(GetDlgCtrlID(owner)), owner, static_cast<UINT>(index),
                        items[static_cast<size_t>(index)].data, static_cast<UINT>(-1), static_cast<ULONG_PTR>(value), 0};
  return static_cast<int>(SendMessageA(GetParent(owner), WM_COMPAREITEM, static_cast<WPARAM>(cis.CtlID),
                                       reinterpret_cast<LPARAM>(&cis)));
}

int ItemList::Insert(int index, LPARAM value) {
  ListItem item;
  if (hasStrings)
    item.text = value ? reinterpret_cast<LPCSTR>(value) : "";
  else
    item.data = static_cast<ULONG_PTR>(value);
  if (sorted) {
    // The first place whose item sorts after the new one.
    int lo = 0, hi = Count();
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      if (Compare(mid, value) <= 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    index = lo;
  } else if (index < 0 || index > Count()) {
    index = Count();
  }
  items.insert(items.begin() + index, std::move(item));
  Measure(index);
  return index;
}

int ItemList::InsertAt(int index, LPARAM value) {
  bool wasSorted = sorted;
  sorted = false;
  int i = Insert(index, value);
  sorted = wasSorted;
  return i;
}

LRESULT ItemList::Answer(Query q, WPARAM wParam, LPARAM lParam) {
  auto index = static_cast<int>(static_cast<std::intptr_t>(wParam));
  if (q == Query::Find || q == Query::FindExact)
    return Find(index, reinterpret_cast<LPCSTR>(lParam), q == Query::FindExact);
  if (!Valid(index)) return -1;
  ListItem& it = items[static_cast<size_t>(index)];
  switch (q) {
    case Query::GetText:
      if (!lParam) return -1;
      if (!hasStrings) {
        std::memcpy(reinterpret_cast<void*>(lParam), &it.data, sizeof it.data);
        return sizeof it.data;
      }
      std::memcpy(reinterpret_cast<char*>(lParam), it.text.c_str(), it.text.size() + 1);
      return static_cast<LRESULT>(it.text.size());
    case Query::TextLength: return hasStrings ? static_cast<LRESULT>(it.text.size()) : sizeof(ULONG_PTR);
    case Query::GetData: return static_cast<LRESULT>(it.data);
    case Query::SetData: it.data = static_cast<ULONG_PTR>(lParam); return 0;
    default: return -1;
  }
}

void ItemList::Measure(int index) {
  ListItem& item = items[static_cast<size_t>(index)];
  item.height = itemHeight;
  if (!ownerDrawn || !variable) return;
  MEASUREITEMSTRUCT mis{ctlType, static_cast<UINT>(GetDlgCtrlID(owner)), static_cast<UINT>(index), 0,
                        static_cast<UINT>(itemHeight), item.data};
  SendMessageA(GetParent(owner), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  if (Valid(index)) items[static_cast<size_t>(index)].height = static_cast<int>(mis.itemHeight);
}

bool ItemList::Erase(int index) {
  if (!Valid(index)) return false;
  ListItem item = items[static_cast<size_t>(index)];
  items.erase(items.begin() + index);
  if (ownerDrawn || item.data) {
    DELETEITEMSTRUCT dis{ctlType, static_cast<UINT>(GetDlgCtrlID(owner)), static_cast<UINT>(index), owner, item.data};
    SendMessageA(GetParent(owner), WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
  }
  return true;
}

void ItemList::Clear() {
  while (!items.empty()) Erase(Count() - 1);
}

int ItemList::Find(int start, const char* text, bool exact) const {
  int n = Count();
  if (n == 0 || !text) return -1;
  for (int k = 1; k <= n; ++k) {
    int i = (start + k) % n;
    if (start < -1 || start >= n) i = k - 1;
    const ListItem& item = items[static_cast<size_t>(i)];
    if (!hasStrings) {
      if (item.data == reinterpret_cast<ULONG_PTR>(text)) return i;
      continue;
    }
    if (exact ? EqualsNoCase(item.text, text) : StartsWithNoCase(item.text, text)) return i;
  }
  return -1;
}

void DrawListItem(const ItemList& list, HDC dc, int index, const RECT& rc, bool selected, bool focus,
                  UINT extraState, HBRUSH background) {
  if (list.ownerDrawn) {
    DRAWITEMSTRUCT dis{list.ctlType,
                       static_cast<UINT>(GetDlgCtrlID(list.owner)),
                       static_cast<UINT>(index),
                       ODA_DRAWENTIRE,
                       (selected ? ODS_SELECTED : 0u) | (focus ? ODS_FOCUS : 0u) | extraState,
                       list.owner,
                       dc,
                       rc,
                       list.Valid(index) ? list.items[static_cast<size_t>(index)].data : 0};
    SendMessageA(GetParent(list.owner), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  RECT r = rc;
  FillRect(dc, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : background);
  if (list.Valid(index)) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    r.left += 2;
    DrawTextA(dc, list.items[static_cast<size_t>(index)].text.c_str(), -1, &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if (focus) DrawFocusRect(dc, &rc);
}

}  // namespace pl3::controls
