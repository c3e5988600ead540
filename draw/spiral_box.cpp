// The box of a stored spiral: its outer radius plus its width about the
// centre, grown by twice its layer's plane clearance unless a region render
// is in progress.
#include <algorithm>

#include "draw/draw_flags.h"
#include "draw/spiral_geometry.h"
#include "edit/window_data.h"
#include "objects/engine_item_seams.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void GetSpiralBox(const void* payload, pl3::Box* box) {
  if (!payload || !box) return;
  const auto& spiral = *static_cast<const SpiralPayload*>(payload);
  std::int64_t reach = SpiralOuterRadius(spiral) + SpiralDrawnWidth(spiral);
  const CurrentWindowData* w = ActiveWindowData;
  if (!(w && (w->ViewFlags & kViewRegionRender)))
    reach += 2 * static_cast<std::int64_t>(GetPlaneClearance(w ? w->design : nullptr, spiral.head.layer));
  const std::int64_t cx = spiral.centre.x, cy = spiral.centre.y;
  box->xmin = Clamp32(std::max<std::int64_t>(cx - reach, 0));
  box->ymin = Clamp32(std::max<std::int64_t>(cy - reach, 0));
  box->xmax = Clamp32(cx + reach);
  box->ymax = Clamp32(cy + reach);
}
