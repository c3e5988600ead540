#include "objects/design_walks.h"

#include <gtest/gtest.h>

#include "walk_fixture.h"

using namespace walktest;

namespace {

std::uint32_t CountChildren(const Tower* t, std::uint16_t code) {
  Tower* c = GetChildTower(t, code);
  std::uint32_t n = 0;
  while (c && FindNextEntity(c)) ++n;
  ReleaseTower(&c);
  return n;
}

class DesignWalkTest : public WalkTest {};

TEST_F(DesignWalkTest, TwoEditsLeaveOneModifiedNote) {
  RecordDesignChange();
  RecordDesignChange();
  EXPECT_EQ(CountChildren(design, Type_ModifiedNote), 1u);
}

TEST_F(DesignWalkTest, APagesChangeMarksItsSchematic) {
  Tower* schematic = InsertEntity(design, 0, Type_Schematic, nullptr);
  Tower* page = InsertEntity(schematic, 0, Type_Page, nullptr);
  window->design = page;
  RecordDesignChange();
  EXPECT_EQ(CountChildren(page, Type_ModifiedNote), 0u);
  EXPECT_EQ(CountChildren(schematic, Type_ModifiedNote), 1u);
  window->design = nullptr;
  RecordDesignChange();  // no design: nothing happens
  window->design = design;
  ReleaseTower(&page);
  ReleaseTower(&schematic);
}

TEST_F(DesignWalkTest, FreezeLeavesNoIndexedSize) {
  std::vector<std::uint8_t> track = Item(1);
  track[2] = 1;
  Insert(design, Type_Track, track);
  std::vector<std::uint8_t> dimension = Item(2, 176);
  dimension[88] = 1;
  Insert(design, Type_Dimensioner, dimension);
  Tower* designator = InsertEntity(design, 0, Type_Designator, nullptr);
  Tower* data = InsertEntity(designator, 0, Type_DesignatorData, nullptr);
  std::vector<std::uint8_t> info(20, 0);
  info[0] = 1;
  Entity* infoEntity = Insert(data, Type_DesignatorInfo, info);
  Tower* label = InsertEntity(design, 60, Type_Label, Item(3, 60).data());
  TowerPayload(label)[2] = 1;  // reached only by the walk with action 13

  const std::int32_t count = FreezeTowerSizes(design);
  EXPECT_EQ(count, 1) << "the label; the rest were cleared before the walk";
  const Entity* top = TowerEntity(design);
  EXPECT_EQ(EntityPayload(towertest::FirstOfCode(top, Type_Track))[2] & 1, 0);
  EXPECT_EQ(EntityPayload(towertest::FirstOfCode(top, Type_Dimensioner))[88] & 1, 0);
  EXPECT_EQ(EntityPayload(infoEntity)[0] & 1, 0);
  EXPECT_EQ(TowerPayload(label)[2] & 1, 0);
  EXPECT_EQ(WalkTypeFlags[Type_Hole], 3);
  for (Tower** t : {&label, &data, &designator}) ReleaseTower(t);
}

TEST_F(DesignWalkTest, HighlightInfoMatchesTheSecondNetOnlyWhenFlagged) {
  auto highlight = [&](std::uint8_t flags, std::uint32_t first, std::uint32_t second, std::uint32_t tag) {
    std::vector<std::uint8_t> p(24, 0);
    p[0] = flags;
    std::memcpy(p.data() + 12, &first, 4);
    std::memcpy(p.data() + 16, &second, 4);
    std::memcpy(p.data() + 20, &tag, 4);
    Insert(design, Type_NetHighlightInfo, p);
  };
  highlight(1, 4, 9, 100);
  highlight(0, 4, 7, 200);
  std::vector<std::uint8_t> track = Item(0);
  const std::uint32_t ids[2] = {4, 5};
  std::memcpy(track.data() + 8, ids, 8);
  Tower* t = TowerOn(Insert(design, Type_Track, track));
  const std::uint8_t* found = FindNetHighlightInfo(t);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found[20], 200);  // the flagged record wants net 9 as second id

  window->WalkFlags = 0x3;
  ClearNetHighlight(design);
  EXPECT_EQ(CountChildren(design, Type_NetHighlightInfo), 0u);
  EXPECT_EQ(window->WalkFlags, 0x1u);
  EXPECT_EQ(FindNetHighlightInfo(t), nullptr);
  ReleaseTower(&t);
}

TEST_F(DesignWalkTest, HighlightFlagsClearInsideInstances) {
  Entity* top = Insert(design, Type_Track, 1);
  Tower* instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
  Entity* inner = Insert(instance, Type_PadStackInstanceInfo, Item(2, 276));
  Tower* other = InsertEntity(design, 0, Type_Designator, nullptr);
  Entity* notEntered = Insert(other, Type_DesignatorData, 3);
  for (Entity* e : {top, inner, notEntered, TowerEntity(instance)}) e->flags |= kEntityHighlighted | kEntitySelected;
  ClearHighlightFlags(design);
  EXPECT_EQ(top->flags & 0x44, kEntitySelected);
  EXPECT_EQ(inner->flags & 0x44, kEntitySelected);
  EXPECT_EQ(TowerEntity(instance)->flags & 0x44, kEntitySelected);
  EXPECT_EQ(notEntered->flags & 0x40, kEntityHighlighted) << "designators are not entered";
  ReleaseTower(&other);
  ReleaseTower(&instance);
}

TEST_F(DesignWalkTest, SubNetListIsTheIdentityMap) {
  for (int k = 0; k < 3; ++k) Insert(design, Type_SubNetHier, k);
  Tower* list = CreateSubNetList(design);
  ASSERT_NE(list, nullptr);
  const Entity* e = TowerEntity(list);
  for (std::uint32_t k = 0; k < 5; ++k) {
    EXPECT_EQ(towertest::WordAt(e, 4 * k), (std::vector<std::uint32_t>{3, 0, 1, 2, 3})[k]);
  }
  ReleaseTower(&list);
}

TEST_F(DesignWalkTest, CopyChildDataNeverWritesPastTheBuffer) {
  Insert(design, Type_Description, std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 'e', 'f', 0});
  char big[16];
  std::memset(big, 'x', sizeof big);
  EXPECT_EQ(CopyChildData(big, sizeof big, design, Type_Description, 0), 1);
  EXPECT_STREQ(big, "abcdef");
  char small[4];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(CopyChildData(small, sizeof small, design, Type_Description, 0), 1);
  EXPECT_EQ(std::string(small, 4), std::string("abc\0", 4));
  char two[2] = {'x', 'x'};
  EXPECT_EQ(CopyChildData(two, sizeof two, design, Type_Description, 5), 1);
  EXPECT_EQ(std::string(two, 2), "ab");
  EXPECT_EQ(CopyChildData(big, sizeof big, design, Type_Name, 0), 0);
}

TEST_F(DesignWalkTest, AttachedItemsVisitHolesTwiceAndFreeTheList) {
  Insert(design, Type_Hole, Item(1, 604));
  Insert(design, Type_Track, 2);
  Insert(design, Type_Track, 3)->flags |= kEntitySelected;
  Insert(design, Type_Circle, 4);
  EXPECT_EQ(CollectAttachedItems(), 0) << "no open list: nothing";
  int list = 0;
  static int freed;
  freed = 0;
  RubberBandList = &list;
  FreeRubberBandListHandler = [](void*) { ++freed; };
  WalkHandlers.collectRubberbandEntity = &RecordVisit;
  window->ViewFlags = 0x40;
  EXPECT_EQ(CollectAttachedItems(), 3);
  EXPECT_EQ(VisitedTags(), (std::vector<std::uint32_t>{1, 2, 1}));
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(RubberBandList, nullptr);
  EXPECT_EQ(window->ViewFlags, 0x40u);
}

TEST_F(DesignWalkTest, TemporaryTowersAreReleased) {
  for (int k = 0; k < 2; ++k) {
    auto* node = static_cast<TowerListNode*>(std::malloc(sizeof(TowerListNode)));
    node->tower = DuplicateTower(design);
    node->next = TemporaryTowers;
    TemporaryTowers = node;
  }
  FreeTemporaryTowers();
  EXPECT_EQ(TemporaryTowers, nullptr);
}

}  // namespace
