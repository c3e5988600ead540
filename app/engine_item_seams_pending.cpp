// The program's stand-ins for the engine's item services that
// objects/engine_item_seams.h declares and no owner defines yet: nothing
// joins the selection (the caller keeps the item unselected).
#include "objects/engine_item_seams.h"

SelectionInfo* AddGraphicToSelection(SelectionInfo**, const Tower*, std::uint16_t, const pl3::Transform*,
                                     std::int32_t, std::int32_t) {
  return nullptr;
}
