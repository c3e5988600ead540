#include "objects/pad_stacks.h"

#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "store/tower.h"

Tower* FindDefinitionPadStackInstance(const Tower* padStackInstanceInfo) {
  const std::uint8_t* info = PayloadOfAtLeast(TowerEntity(padStackInstanceInfo), 8);
  if (!info) return nullptr;
  Tower* instance = GetAncestorTower(padStackInstanceInfo, Type_SymbolInstance);
  Tower* definition = LastLevel(instance).typeCode == Type_SymbolInstance ? GetInstanceSymbolDef(instance) : nullptr;
  ReleaseTower(&instance);
  if (!definition) return nullptr;
  const std::uint32_t xref = ReadU32(info, 4);
  Tower* pads = GetChildTower(definition, Type_PadStackInstanceHier);
  ReleaseTower(&definition);
  while (pads && FindNextEntity(pads)) {
    const std::uint8_t* padInfo = ChildPayloadOfAtLeast(pads, Type_PadStackInfo, 8);
    if (padInfo && ReadU32(padInfo, 4) == xref) {
      LastLevel(pads).flags = kLevelLast | kLevelPositioned;
      return pads;
    }
  }
  ReleaseTower(&pads);
  return nullptr;
}
