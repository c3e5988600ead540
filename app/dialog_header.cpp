#include "app/dialog_header.h"

#include <cstdlib>

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

// Inserts title at index with width; the index the header gave it, or -1.
int InsertTitle(HWND header, int index, const char* title, int width) {
  HDITEM item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
  item.pszText = const_cast<char*>(title);
  item.cxy = width;
  item.fmt = HDF_STRING;
  return static_cast<int>(SendMessageA(header, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
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

ColumnWidthEntry* InsertProportionalColumns(HWND dialog, int headerId, int totalWidth, int count,
                                            const char* const* titles, const float* fractions) {
  HWND header = GetDlgItem(dialog, headerId);
  if (!header || count <= 0) return nullptr;
  auto* layout = static_cast<ColumnWidthEntry*>(std::calloc(static_cast<std::size_t>(count), sizeof(ColumnWidthEntry)));
  if (!layout) return nullptr;
  int index = 0;
  for (int k = 0; k < count; ++k) {
    const int width = static_cast<int>(static_cast<float>(totalWidth) * fractions[k]);
    const int got = InsertTitle(header, index, titles[k], width);
    if (got >= 0) index = got;
    layout[count - 1 - k] = {static_cast<std::uint32_t>(count - 1 - k), width};
  }
  return layout;
}

bool RestoreHeaderColumns(HWND dialog, int headerId, int count, const char* const* titles,
                          const ColumnWidthEntry* layout) {
  HWND header = GetDlgItem(dialog, headerId);
  if (!header || !layout || count <= 0) return false;
  for (int i = 0; i < count; ++i)
    if (layout[i].width < 1 || layout[i].width > kMaxColumnWidth) return false;
  int index = 0;
  for (int k = 0; k < count; ++k) {
    const int got = InsertTitle(header, index, titles[k], layout[count - 1 - k].width);
    if (got >= 0) index = got;
  }
  return true;
}

bool SetUpHeaderColumns(HWND dialog, int listId, int headerId, ColumnWidthEntry** slot, int count,
                        const char* const* titles, const float* fractions) {
  if (!slot || !CreateDialogHeader(dialog, listId, headerId)) return false;
  if (*slot && RestoreHeaderColumns(dialog, headerId, count, titles, *slot)) return true;
  RECT list{};
  GetWindowRect(GetDlgItem(dialog, listId), &list);
  std::free(*slot);
  *slot = InsertProportionalColumns(dialog, headerId, list.right - list.left, count, titles, fractions);
  return *slot != nullptr;
}

void StoreHeaderColumnWidths(HWND dialog, int headerId, ColumnWidthEntry** slot) {
  HWND header = GetDlgItem(dialog, headerId);
  if (!slot || !header) return;
  const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  if (count <= 0) return;
  auto* widths = static_cast<ColumnWidthEntry*>(std::calloc(static_cast<std::size_t>(count), sizeof(ColumnWidthEntry)));
  if (!widths) return;
  for (int i = 0; i < count; ++i) {
    HDITEM item{};
    item.mask = HDI_WIDTH;
    SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    widths[i] = {static_cast<std::uint32_t>(i), item.cxy};
  }
  std::free(*slot);
  *slot = widths;
}
