#include "app/editor_window_services.h"

#include <cstdlib>

#include "app/core_utilities.h"
#include "geometry/layer_colours.h"
#include "platform/gdi.h"
#include "app/pending_services.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/sync.h"
#include "platform/user.h"

void StartButtonHoldTimer(ButtonRecord* button) {
  if (!button || (button->ButtonFlags & kButtonHoldMenuOpen)) return;
  POINT screen{};
  GetCursorPos(&screen);
  button->HoldScreenPos = {screen.x, screen.y};
  button->ButtonFlags |= kButtonHoldTimerRuns;
  SetTimer(FrameWindow, kButtonHoldTimer, RightButtonActions.holdTime, nullptr);
}

void StopButtonHoldTimer(ButtonRecord* button) {
  if (!button || !(button->ButtonFlags & kButtonHoldTimerRuns)) return;
  KillTimer(FrameWindow, kButtonHoldTimer);
  button->ButtonFlags &= static_cast<std::uint8_t>(~kButtonHoldTimerRuns);
}

void StopButtonHoldTimerAndRelease(HWND window, ButtonRecord* button, UINT message) {
  StopButtonHoldTimer(button);
  CurrentWindowData* b = ActiveWindowData;
  if (message == WM_RBUTTONUP && b) RightButtonUp(window, button, &b->PendingRecord);
}

void OnButtonHoldTimer() {
  KillTimer(FrameWindow, kButtonHoldTimer);
  CurrentWindowData* b = ActiveWindowData;
  if (!b || !(b->ButtonFlags & kButtonHoldTimerRuns)) return;
  b->ButtonFlags &= static_cast<std::uint8_t>(~kButtonHoldTimerRuns);
  EndDragRectangles(static_cast<HWND>(b->Window));
  ReleaseCapture();
  DoRButtonMenu(FrameWindow, &b->Button);
}

void DoRButtonMenu(HWND owner, ButtonRecord* button) {
  if (!button) return;
  button->ButtonFlags |= kButtonHoldMenuOpen;
  POINT at{};
  GetCursorPos(&at);
  if (!ShowHoldMenu(owner, at.x, at.y)) MessageBox(owner, "Menu Failed", "DoRButtonMenu", MB_OK | MB_ICONEXCLAMATION);
  SetCursorPos(button->HoldScreenPos.x, button->HoldScreenPos.y);
  button->ButtonFlags &= static_cast<std::uint8_t>(~kButtonHoldMenuOpen);
}

int RouteEditorMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return 0;
  ButtonRecord* button = &b->Button;
  EntityRecord** slot = &b->PendingRecord;
  switch (message) {
    case WM_LBUTTONDOWN: {
      MSG waiting{};
      if (PeekMessage(&waiting, window, kDropButtonPressMessage, kDropButtonPressMessage, PM_NOREMOVE)) return 1;
      ButtonDownFlag = 1;
      b->MouseMessagePos = static_cast<std::uint32_t>(lParam);
      DoLButtonDown(window, button, slot);
      return 1;
    }
    case WM_MOUSEMOVE:
      b->MouseMessagePos = static_cast<std::uint32_t>(lParam);
      DoMouseMove(window, button, slot, 0);
      return 1;
    case WM_LBUTTONUP:
      if (!ButtonDownFlag) return 1;
      ButtonDownFlag = 0;
      b->MouseMessagePos = static_cast<std::uint32_t>(lParam);
      DoLButtonUp(window, button, slot);
      return 1;
    case WM_RBUTTONDOWN:
      StartButtonHoldTimer(button);
      return 1;
    case WM_RBUTTONUP:
      StopButtonHoldTimer(button);
      StopButtonHoldTimerAndRelease(window, button, message);
      return 1;
    case WM_MBUTTONUP:
      CentreViewOnCursor(window);
      return 1;
    case WM_HSCROLL:
    case WM_VSCROLL:
      DoScroll(window, message, static_cast<std::uint32_t>(wParam & 0xFFFF));
      return 1;
    default:
      return 0;
  }
}

void GetCursorWorldPosition(HWND window) {
  CurrentWindowData* b = ActiveWindowData;
  if (!b) return;
  POINT mouse{};
  GetCursorPos(&mouse);
  ScreenToClient(window, &mouse);
  const auto world = [b](std::int32_t origin, std::int32_t pixel) {
    const std::int64_t product = (std::int64_t{origin} + pixel) * std::int64_t{b->Zoom};
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(product)));
  };
  if (!(b->AxisLock & 1)) {
    b->MousePixel.x = mouse.x;
    b->MouseWorld.x = world(b->ViewOriginX, mouse.x);
  }
  if (!(b->AxisLock & 2)) {
    b->MousePixel.y = mouse.y;
    b->MouseWorld.y = world(b->ViewOriginY, mouse.y);
  }
  b->Cursor = b->MouseWorld;
}

std::uint32_t EntropyPool[8] = {};

namespace {

std::uint32_t gEntropyState = 0;

void ResetEntropy() {
  for (std::uint32_t& w : EntropyPool) w = 0;
  gEntropyState = 0;
}
const bool gEntropyRegistered = pl3::RegisterGlobalReset(&ResetEntropy);

// A small generator seeded from the message clock on first use.
std::uint32_t NextRandom() {
  if (gEntropyState == 0) gEntropyState = static_cast<std::uint32_t>(GetTickCount()) | 1u;
  std::uint32_t x = gEntropyState;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  gEntropyState = x;
  return x;
}

}  // namespace

void AddEntropyFromMessage(UINT message, LPARAM lParam, WPARAM wParam) {
  EntropyPool[NextRandom() & 7] = NextRandom();
  EntropyPool[NextRandom() & 7] += static_cast<std::uint32_t>(wParam);
  EntropyPool[NextRandom() & 7] += static_cast<std::uint32_t>(lParam);
  EntropyPool[NextRandom() & 7] += message;
}

UINT RealizeViewPalette(HWND window) {
  HDC dc = GetDC(window);
  HPALETTE old = SelectPalette(dc, pl3::ProgramPalette, FALSE);
  const UINT changed = RealizePalette(dc);
  SelectPalette(dc, old, FALSE);
  ReleaseDC(window, dc);
  if (changed) SendMessageA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0);
  return changed;
}

void OnPaletteChanged(HWND window, HWND) {
  HDC dc = GetDC(window);
  HPALETTE old = SelectPalette(dc, pl3::ProgramPalette, TRUE);
  if (RealizePalette(dc)) InvalidateRect(window, nullptr, TRUE);
  SelectPalette(dc, old, TRUE);
  ReleaseDC(window, dc);
}

std::int32_t* GetWindowViewBox(HWND window) {
  auto* box = static_cast<std::int32_t*>(std::calloc(4, sizeof(std::int32_t)));
  const CurrentWindowData* b = ActiveWindowData;
  if (!b) return box;
  RECT client{};
  GetClientRect(window, &client);
  const std::int64_t zoom = b->Zoom;
  box[0] = static_cast<std::int32_t>(std::int64_t{b->ViewOriginX} * zoom);
  box[1] = static_cast<std::int32_t>(std::int64_t{b->ViewOriginY} * zoom);
  box[2] = static_cast<std::int32_t>(box[0] + std::int64_t{client.right} * zoom);
  box[3] = static_cast<std::int32_t>(box[1] + std::int64_t{client.bottom} * zoom);
  return box;
}
