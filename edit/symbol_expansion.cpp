// ExpandSymbol (declared in draw/display_list_seams.h): a walk action applied
// to the parts of a placed symbol as if they stood in the design. Kept in a
// file of its own so that tests can walk symbols through a recording fake.
#include "draw/display_list_seams.h"
#include "edit/window_data.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/responder.h"
#include "store/tower.h"

std::int32_t ExpandSymbol(std::uint8_t action, const Tower* instance, const pl3::Transform* transform, void* param) {
  CurrentWindowData* w = ActiveWindowData;
  const std::uint8_t* info = ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 4);
  if (!info) {
    MessageBox(nullptr, "Error - unable to locate symbol instance info", "ExpandSymbol",
                MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return 0;
  }
  if (!w) return 0;
  pl3::Transform placement;
  GetTransform(&placement, instance, transform);
  const std::uint32_t savedView = w->ViewFlags;
  Tower* const savedParent = w->WalkParent;
  if (ReadU32(info, 0) & 0x2) w->ViewFlags ^= kViewOtherSide;
  w->WalkParent = const_cast<Tower*>(instance);
  const std::int32_t result = PerformTowerAction(&placement, instance, param, 0, action, 0);
  w->WalkParent = savedParent;
  w->ViewFlags = savedView;
  return result;
}
