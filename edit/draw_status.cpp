// The Select road of a picked item: the drag status with its first-pick step
// (the cursor taken to the item), and the per-kind steps that put the item
// into the selection list with the handle the cursor holds.
#include <cstdlib>
#include <cstring>

#include "draw/grids.h"
#include "edit/object_select.h"
#include "edit/ratsnest_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/dimensioners.h"
#include "objects/display_list_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/info_boxes.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/placed_item_records.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

constexpr std::uint8_t kModeAddNewSymbol = 70;

// Pins, wires, buses, schematic symbols and the text-carrying locator kinds
// held whole snap finely; everything else to the grid.
bool SnapsFinely(const Tower* item, std::uint16_t type, std::uint32_t grab) {
  switch (type) {
    case Type_SymbolPin: case Type_Wire: case Type_Bus: case kTypeSchematicSymbol: return true;
    case Type_AttributeLocator: {
      if (grab != kGrabWhole && grab != kGrabBothEnds) return false;
      const auto* l = reinterpret_cast<const LocatorPayload*>(PayloadOfAtLeast(TowerEntity(item), sizeof(LocatorPayload)));
      if (!l) return false;
      switch (l->kind) {
        case 1: case 3: case 4: case 5: case 8: case 9: case 13: case 15: return true;
        default: return false;
      }
    }
    default: return false;
  }
}

bool InsideClientArea(HWND window, pl3::Point world) {
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return true;
  pl3::WorldToView(world.x, world.y);
  return world.x >= client.left && world.x < client.right && world.y >= client.top && world.y < client.bottom;
}

// The first pick of a selection takes the cursor to the reference point.
void TakeCursorToReference(HWND window, CurrentWindowData* w, const Tower* item, std::uint16_t type,
                           const DrawStatus* s) {
  w->Cursor = {s->x, s->y};
  if (SnapsFinely(item, type, s->grabCode)) FineSnapDragPoint(window, &w->Button);
  else SnapDragPoint(window, &w->Button);
  w->InsertionOrigin.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(w->InsertionOrigin.x) + static_cast<std::uint32_t>(s->dx));
  w->InsertionOrigin.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(w->InsertionOrigin.y) + static_cast<std::uint32_t>(s->dy));
  if (!InsideClientArea(window, {s->x, s->y})) CentreViewOnPoint(window, w->Cursor);
}

using AddStep = SelectionInfo* (*)(SelectionInfo**, const Tower*, std::uint16_t, const pl3::Transform*, std::int32_t,
                                   std::int32_t);

// The step every kind shares: drag status, record, primary, selected mark.
SelectionInfo* AddBySteps(const Tower* item, std::int32_t flags, AddStep add) {
  CurrentWindowData* w = ActiveWindowData;
  Entity* e = TowerEntity(item);
  if (!w || !e) return nullptr;
  DrawStatus* s = GetDrawStatus(static_cast<HWND>(w->Window), item, flags);
  if (!s) return nullptr;
  SelectionInfo* record = add(&w->SelectionList, item, static_cast<std::uint16_t>(s->grabCode),
                              &pl3::kIdentityTransform, s->cursorX, s->cursorY);
  std::free(s);
  if (!record) return nullptr;
  e->flags |= kEntitySelected;
  record->flags |= kSelectionPrimary;
  return record;
}

// Symbols, earlier-generation symbols and pad stacks: picked first, they
// make the layer of their side current and their type the insertion type.
int SelectPlacedItem(const Tower* item, std::int32_t flags, bool otherSide, std::uint16_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !TowerEntity(item)) return 0;
  const bool wasEmpty = w->SelectionList == nullptr;
  if (!AddBySteps(item, flags, &AddSymbolToSelection)) return 0;
  if (wasEmpty) {
    w->RoutingLayer = otherSide ? w->BottomLayer : w->TopLayer;
    w->InsertType = static_cast<std::uint8_t>(type);
  }
  return 1;
}

}  // namespace


DrawStatus* GetDrawStatus(HWND window, const Tower* item, std::int32_t flags) {
  CurrentWindowData* w = ActiveWindowData;
  Entity* e = TowerEntity(item);
  if (!w || !e) return nullptr;
  const bool firstPick = !w->SelectionList && w->EditMode != kModeAddNewSymbol;
  auto* s = static_cast<DrawStatus*>(std::calloc(1, sizeof(DrawStatus)));
  if (!s) return nullptr;
  bool unknown = false;
  if (!FillDrawStatus(item, flags, s, &unknown)) {
    if (unknown) MessageBox(nullptr, "Internal Error - Unknown type", "GetDrawStatus", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    std::free(s);
    return nullptr;
  }
  if (firstPick) TakeCursorToReference(window, w, item, e->typeCode, s);
  return s;
}

int SelectItemAsSymbol(const Tower* item, std::int32_t flags) {
  return AddBySteps(item, flags, &AddSymbolToSelection) ? 1 : 0;
}

int SelectGraphic(const Tower* item, std::int32_t flags) {
  CurrentWindowData* w = ActiveWindowData;
  Entity* e = TowerEntity(item);
  if (!w || !e) return 0;
  const bool wasEmpty = w->SelectionList == nullptr;
  if (!AddBySteps(item, flags, &AddGraphicToSelection)) return 0;
  if (e->typeCode == Type_Datum) {
    w->InsertType = Type_Datum;
  } else if (wasEmpty) {
    if (const std::uint8_t* p = PayloadOfAtLeast(e, sizeof(GraphicHead))) {
      w->RoutingLayer = reinterpret_cast<const GraphicHead*>(p)->layer;
    }
    w->InsertType = static_cast<std::uint8_t>(e->typeCode);
  }
  return 1;
}

int SelectSymbolInstance(const Tower* item, std::int32_t flags) {
  SymbolInstanceInfo info{};
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_SymbolInstanceInfo, sizeof info)) std::memcpy(&info, p, sizeof info);
  if (!SelectPlacedItem(item, flags, (info.flags & kSymbolInstanceOtherSide) != 0, Type_SymbolInstance)) return 0;
  if (ActiveWindowData->Display) RemoveFromDisplayList(ActiveWindowData->Display, item);
  MarkSymbolNetsChanged(item);
  return 1;
}

int SelectPl2Symbol(const Tower* item, std::int32_t flags) {
  // An earlier-generation symbol carries its side in its link record.
  const std::uint8_t* link = ChildPayloadOfAtLeast(item, kTypeTextGroupLink, kTextGroupLinkFlagsOffset + 1);
  const bool otherSide = link && (link[kTextGroupLinkFlagsOffset] & kTextGroupMirrored) != 0;
  if (!SelectPlacedItem(item, flags, otherSide, kTypeTextGroup)) return 0;
  if (ActiveWindowData->Display) RemoveFromDisplayList(ActiveWindowData->Display, item);
  return 1;
}

int SelectPinItem(const Tower* item, std::int32_t flags) { return SelectItemAsSymbol(item, flags); }

int SelectPadStackInstance(const Tower* item, std::int32_t flags) {
  PadStackInfoRecord info{};
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_PadStackInfo, sizeof info)) std::memcpy(&info, p, sizeof info);
  return SelectPlacedItem(item, flags, (info.flags & kPadStackOtherSide) != 0, Type_PadStackInstanceHier);
}
