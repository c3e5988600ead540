#include "objects/net_ids.h"

#include "edit/window_data.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

// The offset of the first net id of a type (the second follows it), or 0
// when the type keeps none.
std::uint32_t NetIdOffset(std::uint16_t code) {
  switch (code) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 10: case 19:
    case 37: case 38: case 39: case 46: case 47:
    case Type_PadStackInstanceInfo:
      return 8;
    case Type_PadStackLayerInfo:
      return 12;
    default:
      return 0;
  }
}

std::uint16_t NetContainerOfKind(std::uint32_t kind) {
  switch (kind) {
    case kEditorPcb:
      return Type_PCB;
    case kEditorShape:
      return Type_ShapeDefinition;
    case kEditorPcbSymbol:
      return Type_SymbolDefinition;
    case kEditorPadStack:
      return Type_PadStackInstance;
    default:
      return 0;
  }
}

}  // namespace

std::uint32_t AccessEntityNetIds(const Tower* entity, std::uint32_t which, int read, std::uint32_t first,
                                 std::uint32_t second) {
  Entity* e = TowerEntity(entity);
  if (!e) return 0;
  if (e->typeCode == Type_Net) {
    if (which & kNetIdSecond) return 0;
    const std::uint32_t* info = GetNetInfo(entity);
    return info ? info[0] : 0;
  }
  const std::uint32_t offset = NetIdOffset(e->typeCode);
  if (!offset) return 0;
  std::uint8_t* p = PayloadOfAtLeast(e, offset + 8);
  if (!p) return 0;
  if (read) return ReadU32(p, (which & kNetIdFirst) ? offset : offset + 4);
  if (e->typeCode == Type_PadStackInstanceInfo && !(which & kNetIdPadWrite)) return 0;
  if (which & kNetIdFirst) WriteU32(p, offset, first);
  if (which & kNetIdSecond) WriteU32(p, offset + 4, second);
  return 1;
}

std::uint32_t GetEntityNetId(const Tower* entity, std::uint32_t which) {
  return AccessEntityNetIds(entity, which, 1, 0, 0);
}

std::uint32_t SetEntityNetIds(const Tower* entity, std::uint32_t which, std::uint32_t first, std::uint32_t second) {
  return AccessEntityNetIds(entity, which, 0, first, second);
}

std::uint32_t NextNetId() {
  if (!ActiveWindowData) return 0;
  return ActiveWindowData->NextNetId++;
}

Tower* GetNetTower(const Tower* entity, std::uint32_t netId) {
  if (netId == 0) return nullptr;
  const std::uint16_t container = NetContainerOfKind(ActiveWindowData ? ActiveWindowData->editorKind : 0);
  if (!container) {
    ShowAndLogError(nullptr, "Unknown mode", "GetNetTower", 1);
    return nullptr;
  }
  if (!entity) return nullptr;
  Tower* owner = GetAncestorTower(entity, container);
  const bool found = LastLevel(owner).typeCode == container && TowerEntity(owner);
  Tower* nets = found ? GetAllNetsTower(owner) : nullptr;
  ReleaseTower(&owner);
  while (nets && FindNextEntity(nets)) {
    if (AccessEntityNetIds(nets, kNetIdFirst, 1, 0, 0) == netId) {
      Tower* result = DuplicateTower(nets);
      LastLevel(result).flags = kLevelLast | kLevelPositioned;
      ReleaseTower(&nets);
      return result;
    }
  }
  ReleaseTower(&nets);
  return nullptr;
}

Tower* GetEntityNetTower(const Tower* entity) { return GetNetTower(entity, GetEntityNetId(entity, kNetIdFirst)); }

Tower* CreateSubNetHier(const Tower* entity) {
  std::uint8_t* counter = ChildPayloadOfAtLeast(entity, Type_SubNetXrefHWM, 4);
  std::uint32_t number = 1;
  if (counter) {
    number = ReadU32(counter, 0) + 1;
    WriteU32(counter, 0, number);
  } else {
    Tower* created = InsertEntity(entity, 4, Type_SubNetXrefHWM, &number);
    ReleaseTower(&created);
  }
  Tower* hier = InsertEmptyEntity(entity, Type_SubNetHier);
  if (!hier) return nullptr;
  Tower* xref = InsertEntity(hier, 4, Type_Xref, &number);
  ReleaseTower(&xref);
  return hier;
}
