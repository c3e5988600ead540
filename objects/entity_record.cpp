#include "objects/entity_record.h"

#include <cstring>

#include "objects/active_window.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"
#include "store/seams.h"

namespace {

ConfigurationWordSource g_configurationWords = nullptr;
void ResetConfigurationWordSource() { g_configurationWords = nullptr; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetConfigurationWordSource);

std::uint32_t LoadU32(const std::uint8_t* p, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
std::uint16_t LoadU16(const std::uint8_t* p, std::size_t offset) {
  std::uint16_t v;
  std::memcpy(&v, p + offset, sizeof v);
  return v;
}
void StoreI32(std::uint8_t* p, std::size_t offset, std::int32_t v) { std::memcpy(p + offset, &v, sizeof v); }

// World coordinates wrap modulo 2^32, as everywhere in the geometry.
std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

void RebuildRectangleCorners(pl3::RectangleLayout& r, std::int32_t width, std::int32_t height) {
  // Arithmetic halving: an odd width loses its odd unit toward minus infinity.
  const std::int32_t hw = width >> 1;
  const std::int32_t hh = height >> 1;
  r.corners[0] = {WrapAdd(r.centreX, -hw), WrapAdd(r.centreY, -hh)};
  r.corners[1] = {WrapAdd(r.centreX, hw), WrapAdd(r.centreY, -hh)};
  r.corners[2] = {WrapAdd(r.centreX, hw), WrapAdd(r.centreY, hh)};
  r.corners[3] = {WrapAdd(r.centreX, -hw), WrapAdd(r.centreY, hh)};
}

// Label (202): size flags at 2, index at 4, the size at 16.
constexpr std::size_t kLabelSizeOffset = 16;
// Designator Info (233) and displayed attribute copies (310): u16 flags at 0,
// index at 4, explicit size at 12.
constexpr std::size_t kDesignatorIndexOffset = 4;
constexpr std::size_t kDesignatorSizeOffset = 12;

}  // namespace

void SetConfigurationWordSource(ConfigurationWordSource source) { g_configurationWords = source; }

EntityRecord* InitialiseEntityRecord(EntityRecord* record, std::uint16_t type, const Transform* transform,
                                     std::uint8_t layer) {
  if (g_configurationWords && type != Type_Text) {
    std::uint32_t* setting = g_configurationWords(kConfigTextLayerSetting);
    if (setting && *setting == 255) *setting = 6;
  }
  record->header.recordType = type;
  record->header.state = 0;
  record->header.headerLayer = ActiveCurrentLayer();
  record->header.transform = transform ? *transform : pl3::kIdentityTransform;
  GraphicHead& head = record->head();
  head.layer = layer;
  head.netIds[0] = 0;
  head.netIds[1] = 0;
  head.marks[0] = 0;            // byte 16
  head.marks[1] = head.marks[3];  // bytes 17 and 18 take byte 19
  head.marks[2] = head.marks[3];
  head.reserved = 0;            // word 20
  head.transform = pl3::kIdentityTransform;
  return record;
}

int ResolveEntitySizesIn(const SizeTable* table, void* payload, std::uint16_t type) {
  auto* bytes = static_cast<std::uint8_t*>(payload);
  const GraphicHead& head = *static_cast<const GraphicHead*>(payload);
  const bool indexed = (head.sizeFlags & kSizeByIndex) != 0;
  switch (type) {
    case Type_Track: case Type_Arc: case Type_ThermalBreak: case Type_RoutedLine: case Type_StarEarthTrack:
      if (!indexed) return 0;
      StoreI32(bytes, 48, ReturnRealSizeIn(table, Type_Track, head.sizeIndex));
      return 1;
    case Type_Circle:
      if (!indexed) return 0;
      StoreI32(bytes, 48, ReturnRealSizeIn(table, Type_Circle, head.sizeIndex));
      return 1;
    case Type_Text:
      if (!indexed) return 0;
      StoreI32(bytes, 48, ReturnRealSizeIn(table, Type_Text, head.sizeIndex));
      return 1;
    case Type_Rectangle: {
      if (!indexed) return 0;
      auto& r = static_cast<RectanglePayload*>(payload)->rect;
      RebuildRectangleCorners(r, ReturnRealSizeIn(table, Type_Rectangle, head.sizeIndex, 0),
                              ReturnRealSizeIn(table, Type_Rectangle, head.sizeIndex, 1));
      return 1;
    }
    case Type_Hole: {
      if (!indexed) return 0;
      auto& h = static_cast<HolePayload*>(payload)->hole;
      const std::uint16_t list = (h.flags & kHoleIsVia) ? Type_Via : Type_Hole;
      h.size1 = ReturnRealSizeIn(table, list, head.sizeIndex, 0);
      h.size2 = ReturnRealSizeIn(table, list, head.sizeIndex, 1);
      return 0;  // callers have always been told nothing was written
    }
    case Type_AttributeLocator:
      if (!indexed) return 0;
      StoreI32(bytes, 84, ReturnRealSizeIn(table, Type_Text, head.sizeIndex));
      return 1;
    case Type_AngleDimensioner:
    case Type_Dimensioner: {
      auto& d = *static_cast<DimensionerPayload*>(payload);
      if (!(d.flags & kDimensionerTextByIndex)) return 0;
      d.textSize = ReturnRealSizeIn(table, Type_Text, d.textSizeIndex);
      return 1;
    }
    case Type_PlatedSlot:
    case Type_NonPlatedSlot:
      if (!indexed) return 0;
      StoreI32(bytes, 48, ReturnRealSizeIn(table, Type_Hole, head.sizeIndex));
      return 1;
    case Type_Label:
      if (!indexed) return 0;
      StoreI32(bytes, kLabelSizeOffset, ReturnRealSizeIn(table, Type_Text, head.sizeIndex));
      return 1;
    case Type_DesignatorInfo:
    case 310: {
      const std::uint16_t flags = LoadU16(bytes, 0);
      if (!(flags & kSizeByIndex) || (flags & kSizeCustom)) return 0;
      StoreI32(bytes, kDesignatorSizeOffset,
               ReturnRealSizeIn(table, Type_Text, LoadU32(bytes, kDesignatorIndexOffset)));
      return 1;
    }
    default:
      return 0;
  }
}

int ResolveEntitySizes(void* payload, std::uint16_t type) {
  return ResolveEntitySizesIn(ActiveSizeTable(), payload, type);
}

std::uint8_t GetMirrorLayerIn(const LayerTable* table, std::uint8_t layer) {
  return table ? table->layers[layer].oppositeLayer : layer;
}

std::uint8_t GetMirrorLayer(std::uint8_t layer) { return GetMirrorLayerIn(ActiveLayerTable(), layer); }

int IsOuterLayerOfKindIn(const LayerTable* table, std::uint8_t layer) {
  if (!table) return 0;
  const std::uint16_t kind = table->layers[layer].kind;
  auto matches = [&](std::size_t n) {
    const LayerRecord& r = table->layers[n];
    return (r.flags & kLayerPresent) && r.kind == kind;
  };
  for (std::size_t n = 0; n < kLayerCount; ++n)
    if (matches(n)) {
      if (n == layer) return 1;
      break;
    }
  for (std::size_t n = kLayerCount; n-- > 0;)
    if (matches(n)) return n == layer ? 1 : 0;
  return 0;
}

int IsOuterLayerOfKind(std::uint8_t layer) { return IsOuterLayerOfKindIn(ActiveLayerTable(), layer); }
