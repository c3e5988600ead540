#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "objects/locator_dispatch.h"
#include "objects/type_codes.h"

namespace {

constexpr std::uint16_t kAttributeValue = 11005;
constexpr std::uint16_t kPackageDefinition = 11006;
constexpr std::uint16_t kPackagePin = 11007;
constexpr std::uint16_t kPackageInstance = 11008;
constexpr std::uint16_t kPackageDefinitionRef = 11010;
constexpr std::uint16_t kGateInUse = 11014;
constexpr std::uint16_t kSymbolPackageRef = 11015;
constexpr std::uint16_t kSymbolGateRecord = 11016;

// A Schematic with a package of pins carrying gate names, one placed
// instance of it ("U1") and the symbols that carry its gates.
class SymbolGates : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    schematic = towertest::NewTopLevelEntity(Type_Schematic);
    package = InsertEmptyEntity(schematic, kPackageDefinition);
    Pin({"A"});
    Pin({"B"});
    Pin({"A", "B"});  // a shared pin names both
    instance = InsertEmptyEntity(schematic, kPackageInstance);
    Reference(instance, kPackageDefinitionRef, TowerEntity(package));
    Attribute(instance, 2, "U1");
  }
  void TearDown() override {
    for (Tower** t : {&package, &instance}) ReleaseTower(t);
    DeleteEntity(schematic);
    ReleaseTower(&schematic);
  }

  static void Text(const Tower* parent, std::uint16_t code, const std::string& text) {
    Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(text.size() + 1), code, text.c_str());
    ReleaseTower(&t);
  }
  static void Reference(const Tower* parent, std::uint16_t code, const Entity* target) {
    const std::uint32_t ref = NodeRefOf(target);
    Tower* t = InsertEntity(parent, 4, code, &ref);
    ReleaseTower(&t);
  }
  static void Attribute(const Tower* parent, std::uint32_t kind, const std::string& value) {
    const std::uint32_t words[4] = {kind, 0, 0, 1};
    Tower* a = InsertEntity(parent, sizeof words, Type_Attribute, words);
    Text(a, kAttributeValue, value);
    ReleaseTower(&a);
  }
  void Pin(const std::vector<std::string>& gates) {
    Tower* pin = InsertEmptyEntity(package, kPackagePin);
    Attribute(pin, 1, "1");
    for (const std::string& g : gates) Attribute(pin, 7, g);
    ReleaseTower(&pin);
  }
  // A symbol packaged into the instance, carrying the gates in order.
  Tower* Symbol(const std::vector<std::string>& gates) {
    Tower* symbol = InsertEmptyEntity(schematic, 30);
    Reference(symbol, kSymbolPackageRef, TowerEntity(instance));
    for (const std::string& g : gates) {
      Tower* inUse = InsertEntity(instance, static_cast<std::uint32_t>(g.size() + 1), kGateInUse, g.c_str());
      Reference(symbol, kSymbolGateRecord, TowerEntity(inUse));
      ReleaseTower(&inUse);
    }
    return symbol;
  }

  Tower* schematic = nullptr;
  Tower* package = nullptr;
  Tower* instance = nullptr;
};

TEST_F(SymbolGates, DesignatorNamesTheGatesUnlessAllAreCarried) {
  struct Case {
    std::vector<std::string> gates;
    int carriesAll;
    std::string designator;
  } cases[] = {
      {{"A"}, 0, "U1A"},
      {{"B"}, 0, "U1B"},
      {{"B", "A"}, 1, "U1"},
      {{"a", "b"}, 1, "U1"},  // gate names compare without regard to case
      {{}, 0, "U1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.designator);
    Tower* symbol = Symbol(c.gates);
    EXPECT_EQ(SymbolCarriesAllGates(instance, symbol, schematic), c.carriesAll);
    EXPECT_EQ(BuildDesignatorString(symbol), c.designator);
    DeleteEntity(symbol);
    ReleaseTower(&symbol);
  }
}

TEST_F(SymbolGates, SeveralGatesJoinWithCommasInPackagingOrder) {
  Tower* extra = InsertEmptyEntity(package, kPackagePin);
  Attribute(extra, 7, "C");
  ReleaseTower(&extra);
  Tower* symbol = Symbol({"B", "A"});
  EXPECT_EQ(BuildDesignatorString(symbol), "U1B,A");
  ReleaseTower(&symbol);
}

TEST_F(SymbolGates, LongDesignatorsAreKeptWhole) {
  const std::string longName(3000, 'Q');
  Tower* other = InsertEmptyEntity(schematic, kPackageInstance);
  Reference(other, kPackageDefinitionRef, TowerEntity(package));
  Attribute(other, 2, longName);
  Tower* symbol = InsertEmptyEntity(schematic, 30);
  Reference(symbol, kSymbolPackageRef, TowerEntity(other));
  for (int i = 0; i < 200; ++i) {
    Tower* inUse = InsertEntity(other, 6, kGateInUse, "GATEX");
    Reference(symbol, kSymbolGateRecord, TowerEntity(inUse));
    ReleaseTower(&inUse);
  }
  const std::string text = BuildDesignatorString(symbol);
  EXPECT_EQ(text.size(), 3000u + 200u * 6u - 1u);
  EXPECT_EQ(text.substr(0, 3000), longName);
  EXPECT_EQ(text.substr(3000, 11), "GATEX,GATEX");
  ReleaseTower(&symbol);
  ReleaseTower(&other);
}

TEST_F(SymbolGates, UnpackagedOrDanglingReferencesGiveNoDesignator) {
  Tower* unpackaged = InsertEmptyEntity(schematic, 30);
  EXPECT_EQ(BuildDesignatorString(unpackaged), "");
  // A reference to something that is not a package instance of this
  // Schematic is not followed.
  Reference(unpackaged, kSymbolPackageRef, TowerEntity(package));
  EXPECT_EQ(BuildDesignatorString(unpackaged), "");
  ReleaseTower(&unpackaged);
  // A symbol outside any Schematic.
  Tower* loose = towertest::NewTopLevelEntity(30);
  Reference(loose, kSymbolPackageRef, TowerEntity(instance));
  EXPECT_EQ(BuildDesignatorString(loose), "");
  DeleteEntity(loose);
  ReleaseTower(&loose);
}

TEST_F(SymbolGates, UnterminatedTextsAreReadWithinTheirPayload) {
  Tower* other = InsertEmptyEntity(schematic, kPackageInstance);
  const std::uint32_t words[4] = {2, 0, 0, 1};
  Tower* a = InsertEntity(other, sizeof words, Type_Attribute, words);
  const char raw[16] = {'R', 'A', 'W', 'R', 'A', 'W', 'R', 'A', 'W', 'R', 'A', 'W', 'R', 'A', 'W', 'R'};
  Tower* v = InsertEntity(a, sizeof raw, kAttributeValue, raw);
  Tower* symbol = InsertEmptyEntity(schematic, 30);
  Reference(symbol, kSymbolPackageRef, TowerEntity(other));
  EXPECT_EQ(BuildDesignatorString(symbol), std::string(raw, sizeof raw));
  for (Tower** t : {&other, &a, &v, &symbol}) ReleaseTower(t);
}

}  // namespace
