#include "draw/view_redraw.h"

#include <algorithm>

#include "draw/display_paint.h"
#include "draw/grids.h"
#include "draw/item_search_seams.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

std::uint32_t InnerPlaneMask = 0;
std::uint32_t RedrawCount = 0;

namespace {

[[maybe_unused]] const bool g_registered = pl3::RegisterGlobalReset([] {
  InnerPlaneMask = 0;
  RedrawCount = 0;
});

constexpr std::uint8_t kGridShown = 0x1;  // first byte of the window's grid set

bool GridShown(const CurrentWindowData& w) {
  return w.Grids && (*static_cast<const std::uint8_t*>(w.Grids) & kGridShown);
}

}  // namespace

bool IsRedrawnKind(std::uint32_t editorKind) {
  return editorKind != kEditorPackage && editorKind != kEditorThreeD && editorKind != kEditorThreeDOther;
}

CurrentWindowData* BindViewSurface(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !window || w->Window != window || !w->Surface.colourBuffer || !w->Surface.plane || w->Zoom == 0)
    return nullptr;
  if (pl3::g_raster.colourBuffer != w->Surface.colourBuffer) pl3::AttachRasterToBitmap(&w->Surface, &w->SurfaceClip);
  UpdateViewGlobals();
  return w;
}

bool WorldBoxToViewRect(const pl3::Box& box, const RECT& client, int clipToClient, RECT* rect) {
  std::int32_t x1 = box.xmin, y1 = box.ymin, x2 = box.xmax, y2 = box.ymax;
  pl3::WorldToViewSigned(x1, y1);
  pl3::WorldToView(x2, y2);
  RECT r{std::max(x1, 0), std::max(y1, 0), x2 + 1, y2 + 1};
  if (clipToClient) {
    r.left = std::max(r.left, client.left);
    r.top = std::max(r.top, client.top);
    r.right = std::min(r.right, client.right);
    r.bottom = std::min(r.bottom, client.bottom);
  }
  const auto lastColumn = static_cast<std::int32_t>(pl3::g_raster.width) - 1;
  const auto lastRow = static_cast<std::int32_t>(pl3::g_raster.height) - 1;
  r.right = std::min(r.right, lastColumn);
  r.bottom = std::min(r.bottom, lastRow);
  *rect = r;
  return r.left <= r.right && r.top <= r.bottom && r.left < client.right && r.top < client.bottom && r.right >= 0 &&
         r.bottom >= 0;
}

void RenderViewRegion(CurrentWindowData& w, const pl3::Box& box, const RECT& rect) {
  pl3::ViewClip* const savedClip = pl3::g_raster.clip;
  pl3::ViewClip clip{rect.left, rect.top, rect.right, rect.bottom, static_cast<std::int32_t>(pl3::g_raster.width),
                     static_cast<std::int32_t>(pl3::g_raster.height)};
  pl3::g_raster.clip = &clip;
  const std::uint32_t savedColour = pl3::g_raster.fillValue;
  pl3::g_raster.fillValue = static_cast<std::uint32_t>(w.BackgroundIndex);
  pl3::SetPlaneRect(rect.left, rect.top, rect.right, rect.bottom);
  pl3::g_raster.fillValue = savedColour;

  const bool pcb = w.editorKind == kEditorPcb;
  if (pcb) w.ViewFlags |= kViewRegionRender;
  InnerPlaneMask = GetVisibleLayerMask(2, 31, 0);
  if (pcb) {
    // The paint's own step draws the nets flagged for display, unless the
    // window's HideFlaggedNets word says otherwise.
    if (w.Display) RenderDisplayList(&box, static_cast<DisplayList*>(w.Display), 0);
  } else if (w.design) {
    const pl3::Transform walk = w.BaseTransform;
    FindItemsInBox(&box, w.design, &walk, 0);
  }
  if (pcb) w.ViewFlags &= ~kViewRegionRender;
  ++RedrawCount;
  if (GridShown(w)) DrawGrid(w, box);
  pl3::g_raster.fillValue = savedColour;
  pl3::g_raster.clip = savedClip;
}

void RedrawView(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->Window != window) return;
  w->StateFlags &= ~kStateSingleColour;
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  pl3::Box box{client.left, client.top, client.right + 1, client.bottom + 1};
  UpdateViewGlobals();
  pl3::ViewBoxToWorld(&box);
  RedrawViewRect(window, &box, 1);
}

void RedrawViewRect(void* window, const pl3::Box* box, int clipToClient) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->Window != window || !IsRedrawnKind(w->editorKind)) return;
  if (!box) {
    RedrawView(window);
    return;
  }
  if (!BindViewSurface(window)) return;
  pl3::ViewClip* const savedClip = pl3::g_raster.clip;
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  RECT rect{};
  if (!WorldBoxToViewRect(*box, client, clipToClient, &rect)) return;
  RenderViewRegion(*w, *box, rect);
  if (IsSchematicKind(w->editorKind))
    pl3::ColourisePlaneByByte();
  else
    pl3::ColourisePlaneRect(rect.left, rect.top, rect.right, rect.bottom);
  InvalidateRect(static_cast<HWND>(window), &rect, FALSE);
  pl3::g_raster.clip = savedClip;
}

bool PaintViewFromSurface(HWND window, const CurrentWindowData& w) {
  if (!w.Surface.memoryDC || !w.Surface.colourBuffer) return false;
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window, &ps);
  const RECT& r = ps.rcPaint;
  if (r.left < r.right && r.top < r.bottom)
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, w.Surface.memoryDC, r.left, r.top, SRCCOPY);
  EndPaint(window, &ps);
  return true;
}
