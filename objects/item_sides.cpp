#include "objects/item_sides.h"

#include <cstring>
#include <utility>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/datums.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kInstanceOnBottom = 0x2;  // Symbol Instance Info flags

bool TakesLayerByte(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 6: case 8: case 9: case 10: case 11: case 19:
    case 21: case 22: case 35: case 37: case 38: case 39:
      return true;
    default:
      return false;
  }
}

// The types a flip sends to the opposite-side layer; arcs swap their ends first.
bool FlipsByOppositeLayer(std::uint16_t type) {
  switch (type) {
    case 1: case 3: case 4: case 6: case 8: case 9: case 10: case 11: case 35: case 37: case 39:
      return true;
    default:
      return false;
  }
}

std::uint8_t OppositeLayer(std::uint8_t layer) {
  const LayerTable* t = ActiveWindowData ? &ActiveWindowData->layerTable : nullptr;
  if (!t || t->layers[layer].oppositeLayer == kNoOppositeLayer) return layer;
  return t->layers[layer].oppositeLayer;
}

std::uint8_t NextLayer(std::uint8_t layer) {
  return ActiveWindowData ? ActiveWindowData->layerTable.layers[layer].nextLayer : layer;
}

void MirrorLinear(pl3::Transform& t) { pl3::ComposeLinearTransform(&t, &kMirrorTransform); }

// Takes the new layer; a text crossing sides is mirrored.
void MoveToLayer(std::uint8_t* payload, std::uint16_t type, std::uint8_t layer) {
  auto& head = *reinterpret_cast<GraphicHead*>(payload);
  const std::uint8_t old = head.layer;
  head.layer = layer;
  if (type == Type_Text && LayersOnOppositeSides(old, layer))
    MirrorLinear(reinterpret_cast<TextPayload*>(payload)->textTransform);
}

std::uint32_t* InstanceFlags(const Tower* instance) {
  return static_cast<std::uint32_t*>(GetEntityData(instance, Type_SymbolInstanceInfo));
}

void RecomputePlacementBox(const std::uint8_t* payload, std::uint16_t type, const pl3::Transform& transform) {
  if (ActiveWindowData) GetEntityDataBox(payload, type, &ActiveWindowData->PlacementBox, &transform);
}

void SwapArcEnds(ArcPayload& arc) {
  std::swap(arc.startX, arc.endX);
  std::swap(arc.startY, arc.endY);
  std::swap(arc.startMajor, arc.endMajor);
  std::swap(arc.startMinor, arc.endMinor);
  std::swap(arc.startOctant, arc.endOctant);
  std::swap(arc.latticeStartX, arc.latticeEndX);
  std::swap(arc.latticeStartY, arc.latticeEndY);
}

// Bytes of a designator or attribute copy's info record (233, 310).
constexpr std::size_t kInfoRecordLayer = 8;

// A designator or attribute copy in hand goes to the next layer of the ring;
// crossing sides mirrors its Transform record.
int FlipCopyToNextLayer(const Tower* copy, std::uint16_t infoCode) {
  auto* info = static_cast<std::uint8_t*>(GetEntityData(copy, infoCode));
  if (!info) return 0;
  std::uint8_t& layer = info[kInfoRecordLayer];
  const std::uint8_t old = layer;
  layer = GetNextLayerOfKind(old, 0);
  if (LayersOnOppositeSides(old, layer))
    if (auto* placed = static_cast<pl3::Transform*>(GetEntityData(copy, Type_Transform))) MirrorLinear(*placed);
  return 1;
}
}  // namespace

int LayersOnOppositeSides(std::uint8_t a, std::uint8_t b) {
  if (a == b || !ActiveWindowData) return 0;
  const LayerTable& t = ActiveWindowData->layerTable;
  const bool aTop = a < t.layers[a].oppositeLayer;
  const bool bTop = b < t.layers[b].oppositeLayer;
  return aTop != bTop ? 1 : 0;
}

int SetEntityLayer(Tower* item, std::uint8_t layer) {
  Entity* e = TowerEntity(item);
  if (!e) return 0;
  const std::uint16_t type = e->typeCode;
  if (TakesLayerByte(type) || type == Type_Text) {
    MoveToLayer(EntityPayload(e), type, layer);
    return 1;
  }
  if (type == Type_SymbolInstance) {
    std::uint32_t* flags = InstanceFlags(item);
    if (!flags || !ActiveWindowData) return 0;
    const bool onBottom = (*flags & kInstanceOnBottom) != 0;
    const bool toTop = layer == ActiveWindowData->TopLayer;
    if (toTop == onBottom) {
      *flags ^= kInstanceOnBottom;
      FlipInsertionToOtherSide(item);
    }
  }
  return 0;
}

void ReplaceEntityLayer(Tower* item, std::uint8_t newLayer, std::uint8_t oldLayer) {
  if (ActiveWindowData) ActiveWindowData->CurrentLayer = newLayer;
  Entity* e = TowerEntity(item);
  if (!e) return;
  const std::uint16_t type = e->typeCode;
  const bool graphic = TakesLayerByte(type) && type != 21 && type != 22 && type != 35;
  if (graphic || type == Type_Text) {
    if (EntityPayload(e)[0] == oldLayer) MoveToLayer(EntityPayload(e), type, newLayer);
    return;
  }
  if (type == Type_SymbolInstance && ActiveWindowData) {
    std::uint32_t* flags = InstanceFlags(item);
    if (!flags) return;
    const bool onBottom = (*flags & kInstanceOnBottom) != 0;
    if ((newLayer == ActiveWindowData->TopLayer && onBottom) ||
        (newLayer == ActiveWindowData->BottomLayer && !onBottom)) {
      *flags ^= kInstanceOnBottom;
      FlipInsertionToOtherSide(item);
    }
  }
}

int FlipInsertionToOtherSide(Tower* item) {
  Entity* e = TowerEntity(item);
  if (!e) return 0;
  const std::uint16_t type = e->typeCode;
  std::uint8_t* payload = EntityPayload(e);
  auto& head = *reinterpret_cast<GraphicHead*>(payload);
  if (type == Type_Arc || type == Type_BoardOutlineArc) SwapArcEnds(*reinterpret_cast<ArcPayload*>(payload));
  if (FlipsByOppositeLayer(type) || type == Type_Arc || type == Type_BoardOutlineArc || type == Type_Text) {
    const std::uint8_t old = head.layer;
    head.layer = OppositeLayer(old);
    if (ActiveWindowData) ActiveWindowData->CurrentLayer = head.layer;
    if (type != Type_Text) {
      RecomputePlacementBox(payload, type, pl3::kIdentityTransform);
      return 1;
    }
    if (LayersOnOppositeSides(old, head.layer)) RecomputePlacementBox(payload, type, kMirrorTransform);
    return 0;
  }
  switch (type) {
    case Type_Hole:
      RecomputePlacementBox(payload, type, pl3::kIdentityTransform);
      return 1;
    case Type_SymbolDefinition:
    case Type_SymbolInstance:
    case Type_PadStackInfo:
      if (!ActiveWindowData) return 0;
      MirrorLinear(ActiveWindowData->InsertionTransform);
      return 1;
    case Type_DesignatorData:
      return FlipCopyToNextLayer(item, Type_DesignatorInfo);
    case kTypeAttributeLocatorGroup:
      return FlipCopyToNextLayer(item, kTypeAttributeLocatorInfo);
    default:
      return 0;
  }
}

int FlipGraphicRecordSide(EntityRecord* record, std::uint16_t type) {
  const bool plain = TakesLayerByte(type) && type != 11 && type != 21 && type != 22;
  if (!plain && type != Type_Text) return 0;
  GraphicHead& head = record->head();
  const std::uint8_t old = head.layer;
  head.layer = NextLayer(old);
  if (ActiveWindowData) ActiveWindowData->CurrentLayer = head.layer;
  if (type == Type_Text && LayersOnOppositeSides(old, head.layer))
    MirrorLinear(record->as<TextPayload>().textTransform);
  return 1;
}

std::uint32_t StoredRecordLength(const EntityRecord& record) {
  auto& r = const_cast<EntityRecord&>(record);
  switch (StoredCodeOfRecord(record)) {
    case 1: case 10: case 11: case 35: case 37: case 39: case 46: case 47:
      return sizeof(LinePayload);
    case 2: case 38:
      return sizeof(ArcPayload);
    case 3:
      return sizeof(CirclePayload);
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49:
      return PolygonEntitySize(record.payload);
    case 5:
      return TextStoredSize(static_cast<std::uint32_t>(strnlen(r.as<TextPayload>().text, kTextMaxBytes - 1)));
    case 6:
      return sizeof(RectanglePayload);
    case 7:
      return sizeof(HolePayload);
    case 20:
      return sizeof(LocatorPayload);
    case 21: case 22:
      return sizeof(DimensionerPayload);
    case 23: case 28: case 29:
      return sizeof(ThinLinePayload);
    case 24:
      return sizeof(ThinArcPayload);
    case 34:
      return GetDatumRecordSize(record);
    default:
      return kLargestPayloadRoom;
  }
}

Tower* StoreGraphicRecord(const Tower* parent, const EntityRecord* record, int notify) {
  Tower* stored = InsertEntity(parent, StoredRecordLength(*record), StoredCodeOfRecord(*record), record->payload);
  if (notify && stored) NotifyEntityStored(stored);
  return stored;
}
