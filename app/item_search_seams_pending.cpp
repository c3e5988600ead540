// The program's stand-in for the box search of draw/item_search_seams.h until
// the picking code lands: one walk of the design with the mode's action over
// every type, so that windows without a display list still show their items.
#include "draw/item_search_seams.h"

#include "draw/display_list_seams.h"
#include "objects/walker.h"

void FindItemsInBox(const pl3::Box* box, const Tower* design, const pl3::Transform* transform, std::uint32_t mode) {
  static constexpr std::uint8_t kActions[] = {0, 0, 24, 6, 37};
  if (!design || mode >= sizeof kActions) return;
  FillNetFlagTable(1);
  PerformTowerAction(transform, design, const_cast<pl3::Box*>(box), 0, kActions[mode], 0);
}
