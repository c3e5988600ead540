#include "objects/attribute_services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../store/tower_test_support.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

class ImportedSymbols : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    top = towertest::NewTopLevelEntity(Type_PCB);
  }
  void TearDown() override {
    DeleteEntity(top);
    ReleaseTower(&top);
  }
  Tower* Child(const Tower* parent, std::uint16_t code, const void* data = nullptr, std::uint32_t size = 0) {
    return InsertEntity(parent, size, code, data);
  }
  void Text(const Tower* parent, std::uint16_t code, const char* text, std::uint32_t size) {
    Tower* t = InsertEntity(parent, size, code, text);
    ReleaseTower(&t);
  }
  std::string UserText(const char* name) {
    char* text = GetUserAttributeText(top, name);
    std::string out = text ? text : "(null)";
    std::free(text);
    return out;
  }
  Tower* top = nullptr;
};

TEST_F(ImportedSymbols, FindImportedSymbolByDesignator) {
  Tower* group = Child(top, Type_NetHierGroup);
  Tower* u1 = Child(group, Type_ImportedSymbol);
  Text(u1, Type_ImportedDesignator, "U1", 3);
  Tower* r2 = Child(group, Type_ImportedSymbol);
  Text(r2, Type_ImportedDesignator, "R2", 3);
  Tower* found = FindImportedSymbol(group, "r2");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(r2));
  ReleaseTower(&found);
  found = FindImportedSymbol(group, "U1");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(u1));
  ReleaseTower(&found);
  EXPECT_EQ(FindImportedSymbol(group, "U11"), nullptr);
  for (Tower** t : {&u1, &r2, &group}) ReleaseTower(t);
}

TEST_F(ImportedSymbols, UserAttributeTextAndItsPlaceholders) {
  const auto attribute = [&](std::uint32_t kind, const char* text, std::uint32_t size) {
    const std::uint32_t record[4] = {kind, 0, 0, 1};
    Tower* a = Child(top, Type_Attribute, record, sizeof record);
    if (text) Text(a, 11005, text, size);
    ReleaseTower(&a);
  };
  attribute(14, "VALUE\0" "10k", 10);
  attribute(3, "PART\0" "wrong kind", 16);
  attribute(14, "NAME_FILLS_ALL_", 16);  // the name's NUL ends the record: no value part
  struct Case {
    const char* name;
    const char* expected;
  };
  for (const Case c : {Case{"VALUE", "10k"}, Case{"value", "10k"}, Case{"PART", "??PART??"}, Case{"", "??User??"},
                       Case{"NAME_FILLS_ALL_", "User attribute without data"}}) {
    EXPECT_EQ(UserText(c.name), c.expected) << c.name;
  }
}

}  // namespace
