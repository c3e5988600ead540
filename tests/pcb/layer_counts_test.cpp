// Copper layer counts, plane extents and the design extent of a board.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"
#include "pcb/layer_counts.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

class LayerCounts : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    block = std::make_unique<CurrentWindowData>(kEditorPcb);
    design = towertest::NewTopLevelEntity(Type_PCB);
    block->design = design;
    ActiveWindowData = block.get();
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  void AddPlane(std::uint8_t layer, pl3::Box box, std::uint32_t size = sizeof(pl3::PolygonLayout) + 24) {
    std::vector<std::uint8_t> payload(size, 0);
    auto* p = reinterpret_cast<pl3::PolygonLayout*>(payload.data());
    p->head.layer = layer;
    if (size >= sizeof(pl3::PolygonLayout)) {
      p->extra[0] = {box.xmin, box.ymin};
      p->extra[1] = {box.xmax, box.ymax};
    }
    Tower* t = InsertEntity(design, size, Type_Plane, payload.data());
    ReleaseTower(&t);
  }

  Tower* AddTrack(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    pl3::TrackLayout track{};
    track.head.layer = 1;
    track.head.transform = pl3::kIdentityTransform;
    track.width = 10;
    track.x1 = x1;
    track.y1 = y1;
    track.x2 = x2;
    track.y2 = y2;
    return InsertEntity(design, sizeof track, Type_Track, &track);
  }

  static bool Same(const pl3::Box& a, const pl3::Box& b) {
    return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
  }

  std::unique_ptr<CurrentWindowData> block;
  Tower* design = nullptr;
};

TEST_F(LayerCounts, OnlyPresentCopperRecordsAreCounted) {
  LayerRecord* layers = block->layerTable.layers;
  const auto set = [&](int i, std::uint32_t flags, std::uint16_t kind) {
    layers[i].flags = flags;
    layers[i].kind = kind;
  };
  for (int i : {1, 2, 32}) set(i, kLayerPresent, LayerKind_Copper);
  set(3, kLayerVisible | kLayerCopperBit | kLayerSelectable, LayerKind_Copper);  // not present
  set(0, kLayerPresent, LayerKind_Silkscreen);
  set(200, kLayerPresent, LayerKind_Copper);  // past the copper range, still counted
  EXPECT_EQ(CountCopperLayers(), 4u);
  EXPECT_EQ(CountCopperLayersOf(block->layerTable), 4u);
  EXPECT_EQ(IsCopperLayer(2), 1);
  EXPECT_EQ(IsCopperLayer(3), 0);
  EXPECT_EQ(IsCopperLayer(0), 0);
  EXPECT_EQ(IsCopperLayer(256), 0);
  ActiveWindowData = nullptr;
  EXPECT_EQ(CountCopperLayers(), 0u);
  EXPECT_EQ(IsCopperLayer(2), 0);
}

TEST_F(LayerCounts, ADesignWithoutPlanesLeavesEveryEntryEmpty) {
  block->Pcb.LayerExtents[5] = {1, 2, 3, 4};
  AddTrack(0, 0, 100, 100);
  BuildPlaneExtents(design, block->Pcb.LayerExtents);
  for (std::uint32_t layer = 0; layer < kLayerCount; ++layer) {
    ASSERT_TRUE(Same(block->Pcb.LayerExtents[layer], kEmptyPlaneExtent)) << layer;
    ASSERT_EQ(LayerHasPlane(layer), 0) << layer;
  }
}

TEST_F(LayerCounts, TwoPlanesOnALayerUniteComparedUnsigned) {
  AddPlane(3, {100, 200, 300, 400});
  // 0x80000010 is a large unsigned coordinate, not a negative one.
  AddPlane(3, {50, 250, static_cast<std::int32_t>(0x80000010u), 350});
  AddPlane(7, {1, 2, 3, 4});
  BuildPlaneExtents(design, block->Pcb.LayerExtents);
  EXPECT_TRUE(Same(block->Pcb.LayerExtents[3], {50, 200, static_cast<std::int32_t>(0x80000010u), 400}));
  EXPECT_TRUE(Same(block->Pcb.LayerExtents[7], {1, 2, 3, 4}));
  EXPECT_EQ(LayerHasPlane(3), 1);
  EXPECT_EQ(LayerHasPlane(7), 1);
  EXPECT_EQ(LayerHasPlane(4), 0);
}

TEST_F(LayerCounts, APlaneTooShortToHoldItsBoxIsSkipped) {
  AddPlane(3, {100, 200, 300, 400}, 40);
  BuildPlaneExtents(design, block->Pcb.LayerExtents);
  EXPECT_EQ(LayerHasPlane(3), 0);
}

TEST_F(LayerCounts, TheDesignExtentIsTheUnionOfItsItemsClippedToTheLimit) {
  Tower* a = AddTrack(1000000, 2000000, 3000000, 2500000);
  Tower* b = AddTrack(5000000, 1000000, 6000000, 9000000);
  Tower* net = InsertEntity(design, 0, Type_NetHierGroup, nullptr);  // not a drawable kind
  pl3::Box boxA, boxB;
  ASSERT_TRUE(GetBox(a, &boxA));
  ASSERT_TRUE(GetBox(b, &boxB));
  const pl3::Box both{std::min(boxA.xmin, boxB.xmin), std::min(boxA.ymin, boxB.ymin), std::max(boxA.xmax, boxB.xmax),
                      std::max(boxA.ymax, boxB.ymax)};

  pl3::Box* extent = GetDesignExtentWithin(design, {0, 0, 100000000, 100000000});
  ASSERT_NE(extent, nullptr);
  EXPECT_TRUE(Same(*extent, both));
  std::free(extent);

  const pl3::Box narrow{1500000, 1200000, 5500000, 4000000};
  extent = GetDesignExtentWithin(design, narrow);
  ASSERT_NE(extent, nullptr);
  EXPECT_TRUE(Same(*extent, narrow));
  std::free(extent);
  for (Tower** t : {&a, &b, &net}) ReleaseTower(t);
}

TEST_F(LayerCounts, AnEmptyDesignHasTheEmptyExtent) {
  pl3::Box* extent = GetDesignExtentWithin(design, {0, 0, 1000, 1000});
  ASSERT_NE(extent, nullptr);
  EXPECT_TRUE(Same(*extent, kEmptyPlaneExtent));
  std::free(extent);
  EXPECT_EQ(LayerOffsetPlusThree(4), 7u);
}

}  // namespace
