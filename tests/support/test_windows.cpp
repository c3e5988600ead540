#include "tests/support/test_windows.h"

#include "platform/commctrl.h"
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
