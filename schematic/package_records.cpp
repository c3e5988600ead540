// Reading the package records of a schematic: a symbol's package instance,
// the instance's definition and the gates a symbol carries.
#include "schematic/package_records.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/io_ports.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

// The payload text of the entity a Tower stands on, up to its NUL or the end
// of its payload.
std::string EntityText(const Tower* t) {
  const Entity* e = TowerEntity(t);
  if (!e || e->payloadSize == 0) return {};
  const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
  return std::string(p, strnlen(p, e->payloadSize));
}

// The Schematic above t (or t itself), or null.
Tower* SchematicAbove(const Tower* t) {
  const Entity* e = TowerEntity(t);
  if (!e) return nullptr;
  if (e->typeCode == Type_Schematic) return DuplicateTower(t);
  Tower* up = GetAncestorTower(t, Type_Schematic);
  if (TowerEntity(up) && TowerEntity(up)->typeCode == Type_Schematic) return up;
  ReleaseTower(&up);
  return nullptr;
}

}  // namespace

std::uint32_t ReadChildReference(const Tower* t, std::uint16_t code) {
  if (!TowerEntity(t)) return 0;
  const std::uint8_t* p = ChildPayloadOfAtLeast(t, code, sizeof(std::uint32_t));
  return p ? ReadU32(p, 0) : 0;
}

std::string ReadChildText(const Tower* t, std::uint16_t code) {
  Tower* child = TowerEntity(t) ? GetChildTower(t, code) : nullptr;
  std::string text;
  if (child && FindNextEntity(child)) text = EntityText(child);
  ReleaseTower(&child);
  return text;
}

int IsSymbolPackaged(const Tower* symbol) {
  return TowerEntity(symbol) && GetEntityData(symbol, Type_SymbolPackageRef) ? 1 : 0;
}

Tower* PackageSchematicOf(const Tower* symbol) {
  if (Tower* own = SchematicAbove(symbol)) return own;
  return ActiveWindowData ? SchematicAbove(ActiveWindowData->design) : nullptr;
}

Tower* FindSymbolPackageInstance(const Tower* symbol, const Tower* schematic) {
  if (!TowerEntity(schematic)) return nullptr;
  return FindChildByReference(schematic, Type_PackageInstance, ReadChildReference(symbol, Type_SymbolPackageRef));
}

Tower* GetPackageDefinition(const Tower* packageInstance) {
  Tower* schematic = SchematicAbove(packageInstance);
  Tower* definition =
      schematic ? FindChildByReference(schematic, Type_PackageDefinition,
                                       ReadChildReference(packageInstance, Type_PackageDefinitionRef))
                : nullptr;
  ReleaseTower(&schematic);
  return definition;
}

std::vector<std::string> GetSymbolGateNames(const Tower* symbol, std::string* designator) {
  std::vector<std::string> names;
  Tower* schematic = IsSymbolPackaged(symbol) ? PackageSchematicOf(symbol) : nullptr;
  Tower* instance = FindSymbolPackageInstance(symbol, schematic);
  if (instance) {
    if (designator) {
      const char* name = GetAttributeValue(instance, kAttributeDesignatorName);
      *designator = name ? name : "";
    }
    if (!SymbolCarriesAllGates(instance, symbol, schematic)) {
      Tower* records = GetChildTower(symbol, Type_SymbolGateRecord);
      while (records && FindNextEntity(records)) {
        const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(records), sizeof(SymbolGateRecord));
        Tower* gate = p ? FindChildByReference(instance, Type_GateInUse, ReadU32(p, 0)) : nullptr;
        if (gate) names.push_back(EntityText(gate));
        ReleaseTower(&gate);
      }
      ReleaseTower(&records);
      // Entities of one code run newest first; the gates read in the order given.
      std::reverse(names.begin(), names.end());
    }
  }
  ReleaseTower(&instance);
  ReleaseTower(&schematic);
  return names;
}
