#include <gtest/gtest.h>

#include <memory>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

TEST(LayerLookupTest, ALayerIsEnabledByItsOwnFlagOrItsPartnersWhenFlipped) {
  auto w = std::make_unique<CurrentWindowData>();
  InitialiseLayerTable(w->layerTable);
  w->layerTable.layers[1].flags = kLayerVisible;
  w->layerTable.layers[1].oppositeLayer = 32;
  w->layerTable.layers[32].oppositeLayer = 1;
  ActiveWindowData = w.get();
  EXPECT_EQ(IsLayerEnabled(1, 0), 1);
  EXPECT_EQ(IsLayerEnabled(32, 0), 0);
  EXPECT_EQ(IsLayerEnabled(32, '%'), 1);  // these codes always pass
  EXPECT_EQ(IsLayerEnabled(32, 1), 1);
  w->ViewFlags |= kViewOtherSide;
  EXPECT_EQ(IsLayerEnabled(1, 0), 0);
  EXPECT_EQ(IsLayerEnabled(32, 0), 1);
  EXPECT_EQ(IsLayerEnabled(5, 0), 0);  // no partner: its own flag
  ActiveWindowData = nullptr;
}

TEST(LayerLookupTest, APadStackLayerEntryIsFoundByItsLayerByte) {
  towertest::EnsureStoreStarted();
  Tower* stack = towertest::NewTopLevelEntity(Type_PadStackDefinition);
  for (std::uint8_t layer : {1, 32, 34}) {
    std::uint8_t entry[12] = {0, 0, 0, 0, layer};
    Tower* t = InsertEntity(stack, sizeof entry, Type_PadStackLayerInfo, entry);
    ReleaseTower(&t);
  }
  Tower* found = FindPadStackLayer(stack, 32);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerPayload(found)[4], 32);
  ReleaseTower(&found);
  EXPECT_EQ(FindPadStackLayer(stack, 2), nullptr);
  EXPECT_EQ(FindPadStackLayer(nullptr, 1), nullptr);
  DeleteEntity(stack);
  ReleaseTower(&stack);
}

}  // namespace
