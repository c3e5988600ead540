#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "schematic/current_size.h"
#include "store/tower.h"

namespace {

std::string Take(char* text) {
  std::string out = text ? text : "(null)";
  std::free(text);
  return out;
}

class Attributes : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    schematic_ = towertest::NewTopLevelEntity(Type_Schematic);
    w_.design = schematic_;
    ActiveWindowData = &w_;
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    ActiveWindowData = nullptr;
    DeleteEntity(schematic_);
    ReleaseTower(&schematic_);
  }
  Tower* schematic_ = nullptr;
  CurrentWindowData w_{};
};

TEST_F(Attributes, InsertFindAndReadValues) {
  Tower* a = InsertAttributeWithId(schematic_, 3, "CLK", 0, 12);
  ASSERT_NE(a, nullptr);
  const std::uint8_t* p = TowerPayload(a);
  EXPECT_EQ(ReadU32(p, 0), 3u);
  EXPECT_EQ(ReadU32(p, 8), 0u);
  EXPECT_EQ(ReadU32(p, 12), 12u);
  ReleaseTower(&a);
  a = InsertAttributeWithId(schematic_, 6, "U1", 0, 13);
  ReleaseTower(&a);

  Tower* found = FindAttributeById(schematic_, 13);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(ReadU32(TowerPayload(found), 0), 6u);
  ReleaseTower(&found);
  EXPECT_EQ(FindAttributeById(schematic_, 14), nullptr);
  found = FindDesignAttributeById(12);
  ASSERT_NE(found, nullptr);
  ReleaseTower(&found);
  EXPECT_STREQ(GetAttributeValue(schematic_, 6), "U1");
  EXPECT_STREQ(GetAttributeValue(schematic_, 3), "CLK");
  EXPECT_EQ(GetAttributeValue(schematic_, 4), nullptr);
}

TEST_F(Attributes, UnterminatedValueIsNotHandedOut) {
  const AttributePayload record{6, 0, 0, 1};
  Tower* a = InsertEntity(schematic_, sizeof record, Type_Attribute, &record);
  // Payloads are kept in 16-byte steps: sixteen letters leave no room for a NUL.
  Tower* v = InsertEntity(a, 16, Type_AttributeValue, "ABCDEFGHIJKLMNOP");
  ReleaseTower(&v);
  ReleaseTower(&a);
  EXPECT_EQ(GetAttributeValue(schematic_, 6), nullptr);
  // A short attribute record (a damaged file) is not an attribute of any kind.
  const std::uint32_t shortRecord[2] = {4, 0};
  a = InsertEntity(schematic_, sizeof shortRecord, Type_Attribute, shortRecord);
  ReleaseTower(&a);
  EXPECT_EQ(GetAttributeValue(schematic_, 4), nullptr);
}

TEST_F(Attributes, LocatorAttributeIsLookedUpOnItsOwner) {
  Tower* symbol = InsertEmptyEntity(schematic_, Type_SchematicSymbol);
  Tower* mine = InsertAttributeWithId(symbol, 3, "A", 0, 7);
  Tower* other = InsertAttributeWithId(schematic_, 3, "B", 0, 7);  // same id, another item
  std::uint8_t locator[96] = {};
  WriteU16(locator, 48, 3);
  WriteU32(locator, 56, 7);
  Tower* l = InsertEntity(symbol, sizeof locator, Type_AttributeLocator, locator);
  Tower* found = FindLocatorAttribute(l);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(mine));
  ReleaseTower(&found);
  found = FindOwnerAttributeOfKind(l, 3);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(mine));
  ReleaseTower(&found);
  EXPECT_EQ(FindOwnerAttributeOfKind(l, 6), nullptr);
  for (Tower** t : {&symbol, &mine, &other, &l}) ReleaseTower(t);
}

TEST_F(Attributes, AttributeIdsCountUpUnderTheSchematicOfAPage) {
  EXPECT_EQ(NewAttributeId(), 1u);
  EXPECT_EQ(NewAttributeId(), 2u);
  Tower* page = InsertEmptyEntity(schematic_, Type_Page);
  w_.design = page;
  EXPECT_EQ(NewAttributeId(), 3u);  // the page shares its Schematic's counter
  EXPECT_EQ(GetEntityData(page, Type_AttributeIdHWM), nullptr);
  const std::uint32_t* counter = static_cast<const std::uint32_t*>(GetEntityData(schematic_, Type_AttributeIdHWM));
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(*counter, 3u);
  ReleaseTower(&page);
  ActiveWindowData = nullptr;
  EXPECT_EQ(NewAttributeId(), 0u);
}

TEST_F(Attributes, SplitNameValuePairStaysInsideTheRecord) {
  struct Case {
    const char* bytes;
    std::uint32_t size;
    const char* name;
    const char* value;
  };
  for (const Case c : {Case{"VALUE\0" "10k", 10, "VALUE", "10k"}, Case{"VALUE\0", 6, "VALUE", ""},
                       Case{"VALUE\0" "10k", 9, "VALUE", ""},  // value without its NUL
                       Case{"VALUE", 5, "", ""}, Case{"", 0, "", ""}}) {
    const char* name = nullptr;
    const char* value = nullptr;
    SplitNameValuePair(c.bytes, c.size, &name, &value);
    EXPECT_STREQ(name, c.name) << c.bytes << " " << c.size;
    EXPECT_STREQ(value, c.value) << c.bytes << " " << c.size;
  }
}

TEST_F(Attributes, SetUserAttributeReplacesOrInserts) {
  Tower* a = SetUserAttribute(schematic_, "VALUE", "10k");
  ReleaseTower(&a);
  a = SetUserAttribute(schematic_, "TOL", "5%");
  ReleaseTower(&a);
  a = SetUserAttribute(schematic_, "value", "22k");
  ReleaseTower(&a);
  EXPECT_EQ(Take(GetUserAttributeText(schematic_, "VALUE")), "22k");
  EXPECT_EQ(Take(GetUserAttributeText(schematic_, "TOL")), "5%");
  int count = 0;
  Tower* all = GetChildTower(schematic_, Type_Attribute);
  while (all && FindNextEntity(all)) ++count;
  ReleaseTower(&all);
  EXPECT_EQ(count, 2);
}

TEST_F(Attributes, CurrentSizeIndexIsClampedToTheList) {
  SizeTable table;
  SizeEntry entry{};
  for (int i = 0; i < 3; ++i) table[SizeKind_Fonts].entries.push_back(entry);
  table[SizeKind_Lines].entries.push_back(entry);
  w_.sizeTable = &table;
  std::uint32_t* record = GetCurrentSizeRecord(schematic_);
  ASSERT_NE(record, nullptr);
  record[7] = 2;   // Pin Number
  record[4] = 9;   // Net Name, past the list
  record[2] = 1;   // every other locator kind
  record[0] = 5;   // wire, past the one Lines entry
  EXPECT_EQ(GetCurrentSizeIndex(Type_AttributeLocator, 1), 2u);
  EXPECT_EQ(GetCurrentSizeIndex(Type_AttributeLocator, 3), 2u);
  EXPECT_EQ(GetCurrentSizeIndex(Type_AttributeLocator, 12), 1u);
  EXPECT_EQ(GetCurrentSizeIndex(Type_Wire, 0), 0u);
  w_.sizeTable = nullptr;
}

TEST_F(Attributes, GlobalNetListNameFallsBackToTheDefault) {
  EXPECT_EQ(Take(GetGlobalNetListName(nullptr)), "Global Net Names");
  EXPECT_EQ(Take(GetGlobalNetListName(schematic_)), "Global Net Names");
  Tower* empty = InsertEntity(schematic_, 1, Type_GlobalNetListName, "");
  ReleaseTower(&empty);
  EXPECT_EQ(Take(GetGlobalNetListName(schematic_)), "Global Net Names");
  Tower* name = InsertEntity(schematic_, 4, Type_GlobalNetListName, "PWRX");  // unterminated
  ReleaseTower(&name);
  EXPECT_EQ(Take(GetGlobalNetListName(schematic_)), "PWRX");
}

TEST_F(Attributes, PageItemListCopiesEachItem) {
  const std::int32_t wire[18] = {0, 10, 20, 30, 40};
  Tower* t = InsertEntity(schematic_, sizeof wire, Type_Wire, wire);
  ReleaseTower(&t);
  t = InsertAttributeWithId(schematic_, 3, "X", 0, 1);
  ReleaseTower(&t);
  PageItem* list = BuildPageItemList(schematic_, 0);
  int wires = 0, attributes = 0;
  for (PageItem* n = list; n; n = n->next) {
    if (n->type == Type_Wire) {
      ++wires;
      EXPECT_GE(n->size, sizeof wire);
      EXPECT_EQ(ReadI32(n->payload, 4), 10);
      EXPECT_EQ(ReadI32(n->payload, 16), 40);
    }
    if (n->type == Type_Attribute) ++attributes;
  }
  EXPECT_EQ(wires, 1);
  EXPECT_EQ(attributes, 1);
  FreePageItemList(list);
  FreePageItemList(nullptr);
}

TEST_F(Attributes, NetNameDialogOffersTheProposalAndReturnsTheEntry) {
  static std::string caption, offered;
  pl3::SetDialogHook(1030, [](HWND dialog) {
    char buffer[64] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    caption = buffer;
    GetDlgItemText(dialog, 1032, buffer, sizeof buffer);
    offered = buffer;
    pl3::TypeDialogText(dialog, 1032, "DATA7");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char buffer[kNetNameBufferSize] = "VCC";
  EXPECT_NE(ShowNetNameDialog(buffer), 0);
  EXPECT_STREQ(buffer, "DATA7");
  EXPECT_EQ(caption, "Net Name");
  EXPECT_EQ(offered, "VCC");

  pl3::SetDialogHook(1030, [](HWND dialog) {
    pl3::TypeDialogText(dialog, 1032, "LOST");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  std::strcpy(buffer, "KEEP");
  EXPECT_EQ(ShowNetNameDialog(buffer), 0);
  EXPECT_STREQ(buffer, "KEEP");
}

}  // namespace
