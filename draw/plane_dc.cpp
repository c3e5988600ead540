#include "draw/plane_dc.h"

#include "geometry/raster_state.h"

PlaneDC::PlaneDC() {
  const pl3::RasterState& r = pl3::g_raster;
  if (!r.plane || r.width == 0 || r.height == 0) return;
  const auto w = static_cast<int>(r.width), h = static_cast<int>(r.height);
  // Plane rows are stored bottom row first.
  surface = {r.plane + static_cast<std::size_t>(h - 1) * r.width, w, h, -w};
  const pl3::ViewClip& c = pl3::CurrentViewClip();
  dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{c.xmin, c.ymin, c.xmax + 1, c.ymax + 1});
}

PlaneDC::~PlaneDC() {
  if (dc) pl3::DeleteSurfaceDC(dc);
}
