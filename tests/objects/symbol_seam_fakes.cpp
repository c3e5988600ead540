#include "tests/objects/symbol_seam_fakes.h"

#include "objects/dimensioner_seams.h"
#include "objects/drawing_seams.h"
#include "objects/symbol_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace symbolfakes {

Hooks& Hook() {
  static Hooks hooks;
  return hooks;
}

namespace {
const bool registered = pl3::RegisterGlobalReset([] { Hook() = Hooks{}; });
}  // namespace

}  // namespace symbolfakes

using symbolfakes::Hook;

int GetBox(const Tower* item, pl3::Box* box) {
  *box = pl3::kEmptyBox;
  if (!Hook().getBox) return 0;
  Hook().getBox(item, box);
  return 1;
}
void SnapXYFine(std::int32_t* x, std::int32_t* y) {
  if (Hook().snapXYFine) Hook().snapXYFine(x, y);
}
void DrawOriginSquare(void* dc, const Tower* item) {
  if (Hook().drawOriginSquare) Hook().drawOriginSquare(dc, item);
}
int IsLayerEnabled(std::uint8_t layer, std::uint8_t action) {
  return Hook().isLayerEnabled ? Hook().isLayerEnabled(layer, action) : 1;
}
Tower* FindPadStackLayer(const Tower* design, std::uint8_t layer) {
  return Hook().findPadStackLayer ? Hook().findPadStackLayer(design, layer) : nullptr;
}
void FinishPinPlacement(Tower* temporary) {
  if (Hook().finishPinPlacement) Hook().finishPinPlacement(temporary);
}
