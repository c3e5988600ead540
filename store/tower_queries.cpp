// Net counting and flagging, removal of entities left marked, and removal of
// unused schematic symbol definitions, built on the Tower operations alone.
#include "store/tower_queries.h"

#include <cstring>

#include "platform/responder.h"
#include "store/seams.h"

namespace {

// A schematic symbol's info record refers to its definition at byte 4.
constexpr std::uint32_t kSymbolInfoDefinitionField = 4;

std::uint32_t InfoFlags(const void* info) {
  std::uint32_t flags = 0;
  std::memcpy(&flags, static_cast<const std::uint8_t*>(info) + 4, sizeof flags);
  return flags;
}

// Whether a schematic symbol on some page of the design refers to the definition.
bool IsDefinitionUsed(const Tower* design, const Entity* definition) {
  bool used = false;
  Tower* pages = GetChildTower(design, kTypePage);
  while (!used && FindNextEntity(pages)) {
    Tower* symbols = GetChildTower(pages, kTypeSchematicSymbol);
    while (!used && FindNextEntity(symbols)) {
      Tower* info = OpenChildTower(symbols, kTypeSchematicSymbolInfo);
      const Entity* record = TowerEntity(info);
      if (record && record->payloadSize >= kSymbolInfoDefinitionField + 4) {
        std::uint32_t ref = 0;
        std::memcpy(&ref, EntityPayload(record) + kSymbolInfoDefinitionField, sizeof ref);
        used = ref == NodeRefOf(definition);
      }
      ReleaseTower(&info);
    }
    ReleaseTower(&symbols);
  }
  ReleaseTower(&pages);
  return used;
}

}  // namespace

Tower* GetAllNetsTower(const Tower* design) {
  Tower* group = OpenChildTower(design, kTypeNetHierGroup);
  if (!group) return nullptr;
  Tower* nets = GetChildTower(group, kTypeNet);
  ReleaseTower(&group);
  return nets;
}

std::uint32_t CountSubNets(const Tower* t, std::uint8_t onlyUnmarked) {
  std::uint32_t count = 0;
  Tower* subNets = GetChildTower(t, kTypeSubNetHier);
  while (Entity* e = subNets ? FindNextEntity(subNets) : nullptr) {
    if (!onlyUnmarked || !(e->flags & kEntitySelected)) ++count;
  }
  ReleaseTower(&subNets);
  return count;
}

int AreAllNetsFlagged(const Tower* design) {
  Tower* nets = GetAllNetsTower(design);
  int all = 1;
  while (all && nets && FindNextEntity(nets)) {
    if (!(GetNetInfo(nets)[1] & kNetFlagRatsnest)) all = 0;
  }
  ReleaseTower(&nets);
  return all;
}

int ForEachFlaggedNet(const Tower* design, void* param) {
  Tower* nets = GetAllNetsTower(design);
  if (!nets) return 0;
  while (FindNextEntity(nets)) {
    const void* info = GetEntityData(nets, kTypeNetInfo);
    if (info && (InfoFlags(info) & kNetFlagRatsnest)) ComputeNetRatsnest(nets, param);
  }
  ReleaseTower(&nets);
  return 1;
}

void ToggleAllNetsFlag(const Tower* design) {
  Tower* nets = GetAllNetsTower(design);
  if (!nets) return;
  const bool clear = AreAllNetsFlagged(design);
  while (FindNextEntity(nets)) {
    std::uint32_t* info = GetNetInfo(nets);
    info[1] = clear ? (info[1] & ~kNetFlagRatsnest) : (info[1] | kNetFlagRatsnest);
  }
  ReleaseTower(&nets);
}

void CheckItemsDeleted(const Tower* t) {
  Tower* children = GetAllChildrenTower(t);
  while (Entity* e = children ? FindNextEntity(children) : nullptr) {
    if (e->typeCode == kTypePage) CheckItemsDeleted(children);
    if (!(e->flags & kEntitySelected)) continue;
    MessageBox(nullptr, "Warning: Items Deleted, please contact Corvane", "Pelmora3", MB_OK);
    DeleteEntity(children);
    ResetTowerSearch(children, kSearchAny);
  }
  ReleaseTower(&children);
}

void DeleteUnusedSchematicSymbolDefinitions(const Tower* design) {
  Tower* definitions = GetChildTower(design, kTypeSchematicSymbolDefinition);
  while (Entity* definition = definitions ? FindNextEntity(definitions) : nullptr) {
    if (IsSpecialFunctionSymbol(definitions) || IsNetNameGraphicSymbol(definitions)) continue;
    if (IsDefinitionUsed(design, definition)) continue;
    DeleteEntity(definitions);
    ResetTowerSearch(definitions, kSearchMatch);
  }
  ReleaseTower(&definitions);
}
