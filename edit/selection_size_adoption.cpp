// The size a single accepted item leaves as the one new items of its kind
// take. Apart from the Options-menu actions, which tests of the size
// commands stand in for while linking the accept.
#include "edit/payload_sizes.h"
#include "edit/selection_actions.h"
#include "edit/window_data.h"
#include "objects/size_table.h"
#include "store/tower.h"

void AdoptSelectionSize(std::uint16_t type, const SelectionInfo* record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->sizeTable || !record) return;
  switch (type) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 10: case 11: case 20: case 28: case 29: case 34:
    case 37: case 38: case 39: case 46: case 47:
      break;
    default:
      return;
  }
  const Entity* e = TowerEntity(record->workingCopy);
  if (!e || e->typeCode != type) return;
  const std::uint8_t* payload = EntityPayload(e);
  std::uint32_t index = 0;
  if (!GetPayloadSizeIndex(payload, e->payloadSize, type, &index)) return;  // a custom size is not adopted
  const std::uint32_t kind = PayloadSizeKind(payload, type);
  if (kind >= kSizeKindCount || index >= (*w->sizeTable)[kind].count()) return;
  (*w->sizeTable)[kind].defaultIndex = index;
  if (kind == SizeKind_Vias) w->CurrentViaSize = index;
}
