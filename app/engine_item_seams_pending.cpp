// The program's stand-ins for the engine's item services that
// objects/engine_item_seams.h declares and no owner defines yet: a spiral's
// box stays as it was, and nothing joins the selection (the caller keeps the
// item unselected).
#include "objects/engine_item_seams.h"

void GetSpiralBox(const void*, pl3::Box*) {}
SelectionInfo* AddGraphicToSelection(SelectionInfo**, const Tower*, std::uint16_t, const pl3::Transform*,
                                     std::int32_t, std::int32_t) {
  return nullptr;
}
