// The state the area pick and the dashed line share between the pick list
// (draw/raster_callbacks.cpp) and the run callbacks (draw/raster_runs.cpp).
#pragma once
#include <cstdint>

#include "draw/raster_callbacks.h"
#include "geometry/types.h"

struct TowerNode;
using Entity = TowerNode;

namespace pl3 {

struct AreaPick {
  Box area = {0, 0, -1, -1};
  void* context[3] = {};
  PickListNode* list = nullptr;
};
extern AreaPick g_pick;

struct LinePattern {
  int counter = 0;
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};
extern LinePattern g_pattern;

// Adds the kernel's current entity with the pick context to the list.
void PushPickRecord();
bool IsInPickList(const Entity* entity);

}  // namespace pl3
