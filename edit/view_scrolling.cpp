#include "edit/view_scrolling.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "draw/auto_pan_seams.h"
#include "draw/view_redraw.h"
#include "draw/view_scroll.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "platform/gdi.h"
#include "platform/scroll.h"

namespace {

constexpr std::int64_t kWorldTop = 4294967295;  // the largest unsigned world coordinate

CurrentWindowData* BlockOf(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  return w && window && w->Window == window ? w : nullptr;
}

// One axis of the centring: the absolute view pixel less half the client
// size, never below 0, and the far edge kept inside the 32-bit world.
std::int32_t CentredOrigin(std::int64_t pixel, std::int64_t size, std::uint32_t zoom, bool productTest) {
  std::int64_t origin = pixel < size / 2 ? 0 : pixel - size / 2;
  const std::int64_t z = zoom ? zoom : 1;
  const bool past = productTest ? (origin + size) * z > kWorldTop : origin + size > kWorldTop / z;
  if (past) origin = kWorldTop / z - size - 1;
  return static_cast<std::int32_t>(origin);
}

}  // namespace

bool ScrollCodeOrigin(HWND window, std::uint32_t bar, std::uint32_t code, std::int32_t origin, std::int32_t size,
                      std::int32_t* result) {
  const int which = bar == WM_HSCROLL ? SB_HORZ : SB_VERT;
  switch (code) {
    case SB_LINEUP: *result = origin - size / 10; return true;
    case SB_LINEDOWN: *result = origin + size / 10; return true;
    case SB_PAGEUP: *result = origin - size * 9 / 10; return true;
    case SB_PAGEDOWN: *result = origin + size * 9 / 10; return true;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(window, which, &info);
      *result = info.nTrackPos;
      return true;
    }
    case SB_TOP:
    case SB_BOTTOM: {
      int low = 0, high = 0;
      GetScrollRange(window, which, &low, &high);
      *result = code == SB_TOP ? low : high - size;
      return true;
    }
    default:
      return false;
  }
}

void FollowMouseAfterScroll(CurrentWindowData& w) {
  if (!(w.AxisLock & 0x1)) {
    w.MouseWorld.x = w.Cursor.x;
    w.Cursor.x = static_cast<std::int32_t>((std::int64_t{w.ViewOriginX} + w.MousePixel.x) * w.Zoom);
    w.DisplayedCursor.x = w.Cursor.x;
  }
  if (!(w.AxisLock & 0x2)) {
    w.MouseWorld.y = w.Cursor.y;
    w.Cursor.y = static_cast<std::int32_t>((std::int64_t{w.ViewOriginY} + w.MousePixel.y) * w.Zoom);
    w.DisplayedCursor.y = w.Cursor.y;
  }
}

void DoScroll(void* view, std::uint32_t bar, std::uint32_t code) {
  CurrentWindowData* w = BlockOf(view);
  if (!w || (bar != WM_HSCROLL && bar != WM_VSCROLL)) return;
  HWND window = static_cast<HWND>(view);
  RECT client{};
  GetClientRect(window, &client);
  const std::int32_t width = client.right, height = client.bottom;
  std::int32_t newX = w->ViewOriginX, newY = w->ViewOriginY;
  const bool moved = bar == WM_HSCROLL ? ScrollCodeOrigin(window, bar, code, w->ViewOriginX, width, &newX)
                                       : ScrollCodeOrigin(window, bar, code, w->ViewOriginY, height, &newY);
  if (!moved || !BindViewSurface(view)) return;
  // The world starts at 0: a line or page past the edge stops there.
  newX = std::max(newX, 0);
  newY = std::max(newY, 0);

  ++DrawingDepth;
  HDC dc = GetDC(window);
  ToggleViewOverlays(window, dc, *w);
  const std::int32_t dx = newX - w->ViewOriginX, dy = newY - w->ViewOriginY;
  if (std::abs(dx) <= width && std::abs(dy) <= height) {
    const std::vector<RECT> strips = ShiftViewSurface(window, *w, client, dx, dy);
    FollowMouseAfterScroll(*w);
    ScrollViewScreen(dc, *w, client, dx, dy, strips);
    ToggleViewOverlays(window, dc, *w);
    DoMouseMove(window, &w->Button, &w->PendingRecord, 1);
    UpdateStatusBar(window);
    ReleaseDC(window, dc);
    UpdateViewScrollBars(window);
  } else {
    w->ViewOriginX = newX;
    w->ViewOriginY = newY;
    FollowMouseAfterScroll(*w);
    RedrawView(window);
    UpdateViewScrollBars(window);
    ReleaseDC(window, dc);
  }
  --DrawingDepth;
}

void CentreViewOnPoint(void* view, pl3::Point point) {
  CurrentWindowData* w = BlockOf(view);
  if (!w) return;
  HWND window = static_cast<HWND>(view);
  RECT client{};
  GetClientRect(window, &client);
  UpdateViewGlobals();
  std::int32_t x = point.x, y = point.y;
  pl3::WorldToView(x, y);
  const std::int64_t pixelX = std::int64_t{x} + w->ViewOriginX;
  const std::int64_t pixelY = std::int64_t{y} + w->ViewOriginY;
  w->ViewOriginX = CentredOrigin(pixelX, client.right, w->Zoom, false);
  w->ViewOriginY = CentredOrigin(pixelY, client.bottom, w->Zoom, true);
  ++DrawingDepth;
  SetCursorToPoint(view, point);
  RedrawView(view);
  UpdateViewScrollBars(window);
  --DrawingDepth;
}

void CentreViewOnCursor(HWND window) {
  if (CurrentWindowData* w = BlockOf(window)) CentreViewOnPoint(window, w->Cursor);
}
