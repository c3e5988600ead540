// The drag status of a picked item, and the per-kind steps that put it into
// the selection list with the handle the cursor holds.
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

bool IsGrabbedByHandleRoutine(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11:
    case 18: case 19: case 23: case 24: case 26: case 27: case 28: case 29: case 35: case 37: case 38: case 39:
    case 41: case 42: case 43: case 44: case 45: case 46: case 47: case 49: case 163:
      return true;
    default:
      return false;
  }
}

pl3::Point ReadPoint(const std::uint8_t* p) {
  pl3::Point point{};
  if (p) std::memcpy(&point, p, sizeof point);
  return point;
}

// A symbol's or schematic symbol's placement point: its Origin through its Transform.
pl3::Point PlacedOrigin(const Tower* item) {
  pl3::Point origin = ReadPoint(ChildPayloadOfAtLeast(item, Type_Origin, sizeof(pl3::Point)));
  pl3::Transform t = pl3::kIdentityTransform;
  if (const std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof t)) std::memcpy(&t, p, sizeof t);
  pl3::TransformPoint(&t, origin.x, origin.y);
  return origin;
}

// A placed pad stack's point: its definition's Origin through the Pad-Stack
// Info transform, or the transform's own point when the definition has none.
bool PadStackOrigin(const Tower* item, pl3::Point* out) {
  const std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_PadStackInfo, sizeof(PadStackInfoRecord));
  if (!p) return false;
  if (GetPadCentre(item, out)) return true;
  PadStackInfoRecord info;
  std::memcpy(&info, p, sizeof info);
  *out = {info.transform.tx, info.transform.ty};
  return true;
}

bool GrabByRoutine(const Tower* item, DrawStatus* s) {
  GrabBlock grab{};
  grab.cursorX = s->cursorX;
  grab.cursorY = s->cursorY;
  grab.wholeItem = static_cast<std::int32_t>(s->flags) > 0 ? 1 : 0;
  if (!GrabEntity(item, &grab)) return false;
  s->dx = static_cast<std::int32_t>(grab.firstWord);
  s->dy = static_cast<std::int32_t>(grab.secondWord);
  s->x = grab.grabX;
  s->y = grab.grabY;
  s->grabCode = grab.editCode;
  return true;
}

// Locators and dimensioners answer through the objects' drag status record.
bool GrabByDragStatus(const Tower* item, std::uint16_t type, const CurrentWindowData* w, DrawStatus* s) {
  DragStatus d{};
  d.cursor = w->Cursor;
  d.flag = static_cast<std::int32_t>(s->flags) > 0 ? 1 : 0;
  d.grabCode = d.flag ? kGrabBothEnds : kGrabWhole;
  if (type == Type_AttributeLocator) {
    const auto* l = reinterpret_cast<const LocatorPayload*>(PayloadOfAtLeast(TowerEntity(item), sizeof(LocatorPayload)));
    if (!l) return false;
    d.x = l->x;
    d.y = l->y;
    if (!GetLocatorDrawStatus(item, &d)) return false;
  } else {
    const int ok = type == Type_Dimensioner ? GetDimensionerDragStatus(item, &d) : GetAngleDimensionerDragStatus(item, &d);
    if (!ok) return false;
  }
  s->dx = static_cast<std::int32_t>(d.word0);
  s->dy = static_cast<std::int32_t>(d.word4);
  s->x = d.x;
  s->y = d.y;
  s->grabCode = d.grabCode;
  return true;
}

// Fills the reference point and grab code; false for an unknown type or a
// record too short for its type.
bool FillByType(const Tower* item, std::uint16_t type, const CurrentWindowData* w, DrawStatus* s, bool* unknown) {
  const std::uint32_t whole = static_cast<std::int32_t>(s->flags) > 0 ? kGrabBothEnds : kGrabWhole;
  if (IsGrabbedByHandleRoutine(type)) return GrabByRoutine(item, s);
  switch (type) {
    case Type_AttributeLocator: case Type_AngleDimensioner: case Type_Dimensioner:
      return GrabByDragStatus(item, type, w, s);
    case kTypeSchematicSymbol: case Type_SymbolInstance: {
      const pl3::Point p = PlacedOrigin(item);
      s->x = p.x;
      s->y = p.y;
      s->grabCode = whole;
      return true;
    }
    case Type_PadStackInstanceHier: {
      pl3::Point p{};
      if (!PadStackOrigin(item, &p)) return false;
      s->x = p.x;
      s->y = p.y;
      s->grabCode = whole;
      return true;
    }
    case Type_Datum: {
      const auto* d = reinterpret_cast<const DatumPayload*>(PayloadOfAtLeast(TowerEntity(item), 60));
      if (!d) return false;
      s->x = d->x;
      s->y = d->y;
      return true;
    }
    case Type_InfoBoxHier: {
      const TextPayload* label = InfoBoxLabel(item);
      if (!label) return false;
      const pl3::Point p = InfoBoxGrabPoint(label);
      s->x = p.x;
      s->y = p.y;
      return true;
    }
    default:
      *unknown = true;
      return false;
  }
}

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
  pl3::Point cursor = w->Cursor;
  pl3::WorldToView(cursor.x, cursor.y);
  s->cursorX = cursor.x;
  s->cursorY = cursor.y;
  s->flags = static_cast<std::uint32_t>(flags);
  bool unknown = false;
  if (!FillByType(item, e->typeCode, w, s, &unknown)) {
    if (unknown) MessageBox(nullptr, "Internal Error - Unknown type", "GetDrawStatus", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    std::free(s);
    return nullptr;
  }
  s->cursorX = s->x;
  s->cursorY = s->y;
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
