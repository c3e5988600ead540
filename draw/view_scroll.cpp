#include "draw/view_scroll.h"

#include <algorithm>
#include <utility>

#include "draw/auto_pan_seams.h"
#include "draw/layer_drawing.h"
#include "draw/view_markers.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/design_helpers.h"
#include "objects/editor_input.h"
#include "platform/gdi.h"

namespace {

// Shifts the colour buffer and the layer plane alike: the plane keeps what
// the view shows, so a later recolouring of any part stays right. Both have
// the same row layout, so the kernel's colour-buffer shift serves for both.
void ShiftSurface(void (*shift)(std::int32_t, std::int32_t, std::int32_t), std::int32_t w, std::int32_t h,
                  std::int32_t n) {
  shift(w, h, n);
  std::swap(pl3::g_raster.colourBuffer, pl3::g_raster.plane);
  if (pl3::g_raster.colourBuffer) shift(w, h, n);
  std::swap(pl3::g_raster.colourBuffer, pl3::g_raster.plane);
}

// Renders and colourises the strip of view pixels [left, right) x [top, bottom).
void RenderStrip(HWND window, const CurrentWindowData& w, const RECT& strip) {
  if (strip.left >= strip.right || strip.top >= strip.bottom) return;
  pl3::Box box{strip.left, strip.top, strip.right, strip.bottom};
  pl3::ViewBoxToWorld(&box);
  RenderViewRect(window, &box, 0);
  if (IsSchematicKind(w.editorKind))
    pl3::ColourisePlaneRectByByte(strip.left, strip.top, strip.right - 1, strip.bottom - 1);
  else
    pl3::ColourisePlaneRect(strip.left, strip.top, strip.right - 1, strip.bottom - 1);
}

void CopyFromSurface(HDC dc, const CurrentWindowData& w, const RECT& r) {
  if (r.left < r.right && r.top < r.bottom)
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, w.Surface.memoryDC, r.left, r.top, SRCCOPY);
}

}  // namespace

std::vector<RECT> ShiftViewSurface(HWND window, CurrentWindowData& w, const RECT& client, std::int32_t dx,
                                   std::int32_t dy) {
  const std::int32_t cw = std::min<std::int64_t>(client.right, pl3::g_raster.width);
  const std::int32_t ch = std::min<std::int64_t>(client.bottom, pl3::g_raster.height);
  std::vector<RECT> strips;
  if (dx != 0) {
    const std::int32_t n = std::min(dx > 0 ? dx : -dx, cw);
    w.ViewOriginX += dx;
    ShiftSurface(dx > 0 ? &pl3::ScrollPlaneLeft : &pl3::ScrollPlaneRight, cw, ch, n);
    strips.push_back(dx > 0 ? RECT{cw - n, 0, cw, ch} : RECT{0, 0, n, ch});
    RenderStrip(window, w, strips.back());
  }
  if (dy != 0) {
    const std::int32_t n = std::min(dy > 0 ? dy : -dy, ch);
    w.ViewOriginY += dy;
    ShiftSurface(dy > 0 ? &pl3::ScrollPlaneUp : &pl3::ScrollPlaneDown, cw, ch, n);
    strips.push_back(dy > 0 ? RECT{0, ch - n, cw, ch} : RECT{0, 0, cw, n});
    RenderStrip(window, w, strips.back());
  }
  return strips;
}

void ScrollViewScreen(HDC dc, const CurrentWindowData& w, const RECT& client, std::int32_t dx, std::int32_t dy,
                      const std::vector<RECT>& strips) {
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  ScrollDC(dc, -dx, -dy, &client, &client, update, nullptr);
  for (const RECT& s : strips) CopyFromSurface(dc, w, s);
  const DWORD size = GetRegionData(update, 0, nullptr);
  if (size >= sizeof(RGNDATAHEADER)) {
    std::vector<std::uint8_t> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (GetRegionData(update, size, data) == size) {
      const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
      for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT r = rects[i];
        for (const RECT& s : strips) {
          RECT rest{};
          if (!SubtractRect(&rest, &r, &s)) rest = RECT{};
          r = rest;
        }
        CopyFromSurface(dc, w, r);
      }
    }
  }
  DeleteObject(update);
}

void ToggleViewOverlays(HWND window, HDC dc, CurrentWindowData& w) {
  GhostSelectionAndMode(window, w.PendingRecord);
  if (!w.ViewOnlyHighlighted) ShowOriginMarker(window, w.CoordinateOrigin.x, w.CoordinateOrigin.y);
  if (!(w.DragFlags & kDragPrintZone)) DrawSelectionRectangle(dc, &w.PrintZone);
  DrawCrosshair(window, &w.CrosshairPos);
}
