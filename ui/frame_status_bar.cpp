// The frame's status bar: one common-controls status window along the
// frame's bottom edge, its handle and height kept where every writer reads
// them (StatusBarWindow and StatusBarHeight).
#include "app/core_utilities.h"
#include "app/ui_seams.h"
#include "platform/commctrl.h"
#include "platform/user.h"

HWND CreateFrameStatusBar(HWND frame) {
  HWND bar = CreateStatusWindowA(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, "", frame, 5827);
  StatusBarWindow = bar;
  if (!bar) return nullptr;
  RECT r{};
  GetWindowRect(bar, &r);
  StatusBarHeight = r.bottom - r.top;
  return bar;
}
