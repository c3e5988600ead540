// A left click (or another button) as the user makes it, through the input queue.
#pragma once
#include "platform/user.h"

namespace pl3test {

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
