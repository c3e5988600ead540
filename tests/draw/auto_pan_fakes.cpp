// Recording fakes of what auto-pan calls in services built elsewhere. The
// strip render writes kStripPlaneValue into the plane words of the box, so
// tests see which pixels were rendered and then colourised.
#include "tests/draw/auto_pan_fakes.h"

#include "draw/auto_pan_seams.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"

std::vector<std::string> AutoPanEvents;
std::vector<pl3::Box> RenderedBoxes;
pl3::Point* LastCrosshairRecord = nullptr;

void RenderViewRect(void*, const pl3::Box* box, int) {
  AutoPanEvents.push_back("render");
  RenderedBoxes.push_back(*box);
  const pl3::ViewMapping& v = pl3::ActiveViewMapping();
  const std::int64_t zoom = v.zoom ? v.zoom : 1;
  const std::int64_t x0 = box->xmin / zoom - v.originX, x1 = box->xmax / zoom - v.originX;
  const std::int64_t y0 = box->ymin / zoom - v.originY, y1 = box->ymax / zoom - v.originY;
  for (std::int64_t y = std::max<std::int64_t>(y0, 0); y < y1 && y < pl3::g_raster.height; ++y)
    for (std::int64_t x = std::max<std::int64_t>(x0, 0); x < x1 && x < pl3::g_raster.width; ++x)
      pl3::g_raster.plane[pl3::PlaneWordIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))] =
          kStripPlaneValue;
}

void DrawCrosshair(HWND, pl3::Point* record) {
  AutoPanEvents.push_back("crosshair");
  LastCrosshairRecord = record;
}

void UpdateViewScrollBars(HWND) { AutoPanEvents.push_back("scroll bars"); }
