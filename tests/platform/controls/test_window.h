// A visible top-level window for a control to live in, and clicks as the
// user makes them, through the input queue.
#pragma once
#include "platform/gdi.h"
#include "platform/user.h"

namespace pl3test {

// Registers the class (again is fine) and makes a visible window of it.
inline HWND MakeParentWindow(const char* className, WNDPROC proc, int width, int height, int background = COLOR_WINDOW) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  wc.hbrBackground = GetSysColorBrush(background);
  RegisterClassA(&wc);
  return CreateWindowA(className, className, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                       nullptr, nullptr);
}

inline void ClickAt(HWND window, POINT client, pl3::MouseButton button = pl3::MouseButton::Left) {
  ClientToScreen(window, &client);
  pl3::InjectMouseMove(client);
  pl3::InjectMouseButton(button, true, client);
  pl3::InjectMouseButton(button, false, client);
  pl3::PumpMessages();
}

// Clicks the middle of a rectangle in the window's client coordinates.
inline void ClickMiddle(HWND window, const RECT& r) {
  ClickAt(window, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

}  // namespace pl3test
