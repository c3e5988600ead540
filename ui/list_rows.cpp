#include "ui/list_rows.h"

#include "platform/commctrl.h"
#include "platform/gdi.h"

void BeginListRow(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}

int HeaderColumnWidth(HWND dialog, int headerId, int column, int count, const RECT& row) {
  HWND header = GetDlgItem(dialog, headerId);
  HDITEM hd{};
  hd.mask = HDI_WIDTH;
  if (header && SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd)))
    return hd.cxy;
  return (row.right - row.left) / count;
}

void DrawListCell(HDC dc, RECT cell, const char* text) {
  cell.left += 2;
  DrawTextA(dc, text, -1, &cell, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
