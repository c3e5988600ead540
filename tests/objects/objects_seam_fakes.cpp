// The store seams that the design-object tests reach through the store's
// own queries but never exercise: owned by the schematic and PCB editors.
#include "objects/engine_item_seams.h"
#include <cstdint>

#include "store/seams.h"

void ComputeNetRatsnest(const Tower*, void*) {}

// The engine's spiral box and selection (objects/engine_item_seams.h): a
// spiral answers a fixed box; nothing joins the selection.
void GetSpiralBox(const void*, pl3::Box* box) { *box = {11, 22, 33, 44}; }
SelectionInfo* AddGraphicToSelection(SelectionInfo**, const Tower*, std::uint16_t, const pl3::Transform*,
                                     std::int32_t, std::int32_t) {
  return nullptr;
}
