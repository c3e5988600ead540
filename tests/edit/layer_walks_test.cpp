#include "edit/layer_walks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "draw/walk_actions.h"
#include "objects/size_table.h"
#include "tests/objects/walk_fixture.h"

namespace {

using walktest::Insert;
using walktest::Item;

class LayerWalks : public walktest::WalkTest {
 protected:
  void SetUp() override {
    walktest::WalkTest::SetUp();
    WalkHandlers.changeWalkedLayer = &MoveLayerAction;
  }
  Entity* Put(std::uint16_t code, std::uint8_t layer, std::uint32_t tag = 0) {
    return Insert(design, code, Item(tag, 68, layer));
  }
};

TEST_F(LayerWalks, ALayerIsInUseOnlyForItemsThatLieOnIt) {
  Put(Type_Track, 3);
  Put(Type_Hole, 5);
  Put(Type_Datum, 6);
  Put(Type_BoardOutlineLine, 9);
  Put(Type_Text, 7);
  window->layerTable.layers[7].flags &= ~kLayerVisible;  // hidden layers count too
  struct Case {
    std::uint8_t layer;
    int used;
  };
  for (const Case& c : std::vector<Case>{{3, 1}, {4, 0}, {5, 0}, {6, 0}, {9, 0}, {7, 1}}) {
    EXPECT_EQ(IsLayerInUse(c.layer), c.used) << int(c.layer);
  }
  EXPECT_EQ(DisplayOptions & kDisplayLayerInUse, 0u) << "the answer clears the walk's bit";
}

TEST_F(LayerWalks, TheWalkLeavesTheWindowsFiltersAndTheTypeTableAsTheyWere) {
  Put(Type_Track, 3);
  window->SingleLayer = 12;
  window->LayerSetCount = 2;
  window->LayerSet[0] = 4;
  window->WalkFlags = kWalkShownOnly;
  window->ViewFlags = kViewOtherSide;
  WalkTypeFlags[Type_Hole] = 0x55;
  EXPECT_EQ(IsLayerInUse(3), 1) << "neither the single shown layer nor the other side hides it";
  EXPECT_EQ(window->SingleLayer, 12);
  EXPECT_EQ(window->LayerSetCount, 2u);
  EXPECT_EQ(window->LayerSet[0], 4);
  EXPECT_EQ(window->WalkFlags, kWalkShownOnly);
  EXPECT_EQ(window->ViewFlags, kViewOtherSide);
  EXPECT_EQ(WalkTypeFlags[Type_Hole], 0x55);
}

TEST_F(LayerWalks, APlacedSymbolCountsOnTheTopLayerOnly) {
  Put(Type_SymbolInstance, 0);
  EXPECT_EQ(IsLayerInUse(Layer_Top), 1);
  EXPECT_EQ(IsLayerInUse(5), 0);
}

TEST_F(LayerWalks, MovingALayersItemsLeavesTheOtherLayersAlone) {
  Entity* a = Put(Type_Track, 3, 1);
  Entity* b = Put(Type_Arc, 3, 2);
  Entity* c = Put(Type_Track, 4, 3);
  window->layerTable.layers[3].flags &= ~kLayerVisible;
  MoveLayerItems(3, 8);
  EXPECT_EQ(EntityPayload(a)[0], 8);
  EXPECT_EQ(EntityPayload(b)[0], 8);
  EXPECT_EQ(EntityPayload(c)[0], 4);
  EXPECT_EQ(IsLayerInUse(3), 0);
  EXPECT_EQ(IsLayerInUse(8), 1);
}

TEST_F(LayerWalks, RenumberingMovesOnlyTheTypesTheCallerAsksFor) {
  Entity* track = Put(Type_Track, 3, 1);
  Entity* arc = Put(Type_Arc, 3, 2);
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), 0);
  WalkTypeFlags[Type_Arc] = kWalkTypeWanted;
  window->SingleLayer = 5;  // the view shows another layer only
  RenumberLayerItems(3, 9);
  EXPECT_EQ(EntityPayload(track)[0], 3);
  EXPECT_EQ(EntityPayload(arc)[0], 9);
  EXPECT_EQ(window->SingleLayer, 5);
  EXPECT_EQ(WalkTypeFlags[Type_Track], 0) << "the caller's table stays";
}

TEST_F(LayerWalks, TheFreeInnerLayerIsTheFirstPresentEmptyOneBelowTheCount) {
  Put(Type_Track, 1);
  Put(Type_Track, 2);
  Put(Type_Track, 4);
  window->layerTable.layers[3].flags &= ~kLayerPresent;
  struct Case {
    std::uint32_t n;
    std::uint8_t layer;
  };
  for (const Case& c : std::vector<Case>{{0, 32}, {1, 1}, {2, 32}, {4, 32}, {5, 32}, {6, 5}}) {
    EXPECT_EQ(FindFreeInnerLayer(c.n), c.layer) << c.n;
  }
  EXPECT_EQ(CountLayersInUse(window->layerTable), 3u);
  Put(Type_Track, 3);
  EXPECT_EQ(CountLayersInUse(window->layerTable), 3u) << "a layer that is not present is not counted";
}

// A track with an indexed width of 3, a via with index 2 and a hole with
// index 4 under a group; one more track of index 1 beside the group.
TEST_F(LayerWalks, MarkingTheUsedSizesOfASubTreeClearsTheOldMarksFirst) {
  SizeTable sizes;
  for (SizeList& list : sizes.lists) list.entries.resize(5);
  window->sizeTable = &sizes;
  sizes.lists[SizeKind_Lines].entries[0].flags |= kSizeEntryInUse;  // left from an earlier walk
  auto sized = [](std::size_t size, std::uint32_t index) {
    std::vector<std::uint8_t> p = Item(0, static_cast<std::uint32_t>(size));
    p[2] = 1;  // the size comes from the table
    std::memcpy(p.data() + 4, &index, 4);
    return p;
  };
  Tower* group = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Insert(group, Type_Track, sized(68, 3));
  std::vector<std::uint8_t> via = sized(604, 2);
  via[49] = 0x08;  // via sizes
  Insert(group, Type_Hole, via);
  Insert(group, Type_Hole, sized(604, 4));
  Insert(design, Type_Track, sized(68, 1));
  auto inUse = [&](std::uint32_t kind) {
    std::vector<std::uint32_t> used;
    for (std::uint32_t k = 0; k < sizes.lists[kind].count(); ++k)
      if (sizes.lists[kind].entries[k].flags & kSizeEntryInUse) used.push_back(k);
    return used;
  };
  WalkTypeFlags[Type_Hole] = 0;
  MarkUsedNets(group);
  EXPECT_EQ(inUse(SizeKind_Lines), (std::vector<std::uint32_t>{3})) << "the old mark goes, the track beside stays unmarked";
  EXPECT_EQ(inUse(SizeKind_Vias), (std::vector<std::uint32_t>{2}));
  EXPECT_EQ(inUse(SizeKind_Holes), (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(WalkTypeFlags[Type_Hole], 0) << "the caller's table comes back";
  MarkUsedNets(design);
  EXPECT_EQ(inUse(SizeKind_Lines), (std::vector<std::uint32_t>{1})) << "a definition counts through its instances";
  window->sizeTable = nullptr;
  ReleaseTower(&group);
}

}  // namespace
