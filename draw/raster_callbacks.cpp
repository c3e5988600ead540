#include "draw/raster_callbacks.h"

#include "draw/gdi_shapes.h"

#include "geometry/clipping.h"
#include "geometry/raster_state.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace pl3 {

namespace {

struct AreaPick {
  Box area = {0, 0, -1, -1};
  std::uint32_t context[3] = {};
  PickListNode* list = nullptr;
};
AreaPick g_pick;

struct LinePattern {
  int counter = 0;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};
LinePattern g_pattern;

// The store's reset reclaims the Towers and nodes; only the list goes.
void ResetDrawingGlobals() {
  for (PickListNode* n = g_pick.list; n;) {
    PickListNode* next = n->next;
    delete n;
    n = next;
  }
  g_pick = AreaPick{};
  g_pattern = LinePattern{};
}
[[maybe_unused]] const bool g_registered = RegisterGlobalReset(&ResetDrawingGlobals);

// Lists the current entity once: 0 with no entity, 1 when it is (already) listed.
int TakeRun(bool hits) {
  Entity* node = TowerEntity(g_raster.currentEntity);
  if (!node) return 0;
  if (node->flags & kEntityPicked) return 1;
  if (!hits) return 0;
  g_raster.pickPending = 0;
  g_pick.list = new PickListNode{CopyTowerRef(g_raster.currentEntity),
                                 {g_pick.context[0], g_pick.context[1], g_pick.context[2]},
                                 g_pick.list};
  node->flags |= kEntityPicked;
  return 1;
}

HDC AsDC(void* context) { return static_cast<HDC>(context); }

}  // namespace

void BeginAreaPick(const Box& area, std::uint32_t context0, std::uint32_t context1, std::uint32_t context2) {
  FreePickList();
  g_pick.area = area;
  g_pick.context[0] = context0;
  g_pick.context[1] = context1;
  g_pick.context[2] = context2;
}

PickListNode* PickList() { return g_pick.list; }

void FreePickList() {
  while (PickListNode* n = g_pick.list) {
    g_pick.list = n->next;
    if (Entity* node = TowerEntity(n->entity)) node->flags &= static_cast<std::uint16_t>(~kEntityPicked);
    ReleaseTowerRef(n->entity);
    delete n;
  }
}

void StartLinePattern(std::uint32_t first, std::uint32_t second, std::uint32_t startFill) {
  g_pattern = LinePattern{0, first, second};
  g_raster.fillValue = startFill;
}

}  // namespace pl3

int PickHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  const pl3::Box& a = pl3::g_pick.area;
  return pl3::TakeRun(y >= a.ymin && y <= a.ymax && x1 >= a.xmin && x0 <= a.xmax);
}

int PickVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  const pl3::Box& a = pl3::g_pick.area;
  return pl3::TakeRun(x >= a.xmin && x <= a.xmax && y1 >= a.ymin && y0 <= a.ymax);
}

void TraceHorizontalRun(void* context, std::int32_t x, std::int32_t lastX, std::int32_t lastY) {
  MoveToEx(pl3::AsDC(context), x, lastY, nullptr);
  LineTo(pl3::AsDC(context), lastX, lastY);
}

void TraceVerticalRun(void* context, std::int32_t lastX, std::int32_t lastY, std::int32_t y) {
  MoveToEx(pl3::AsDC(context), lastX, lastY, nullptr);
  LineTo(pl3::AsDC(context), lastX, y);
}

void DrawClippedChord(void* context, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  DrawSegmentLine(context, pl3::ViewSegment{x1, y1, x2, y2});
}

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
