#include "objects/item_picking.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/dimensioner_seams.h"
#include "objects/frame_seams.h"
#include "store/tower_queries.h"
#include "tests/objects/walk_fixture.h"

namespace {

struct Seen {
  std::uint16_t code;
  std::uint32_t tag;
  std::uint32_t filter;
  std::uint16_t holeFlags;
};
std::vector<Seen> gSeen;

// Draws each item as one view pixel at its point (payload words 60 and 64),
// which in the nearest-hit mode measures its distance.
std::int32_t DrawAsPoint(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t, std::int32_t*) {
  const std::uint8_t* p = TowerPayload(entity);
  std::int32_t x, y;
  std::memcpy(&x, p + 60, 4);
  std::memcpy(&y, p + 64, 4);
  gSeen.push_back({TowerEntity(entity)->typeCode, walktest::TagOf(TowerEntity(entity)), ActiveWindowData->ViewFlags,
                   WalkTypeFlags[Type_Hole]});
  pl3::WorldToView(x, y);
  pl3::EmitHorizontalRun(x, x, y);
  return 1;
}

class ItemSearch : public walktest::WalkTest {
 protected:
  void SetUp() override {
    walktest::WalkTest::SetUp();
    gSeen.clear();
    WalkHandlers.drawWalkedEntity = &DrawAsPoint;
    WalkHandlers.drawPl2Symbol = &DrawAsPoint;
    window->editorKind = kEditorPcbSymbol;
    window->Zoom = 1000;
    UpdateViewGlobals();
    PickDistance = 40;
  }
  void TearDown() override {
    ReleaseTower(&window->PreviousPick);
    walktest::WalkTest::TearDown();
  }
  void At(std::uint16_t code, std::int32_t x, std::int32_t y, std::uint32_t tag, const Tower* parent = nullptr) {
    std::vector<std::uint8_t> p = walktest::Item(tag, 96);
    std::memcpy(p.data() + 60, &x, 4);
    std::memcpy(p.data() + 64, &y, 4);
    walktest::Insert(parent ? parent : design, code, p);
  }
  static std::uint32_t Tag(Tower* t) {
    const std::uint32_t tag = t ? walktest::TagOf(TowerEntity(t)) : 0;
    ReleaseTower(&t);
    return tag;
  }
  std::uint32_t Near(std::int32_t x, std::int32_t y, std::uint8_t includeSelected = 1, std::uint8_t useList = 0) {
    return Tag(FindItemsNearPoint(x, y, includeSelected, useList));
  }
  std::uint32_t HitListTag() const {
    return window->PreviousPick ? walktest::TagOf(TowerEntity(window->PreviousPick)) : 0;
  }
};

TEST_F(ItemSearch, TheBoxReachesTheApertureTimesTheZoomOnEachSide) {
  window->Zoom = 36'576;
  UpdateViewGlobals();
  const NearestHitSearch search = BeginNearestHitSearch(500'000'000, 600'000'000);
  EndNearestHitSearch(search);
  EXPECT_EQ(search.box.xmin, 500'000'000 - 1'463'040);
  EXPECT_EQ(search.box.ymin, 600'000'000 - 1'463'040);
  EXPECT_EQ(search.box.xmax, 500'000'000 + 1'463'040);
  EXPECT_EQ(search.box.ymax, 600'000'000 + 1'463'040);
  EXPECT_EQ(pl3::g_raster.spanTarget, pl3::kTargetPlane);
}

TEST_F(ItemSearch, TheNearestItemOfAnyTypeWithinTheApertureIsFoundAndKept) {
  At(Type_Track, 1'000'000, 1'000'000, 1);
  At(Type_Text, 1'020'000, 1'000'000, 2);
  At(Type_Hole, 1'100'000, 1'000'000, 3);
  EXPECT_EQ(Near(1'018'000, 1'000'000), 2u);
  EXPECT_EQ(HitListTag(), 2u);
  EXPECT_EQ(Near(1'003'000, 1'000'000), 1u);
  EXPECT_EQ(HitListTag(), 1u);
  EXPECT_EQ(Near(1'099'000, 1'000'000), 3u);
  // 40 pixels of 1,000 units: a hit must lie nearer than 40,000 units; a
  // search that finds nothing drops the hit list.
  EXPECT_EQ(Near(1'060'000, 1'000'000), 0u);
  EXPECT_EQ(window->PreviousPick, nullptr);
  EXPECT_EQ(Near(1'139'000, 1'000'000), 3u);
  EXPECT_EQ(pl3::g_raster.spanTarget, pl3::kTargetPlane);
  EXPECT_EQ(pl3::g_raster.bestEntity, nullptr);
}

TEST_F(ItemSearch, TheFilterBitsFollowIncludeSelectedAndAreRestored) {
  At(Type_Track, 1'000'000, 1'000'000, 1);
  struct Case {
    std::uint8_t includeSelected;
    std::uint32_t before, during;
  };
  for (const Case& c : {Case{1, 0x8, 0x48}, Case{0, 0x8, 0x148}, Case{0, 0, 0x140}}) {
    gSeen.clear();
    window->ViewFlags = c.before;
    window->WalkFlags = 0x40000;
    EXPECT_EQ(Near(1'000'000, 1'000'000, c.includeSelected), 1u);
    ASSERT_EQ(gSeen.size(), 1u);
    EXPECT_EQ(gSeen[0].filter, c.during) << int(c.includeSelected);
    EXPECT_EQ(window->ViewFlags, c.before);
    EXPECT_EQ(window->WalkFlags, 0x40000u);
  }
}

TEST_F(ItemSearch, APcbWindowWithTheDisplayListDoesNotWalkTheDesign) {
  At(Type_Track, 1'000'000, 1'000'000, 1);
  window->editorKind = kEditorPcb;
  EXPECT_EQ(Near(1'000'000, 1'000'000, 1, 1), 0u);  // no display list: nothing painted
  EXPECT_TRUE(gSeen.empty());
  EXPECT_EQ(Near(1'000'000, 1'000'000, 1, 0), 1u);  // without it the design is walked
}

TEST_F(ItemSearch, TheClosestSymbolSearchVisitsOnlySymbolsAndSteps) {
  At(Type_Track, 1'000'000, 1'000'000, 9);
  At(kTypeSchematicSymbol, 1'000'000, 1'000'000, 1);
  At(Type_SymbolInstance, 1'000'000, 1'000'000, 2);
  At(163, 1'000'000, 1'000'000, 3);
  At(Type_SymbolInstance, 1'000'000, 1'000'000, 4);
  window->ViewFlags = 0x40;
  std::vector<std::uint32_t> picks;
  for (int i = 0; i < 5; ++i) picks.push_back(Tag(FindClosestSymbol(1'000'000, 1'000'000, 0)));
  // The design's children run by type code, the newest of a code first.
  EXPECT_EQ(picks, (std::vector<std::uint32_t>{1, 4, 2, 3, 1}));
  for (const Seen& s : gSeen) {
    EXPECT_NE(s.code, Type_Track);
    EXPECT_EQ(s.filter & (0x4000000u | 0x100u | 0x40u), 0x4000000u | 0x100u);
  }
  EXPECT_EQ(window->ViewFlags, 0x40u);
  EXPECT_EQ(Tag(FindClosestSymbol(1'060'000, 1'000'000, 1)), 0u);
  EXPECT_EQ(HitListTag(), 1u) << "a search that finds nothing keeps the last symbol";
}

}  // namespace
