#include "objects/item_layers.h"

#include <gtest/gtest.h>

#include <string>

#include "objects/layer_table.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

std::vector<std::uint8_t> Words(std::initializer_list<std::uint32_t> words) {
  std::vector<std::uint8_t> p = towertest::Words(words);
  if (p.size() < 24) p.resize(24, 0);
  return p;
}

class LayerTest : public WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    window->layerTable.layers[1].oppositeLayer = 32;
    window->layerTable.layers[32].oppositeLayer = 1;
  }
  Tower* On(std::uint16_t code, const std::vector<std::uint8_t>& payload, const Tower* parent = nullptr) {
    return TowerOn(Insert(parent ? parent : design, code, payload), parent);
  }
  // A placed symbol whose definition holds one pad with the given 116 flags and Xref 7.
  void PlaceSymbol(std::uint32_t instanceFlags, std::uint32_t padFlags) {
    definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
    pad = InsertEntity(definition, 0, Type_PadStackInstanceHier, nullptr);
    padInfo = On(Type_PadStackInfo, Words({padFlags, 7, 0, 0, 0, 0, 0, 0, 0}), pad);
    instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    const std::uint32_t ref = NodeRefOf(TowerEntity(definition));
    Tower* info = InsertEntity(instance, 8, Type_SymbolInstanceInfo, Words({instanceFlags, ref}).data());
    ReleaseTower(&info);
    std::vector<std::uint8_t> placed(276, 0);
    placed[4] = 7;
    instanceInfo = On(Type_PadStackInstanceInfo, placed, instance);
  }
  void TearDown() override {
    for (Tower** t : {&instanceInfo, &instance, &padInfo, &pad, &definition}) ReleaseTower(t);
    WalkTest::TearDown();
  }
  Tower* definition = nullptr;
  Tower* pad = nullptr;
  Tower* padInfo = nullptr;
  Tower* instance = nullptr;
  Tower* instanceInfo = nullptr;
};

TEST_F(LayerTest, SymbolOnTheOtherSideSpansBottomToTop) {
  PlaceSymbol(0x2, 0);
  EXPECT_EQ(GetFirstLayer(instance, 0), 32);
  EXPECT_EQ(GetLastLayer(instance, 0), 1);
  ReleaseTower(&instance);
  ReleaseTower(&instanceInfo);
  ReleaseTower(&padInfo);
  ReleaseTower(&pad);
  ReleaseTower(&definition);
  PlaceSymbol(0, 0);
  EXPECT_EQ(GetFirstLayer(instance, 0), 1);
  EXPECT_EQ(GetLastLayer(instance, 0), 32);
}

TEST_F(LayerTest, PadOnTheOtherSide) {
  window->layerTable.layers[1].oppositeLayer = 30;  // tells the 116's answer from the 141's
  PlaceSymbol(0, 0x1);
  EXPECT_EQ(GetFirstLayer(padInfo, 0), 30);
  EXPECT_EQ(GetLastLayer(padInfo, 0), 30);
  EXPECT_EQ(GetFirstLayer(pad, 0), 32);
  EXPECT_EQ(GetFirstLayer(instanceInfo, 0), 32) << "through the definition's matching pad";
}

TEST_F(LayerTest, FirstAndLastLayerByType) {
  struct Case {
    std::uint16_t code;
    std::uint32_t size;
    int first, last;
  };
  const Case cases[] = {
      {Type_Track, 68, 9, 9},       {Type_Text, 120, 9, 0},       {Type_Hole, 604, 1, 32},
      {Type_RoutedLine, 68, 1, 32}, {Type_PlaneCutout, 80, 9, 0}, {Type_Datum, 80, -1, 0},
  };
  for (const Case& c : cases) {
    Tower* t = On(c.code, Item(0, c.size, 9));
    EXPECT_EQ(GetFirstLayer(t, 0), c.first) << c.code;
    EXPECT_EQ(GetLastLayer(t, 0), c.last) << c.code;
    ReleaseTower(&t);
  }
  window->layerTable.layers[9].flags = kLayerVisible;  // not shown (no value 4)
  window->layerTable.layers[32].flags = kLayerVisible;
  Tower* track = On(Type_Track, Item(0, 68, 9));
  EXPECT_EQ(GetFirstLayer(track, 1), -1);
  EXPECT_EQ(GetLastLayer(track, 1), 0);
  Tower* routed = On(Type_RoutedLine, Item(0, 68, 9));
  EXPECT_EQ(GetLastLayer(routed, 1), 32) << "routed items skip the shown test";
  ReleaseTower(&routed);
  ReleaseTower(&track);
}

TEST_F(LayerTest, SingleLayerSelection) {
  Tower* elsewhere = On(Type_Track, Item(0, 68, 5));
  Tower* onIt = On(Type_Track, Item(0, 68, 3));
  Tower* hole = On(Type_Hole, Item(0, 604, 0));
  window->SingleLayer = 3;
  EXPECT_EQ(IsItemLayerEnabled(elsewhere, 0), 0);
  EXPECT_EQ(IsItemLayerEnabled(onIt, 0), 1);
  EXPECT_EQ(IsItemLayerEnabled(hole, 0), 1);
  EXPECT_EQ(IsItemLayerEnabled(elsewhere, 1), 1) << "action 1 always passes";
  window->SingleLayer = -1;
  for (int layer = 0; layer < 40; ++layer) window->layerTable.layers[layer].flags &= ~kLayerVisible;
  EXPECT_EQ(IsItemLayerEnabled(hole, 0), 0);
  window->SingleLayer = 3;
  EXPECT_EQ(IsItemLayerEnabled(hole, 0), 1) << "with one layer selected a hole passes whatever is visible";
  window->SingleLayer = -1;
  window->layerTable.layers[35].flags |= kLayerVisible;
  EXPECT_EQ(IsItemLayerEnabled(hole, 0), 1);
  for (Tower** t : {&hole, &onIt, &elsewhere}) ReleaseTower(t);
}

TEST_F(LayerTest, FilterFollowsWalkAndViewFlags) {
  Tower* top = On(Type_Track, Item(0, 68, 1));
  struct Case {
    std::uint32_t walkFlags, viewFlags;
    std::uint32_t layer1Flags, layer32Flags;
    int passes;
  };
  const Case cases[] = {
      {0, 0, 0x1, 0, 1},
      {0, 0, 0x0, 0x1, 0},
      {0, kViewOtherSide, 0x0, 0x1, 1},                // seen from the other side: layer 32
      {kWalkShownOnly, 0, 0x1, 0, 0},                  // visible but not shown
      {kWalkShownOnly, 0, 0x5, 0, 1},
      {kWalkUseLayerSet, 0, 0x5, 0, 1},                // layer 1 is in the set
      {kWalkUseLayerSet | kWalkShownOnly, 0, 0x1, 0, 0},
  };
  window->LayerSetCount = 2;
  window->LayerSet[0] = 4;
  window->LayerSet[1] = 1;
  for (const Case& c : cases) {
    window->WalkFlags = c.walkFlags;
    window->ViewFlags = c.viewFlags;
    window->layerTable.layers[1].flags = c.layer1Flags;
    window->layerTable.layers[32].flags = c.layer32Flags;
    EXPECT_EQ(IsItemLayerEnabled(top, 0), c.passes) << c.walkFlags << " " << c.viewFlags;
  }
  window->WalkFlags = kWalkInnerLayersOnePass;
  for (int layer = 1; layer <= 32; ++layer) window->layerTable.layers[layer].flags = 0;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 0) << "no inner layer visible";
  window->layerTable.layers[17].flags = kLayerVisible;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 1) << "any visible inner layer lets every item through";
  window->WalkFlags = kWalkInnerLayersOnePass | kWalkShownOnly;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 0);
  window->layerTable.layers[17].flags = 0;
  window->WalkFlags = kWalkUseLayerSet;
  window->LayerSetCount = 0;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 0) << "an empty set passes nothing";
  window->WalkFlags = kWalkInPadStack;
  window->DrawingLayer = 32;
  window->layerTable.layers[32].flags = kLayerVisible;
  window->layerTable.layers[1].flags = 0;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 1) << "inside a pad stack the drawing layer counts";
  window->editorKind = kEditorSchematic;
  window->WalkFlags = kWalkUseLayerSet;
  EXPECT_EQ(IsItemLayerEnabled(top, 0), 1);
  ReleaseTower(&top);
}

TEST_F(LayerTest, SlotsForDrawActionsFollowTheirTypeWord) {
  Tower* slot = On(Type_PlatedSlot, Item(0, 68, 129));
  WalkTypeFlags[Type_PlatedSlot] = kWalkTypeWanted;
  EXPECT_EQ(IsItemLayerEnabled(slot, 10), 0);
  EXPECT_EQ(IsItemLayerEnabled(slot, 0), 1);
  WalkTypeFlags[Type_PlatedSlot] |= kWalkTypeLayerKind;
  EXPECT_EQ(IsItemLayerEnabled(slot, 17), 1);
  WalkTypeFlags[Type_PlatedSlot] = kWalkTypeWanted;
  SlotDrawLayer = 129;
  EXPECT_EQ(IsItemLayerEnabled(slot, 17), 1);
  ReleaseTower(&slot);
}

TEST(LayerPairs, PresentLayersPairFromTheOutsideIn) {
  auto table = std::make_unique<LayerTable>();
  InitialiseLayerTable(*table);
  for (std::uint8_t layer : {1, 2, 3, 32}) {
    table->layers[layer].kind = LayerKind_Copper;
    table->layers[layer].flags = kLayerPresent;
  }
  table->layers[4].kind = LayerKind_Copper;  // not present: left out
  table->layers[34].kind = LayerKind_SolderResist;
  table->layers[34].flags = kLayerPresent;
  table->layers[60].kind = 7;
  table->layers[60].flags = kLayerPresent;
  table->layers[40].kind = LayerKind_Mechanical;
  table->layers[41].kind = LayerKind_Mechanical;
  table->layers[44].kind = LayerKind_Mechanical;
  InitialiseLayerPairs(*table);
  EXPECT_EQ(table->layers[1].oppositeLayer, 32);
  EXPECT_EQ(table->layers[32].oppositeLayer, 1);
  EXPECT_EQ(table->layers[2].oppositeLayer, 3);
  EXPECT_EQ(table->layers[3].oppositeLayer, 2);
  EXPECT_EQ(table->layers[4].oppositeLayer, kNoOppositeLayer);
  EXPECT_EQ(table->layers[34].oppositeLayer, 34) << "a lone layer is its own opposite";
  EXPECT_EQ(table->layers[60].oppositeLayer, kNoOppositeLayer) << "kind 7 is not paired";
  EXPECT_EQ(table->layers[40].oppositeLayer, 41);
  EXPECT_EQ(table->layers[41].oppositeLayer, 40);
  EXPECT_EQ(table->layers[44].oppositeLayer, 45) << "the record after a mechanical layer, whatever it is";
  EXPECT_EQ(table->layers[45].oppositeLayer, 44);
}

TEST(LayerPairs, MechanicalLayerPairsAreNamedAndLinked) {
  auto table = std::make_unique<LayerTable>();
  InitialiseLayerTable(*table);
  SetMechanicalLayerPairs(*table);
  EXPECT_STREQ(table->layers[40].name, "Mechanical Layer Pair 1 (Normal)");
  EXPECT_STREQ(table->layers[71].name, "Mechanical Layer Pair 16 (Inverse)");
  EXPECT_EQ(table->layers[40].nextLayer, 41);
  EXPECT_EQ(table->layers[71].nextLayer, 70);
  EXPECT_EQ(table->layers[55].flags, 11u);
  EXPECT_EQ(table->layers[55].kind, LayerKind_Mechanical);
  EXPECT_EQ(table->layers[55].planeBit, 512u);
  EXPECT_EQ(table->layers[72].kind, 0);
}

}  // namespace
