// The raster kernel's run callbacks of geometry/seams.h: area picking, the
// outline trace, clipped chords and the dashed-line step. In a file of their
// own so that the kernel's tests, which give their own, still link the pick
// list of draw/raster_callbacks.cpp.
#include "draw/area_pick_state.h"
#include "draw/gdi_shapes.h"
#include "geometry/clipping.h"
#include "geometry/raster_state.h"
#include "geometry/seams.h"
#include "platform/gdi.h"
#include "store/tower.h"

namespace {
HDC AsDC(void* context) { return static_cast<HDC>(context); }
}  // namespace

// The horizontal run lists the entity once per pick and marks its node.
int PickHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  Entity* node = TowerEntity(pl3::g_raster.currentEntity);
  if (!node) return 0;
  if (node->flags & pl3::kEntityPicked) return 1;
  const pl3::Box& a = pl3::g_pick.area;
  if (!(y >= a.ymin && y <= a.ymax && x1 >= a.xmin && x0 <= a.xmax)) return 0;
  pl3::g_raster.pickPending = 0;
  pl3::PushPickRecord();
  node->flags |= pl3::kEntityPicked;
  return 1;
}

// The vertical run looks the entity up in the list instead of marking it.
int PickVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  const Entity* node = TowerEntity(pl3::g_raster.currentEntity);
  if (!node) return 0;
  const pl3::Box& a = pl3::g_pick.area;
  if (!(x >= a.xmin && x <= a.xmax && y1 >= a.ymin && y0 <= a.ymax)) return 0;
  pl3::g_raster.pickPending = 0;
  if (!pl3::IsInPickList(node)) pl3::PushPickRecord();
  return 1;
}

void TraceHorizontalRun(void* context, std::int32_t x, std::int32_t lastX, std::int32_t lastY) {
  MoveToEx(AsDC(context), x, lastY, nullptr);
  LineTo(AsDC(context), lastX, lastY);
}

void TraceVerticalRun(void* context, std::int32_t lastX, std::int32_t lastY, std::int32_t y) {
  MoveToEx(AsDC(context), lastX, lastY, nullptr);
  LineTo(AsDC(context), lastX, y);
}

void DrawClippedChord(void* context, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  DrawSegmentLine(context, pl3::ViewSegment{x1, y1, x2, y2});
}

namespace pl3 {
void StartLinePattern(std::uint32_t first, std::uint32_t second, std::uint32_t startFill) {
  g_pattern = LinePattern{0, first, second};
  g_raster.fillValue = startFill;
}
}  // namespace pl3

void StepLinePattern() {
  pl3::LinePattern& p = pl3::g_pattern;
  ++p.counter;
  if (p.counter == 3) {
    pl3::g_raster.fillValue = p.first;
  } else if (p.counter >= 6) {
    pl3::g_raster.fillValue = p.second;
    p.counter = 0;
  }
}
