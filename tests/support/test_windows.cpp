#include "tests/support/test_windows.h"

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user.h"

HWND MakeTestParentWindow(const char* className) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  if (!InitCommonControlsEx(&icc)) return nullptr;
  WNDCLASSA wc{};
  wc.lpfnWndProc = &DefWindowProcA;
  wc.lpszClassName = className;
  if (!RegisterClassA(&wc)) return nullptr;
  return CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
}

HBITMAP MakeTestDib(HDC dc, int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

std::vector<TestHeaderColumn> TestHeaderColumns(HWND header) {
  std::vector<TestHeaderColumn> out;
  const int n = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < n; ++i) {
    char text[64] = "";
    HDITEM item{};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    out.push_back({text, item.cxy});
  }
  return out;
}
