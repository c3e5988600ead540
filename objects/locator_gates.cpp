// The gates a packaged schematic symbol carries and the designator text it
// shows. Every stored reference is followed only to an entity of the expected
// code under the symbol's Schematic, and every stored text is read within its
// payload.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"

namespace {

constexpr std::uint16_t kTypeSchematic = 103;
constexpr std::uint16_t kTypeAttributeValue = 11005;
constexpr std::uint16_t kTypePackageDefinition = 11006;
constexpr std::uint16_t kTypePackagePin = 11007;
constexpr std::uint16_t kTypePackageInstance = 11008;
constexpr std::uint16_t kTypePackageDefinitionRef = 11010;
constexpr std::uint16_t kTypeGateInUse = 11014;
constexpr std::uint16_t kTypeSymbolPackageRef = 11015;
constexpr std::uint16_t kTypeSymbolGateRecord = 11016;
constexpr std::uint32_t kAttributeDesignatorName = 2;
constexpr std::uint32_t kAttributeGateName = 7;

// The text of an entity's payload up to its terminator, or the whole payload
// when none is stored.
std::string PayloadText(const Entity* e) {
  if (!e || e->payloadSize == 0) return {};
  const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
  return std::string(p, strnlen(p, e->payloadSize));
}

// A Tower on the entity of `code` under `parent` whose node the reference
// names, or null.
Tower* FollowReference(const Tower* parent, std::uint16_t code, std::uint32_t reference) {
  Tower* t = parent && reference ? GetChildTower(parent, code) : nullptr;
  while (t && FindNextEntity(t)) {
    if (NodeRefOf(TowerEntity(t)) == reference) {
      LastLevel(t).flags = kLevelLast | kLevelPositioned;
      return t;
    }
  }
  ReleaseTower(&t);
  return nullptr;
}

std::uint32_t ReferenceIn(const Tower* t, std::uint16_t code) {
  const std::uint8_t* p = ChildPayloadOfAtLeast(t, code, 4);
  return p ? ReadU32(p, 0) : 0;
}

// The values of the item's attributes of a kind, newest first.
std::vector<std::string> AttributeValues(const Tower* item, std::uint32_t kind) {
  std::vector<std::string> values;
  Tower* attributes = GetChildTower(item, Type_Attribute);
  while (attributes && FindNextEntity(attributes)) {
    const std::uint8_t* a = PayloadOfAtLeast(TowerEntity(attributes), 4);
    if (!a || ReadU32(a, 0) != kind) continue;
    Tower* value = NewestChildTower(attributes, kTypeAttributeValue);
    values.push_back(PayloadText(TowerEntity(value)));
    ReleaseTower(&value);
  }
  ReleaseTower(&attributes);
  return values;
}

// The symbol's gate names, in the order its gate records were made.
std::vector<std::string> SymbolGateNames(const Tower* instance, const Tower* symbol) {
  std::vector<std::string> names;
  Tower* records = GetChildTower(symbol, kTypeSymbolGateRecord);
  while (records && FindNextEntity(records)) {
    const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(records), 4);
    Tower* gate = p ? FollowReference(instance, kTypeGateInUse, ReadU32(p, 0)) : nullptr;
    if (gate) names.push_back(PayloadText(TowerEntity(gate)));
    ReleaseTower(&gate);
  }
  ReleaseTower(&records);
  // Entities of one code run newest first; the gates read oldest first.
  return {names.rbegin(), names.rend()};
}

Tower* SchematicOf(const Tower* t) { return t ? GetAncestorTower(t, kTypeSchematic) : nullptr; }

}  // namespace

int SymbolCarriesAllGates(const Tower* packageInstance, const Tower* symbol, const Tower* schematic) {
  const std::vector<std::string> carried = SymbolGateNames(packageInstance, symbol);
  Tower* package = FollowReference(schematic, kTypePackageDefinition,
                                   ReferenceIn(packageInstance, kTypePackageDefinitionRef));
  int all = 1;
  Tower* pins = package ? GetChildTower(package, kTypePackagePin) : nullptr;
  while (all && pins && FindNextEntity(pins)) {
    for (const std::string& gate : AttributeValues(pins, kAttributeGateName)) {
      bool named = false;
      for (const std::string& c : carried) named = named || pl3::EqualsNoCase(c, gate);
      if (!named) all = 0;
    }
  }
  ReleaseTower(&pins);
  ReleaseTower(&package);
  return all;
}

std::string BuildDesignatorString(const Tower* symbol) {
  Tower* schematic = SchematicOf(symbol);
  Tower* instance = FollowReference(schematic, kTypePackageInstance, ReferenceIn(symbol, kTypeSymbolPackageRef));
  std::string text;
  if (instance) {
    const std::vector<std::string> names = AttributeValues(instance, kAttributeDesignatorName);
    if (!names.empty()) text = names.front();
    if (!SymbolCarriesAllGates(instance, symbol, schematic)) {
      const std::vector<std::string> gates = SymbolGateNames(instance, symbol);
      for (std::size_t i = 0; i < gates.size(); ++i) text += (i ? "," : "") + gates[i];
    }
  }
  ReleaseTower(&instance);
  ReleaseTower(&schematic);
  return text;
}
