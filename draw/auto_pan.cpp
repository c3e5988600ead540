// Auto-pan's edge zones, its two thread timers and the pan step.
#include "draw/auto_pan.h"

#include <algorithm>
#include <vector>

#include "draw/auto_pan_seams.h"
#include "draw/view_scroll.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/design_helpers.h"
#include "objects/editor_input.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "store/filing_seams.h"

std::uint32_t AutoPanEdges = 0;
UINT_PTR AutoPanDelayTimer = 0;
UINT_PTR AutoPanRepeatTimer = 0;

namespace {

// The design area, 5 to 50 inches, in world units.
constexpr std::int64_t kAreaLow = 182880000;
constexpr std::int64_t kAreaHigh = 1828800000;
// The lParam of the auto-pan message; the scroll does not read it.
constexpr LPARAM kAutoPanMessageParam = 10;

void KillDelayTimer() {
  if (AutoPanDelayTimer) KillTimer(nullptr, AutoPanDelayTimer);
  AutoPanDelayTimer = 0;
}

void KillRepeatTimer() {
  if (AutoPanRepeatTimer) KillTimer(nullptr, AutoPanRepeatTimer);
  AutoPanRepeatTimer = 0;
}

bool FrameIsActive() { return FrameWindow && GetActiveWindow() == FrameWindow; }

// The cursor in the window's client coordinates; false when it lies outside
// the client rectangle.
bool CursorInClient(HWND window, POINT* point, RECT* client) {
  GetCursorPos(point);
  ScreenToClient(window, point);
  GetClientRect(window, client);
  return point->x >= 0 && point->y >= 0 && point->x <= client->right && point->y <= client->bottom;
}

void CALLBACK RepeatTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (!AutoPanOptions.enabled) {
    StopAutoPan();
    return;
  }
  if (!FrameIsActive()) return;
  HWND child = MDIClientWindow ? reinterpret_cast<HWND>(SendMessage(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  POINT point{};
  RECT client{};
  if (!child || !CursorInClient(child, &point, &client)) {
    StopAutoPan();
    return;
  }
  const std::uint32_t before = AutoPanEdges;
  AutoPanEdges = AutoPanEdgeFlags(point, client, AutoPanOptions.edgeZoneWidth);
  if (AutoPanEdges != before) {
    StopAutoPan();
    return;
  }
  SendMessage(child, kAutoPanMessage, AutoPanEdges, kAutoPanMessageParam);
}

void CALLBACK DelayTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  KillDelayTimer();
  // Only PCB views pan.
  if (!ActiveWindowData || ActiveWindowData->editorKind != kEditorPcb) return;
  KillRepeatTimer();
  AutoPanRepeatTimer = SetTimer(nullptr, 0, static_cast<UINT>(AutoPanOptions.repeatPeriod), &RepeatTimerProc);
}

void StartDelayTimer() {
  AutoPanDelayTimer = SetTimer(nullptr, 0, static_cast<UINT>(AutoPanOptions.initialDelay), &DelayTimerProc);
}

// ---- The pan step ------------------------------------------------------------------------

// The move of one step for the flags; false for flags that move nothing.
bool StepOfFlags(std::uint32_t flags, std::int32_t size, std::int32_t* dx, std::int32_t* dy) {
  *dx = (flags & kPanRight) ? size : (flags & kPanLeft) ? -size : 0;
  *dy = (flags & kPanDown) ? size : (flags & kPanUp) ? -size : 0;
  switch (flags) {
    case kPanRight: case kPanLeft: case kPanDown: case kPanUp:
    case kPanRight | kPanDown: case kPanLeft | kPanDown: case kPanRight | kPanUp: case kPanLeft | kPanUp:
      return true;
    default:
      return false;
  }
}

void ResetAutoPanState() {
  AutoPanEdges = 0;
  AutoPanDelayTimer = 0;
  AutoPanRepeatTimer = 0;
}
const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetAutoPanState);

}  // namespace

std::uint32_t AutoPanEdgeFlags(POINT point, const RECT& client, std::int32_t width) {
  if (point.x < 0 || point.y < 0 || point.x > client.right || point.y > client.bottom) return 0;
  std::uint32_t flags = 0;
  if (point.x < width) flags = kPanLeft;
  if (point.x > client.right - width) flags |= kPanRight;
  if (point.y > client.bottom - width) flags |= kPanDown;
  if (point.y < width) flags |= kPanUp;
  return flags;
}

void StopAutoPan() {
  KillDelayTimer();
  KillRepeatTimer();
}

void UpdateAutoPan(HWND view) {
  if (!IsWindow(view)) return;
  if (!AutoPanOptions.enabled) {
    StopAutoPan();
    return;
  }
  if (!FrameIsActive()) return;
  POINT point{};
  RECT client{};
  if (!CursorInClient(view, &point, &client)) {
    AutoPanEdges = 0;
    StopAutoPan();
    return;
  }
  const std::uint32_t before = AutoPanEdges;
  AutoPanEdges = AutoPanEdgeFlags(point, client, AutoPanOptions.edgeZoneWidth);
  if (AutoPanEdges != 0 && AutoPanEdges != before) {
    StopAutoPan();
    StartDelayTimer();
    return;
  }
  // Every move inside the same zone starts the delay again.
  KillDelayTimer();
  if (AutoPanEdges != 0)
    StartDelayTimer();
  else
    StopAutoPan();
}

bool AutoPanInBounds(std::int64_t x, std::int64_t y, std::int32_t right, std::int32_t bottom, std::uint32_t zoom) {
  const std::int64_t z = zoom == 0 ? 1 : zoom;
  const std::int64_t a = kAreaLow / z;
  const std::int64_t b = kAreaHigh / z;
  return x >= 0 && right - a + x <= b && y >= 0 && bottom - a + y <= b;
}

void AutoPanScroll(HWND window, std::uint32_t flags) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !window || w->Window != window || w->editorKind != kEditorPcb) return;
  if (w->AxisLock == 1) flags &= ~(kPanRight | kPanLeft);
  if (w->AxisLock == 2) flags &= ~(kPanDown | kPanUp);
  std::int32_t dx = 0, dy = 0;
  if (!StepOfFlags(flags, AutoPanOptions.panSize, &dx, &dy) || AutoPanOptions.panSize <= 0) return;
  RECT client{};
  GetClientRect(window, &client);
  if (!AutoPanInBounds(std::int64_t{w->ViewOriginX} + dx, std::int64_t{w->ViewOriginY} + dy, client.right,
                       client.bottom, w->Zoom))
    return;
  // A window whose surface could not be made has nothing to scroll.
  if (!w->Surface.colourBuffer || !w->Surface.memoryDC) return;
  if (pl3::g_raster.colourBuffer != w->Surface.colourBuffer) pl3::AttachRasterToBitmap(&w->Surface, &w->SurfaceClip);
  UpdateViewGlobals();

  ++DrawingDepth;
  HDC dc = GetDC(window);
  ToggleViewOverlays(window, dc, *w);
  const std::vector<RECT> strips = ShiftViewSurface(window, *w, client, dx, dy);
  ScrollViewScreen(dc, *w, client, dx, dy, strips);
  ToggleViewOverlays(window, dc, *w);
  EntityRecord** pending = &w->PendingRecord;
  DoMouseMove(window, &w->Button, pending, 0);
  UpdateStatusBar(window);
  ReleaseDC(window, dc);
  --DrawingDepth;
  UpdateViewScrollBars(window);
}
