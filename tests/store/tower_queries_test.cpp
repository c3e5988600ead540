#include "store/tower_queries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "platform/responder.h"
#include "schematic/current_size.h"
#include "tests/store/store_seam_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

using towertest::InsertTagged;
using towertest::NewTopLevelEntity;

class TowerQueriesTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = NewTopLevelEntity(103);
  }
  void TearDown() override { ReleaseTower(&design); }

  // Adds a net under the design's "Net Hier Group"; with flags, a Net Info too.
  void AddNet(std::uint32_t id, const std::uint32_t* flags) {
    Tower* group = OpenChildTower(design, kTypeNetHierGroup);
    if (!group) group = InsertEmptyEntity(design, kTypeNetHierGroup);
    Tower* net = InsertEmptyEntity(group, kTypeNet);
    if (flags) {
      const std::uint32_t info[2] = {id, *flags};
      Tower* t = InsertEntity(net, sizeof info, kTypeNetInfo, info);
      ReleaseTower(&t);
    }
    ReleaseTower(&net);
    ReleaseTower(&group);
  }

  // The flags of every net's info, newest net first (~0 for a net without one).
  std::vector<std::uint32_t> NetFlags() {
    std::vector<std::uint32_t> flags;
    Tower* nets = GetAllNetsTower(design);
    while (nets && FindNextEntity(nets)) {
      const auto* info = static_cast<const std::uint32_t*>(GetEntityData(nets, kTypeNetInfo));
      flags.push_back(info ? info[1] : ~0u);
    }
    ReleaseTower(&nets);
    return flags;
  }

  Tower* design = nullptr;
};

TEST_F(TowerQueriesTest, ToggleClearsFlagsThatAreAllSetAndSetsThemAgain) {
  const std::uint32_t flagged = kNetFlagRatsnest | 0x1;
  AddNet(1, &flagged);
  AddNet(2, &flagged);
  EXPECT_EQ(AreAllNetsFlagged(design), 1);
  ToggleAllNetsFlag(design);
  EXPECT_EQ(NetFlags(), (std::vector<std::uint32_t>{0x1, 0x1}));
  EXPECT_EQ(AreAllNetsFlagged(design), 0);
  ToggleAllNetsFlag(design);
  EXPECT_EQ(NetFlags(), (std::vector<std::uint32_t>{flagged, flagged}));
}

TEST_F(TowerQueriesTest, ToggleSetsEveryNetWhenOneLacksTheFlag) {
  const std::uint32_t flagged = kNetFlagRatsnest;
  const std::uint32_t plain = 0;
  AddNet(1, &flagged);
  AddNet(2, &plain);
  AddNet(3, nullptr);
  ToggleAllNetsFlag(design);
  EXPECT_EQ(NetFlags(), (std::vector<std::uint32_t>{flagged, flagged, flagged})) << "a missing info is created";
}

TEST_F(TowerQueriesTest, DesignWithoutNetsIsAllFlaggedAndHasNothingToWalk) {
  EXPECT_EQ(GetAllNetsTower(design), nullptr);
  EXPECT_EQ(AreAllNetsFlagged(design), 1);
  EXPECT_EQ(ForEachFlaggedNet(design, nullptr), 0);
  ToggleAllNetsFlag(design);
  EXPECT_EQ(OpenChildTower(design, kTypeNetHierGroup), nullptr);
}

TEST_F(TowerQueriesTest, RatsnestRunsOverFlaggedNetsOnly) {
  const std::uint32_t flagged = kNetFlagRatsnest;
  const std::uint32_t plain = 0x8;
  AddNet(11, &flagged);
  AddNet(12, &plain);
  AddNet(13, nullptr);
  AddNet(14, &flagged);
  EXPECT_EQ(ForEachFlaggedNet(design, nullptr), 1);
  EXPECT_EQ(storefakes::Recorded().ratsnestNets, (std::vector<std::uint32_t>{14, 11}));
  EXPECT_EQ(NetFlags().back(), flagged);
  EXPECT_EQ(NetFlags()[1], ~0u) << "walking creates no info";
}

TEST_F(TowerQueriesTest, SubNetsAreCountedWithOrWithoutMarkedOnes) {
  Tower* net = InsertEmptyEntity(design, kTypeNet);
  EXPECT_EQ(CountSubNets(net, 0), 0u);
  for (int i = 0; i < 3; ++i) InsertTagged(net, kTypeSubNetHier, i);
  Tower* first = OpenChildTower(net, kTypeSubNetHier);
  TowerEntity(first)->flags |= kEntitySelected;
  ReleaseTower(&first);
  EXPECT_EQ(CountSubNets(net, 0), 3u);
  EXPECT_EQ(CountSubNets(net, 1), 2u);
  ReleaseTower(&net);
}

TEST_F(TowerQueriesTest, MarkedEntityInsideAPageIsReportedAndDeleted) {
  Tower* page = InsertEmptyEntity(design, kTypePage);
  InsertTagged(page, 1, 10);
  Entity* marked = InsertTagged(page, 1, 11);
  marked->flags |= kEntitySelected;
  Entity* alsoMarked = InsertTagged(design, 5, 12);
  alsoMarked->flags |= kEntitySelected;
  pl3::ClearResponderRecords();
  CheckItemsDeleted(design);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u) << "one warning per entity";
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Warning: Items Deleted, please contact Corvane");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_TYPEMASK, MB_OK);
  Tower* items = GetChildTower(page, 1);
  EXPECT_EQ(towertest::DrainTags(items), (std::vector<std::uint32_t>{10}));
  ReleaseTower(&items);
  EXPECT_EQ(GetEntityData(design, 5), nullptr);
  Tower* pageAgain = OpenChildTower(design, kTypePage);
  EXPECT_NE(pageAgain, nullptr) << "the page stays";
  ReleaseTower(&pageAgain);
  ReleaseTower(&page);
}

class SymbolDefinitionsTest : public TowerQueriesTest {
 protected:
  Entity* AddDefinition(std::uint32_t tag) { return InsertTagged(design, kTypeSchematicSymbolDefinition, tag); }
  void PlaceSymbol(const Tower* page, const Entity* definition) {
    Tower* symbol = InsertEmptyEntity(page, kTypeSchematicSymbol);
    const std::uint32_t info[2] = {0, NodeRefOf(definition)};
    Tower* t = InsertEntity(symbol, sizeof info, kTypeSchematicSymbolInfo, info);
    ReleaseTower(&t);
    ReleaseTower(&symbol);
  }
  std::vector<std::uint32_t> DefinitionTags() {
    Tower* defs = GetChildTower(design, kTypeSchematicSymbolDefinition);
    std::vector<std::uint32_t> tags = towertest::DrainTags(defs);
    ReleaseTower(&defs);
    return tags;
  }
};

TEST_F(SymbolDefinitionsTest, UnusedDefinitionsGoAndUsedOrSpecialOnesStay) {
  Entity* usedOnSecondPage = AddDefinition(1);
  AddDefinition(2);
  Entity* special = AddDefinition(3);
  AddDefinition(4);
  // Definition 3 carries the special-function marker.
  Tower* specialTower = EntityToTower(design, special, -1);
  Tower* marker = InsertEmptyEntity(specialTower, 11022);
  ReleaseTower(&marker);
  ReleaseTower(&specialTower);

  Tower* first = InsertEmptyEntity(design, kTypePage);
  Tower* second = InsertEmptyEntity(design, kTypePage);
  PlaceSymbol(second, usedOnSecondPage);
  DeleteUnusedSchematicSymbolDefinitions(design);
  EXPECT_EQ(DefinitionTags(), (std::vector<std::uint32_t>{3, 1}));
  ReleaseTower(&first);
  ReleaseTower(&second);
}

TEST_F(SymbolDefinitionsTest, DesignWithoutDefinitionsIsLeftAlone) {
  InsertTagged(design, 5, 1);
  DeleteUnusedSchematicSymbolDefinitions(design);
  EXPECT_NE(GetEntityData(design, 5), nullptr);
}

TEST(DefaultSizes, SetDefaultSizeForTypeMarksTheListOfTheCode) {
  towertest::EnsureStoreStarted();
  struct Case {
    std::uint16_t code;
    std::uint32_t list;  // 0xFF: no list
  };
  for (const Case& c : {Case{1, 0}, Case{2, 0}, Case{10, 0}, Case{11, 0}, Case{35, 0}, Case{37, 0}, Case{3, 1},
                        Case{5, 5}, Case{34, 5}, Case{6, 2}, Case{7, 3}, Case{46, 3}, Case{47, 3}, Case{0, 0xFF},
                        Case{4, 0xFF}, Case{48, 0xFF}, Case{300, 0xFF}}) {
    SCOPED_TRACE(c.code);
    storefakes::Recorded().sizeMarks.clear();
    const std::uint32_t result = SetDefaultSizeForType(6, c.code);
    if (c.list == 0xFF) {
      EXPECT_EQ(result, 0u);
      EXPECT_TRUE(storefakes::Recorded().sizeMarks.empty());
      continue;
    }
    EXPECT_EQ(result, 1u);
    ASSERT_EQ(storefakes::Recorded().sizeMarks.size(), 1u);
    EXPECT_EQ(storefakes::Recorded().sizeMarks[0].list, c.list);
    EXPECT_EQ(storefakes::Recorded().sizeMarks[0].index, 6u);
    EXPECT_TRUE(storefakes::Recorded().sizeMarks[0].makeDefault);
  }
  storefakes::Recorded().sizeEntryExists = false;
  EXPECT_EQ(SetDefaultSizeForType(99, 1), 0u) << "no such entry";
}

TEST(DefaultSizes, WiresAndBusesKeepTheirSizeInTheSchematic) {
  towertest::EnsureStoreStarted();
  Tower* schematic = NewTopLevelEntity(103);
  Tower* page = InsertEmptyEntity(schematic, 104);
  CurrentWindowData window{kEditorSchematic, page, 0};
  ActiveWindowData = &window;
  EXPECT_EQ(SetDefaultSizeForType(4, 29), 1u);
  EXPECT_EQ(SetDefaultSizeForType(2, 28), 1u);
  ASSERT_EQ(storefakes::Recorded().sizeMarks.size(), 2u);
  EXPECT_EQ(storefakes::Recorded().sizeMarks[0].list, 0u);
  EXPECT_FALSE(storefakes::Recorded().sizeMarks[0].makeDefault);
  const auto* record = static_cast<const std::uint32_t*>(GetEntityData(schematic, kTypeCurrentSizeRecord));
  ASSERT_NE(record, nullptr) << "the page's Schematic holds the record";
  EXPECT_EQ(record[0], 2u);
  EXPECT_EQ(record[1], 4u);
  EXPECT_EQ(GetEntityData(page, kTypeCurrentSizeRecord), nullptr);
  ActiveWindowData = nullptr;
  ReleaseTower(&page);
  ReleaseTower(&schematic);
}

TEST(CurrentSizes, LocatorKindsUseTheirOwnWords) {
  struct Case {
    std::uint16_t kind;
    int word;
  };
  for (const Case& c : {Case{1, 7}, Case{3, 4}, Case{4, 6}, Case{6, 3}, Case{9, 5}, Case{15, 5}, Case{0, 2},
                        Case{2, 2}, Case{17, 2}}) {
    EXPECT_EQ(CurrentSizeWord(20, c.kind), c.word) << c.kind;
  }
  EXPECT_EQ(CurrentSizeWord(1, 0), -1);
  EXPECT_EQ(GetCurrentSizeRecord(nullptr), nullptr);
}

}  // namespace
