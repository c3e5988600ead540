// The package records of a schematic: package definitions copied under the
// Schematic (11006) with their pins (11007), package instances (11008) that
// name their definition (11010), the gate-in-use texts of an instance
// (11014), and the links a placed symbol (30) holds to its instance (11015)
// and to the gates it carries (11016). Every stored reference is a node
// reference, followed only to an entity of the expected code under the
// expected parent; every text is read within its payload.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Tower;

constexpr std::uint16_t Type_PackageDefinition = 11006;
constexpr std::uint16_t Type_PackagePin = 11007;
constexpr std::uint16_t Type_PackageInstance = 11008;
constexpr std::uint16_t Type_PackageDefinitionRef = 11010;
constexpr std::uint16_t Type_GateInUse = 11014;
constexpr std::uint16_t Type_SymbolPackageRef = 11015;
constexpr std::uint16_t Type_SymbolGateRecord = 11016;

// Attribute kinds the package records carry.
constexpr std::uint32_t kAttributeDesignatorName = 2;  // a package instance's designator
constexpr std::uint32_t kAttributeGateName = 7;        // on a package pin, one per gate
constexpr std::uint32_t kAttributePackageName = 18;    // a copied symbol's package reference

#pragma pack(push, 1)
// 11015 under a placed symbol: its package instance.
struct SymbolPackageRefRecord {
  std::uint32_t instance;
};
// 11016 under a placed symbol, one per gate it carries: that gate's 11014.
struct SymbolGateRecord {
  std::uint32_t gateInUse;
};
// 11010 under a package instance: its package definition.
struct PackageDefinitionRefRecord {
  std::uint32_t definition;
};
#pragma pack(pop)
static_assert(sizeof(SymbolPackageRefRecord) == 4);
static_assert(sizeof(SymbolGateRecord) == 4);
static_assert(sizeof(PackageDefinitionRefRecord) == 4);

// The reference word of the newest child of `code` under t; 0 when there is
// none or its payload is shorter than a word.
std::uint32_t ReadChildReference(const Tower* t, std::uint16_t code);
// The text of the newest child of `code` under t, up to its NUL or the end of
// its payload; empty when missing.
std::string ReadChildText(const Tower* t, std::uint16_t code);

// 1 when the symbol holds a package link (11015).
int IsSymbolPackaged(const Tower* symbol);
// The Schematic (103) whose package instances a symbol's links name: the
// symbol's own ancestor, or, for a copy kept outside the design (the
// clipboard), the Schematic of the active window's design. Null when none.
// The caller releases it.
Tower* PackageSchematicOf(const Tower* symbol);
// The package instance a packaged symbol's link names under the Schematic,
// or null. The caller releases it.
Tower* FindSymbolPackageInstance(const Tower* symbol, const Tower* schematic);
// The package definition (11006) a package instance names, under the
// instance's Schematic, or null. The caller releases it.
Tower* GetPackageDefinition(const Tower* packageInstance);
// The gate names of a packaged symbol, in the order it was given its gates,
// as the gate-in-use records its gate records name give them; empty for a
// symbol that carries every gate of its package, for one without gate
// records and for an unpackaged symbol. `designator` (when given) receives
// the package instance's Designator Name for a packaged symbol and is left
// as it is otherwise.
std::vector<std::string> GetSymbolGateNames(const Tower* symbol, std::string* designator);
