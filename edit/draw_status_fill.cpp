// The drag status of an item, read without touching the window: which
// handle the cursor holds and the item's reference point, by type.
// GetDrawStatus and the handle point of a pasted item both start here.
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

}  // namespace

bool FillDrawStatus(const Tower* item, std::int32_t flags, DrawStatus* s, bool* unknown) {
  const CurrentWindowData* w = ActiveWindowData;
  const Entity* e = TowerEntity(item);
  *s = {};
  *unknown = false;
  if (!w || !e) return false;
  pl3::Point cursor = w->Cursor;
  pl3::WorldToView(cursor.x, cursor.y);
  s->cursorX = cursor.x;
  s->cursorY = cursor.y;
  s->flags = static_cast<std::uint32_t>(flags);
  if (!FillByType(item, e->typeCode, w, s, unknown)) return false;
  s->cursorX = s->x;
  s->cursorY = s->y;
  return true;
}
