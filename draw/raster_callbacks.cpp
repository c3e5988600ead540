#include "draw/raster_callbacks.h"

#include "draw/area_pick_state.h"
#include "geometry/raster_state.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace pl3 {

AreaPick g_pick;
LinePattern g_pattern;

namespace {
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
}  // namespace

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

}  // namespace pl3
