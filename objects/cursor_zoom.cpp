#include "objects/cursor_zoom.h"

#include <algorithm>
#include <cmath>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/design_walks.h"
#include "objects/editor_seams.h"
#include "objects/view_seams.h"
#include "platform/gdi.h"
#include "platform/scroll.h"
#include "platform/user.h"

namespace {

constexpr UINT kRefreshOriginCommand = 485;
constexpr std::uint32_t kViewOriginShown = 0x2;

std::int32_t HoldInArea(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, kAreaLow, kAreaHigh)); }

// One axis of the mouse road; returns the new world coordinate.
std::int32_t TrackAxis(std::int32_t previousWorld, std::int32_t mouseView, std::int32_t lastView, std::int32_t origin,
                       std::uint32_t zoom) {
  const auto absolute = static_cast<std::uint32_t>(
      std::llround(static_cast<double>(std::int64_t{mouseView} + origin) * static_cast<double>(zoom)));
  const bool relative = (previousWorld == kAreaLow && absolute >= static_cast<std::uint32_t>(kAreaHigh)) ||
                        (previousWorld == kAreaHigh && absolute <= static_cast<std::uint32_t>(kAreaLow)) ||
                        (previousWorld > kAreaLow && previousWorld < kAreaHigh);
  if (!relative) return HoldInArea(absolute);
  const std::int64_t step = std::llround(static_cast<double>(mouseView - lastView) * static_cast<double>(zoom));
  return HoldInArea(previousWorld + step);
}

void SetZoom(void* window, CurrentWindowData& w, std::uint32_t zoom, const MouseRecord& record) {
  w.Zoom = zoom;
  pl3::g_raster.viewFactor = 0xFFFFFFFFu / zoom;
  SetCursorToPoint(window, record.world);
}


bool InArea(std::int32_t v) { return v >= kAreaLow && v <= kAreaHigh; }

// A world point's view pixel in the window's own mapping.
struct ViewPixel {
  std::int64_t x, y;
  bool operator==(const ViewPixel&) const = default;
};
ViewPixel ViewPixelOf(const CurrentWindowData& w, pl3::Point p) {
  const std::uint32_t factor = 0xFFFFFFFFu / (w.Zoom ? w.Zoom : 1);
  return {((std::int64_t{p.x} * factor) >> 32) - w.ViewOriginX, ((std::int64_t{p.y} * factor) >> 32) - w.ViewOriginY};
}

constexpr COLORREF kMarkerPen = RGB(0, 255, 0);

pl3::Point SnappedForDrag(pl3::Point p) {
  if (IsItemAttachedToCursor())
    SnapXYFine(&p.x, &p.y);
  else
    SnapXY(&p.x, &p.y, 0);
  return p;
}


using MarkerDrawer = void (*)(void* dc, std::int32_t x, std::int32_t y);

void DragMarker(void* window, MarkerDrag& record, MarkerDrawer draw) {
  if (!ActiveWindowData) return;
  const pl3::Point target = SnappedForDrag(record.mouse);
  if (ViewPixelOf(*ActiveWindowData, SnappedForDrag(record.marker)) == ViewPixelOf(*ActiveWindowData, target)) return;
  HWND hwnd = static_cast<HWND>(window);
  if (HDC dc = GetDC(hwnd)) {
    HPEN pen = CreatePen(PS_SOLID, 1, kMarkerPen);
    HPEN oldPen = SelectObject(dc, pen);
    const int oldRop = SetROP2(dc, R2_XORPEN);
    draw(dc, record.marker.x, record.marker.y);
    draw(dc, target.x, target.y);
    SetROP2(dc, oldRop);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(hwnd, dc);
  }
  record.marker = target;
}

}  // namespace

void AfterOriginChange(void* window) {
  ActiveWindowData->ViewFlags &= ~kViewOriginShown;
  SendMessage(static_cast<HWND>(window), WM_COMMAND, kRefreshOriginCommand, 0);
  RecordDesignChange();
  RedrawView(window);
}

int IsWorldPointInView(void* window, pl3::Point point) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  const ViewPixel v = ViewPixelOf(*w, point);
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  return v.x >= client.left && v.x <= client.right && v.y >= client.top && v.y <= client.bottom;
}

int MoveCursorToPoint(void* window, pl3::Point point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  w->Cursor = point;
  // The pointer goes to the point, but the point was not the mouse's: the
  // last mouse world point stays, and the move the warp queued is dropped so
  // that the mouse road does not put the cursor back onto a pixel.
  const pl3::Point mouseWorld = w->MouseWorld;
  SetCursorToPoint(window, point);
  w->MouseWorld = mouseWorld;
  MSG queued{};
  while (PeekMessage(&queued, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
  }
  if (!IsWorldPointInView(window, point)) CentreViewOnPoint(window, point);
  w->DisplayedCursor = w->Cursor;
  return UpdateStatusBar(window);
}

void TrackMouseCursor(void* window, MouseRecord& record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!record.hasWorldPoint || !w) {
    HandleRawMouseRecord(window, record);
    return;
  }
  const pl3::Point shownBefore = w->DisplayedCursor;
  record.previousWorld = record.world;
  if (!(w->AxisLock & 1)) {
    record.world.x = TrackAxis(record.previousWorld.x, record.mouseView.x, record.view.x, w->ViewOriginX, w->Zoom);
    record.view.x = record.mouseView.x;
    w->DisplayedCursor.x = record.world.x;
  }
  if (!(w->AxisLock & 2)) {
    record.world.y = TrackAxis(record.previousWorld.y, record.mouseView.y, record.view.y, w->ViewOriginY, w->Zoom);
    record.view.y = record.mouseView.y;
    w->DisplayedCursor.y = record.world.y;
  }
  if (w->EditMode != 0) {
    if (IsItemAttachedToCursor())
      SnapXYFine(&w->DisplayedCursor.x, &w->DisplayedCursor.y);
    else
      SnapXY(&w->DisplayedCursor.x, &w->DisplayedCursor.y, 0);
  }
  if (w->DisplayedCursor.x != shownBefore.x || w->DisplayedCursor.y != shownBefore.y) UpdateStatusBar(window);
}

void ZoomOutAtPoint(void* window, const MouseRecord& record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->Zoom < kZoomFarthest) SetZoom(window, *w, std::min(w->Zoom * 2, kZoomFarthest), record);
  CentreViewOnPoint(window, record.world);
}

void ZoomInAtPoint(void* window, const MouseRecord& record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->Zoom > kZoomClosest) SetZoom(window, *w, std::max(w->Zoom / 2, kZoomClosest), record);
  CentreViewOnPoint(window, record.world);
}

void ZoomToLevel(void* window, const MouseRecord& record, char level) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || level < '0' || level > '9') return;
  SetZoom(window, *w, 2000u << (level - '0'), record);
  CentreViewOnPoint(window, record.world);
}

void EditorMouseWheel(void* window, std::uint32_t wheelParameter) {
  const auto delta = static_cast<std::int16_t>(wheelParameter >> 16);
  const bool towardsUser = delta <= 0;
  if (wheelParameter & MK_CONTROL) {
    DoScroll(window, WM_HSCROLL, towardsUser ? SB_LINEDOWN : SB_LINEUP);
  } else if (wheelParameter & MK_SHIFT) {
    DoScroll(window, WM_VSCROLL, towardsUser ? SB_LINEDOWN : SB_LINEUP);
  } else if (ActiveWindowData) {
    MouseRecord atCursor{};
    atCursor.hasWorldPoint = 1;
    atCursor.world = ActiveWindowData->Cursor;
    towardsUser ? ZoomOutAtPoint(window, atCursor) : ZoomInAtPoint(window, atCursor);
  }
}

void SetCoordinateOrigin(void* window, const MouseRecord& record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  pl3::Point origin = record.world;
  SnapXY(&origin.x, &origin.y, 0);
  w->CoordinateOrigin = origin;
  InvalidateRect(static_cast<HWND>(window), nullptr, FALSE);
  AfterOriginChange(window);
}

void ResetCoordinateOrigin(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (InArea(w->SnapOrigin.x) && InArea(w->SnapOrigin.y)) {
    w->CoordinateOrigin = w->SnapOrigin;
  } else {
    w->CoordinateOrigin = {kAreaCentre, kAreaCentre};
    SnapXY(&w->CoordinateOrigin.x, &w->CoordinateOrigin.y, 0);
  }
  AfterOriginChange(window);
}

void DragOriginMarker(void* window, MarkerDrag& record) { DragMarker(window, record, &GhostOriginMarkerOnDC); }

void DragDatumMarker(void* window, MarkerDrag& record) { DragMarker(window, record, &DrawDatumMarker); }
