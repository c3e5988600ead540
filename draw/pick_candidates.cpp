// The area pick's list as the design objects read it (objects/area_pick_seams.h).
#include "draw/raster_callbacks.h"
#include "objects/area_pick_seams.h"

const Tower* AreaPickCandidate(std::uint32_t index) {
  for (const pl3::PickListNode* node = pl3::PickList(); node; node = node->next) {
    if (index-- == 0) return node->entity;
  }
  return nullptr;
}
