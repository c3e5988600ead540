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
  void* context[3] = {};
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

void PushPickRecord() {
  g_pick.list = new PickListNode{CopyTowerRef(g_raster.currentEntity),
                                 {g_pick.context[0], g_pick.context[1], g_pick.context[2]},
                                 g_pick.list};
}

bool IsInPickList(const Entity* entity) {
  for (const PickListNode* n = g_pick.list; n; n = n->next)
    if (TowerEntity(n->entity) == entity) return true;
  return false;
}

HDC AsDC(void* context) { return static_cast<HDC>(context); }

}  // namespace

void BeginAreaPick(const Box& area) {
  FreePickList();
  g_pick.area = area;
  g_pick.context[0] = g_pick.context[1] = g_pick.context[2] = nullptr;
}

void SetAreaPickContext(void* item, void* listHead, void* node) {
  g_pick.context[0] = item;
  g_pick.context[1] = listHead;
  g_pick.context[2] = node;
}

void ForgetPickedItems() {
  for (PickListNode* n = g_pick.list; n; n = n->next) n->context[0] = n->context[1] = n->context[2] = nullptr;
}

PickListNode* PickList() { return g_pick.list; }

std::uint32_t CountListNodes(const PickListNode* list) {
  std::uint32_t count = 0;
  for (; list; list = list->next) ++count;
  return count;
}

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
