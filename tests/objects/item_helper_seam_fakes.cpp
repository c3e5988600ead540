#include "tests/objects/item_helper_seam_fakes.h"

#include <cstring>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "platform/reset_hooks.h"

namespace itemseams {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {
void ResetFakes() { Recorded() = Calls{}; }
const bool registered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

}  // namespace itemseams

using itemseams::Recorded;

void OffsetEntity(void*, std::uint16_t type, std::int32_t dx, std::int32_t dy, int clamp) {
  Recorded().offsets.push_back({type, {dx, dy}, clamp});
}
void SetSelectionAndOptionsMenus(std::uint32_t menuKind) { Recorded().menuKinds.push_back(menuKind); }
void GhostEntityData(void* view, std::uint16_t type, const void* payload, std::uint32_t,
                     const pl3::Transform* transform) {
  itemseams::Ghost ghost{view, type, *transform, {}, ActiveWindowData ? ActiveWindowData->WalkFlags : 0};
  // A text keeps its own transform at 76; other payloads may be shorter.
  if (type == 5) std::memcpy(&ghost.ownTransform, static_cast<const std::uint8_t*>(payload) + 76, sizeof ghost.ownTransform);
  if (type == 1) std::memcpy(&ghost.line, payload, sizeof ghost.line);
  Recorded().ghosts.push_back(ghost);
}
int VisitDisplayItems(int (*visit)(const DisplayItemView&, void*), void* context) {
  for (const DisplayItemView& item : Recorded().displayItems) {
    if (int result = visit(item, context)) return result;
  }
  return 0;
}
