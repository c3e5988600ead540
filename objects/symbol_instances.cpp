#include "objects/symbol_instances.h"

#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSymbolOptions = 10318;

// The own transform of the item, or false when it has none.
bool OwnTransform(const Tower* item, pl3::Transform* own) {
  Entity* e = TowerEntity(item);
  if (!e) return false;
  const std::uint8_t* p = nullptr;
  switch (e->typeCode) {
    case Type_SymbolDefinition:
      p = ChildPayloadOfAtLeast(item, Type_SymbolDefinitionInfo, 28);
      if (p) p += 4;
      break;
    case Type_SymbolInstance:
    case Type_Shape:
    case Type_ShapeDefinition:
      p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
      break;
    case Type_PadStackLayerInfo:
      p = PayloadOfAtLeast(e, 44);
      if (p) p += 20;
      break;
    case Type_SymbolDefinitionInfo:
    case Type_PadStackDefinitionInfo:
      p = PayloadOfAtLeast(e, 28);
      if (p) p += 4;
      break;
    case Type_PadStackInfo:
      p = PayloadOfAtLeast(e, 36);
      if (p) p += 12;
      break;
    case Type_PadStackInstanceInfo: {
      Tower* instance = GetAncestorTower(item, Type_SymbolInstance);
      const bool found = LastLevel(instance).typeCode == Type_SymbolInstance;
      if (found) GetOwnTransform(own, instance);
      ReleaseTower(&instance);
      return found;
    }
    case Type_PadStackInstanceHier:
      p = ChildPayloadOfAtLeast(item, Type_PadStackInfo, 36);
      if (p) p += 12;
      break;
    case Type_SymbolInstanceInfo:
      ShowMessage(nullptr, "Searching for Type_SymbolInstanceInfo", "GetTransform");
      return false;
    default:
      return false;
  }
  if (!p) return false;
  std::memcpy(own, p, sizeof *own);
  return true;
}

}  // namespace

pl3::Transform* GetTransform(pl3::Transform* result, const Tower* item, const pl3::Transform* parent) {
  const pl3::Transform base = parent ? *parent : pl3::kIdentityTransform;
  pl3::Transform own;
  if (OwnTransform(item, &own)) {
    pl3::ComposeTransform(&own, &base);
    *result = own;
  } else {
    *result = base;
  }
  return result;
}

pl3::Transform* GetOwnTransform(pl3::Transform* result, const Tower* item) {
  return GetTransform(result, item, &pl3::kIdentityTransform);
}

pl3::Transform* OffsetTransform(const Tower* item, std::int32_t dx, std::int32_t dy) {
  std::uint8_t* p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
  if (!p) return nullptr;
  auto* t = reinterpret_cast<pl3::Transform*>(p);
  t->tx = static_cast<std::int32_t>(static_cast<std::uint32_t>(t->tx) + static_cast<std::uint32_t>(dx));
  t->ty = static_cast<std::int32_t>(static_cast<std::uint32_t>(t->ty) + static_cast<std::uint32_t>(dy));
  return t;
}

pl3::Transform* OffsetTransform(const Tower* item, pl3::Point delta) { return OffsetTransform(item, delta.x, delta.y); }

Tower* ResolveReferenceUnder(const Tower* parent, std::uint32_t reference) {
  if (!parent || !reference || !TowerEntity(parent)) return nullptr;
  // The reference must name a child of the parent: a stale or foreign one
  // from a damaged file is never followed.
  Tower* search = GetAllChildrenTower(parent);
  if (!search) return nullptr;
  while (Entity* e = FindNextEntity(search)) {
    if (NodeRefOf(e) == reference) {
      LastLevel(search).flags = kLevelLast | kLevelPositioned;
      return search;
    }
  }
  ReleaseTower(&search);
  return nullptr;
}

Tower* GetInfoSymbolDef(const std::uint8_t* symbolInstanceInfo) {
  if (!symbolInstanceInfo || !ActiveWindowData) return nullptr;
  return ResolveReferenceUnder(ActiveWindowData->design, ReadU32(symbolInstanceInfo, 4));
}

Tower* GetInstanceSymbolDef(const Tower* instance) {
  return GetInfoSymbolDef(ChildPayloadOfAtLeast(instance, Type_SymbolInstanceInfo, 8));
}

Tower* GetShapeDefinitionTower(const Tower* shape) {
  const std::uint8_t* info = ChildPayloadOfAtLeast(shape, Type_ShapeInfo, 4);
  if (!info) return nullptr;
  // The definition lies beside the Shape or beside one of its ancestors.
  for (int level = shape->lastLevel - 1; level >= 0; --level) {
    Tower* parent = DuplicateTowerToLevel(shape, static_cast<std::uint8_t>(level));
    Tower* found = ResolveReferenceUnder(parent, ReadU32(info, 0));
    ReleaseTower(&parent);
    if (found) return found;
  }
  return nullptr;
}
