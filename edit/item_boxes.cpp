#include "edit/item_boxes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/entity_geometry.h"
#include "draw/display_list.h"
#include "draw/layer_drawing.h"
#include "edit/item_box_seams.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/dimensioners.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/info_boxes.h"
#include "objects/io_ports.h"
#include "objects/item_layers.h"
#include "objects/locator_dispatch.h"
#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/seams.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSchematicRecord = 25;
constexpr std::uint16_t kTypeSchematicSymbol = 30;
constexpr std::uint16_t kTypePinText = 27;
constexpr std::uint16_t kTypePl2Symbol = 163;
constexpr std::uint16_t kTypePl2Link = 164;
constexpr std::uint16_t kTypePl2Definition = 162;
constexpr std::uint16_t kTypeAttributeDisplay = 309;
constexpr std::uint16_t kTypeAttributeGroup = 306;
constexpr std::uint16_t kTypeOriginOverride = 11028;
constexpr std::uint32_t kSchematicRecordReference = 4;  // u32 reference in the 32 record
constexpr std::uint8_t kLinkMirrored = 0x1;             // first byte of the 32 record
constexpr std::uint8_t kPl2LinkMirrored = 0x2;          // fifth byte of the 164 record
constexpr std::uint32_t kPl2LinkDefinition = 0;         // u32 reference to the 162 definition
constexpr std::uint32_t kViewOriginStored = 0x2;        // ViewFlags bit 1

bool IsGraphicPrimitive(std::uint16_t t) {
  return (t >= 1 && t <= 11) || t == 18 || t == 19 || t == 23 || t == 24 || t == 28 || t == 29 || t == 34 ||
         t == 35 || (t >= 37 && t <= 39) || (t >= 41 && t <= 47) || t == 49;
}

bool IsEmpty(const pl3::Box& b) { return b.xmin == 0 && b.ymin == 0 && b.xmax == 0 && b.ymax == 0; }

// Unites two boxes; the all-zero box adds nothing.
void Unite(pl3::Box* box, const pl3::Box& other) {
  if (IsEmpty(other)) return;
  if (IsEmpty(*box)) {
    *box = other;
    return;
  }
  box->xmin = std::min(box->xmin, other.xmin);
  box->ymin = std::min(box->ymin, other.ymin);
  box->xmax = std::max(box->xmax, other.xmax);
  box->ymax = std::max(box->ymax, other.ymax);
}

// Unsigned union, as the contents box compares.
void UniteUnsigned(pl3::Box* box, const pl3::Box& other) {
  auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  if (u(other.xmin) < u(box->xmin)) box->xmin = other.xmin;
  if (u(other.ymin) < u(box->ymin)) box->ymin = other.ymin;
  if (u(other.xmax) > u(box->xmax)) box->xmax = other.xmax;
  if (u(other.ymax) > u(box->ymax)) box->ymax = other.ymax;
}

std::uint16_t CodeOf(const Tower* t) { return LastLevel(t).typeCode; }

// Reflects a box about the vertical line x = axis.
void MirrorBoxAbout(pl3::Box* box, std::int32_t axis) {
  const std::int64_t a = 2 * std::int64_t{axis};
  const auto x1 = static_cast<std::int32_t>(a - box->xmax), x2 = static_cast<std::int32_t>(a - box->xmin);
  box->xmin = x1;
  box->xmax = x2;
}

// While a mirrored symbol is drawn, its primitives are measured mirrored about its origin.
void MirrorForDrawnSymbol(pl3::Box* box) {
  const CurrentWindowData* w = ActiveWindowData;
  std::int32_t axis = 0;
  if (w && (w->StateFlags & kStateSymbolMirrored) && ContainingSymbolOriginX(CurrentDisplayEntity, &axis))
    MirrorBoxAbout(box, axis);
}

bool StoredBox(const Tower* item, pl3::Box* box) {
  const std::uint8_t* stored = ChildPayloadOfAtLeast(item, Type_BoundingBox, sizeof(pl3::Box));
  if (!stored) return false;
  std::memcpy(box, stored, sizeof *box);
  return true;
}

bool OwnTransform(const Tower* item, pl3::Transform* t) {
  const std::uint8_t* stored = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
  if (!stored) return false;
  std::memcpy(t, stored, sizeof *t);
  return true;
}

// The Transform of the nearest enclosing symbol instance (identity without one).
pl3::Transform OwningInstanceTransform(const Tower* item) {
  pl3::Transform t = pl3::kIdentityTransform;
  Tower* owner = GetEnclosingTower(item, Type_SymbolInstance);
  if (owner) OwnTransform(owner, &t);
  ReleaseTower(&owner);
  return t;
}

// The union of the boxes of the children of the code that have one.
void UniteChildBoxes(const Tower* item, std::uint16_t code, const pl3::Transform* t, pl3::Box* box) {
  Tower* children = GetChildTower(item, code);
  while (children && FindNextEntity(children)) {
    pl3::Box child{};
    if (!GetBox(children, &child) || IsEmpty(child)) continue;
    if (t) GetRectangleBox(&child, t);
    Unite(box, child);
  }
  ReleaseTower(&children);
}

int SymbolInstanceBox(const Tower* item, pl3::Box* box) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(item, Type_SymbolInstanceInfo, 8);
  if (!info || !GetSymbolInstanceInfoBox(info, box)) return 1;
  pl3::Transform t{};
  const bool placed = OwnTransform(item, &t);
  if (placed)
    GetRectangleBox(box, &t);
  else
    ShowAndLogError(nullptr, "Unable to Retrieve transform", "GetBox - Type_SymbolInstance", 1);
  UniteChildBoxes(item, Type_DesignatorData, placed ? &t : nullptr, box);
  UniteChildBoxes(item, kTypeAttributeDisplay, placed ? &t : nullptr, box);
  return 1;
}

int PlacedPadBox(const Tower* item, pl3::Box* box) {
  Tower* pad = FindDefinitionPadStackInstance(item);
  const bool found = pad && GetPadStackInstanceBox(pad, box);
  ReleaseTower(&pad);
  if (!found) return 0;
  const pl3::Transform t = OwningInstanceTransform(item);
  GetRectangleBox(box, &t);
  return 1;
}

int OffsetStoredBox(const Tower* item, pl3::Box* box) {
  if (!StoredBox(item, box)) return 0;
  if (const std::uint8_t* offset = ChildPayloadOfAtLeast(item, Type_Offset, 8)) {
    const std::int32_t dx = ReadI32(offset, 0), dy = ReadI32(offset, 4);
    box->xmin += dx;
    box->xmax += dx;
    box->ymin += dy;
    box->ymax += dy;
  }
  pl3::Transform t{};
  if (OwnTransform(item, &t)) GetRectangleBox(box, &t);
  return 1;
}

// The schematic record (25) a schematic symbol's link (32) names.
Tower* SchematicRecordOf(const Tower* symbol, bool* mirrored) {
  const std::uint8_t* link = ChildPayloadOfAtLeast(symbol, Type_SchematicSymbol, 8);
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  if (!link || !design) return nullptr;
  *mirrored = (link[0] & kLinkMirrored) != 0;
  return FindChildByReference(design, kTypeSchematicRecord, ReadU32(link, kSchematicRecordReference));
}

int SchematicSymbolBox(const Tower* item, pl3::Box* box) {
  const CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t savedState = w ? w->StateFlags : 0;
  bool mirrored = false;
  Tower* record = SchematicRecordOf(item, &mirrored);
  pl3::Box body{};
  const bool found = record && GetBox(record, &body);
  ReleaseTower(&record);
  if (!found) return 0;
  pl3::Transform t{};
  const bool placed = OwnTransform(item, &t);
  auto place = [&](pl3::Box* b) {
    if (mirrored) MirrorBoxAbout(b, 0);
    if (placed) GetRectangleBox(b, &t);
  };
  place(&body);
  Tower* texts = GetChildTower(item, Type_Text);
  while (texts && FindNextEntity(texts)) {
    pl3::Box text{};
    if (!GetBox(texts, &text) || IsEmpty(text)) continue;
    place(&text);
    Unite(&body, text);
  }
  ReleaseTower(&texts);
  *box = body;
  if (ActiveWindowData) ActiveWindowData->StateFlags = savedState;
  return 1;
}

int Pl2SymbolBox(const Tower* item, pl3::Box* box) {
  pl3::Transform t = pl3::kIdentityTransform;
  OwnTransform(item, &t);
  if (const std::uint8_t* origin = ChildPayloadOfAtLeast(item, Type_Origin, 8)) {
    t.tx += ReadI32(origin, 0);
    t.ty += ReadI32(origin, 4);
  }
  const std::uint8_t* link = ChildPayloadOfAtLeast(item, kTypePl2Link, 5);
  if (link && (link[4] & kPl2LinkMirrored)) {
    t.a = -t.a;
    t.c = -t.c;
  }
  // The definition the link names gives the box; a symbol whose definition
  // is gone falls back on the box it stored itself.
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  Tower* definition = link && design ? FindChildByReference(design, kTypePl2Definition, ReadU32(link, kPl2LinkDefinition))
                                     : nullptr;
  const bool fromDefinition = definition && StoredBox(definition, box);
  ReleaseTower(&definition);
  if (!fromDefinition && !StoredBox(item, box)) return 0;
  GetRectangleBox(box, &t);
  UniteChildBoxes(item, Type_Text, &t, box);
  return 1;
}

// A marker: its label's box and every point it marks, grown by the label's
// margin on all sides.
int MarkerBox(const Tower* item, pl3::Box* box) {
  pl3::Box label{};
  std::int32_t margin = 0;
  const bool labelled = GetInfoBoxLabelExtent(item, &label, &margin) != 0;
  pl3::Box united = labelled ? label : pl3::kEmptyBox;
  std::vector<pl3::Point> points(kInfoBoxPointRoom);
  const std::uint32_t n = GetInfoBoxPoints(item, points.data(), kInfoBoxPointRoom);
  if (!labelled && n == 0) return 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const pl3::Box at{points[i].x, points[i].y, points[i].x, points[i].y};
    if (!labelled && i == 0) {
      united = at;
      continue;
    }
    united.xmin = std::min(united.xmin, at.xmin);
    united.ymin = std::min(united.ymin, at.ymin);
    united.xmax = std::max(united.xmax, at.xmax);
    united.ymax = std::max(united.ymax, at.ymax);
  }
  *box = {united.xmin - margin, united.ymin - margin, united.xmax + margin, united.ymax + margin};
  return 1;
}

}  // namespace

int GetBox(const Tower* item, pl3::Box* box) {
  Entity* e = item ? TowerEntity(item) : nullptr;
  if (!e || !box) return 0;
  const std::uint16_t type = CodeOf(item);
  std::uint8_t* payload = EntityPayload(e);
  if (IsGraphicPrimitive(type)) {
    if (e->payloadSize < sizeof(pl3::GraphicLayoutHead)) return 0;
    GetGraphicBox(payload, type, box);
    MirrorForDrawnSymbol(box);
    return 1;
  }
  switch (type) {
    case Type_AttributeLocator: {
      const int found = GetLocatorBox(item, box);
      MirrorForDrawnSymbol(box);
      return found;
    }
    case Type_AngleDimensioner:
    case Type_Dimensioner:
      if (e->payloadSize < sizeof(DimensionerPayload)) return 0;
      if (type == Type_AngleDimensioner)
        GetAngleDimensionerBox(reinterpret_cast<const DimensionerPayload*>(payload), box, item);
      else
        GetDimensionerBox(reinterpret_cast<const DimensionerPayload*>(payload), box, item);
      return 1;
    case Type_SymbolPin: return GetSymbolPinBox(item, box);
    case kTypePinText: return GetPinTextBox(item, box);
    case kTypeSchematicSymbol: return SchematicSymbolBox(item, box);
    case Type_PreRoute: {
      if (e->payloadSize < kPreRoutePayloadSize) return 0;
      const pl3::Transform t = OwningInstanceTransform(item);
      pl3::Point a{ReadI32(payload, 48), ReadI32(payload, 52)}, b{ReadI32(payload, 56), ReadI32(payload, 60)};
      pl3::TransformSignedPoint(&t, a.x, a.y);
      pl3::TransformSignedPoint(&t, b.x, b.y);
      *box = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
      return 1;
    }
    case Type_SymbolDefinition: case Type_ShapeDefinition: case Type_PadStackDefinition: case 162:
    case kTypeSchematicRecord:
      return StoredBox(item, box) ? 1 : 0;
    case Type_SymbolInstance: return SymbolInstanceBox(item, box);
    case Type_Shape:
      if (ActiveWindowData && ActiveWindowData->editorKind == kEditorPcb) return GetShapeInstanceBox(item, box);
      return 1;
    case Type_PadStackLayerInfo: return GetPadStackLayerBox(item, box);
    case Type_SymbolInstanceInfo:
      return e->payloadSize >= 8 ? GetSymbolInstanceInfoBox(payload, box) : 0;
    case Type_PadStackInstanceInfo: return PlacedPadBox(item, box);
    case Type_Designator: {
      pl3::Box united{};
      UniteChildBoxes(item, Type_DesignatorData, nullptr, &united);
      *box = united;
      return 1;
    }
    case Type_PadStackInstanceHier: return GetPadStackInstanceBox(item, box) ? 1 : 0;
    case kTypePl2Symbol: return Pl2SymbolBox(item, box);
    case Type_DesignatorData:
    case kTypeAttributeDisplay:
      return OffsetStoredBox(item, box);
    case Type_InfoBoxHier: return MarkerBox(item, box);
    case kTypeAttributeGroup: {
      pl3::Box united{};
      UniteChildBoxes(item, kTypeAttributeDisplay, nullptr, &united);
      *box = united;
      return 1;
    }
    default:
      return 0;
  }
}

std::uint8_t GetItemLayer(const Tower* item) { return static_cast<std::uint8_t>(GetFirstLayer(item, 0)); }

void GetItemContentsBox(const Tower* item, int withDesignators, const pl3::Transform* transform, pl3::Box* box) {
  *box = pl3::Box{-1, -1, 0, 0};
  const CurrentWindowData* w = ActiveWindowData;
  const std::uint32_t kind = w ? w->editorKind : 0;
  Tower* children = GetAllChildrenTower(item);
  while (children && FindNextEntity(children)) {
    const std::uint16_t code = CodeOf(children);
    pl3::Box child{};
    const bool boxed = IsGraphicPrimitive(code) || (code >= 20 && code <= 24) || code == 29 || code == 30 ||
                       code == Type_SymbolInstance || (code == Type_Shape && kind == kEditorPcb);
    const bool united = (code == Type_PadStackLayerInfo && kind == kEditorPadStack) ||
                        ((code == Type_PadStackInfo || code == Type_PadStackInstanceHier) && kind == kEditorPcbSymbol) ||
                        (code == kTypePl2Symbol && kind == kEditorPcb) ||
                        (code == Type_SymbolPin && kind == kEditorSchematicSymbol) || code == kTypeAttributeGroup;
    if (boxed || united) {
      if (GetBox(children, &child) && !IsEmpty(child)) UniteUnsigned(box, child);
    } else if (code == Type_Designator) {
      if (withDesignators && GetBox(children, &child) && !IsEmpty(child)) {
        if (transform) GetRectangleBox(&child, transform);
        UniteUnsigned(box, child);
      }
    } else if (code != Type_Label && code != Type_DesignatorData) {
      SkipToNextType(children);
    }
  }
  ReleaseTower(&children);
}

OriginRecord* GetItemOrigin(const Tower* item) {
  const Entity* e = item ? TowerEntity(item) : nullptr;
  if (!e) return nullptr;
  const std::uint8_t* found = nullptr;
  Tower* other = nullptr;
  pl3::Transform placement = pl3::kIdentityTransform;
  bool placed = false;
  switch (CodeOf(item)) {
    case kTypeSchematicSymbol: {
      bool mirrored = false;
      other = SchematicRecordOf(item, &mirrored);
      if (other) found = ChildPayloadOfAtLeast(other, kTypeOriginOverride, 8);
      if (!found && other) found = ChildPayloadOfAtLeast(other, Type_Origin, 8);
      break;
    }
    case Type_SymbolDefinition: case Type_ShapeDefinition: case Type_PadStackDefinition:
      found = ChildPayloadOfAtLeast(item, Type_Origin, 8);
      break;
    case Type_SymbolInstance: other = GetInstanceSymbolDef(item); break;
    case Type_SymbolInstanceInfo: other = GetInfoSymbolDef(EntityPayload(const_cast<Entity*>(e))); break;
    case Type_Shape: other = GetShapeDefinitionTower(item); break;
    case Type_PadStackInfo: case Type_PadStackInstanceHier: other = GetPadStackDef(item); break;
    case Type_PadStackInstanceInfo: {
      Tower* pad = FindDefinitionPadStackInstance(item);
      other = pad ? GetPadStackDef(pad) : nullptr;
      if (pad) {
        const pl3::Transform owner = OwningInstanceTransform(item);
        GetTransform(&placement, pad, &owner);
        placed = true;
      }
      ReleaseTower(&pad);
      break;
    }
    default:
      return nullptr;
  }
  if (!found && other) found = ChildPayloadOfAtLeast(other, Type_Origin, 8);
  OriginRecord* origin = nullptr;
  if (found) {
    origin = static_cast<OriginRecord*>(std::calloc(1, sizeof(OriginRecord)));
    if (origin) {
      origin->x = ReadI32(found, 0);
      origin->y = ReadI32(found, 4);
      if (placed) pl3::TransformSignedPoint(&placement, origin->x, origin->y);
    }
  }
  ReleaseTower(&other);
  return origin;
}

void StoreWindowOriginOnce(const Tower* item) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || (w->ViewFlags & kViewOriginStored)) return;
  SetTowerOrigin(item, w->CoordinateOrigin.x, w->CoordinateOrigin.y);
  w->ViewFlags |= kViewOriginStored;
}

int OriginWithinBox(const Tower* item) {
  StoreWindowOriginOnce(item);
  OriginRecord* origin = GetItemOrigin(item);
  if (!origin) {
    MessageBox(nullptr, "Error - Couldn't locate Origin", "OriginWithinBox", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  pl3::Box contents{};
  GetItemContentsBox(item, 0, &pl3::kIdentityTransform, &contents);
  DeleteChildEntities(item, Type_BoundingBox);
  Tower* stored = InsertEntity(item, sizeof contents, Type_BoundingBox, &contents);
  ReleaseTower(&stored);
  pl3::Box box{};
  int inside = 0;
  if (!GetBox(item, &box)) {
    MessageBox(nullptr, "Error - Couldn't create bounding box", "OriginWithinBox", MB_OK | MB_ICONEXCLAMATION);
  } else {
    inside = box.xmin <= origin->x && origin->x <= box.xmax && box.ymin <= origin->y && origin->y <= box.ymax;
  }
  std::free(origin);
  return inside;
}

int GetSchematicSymbolBodyBox(const Tower* symbol, pl3::Box* box) {
  bool mirrored = false;
  Tower* record = SchematicRecordOf(symbol, &mirrored);
  if (!record) return 0;
  pl3::Box body{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
  Tower* children = GetAllChildrenTower(record);
  while (children && FindNextEntity(children)) {
    pl3::Box child{};
    if (CodeOf(children) == Type_AttributeLocator || !GetBox(children, &child) || IsEmpty(child)) continue;
    body = {std::min(body.xmin, child.xmin), std::min(body.ymin, child.ymin), std::max(body.xmax, child.xmax),
            std::max(body.ymax, child.ymax)};
  }
  ReleaseTower(&children);
  ReleaseTower(&record);
  if (mirrored) MirrorBoxAbout(&body, 0);
  pl3::Transform t{};
  if (OwnTransform(symbol, &t)) GetRectangleBox(&body, &t);
  *box = body;
  return 1;
}

int LocatorWithinReach(const SelectionInfo* selection, pl3::Point point) {
  const SelectionInfo* primary = nullptr;
  int primaries = 0;
  for (const SelectionInfo* s = selection; s; s = s->next)
    if (s->flags & kSelectionPrimary) {
      primary = s;
      ++primaries;
    }
  if (primaries != 1 || !primary->original || CodeOf(primary->original) != Type_AttributeLocator) return 1;
  Tower* symbol = GetEnclosingTower(primary->original, kTypeSchematicSymbol);
  pl3::Box body{};
  const bool measured = symbol && symbol->lastLevel < primary->original->lastLevel &&
                        symbol->lastLevel + 1 == primary->original->lastLevel && GetSchematicSymbolBodyBox(symbol, &body);
  ReleaseTower(&symbol);
  if (!measured) return 1;
  return GetDistanceToBox(body, point.x, point.y) > kLocatorReach ? 0 : 1;
}
