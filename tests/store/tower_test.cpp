#include "store/tower.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/settings_block.h"
#include "platform/responder.h"
#include "store/seams.h"
#include "tests/store/tower_test_support.h"

namespace {

using towertest::DrainTags;
using towertest::GroupCodes;
using towertest::InsertTagged;
using towertest::NewTopLevelEntity;
using towertest::TagOf;
using Tags = std::vector<std::uint32_t>;

class TowerTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    top = NewTopLevelEntity(500);
  }
  void TearDown() override { ReleaseTower(&top); }
  Tower* top = nullptr;
};

TEST_F(TowerTest, SearchYieldsNewestFirstThenNullThenStartsAgain) {
  for (std::uint32_t tag : {1u, 2u, 3u}) InsertTagged(top, 7, tag);
  Tower* child = GetChildTower(top, 7);
  EXPECT_EQ(DrainTags(child), (Tags{3, 2, 1}));
  EXPECT_EQ(TagOf(FindNextEntity(child)), 3u) << "the call after a null starts from the first match";
  ReleaseTower(&child);
  EXPECT_EQ(child, nullptr);
}

TEST_F(TowerTest, AllChildrenRunCodesAscendingNewestFirst) {
  InsertTagged(top, 5, 'X');
  InsertTagged(top, 5, 'Y');
  InsertTagged(top, 2, 'Z');
  Tower* all = GetAllChildrenTower(top);
  EXPECT_EQ(DrainTags(all), (Tags{'Z', 'Y', 'X'}));

  ResetTowerSearch(all, kSearchAny);
  EXPECT_EQ(TagOf(FindNextEntity(all)), std::uint32_t{'Z'});
  EXPECT_EQ(TagOf(FindNextEntity(all)), std::uint32_t{'Y'});
  EXPECT_EQ(LastLevel(all).typeCode, 5);
  SkipToNextType(all);
  EXPECT_EQ(FindNextEntity(all), nullptr) << "skipping leaves code 5, the last code";
  ReleaseTower(&all);
}

TEST_F(TowerTest, SkipMovesAnyLevelToTheNextCode) {
  InsertTagged(top, 9, 90);
  InsertTagged(top, 4, 40);
  InsertTagged(top, 4, 41);
  Tower* all = GetAllChildrenTower(top);
  EXPECT_EQ(TagOf(FindNextEntity(all)), 41u);
  SkipToNextType(all);
  EXPECT_EQ(TagOf(FindNextEntity(all)), 90u);
  ReleaseTower(&all);
}

TEST_F(TowerTest, ResetDropsAPendingSkip) {
  InsertTagged(top, 9, 90);
  InsertTagged(top, 4, 40);
  InsertTagged(top, 4, 41);
  Tower* all = GetAllChildrenTower(top);
  EXPECT_EQ(TagOf(FindNextEntity(all)), 41u);
  SkipToNextType(all);
  ResetTowerSearch(all, kSearchAny);
  EXPECT_EQ(DrainTags(all), (Tags{41, 40, 90})) << "a restarted walk misses nothing";
  ReleaseTower(&all);
}

TEST_F(TowerTest, MatchSearchStopsAtItsOwnCode) {
  InsertTagged(top, 3, 30);
  InsertTagged(top, 8, 80);
  Tower* missing = GetChildTower(top, 5);
  EXPECT_EQ(FindNextEntity(missing), nullptr);
  ReleaseTower(&missing);
  EXPECT_EQ(*static_cast<std::uint32_t*>(GetEntityData(top, 8)), 80u);
  EXPECT_EQ(GetEntityData(top, 4), nullptr);
}

TEST_F(TowerTest, OpenChildTowerForAMissingCodeLeavesNoTowerBehind) {
  InsertTagged(top, 3, 30);
  const std::uint64_t freeBefore = towertest::PoolFreeBytes();
  EXPECT_EQ(OpenChildTower(top, 4), nullptr);
  EXPECT_EQ(towertest::PoolFreeBytes(), freeBefore);
  Tower* found = OpenChildTower(top, 3);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TagOf(TowerEntity(found)), 30u);
  EXPECT_EQ(found->lastLevel, 1);
  ReleaseTower(&found);
}

TEST_F(TowerTest, NewGroupsLinkInAscendingCode) {
  InsertTagged(top, 3, 0);
  InsertTagged(top, 9, 0);
  InsertTagged(top, 7, 0);
  EXPECT_EQ(GroupCodes(TowerEntity(top)), (std::vector<std::uint16_t>{3, 7, 9}));
  InsertTagged(top, 1, 0);
  InsertTagged(top, 12, 0);
  EXPECT_EQ(GroupCodes(TowerEntity(top)), (std::vector<std::uint16_t>{1, 3, 7, 9, 12}));
}

TEST_F(TowerTest, TopLevelGroupsFollowTheRootGroup) {
  Tower* other = NewTopLevelEntity(20);
  TowerNode rootHolder{};
  rootHolder.firstChild = NodeRefOf(RootGroup());
  EXPECT_EQ(GroupCodes(&rootHolder), (std::vector<std::uint16_t>{0, 20, 500}));
  Tower* again = NewTopLevelEntity(500);
  EXPECT_EQ(LastLevel(again).group, LastLevel(top).group) << "one group per code";
  EXPECT_EQ(NodeAt<TypeGroup>(LastLevel(again).group)->firstChild, LastLevel(again).entity) << "newest first";
  ReleaseTower(&again);
  ReleaseTower(&other);
}

TEST_F(TowerTest, InsertEntityCopiesThePayloadAndRoundsItsSize) {
  const char text[] = "twenty bytes of text";  // 21 with the terminator
  const TowerLevel before = LastLevel(top);
  Tower* t = InsertEntity(top, sizeof text, 42, text);
  Entity* e = TowerEntity(t);
  EXPECT_EQ(e->payloadSize, 32u);
  EXPECT_EQ(e->typeCode, 42);
  EXPECT_EQ(e->flags, 0);
  EXPECT_EQ(e->firstChild, 0u);
  EXPECT_STREQ(reinterpret_cast<const char*>(EntityPayload(e)), text);
  EXPECT_EQ(t->lastLevel, top->lastLevel + 1);
  EXPECT_EQ(std::memcmp(&LastLevel(top), &before, sizeof before), 0) << "the parent Tower is unchanged";
  EXPECT_EQ(t->levels[0].entity, LastLevel(top).entity);
  Tower* empty = InsertEmptyEntity(top, 43);
  EXPECT_EQ(TowerEntity(empty)->payloadSize, 0u);
  ReleaseTower(&empty);
  ReleaseTower(&t);
}

TEST_F(TowerTest, InsertEntityClearsTheRoundedTailOfAReusedChunk) {
  std::uint8_t dirty[16];
  std::memset(dirty, 0xA5, sizeof dirty);
  Tower* first = InsertEntity(top, sizeof dirty, 44, dirty);
  DeleteEntity(first);
  ReleaseTower(&first);
  const char three[] = "ab";  // the chunk freed above is reused
  Tower* t = InsertEntity(top, sizeof three, 44, three);
  const auto* payload = static_cast<const std::uint8_t*>(TowerPayload(t));
  ASSERT_EQ(TowerEntity(t)->payloadSize, 16u);
  for (std::size_t i = sizeof three; i < 16; ++i) EXPECT_EQ(payload[i], 0) << "byte " << i;
  ReleaseTower(&t);
}

TEST_F(TowerTest, DeletingTheOnlyEntityOfAGroupFreesTheGroup) {
  InsertTagged(top, 3, 30);
  Tower* nine = InsertEntity(top, 0, 9, nullptr);
  DeleteEntity(nine);
  EXPECT_EQ(GroupCodes(TowerEntity(top)), (std::vector<std::uint16_t>{3}));
  EXPECT_FALSE(LastLevel(nine).flags & kLevelPositioned);
  ReleaseTower(&nine);

  Tower* three = OpenChildTower(top, 3);
  DeleteEntity(three);
  ReleaseTower(&three);
  EXPECT_EQ(TowerEntity(top)->firstChild, 0u) << "the entity keeps no first child";
}

TEST_F(TowerTest, DeletingTheHeadOrAMiddleEntityKeepsTheRest) {
  for (std::uint32_t tag : {1u, 2u, 3u, 4u}) InsertTagged(top, 6, tag);
  Tower* child = GetChildTower(top, 6);
  FindNextEntity(child);  // 4, the head
  DeleteEntity(child);
  ResetTowerSearch(child, kSearchMatch);
  EXPECT_EQ(DrainTags(child), (Tags{3, 2, 1}));
  FindNextEntity(child);
  FindNextEntity(child);  // 2, in the middle
  DeleteEntity(child);
  ResetTowerSearch(child, kSearchMatch);
  EXPECT_EQ(DrainTags(child), (Tags{3, 1}));
  ReleaseTower(&child);
}

TEST_F(TowerTest, DeletingADeepSubTreeFreesEveryNode) {
  InsertTagged(top, 11, 1);
  const std::uint64_t freeBefore = towertest::PoolFreeBytes();
  Tower* level = InsertEntity(top, 4, 11, "\x02\0\0");
  Tower* target = DuplicateTower(level);
  for (int depth = 0; depth < 5; ++depth) {
    InsertTagged(level, 30, 7);
    InsertTagged(level, 31, 8);
    Tower* deeper = InsertEntity(level, 100, 32, nullptr);
    ReleaseTower(&level);
    level = deeper;
  }
  ReleaseTower(&level);
  DeleteEntity(target);
  ReleaseTower(&target);
  EXPECT_EQ(towertest::PoolFreeBytes(), freeBefore);
  EXPECT_EQ(*static_cast<std::uint32_t*>(GetEntityData(top, 11)), 1u) << "the next older entity of the code";
}

TEST_F(TowerTest, DeletionFreesEntitiesBeforeTheirGroupsAndTheTargetLast) {
  // Every node here is a 32-byte chunk, so the free list of class 2 shows the
  // order in which the deletion gave them back (last freed first).
  Tower* older = InsertEmptyEntity(top, 40);
  Tower* target = InsertEmptyEntity(top, 40);
  Tower* a1 = InsertEmptyEntity(target, 5);
  Tower* a2 = InsertEmptyEntity(target, 5);
  Tower* b1 = InsertEmptyEntity(target, 7);
  Entity* t = TowerEntity(target);
  const NodeRef g5 = t->firstChild;
  const NodeRef g7 = NodeAt<TypeGroup>(g5)->next;
  const std::vector<NodeRef> expected = {NodeRefOf(t), g7, g5, LastLevel(b1).entity, LastLevel(a1).entity,
                                         LastLevel(a2).entity};
  for (Tower** child : {&a1, &a2, &b1}) ReleaseTower(child);
  DeleteEntity(target);
  std::vector<NodeRef> freed;
  for (NodeRef r = PoolClass(2).freeList; r && freed.size() < expected.size(); r = NodeAt<FreeChunk>(r)->next)
    freed.push_back(r);
  EXPECT_EQ(freed, expected);
  EXPECT_EQ(GetEntityData(top, 40), EntityPayload(TowerEntity(older)));
  ReleaseTower(&target);
  ReleaseTower(&older);
}

TEST_F(TowerTest, DeleteChildEntitiesCountsWhatItDeletes) {
  EXPECT_EQ(DeleteChildEntities(top, 5), 0u);
  for (std::uint32_t tag : {1u, 2u, 3u}) {
    Tower* t = InsertEntity(top, sizeof tag, 5, &tag);
    InsertTagged(t, 8, tag);
    ReleaseTower(&t);
  }
  InsertTagged(top, 6, 60);
  EXPECT_EQ(DeleteChildEntities(top, 5), 3u);
  EXPECT_EQ(GroupCodes(TowerEntity(top)), (std::vector<std::uint16_t>{6}));
}

TEST_F(TowerTest, AncestorTowerCutsAtTheDeepestLevelOfTheCode) {
  Tower* a = InsertEntity(top, 0, 600, nullptr);
  Tower* b = InsertEntity(a, 0, 700, nullptr);
  Tower* c = InsertEntity(b, 0, 700, nullptr);
  ASSERT_EQ(c->lastLevel, 3);
  struct Case {
    std::uint16_t code;
    int lastLevel;
  };
  for (const Case& k : {Case{700, 3}, Case{600, 1}, Case{500, 0}, Case{999, 0}}) {
    SCOPED_TRACE(k.code);
    Tower* ancestor = GetAncestorTower(c, k.code);
    ASSERT_NE(ancestor, nullptr);
    EXPECT_EQ(ancestor->lastLevel, k.lastLevel);
    EXPECT_EQ(LastLevel(ancestor).entity, c->levels[k.lastLevel].entity);
    ReleaseTower(&ancestor);
  }
  Tower* cut = GetAncestorTower(b, 700);
  EXPECT_EQ(cut->lastLevel, 2) << "a level that is the last is compared too";
  ReleaseTower(&cut);
  for (Tower** t : {&a, &b, &c}) ReleaseTower(t);
}

TEST_F(TowerTest, DuplicateCopiesThePathButNotThePositions) {
  for (std::uint32_t tag : {1u, 2u, 3u}) InsertTagged(top, 7, tag);
  Tower* child = GetChildTower(top, 7);
  FindNextEntity(child);
  FindNextEntity(child);
  Tower* copy = DuplicateTower(child);
  EXPECT_EQ(LastLevel(copy).flags, kLevelMatch | kLevelLast);
  ResetTowerSearch(copy, kSearchMatch);
  EXPECT_EQ(TagOf(FindNextEntity(copy)), 3u) << "a match level starts afresh";
  Tower* shorter = DuplicateTowerToLevel(child, 0);
  EXPECT_EQ(shorter->lastLevel, 0);
  EXPECT_EQ(LastLevel(shorter).entity, LastLevel(top).entity);
  for (Tower** t : {&child, &copy, &shorter}) ReleaseTower(t);
}

TEST_F(TowerTest, EntityToTowerStandsOnAReferencedEntity) {
  InsertTagged(top, 4, 40);
  Entity* target = InsertTagged(top, 6, 60);
  Tower* below = EntityToTower(top, target, -1);
  ASSERT_NE(below, nullptr);
  EXPECT_EQ(below->lastLevel, 1);
  EXPECT_EQ(LastLevel(below).typeCode, 6);
  EXPECT_EQ(LastLevel(below).flags, kLevelLast | kLevelPositioned);
  ASSERT_NE(LastLevel(below).group, 0u);
  EXPECT_EQ(NodeAt<TypeGroup>(LastLevel(below).group)->typeCode, 6);
  EXPECT_EQ(TowerEntity(below), target);

  Tower* search = GetChildTower(top, 4);
  FindNextEntity(search);
  Tower* replaced = EntityToTower(search, target, 1);
  EXPECT_EQ(replaced->lastLevel, 1);
  EXPECT_EQ(LastLevel(replaced).flags, kLevelLast | kLevelPositioned | kLevelMatch) << "keeps the level's mode";
  EXPECT_EQ(TowerEntity(replaced), target);
  EXPECT_EQ(EntityToTower(top, nullptr, -1), nullptr);
  for (Tower** t : {&below, &search, &replaced}) ReleaseTower(t);
}

TEST_F(TowerTest, EntityToTowerKeepsANullGroupWhenTheEntityIsElsewhere) {
  Tower* other = NewTopLevelEntity(501);
  Entity* stranger = InsertTagged(other, 6, 1);
  Tower* t = EntityToTower(top, stranger, -1);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(LastLevel(t).group, 0u);
  EXPECT_EQ(TowerEntity(t), stranger);
  ReleaseTower(&t);
  ReleaseTower(&other);
}

TEST_F(TowerTest, SearchOverTwoLevelsReusesItsUpperPosition) {
  for (std::uint32_t parentTag : {1u, 2u}) {
    Tower* p = InsertEntity(top, sizeof parentTag, 50, &parentTag);
    for (std::uint32_t tag : {10u, 20u}) InsertTagged(p, 60, parentTag * 100 + tag);
    ReleaseTower(&p);
  }
  Tower* parents = GetChildTower(top, 50);
  ASSERT_NE(FindNextEntity(parents), nullptr);  // the newest, tag 2
  Tower* children = GetChildTower(parents, 60);
  EXPECT_EQ(DrainTags(children), (Tags{220, 210}));
  EXPECT_EQ(DrainTags(children), (Tags{220, 210})) << "the upper level stays where it was";
  ReleaseTower(&children);

  // An upper level that searches too: its position holds while the last
  // level runs, and the last level starts afresh when it moves.
  FindNextEntity(parents);  // tag 1
  children = GetChildTower(parents, 60);
  MarkTowerPathPositioned(children);
  EXPECT_EQ(DrainTags(children), (Tags{120, 110})) << "a positioned path is reused as it stands";
  ReleaseTower(&children);
  ReleaseTower(&parents);
}

TEST_F(TowerTest, InternalErrorsAreReportedWithTheirCaptions) {
  SettingsBlock showing{};
  showing.errorMask = 1;  // show severity 1, the internal errors
  Settings = &showing;
  pl3::ClearResponderRecords();
  EXPECT_EQ(InsertEntitySpace(nullptr, 4, 5), nullptr);
  EXPECT_EQ(GetEntityData(nullptr, 5), nullptr);
  EXPECT_EQ(EntityToTower(top, nullptr, -1), nullptr);
  Tower* other = NewTopLevelEntity(501);
  Entity* stranger = InsertTagged(other, 6, 1);
  Tower* t = EntityToTower(top, stranger, -1);
  ReleaseTower(&t);
  ReleaseTower(&other);
  const auto& shown = pl3::ResponderRecords();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].text, "Not a vector tower!");
  EXPECT_EQ(shown[0].caption, "TestVectorTower");
  EXPECT_EQ(shown[1].caption, "TestVectorTower");
  EXPECT_EQ(shown[2].text, "NULL Entity passed");
  EXPECT_EQ(shown[2].caption, "EntityToTower");
  EXPECT_EQ(shown[3].text, "Unable to find correct opto");
  EXPECT_EQ(shown[3].caption, GetTypeName(6));
  Settings = nullptr;
}

TEST_F(TowerTest, NullTowersAreRefusedWithoutACrash) {
  EXPECT_EQ(InsertEntitySpace(nullptr, 4, 5), nullptr);
  EXPECT_EQ(GetEntityData(nullptr, 5), nullptr);
  EXPECT_EQ(GetChildTower(nullptr, 5), nullptr);
  Tower* none = nullptr;
  ReleaseTower(&none);
  FreeTower(nullptr);
}

TEST_F(TowerTest, TheNullEntryIsNeverDeleted) {
  Tower* t = NewTower(0);
  LastLevel(t) = TowerLevel{kLevelPositioned | kLevelLast, 0, NodeRefOf(RootGroup()), RootGroup()->firstChild};
  DeleteEntity(t);
  EXPECT_NE(RootGroup()->firstChild, 0u);
  ReleaseTower(&t);
}

TEST(RecordSizes, VariableRecordsTakeTheirLengths) {
  std::uint8_t polygon[64] = {};
  polygon[48] = 5;
  EXPECT_EQ(PolygonEntitySize(polygon), 11u * 5 + 62);
  polygon[48] = 255;
  EXPECT_EQ(PolygonEntitySize(polygon), 11u * 255 + 62);

  std::uint8_t named[140] = {};
  std::memcpy(named + 104, "R12", 4);
  EXPECT_EQ(NamedEntitySize(named), 108u);
  std::uint8_t record[28 + 140] = {};
  std::memcpy(record + 28 + 104, "", 1);
  EXPECT_EQ(NamedRecordSize(record), 105u);
}

std::vector<NodeRef> gFreed;
void NoteFreed(NodeRef e) {
  // Told before the chunk goes back: the node still holds its tag.
  gFreed.push_back(TagOf(NodeAt<Entity>(e)));
}

TEST_F(TowerTest, FreeObserverHearsOfEveryEntityADeleteTakes) {
  Entity* parent = InsertTagged(top, 7, 1);
  Tower* parentTower = EntityToTower(top, parent, -1);
  InsertTagged(parentTower, 8, 2);
  Tower* grandchild = InsertEntity(parentTower, 4, 9, "\3\0\0");
  InsertTagged(grandchild, 10, 4);
  InsertTagged(top, 7, 5);
  gFreed.clear();
  SetEntityFreeObserver(&NoteFreed);
  DeleteEntity(parentTower);
  SetEntityFreeObserver(nullptr);
  // The descendants bottom up and group by group, then the entity; groups
  // and the sibling are not entities freed.
  EXPECT_EQ(gFreed, (std::vector<NodeRef>{2, 4, 3, 1}));
  ReleaseTower(&grandchild);
  ReleaseTower(&parentTower);
}

using TowerDeathTest = TowerTest;

// The fatal error box goes to stderr too, where the death test reads it.
void ShowFatalBoxes() { pl3::SetResponderEcho(true); }

TEST_F(TowerDeathTest, InsertWithoutAParentIsAtWrongLevel) {
  // Level n - 1 of the inserting Tower names no entity.
  Tower* noParent = GetChildTower(top, 77);
  LastLevel(noParent).flags = kLevelLast;
  EXPECT_DEATH(ShowFatalBoxes(); InsertEntity(noParent, 0, 5, nullptr),
               "Internal Error Handler: A Fatal Error Has Occurred.\n Error Number : 8\nInsert at Wrong Level");
  // Level n - 2 names an entity without children.
  Tower* childless = GetChildTower(top, 77);
  LastLevel(childless) = TowerLevel{kLevelLast, 77, 0, RootGroup()->firstChild};
  EXPECT_DEATH(ShowFatalBoxes(); InsertEntity(childless, 0, 5, nullptr), "Error Number : 8\nInsert at Wrong Level");
  ReleaseTower(&childless);
  ReleaseTower(&noParent);
}

TEST_F(TowerDeathTest, PayloadLargerThanABlockIsOutOfMemory) {
  // Sizes that would wrap around to a small chunk once rounded up to 16 or
  // once the header is added.
  for (std::uint32_t size : {0xFFFFFFF8u, 0xFFFFFFE0u, kPoolBlockUsable}) {
    SCOPED_TRACE(size);
    EXPECT_DEATH(ShowFatalBoxes(); InsertEntitySpace(top, size, 5), "Error Number : 7\nOut of Memory");
  }
}

}  // namespace
