#include "tests/store/store_seam_fakes.h"

#include <cstring>

#include "platform/reset_hooks.h"
#include "store/seams.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace storefakes {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {
void ResetCalls() { Recorded() = Calls{}; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetCalls);

// A definition is special when it carries a child of this code (the marker
// records of the design objects).
constexpr std::uint16_t kSpecialFunctionMarker = 11022;
constexpr std::uint16_t kNetNameGraphicMarker = 11032;

int DefinitionCarries(const Tower* t, std::uint16_t marker) {
  if (!t || LastLevel(t).typeCode != kTypeSchematicSymbolDefinition) return 0;
  return GetEntityData(t, marker) ? 1 : 0;
}
}  // namespace

}  // namespace storefakes

const char* GetTypeName(std::uint16_t code) {
  static std::string name;
  name = "Type " + std::to_string(code);
  return name.c_str();
}

int IsSpecialFunctionSymbol(const Tower* t) { return storefakes::DefinitionCarries(t, storefakes::kSpecialFunctionMarker); }
int IsNetNameGraphicSymbol(const Tower* t) { return storefakes::DefinitionCarries(t, storefakes::kNetNameGraphicMarker); }

bool MarkActiveSizeEntry(std::uint32_t list, std::uint32_t index, bool makeDefault) {
  (void)storefakes::gRegistered;
  if (!storefakes::Recorded().sizeEntryExists) return false;
  storefakes::Recorded().sizeMarks.push_back({list, index, makeDefault});
  return true;
}

std::uint32_t* GetNetInfo(const Tower* net) {
  if (void* info = GetEntityData(net, kTypeNetInfo)) return static_cast<std::uint32_t*>(info);
  const std::uint32_t fresh[2] = {storefakes::Recorded().nextNetId++, 0};
  Tower* infoTower = InsertEntity(net, sizeof fresh, kTypeNetInfo, fresh);
  auto* payload = reinterpret_cast<std::uint32_t*>(TowerPayload(infoTower));
  ReleaseTower(&infoTower);
  return payload;
}

void ComputeNetRatsnest(const Tower* net, void*) {
  std::uint32_t id = 0;
  if (const void* info = GetEntityData(net, kTypeNetInfo)) std::memcpy(&id, info, sizeof id);
  storefakes::Recorded().ratsnestNets.push_back(id);
}
