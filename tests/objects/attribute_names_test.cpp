#include "objects/attribute_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/io_ports.h"
#include "objects/type_codes.h"
#include "store/node_pool.h"
#include "store/tower.h"

namespace {

std::vector<std::string> Names(const AttributeNameList* list) {
  std::vector<std::string> names;
  for (; list; list = list->next) names.push_back(list->name);
  return names;
}

TEST(AttributeNames, FieldsOfATextEndAtAnyOtherCharacter) {
  struct Case {
    const char* text;
    std::vector<std::string> names;
  } cases[] = {
      {"%TITLE% %%DATE", {"", "TITLE"}},  // the closing '%' opens an empty field
      {"Sheet %PAGE of %PAGES", {"PAGE", "PAGES"}},
      {"%A_1-%b", {"A_1", "b"}},
      {"100%% done", {}},
      {"%%%X", {"X"}},
      {"end %", {""}},
      {"", {}},
  };
  for (const Case& c : cases) {
    AttributeNameList* list = AddTextFieldNames(c.text, nullptr);
    EXPECT_EQ(Names(list), c.names) << c.text;
    FreeNameList(list);
  }
}

TEST(AttributeNames, TheListIsSortedAndKeepsOneOfNamesDifferingInCase) {
  AttributeNameList* list = nullptr;
  for (const char* name : {"value", "Tolerance", "VALUE", "alpha", "Value", "beta"}) list = AddNameSorted(name, list);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"alpha", "beta", "Tolerance", "value"}));
  list = AddNameSorted(nullptr, list);
  EXPECT_EQ(Names(list).size(), 4u);
  FreeNameList(list);
  FreeNameList(nullptr);
}

Tower* NewItem(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

void AddUserLocator(const Tower* item, const char* name, std::uint16_t kind = 14) {
  LocatorPayload locator{};
  locator.kind = kind;
  Tower* t = InsertEntity(item, sizeof locator, Type_AttributeLocator, &locator);
  Tower* n = InsertEntity(t, static_cast<std::uint32_t>(std::strlen(name) + 1), Type_UserAttributeName, name);
  ReleaseTower(&n);
  ReleaseTower(&t);
}

void AddText(const Tower* item, const std::string& text) {
  std::vector<std::uint8_t> payload(TextStoredSize(static_cast<std::uint32_t>(text.size())), 0);
  std::memcpy(payload.data() + offsetof(TextPayload, text), text.c_str(), text.size() + 1);
  Tower* t = InsertEntity(item, static_cast<std::uint32_t>(payload.size()), Type_Text, payload.data());
  ReleaseTower(&t);
}

TEST(AttributeNames, AnItemsUserLocatorsAndTextsGiveItsNames) {
  Tower* item = NewItem(25);
  AddUserLocator(item, "Value");
  AddUserLocator(item, "Ignored", 10);  // not a User locator
  AddText(item, "%value %MANUFACTURER");
  // A text whose terminator is missing is read to its record's end only.
  std::vector<std::uint8_t> unterminated(offsetof(TextPayload, text) + 5, 0);
  std::memcpy(unterminated.data() + offsetof(TextPayload, text), "%Part", 5);
  Tower* t = InsertEntity(item, static_cast<std::uint32_t>(unterminated.size()), Type_Text, unterminated.data());
  ReleaseTower(&t);
  AttributeNameList* list = CollectUserAttributeNames(item);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"MANUFACTURER", "Part", "Value"}));
  FreeNameList(list);
  ReleaseTower(&item);
}

TEST(AttributeNames, ASchematicAddsTheNamesOfItsSpecialSymbolDefinitions) {
  Tower* schematic = NewItem(Type_Schematic);
  Tower* page = InsertEmptyEntity(schematic, Type_Page);
  AddUserLocator(page, "Revision");
  // Two definitions: one special-function, one plain.
  Tower* special = InsertEmptyEntity(page, 25);
  AddUserLocator(special, "Rail");
  Tower* marker = InsertEmptyEntity(special, kTypeSpecialFunctionMarker);
  ReleaseTower(&marker);
  Tower* plain = InsertEmptyEntity(page, 25);
  AddUserLocator(plain, "Hidden");
  for (const Tower* definition : {special, plain}) {
    Tower* symbol = InsertEmptyEntity(page, 30);
    const std::uint32_t record[2] = {0, NodeRefOf(TowerEntity(definition))};
    Tower* r = InsertEntity(symbol, sizeof record, Type_SchematicSymbol, record);
    ReleaseTower(&r);
    ReleaseTower(&symbol);
  }
  CurrentWindowData window{kEditorSchematic, page};
  ActiveWindowData = &window;
  AttributeNameList* list = CollectUserAttributeNames(schematic);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Rail", "Revision"}));
  FreeNameList(list);
  // Any other item gives only its own names.
  list = CollectUserAttributeNames(page);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Revision"}));
  FreeNameList(list);
  ActiveWindowData = nullptr;
  for (Tower* t : {plain, special, page, schematic}) ReleaseTower(&t);
}

}  // namespace
