// The shared editor routines: layer searches, the centred view origin and
// the helpers over point lists, records and store nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/editor_support.h"
#include "app/transform_inverse.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/new_documents.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

class LayerSearch : public testing::Test {
 protected:
  void SetUp() override {
    block = std::make_unique<CurrentWindowData>(kEditorPcb);
    ActiveWindowData = block.get();
    // A ring 1 -> 2 -> ... -> 6 -> 1 of copper layers.
    for (int i = 1; i <= 6; ++i) {
      Layer(i).kind = LayerKind_Copper;
      Layer(i).flags = kLayerSelectable;
      Layer(i).nextLayer = static_cast<std::uint8_t>(i == 6 ? 1 : i + 1);
    }
    Layer(0) = {};
    Layer(0).kind = LayerKind_Silkscreen;
    Layer(0).flags = kLayerSelectable;
  }
  void TearDown() override { ActiveWindowData = nullptr; }
  LayerRecord& Layer(int i) { return block->layerTable.layers[i]; }
  std::unique_ptr<CurrentWindowData> block;
};

TEST_F(LayerSearch, FirstLayerOfAKindIsTheFirstEnabledByIndex) {
  Layer(1).flags = 0;  // not enabled
  EXPECT_EQ(FindFirstLayerOfKind(9, LayerKind_Copper), 2u);
  EXPECT_EQ(FindFirstLayerOfKind(9, 0), 0u);
  EXPECT_EQ(FindFirstLayerOfKind(9, LayerKind_Mechanical), 0x109u);
}

TEST_F(LayerSearch, NextLayerFollowsTheLinksSkippingDisabledAndOtherKinds) {
  Layer(3).flags = 0;
  Layer(4).kind = LayerKind_Silkscreen;
  const struct {
    std::uint8_t from;
    std::uint32_t kind;
    std::uint8_t next;
  } cases[] = {{1, LayerKind_Copper, 2}, {2, LayerKind_Copper, 5}, {6, LayerKind_Copper, 1},
               {2, 0, 4},              {4, LayerKind_Silkscreen, 4}};
  for (const auto& c : cases)
    EXPECT_EQ(GetNextLayerOfKind(c.from, c.kind), c.next) << int(c.from) << " kind " << c.kind;
}

TEST_F(LayerSearch, LinksThatNeverReturnFallBackToTheFirstOfTheKind) {
  // 7 and 8 link to each other, away from 10; nothing on the way is enabled.
  Layer(10).nextLayer = 7;
  Layer(7).nextLayer = 8;
  Layer(8).nextLayer = 7;
  EXPECT_EQ(GetNextLayerOfKind(10, LayerKind_Copper), 1);
  // When the first of the kind is record 0, the layer the links reached
  // after 256 steps is taken.
  EXPECT_EQ(GetNextLayerOfKind(10, LayerKind_Silkscreen), 8);
}

TEST(CentredViewOrigin, CentresTheGlobalExtentsInTheClientArea) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                nullptr);
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  GlobalExtentsBox = {1000, 2000, 9000, 6000};
  const std::uint64_t origin = GetCentredViewOrigin(window, 10);
  EXPECT_EQ(static_cast<std::int32_t>(origin & 0xFFFFFFFFu), 500 - client.right / 2);
  EXPECT_EQ(static_cast<std::int32_t>(origin >> 32), 400 - client.bottom / 2);
  DestroyWindow(window);
}

TEST(CollinearPoint, TableOfNeighbourhoods) {
  const struct {
    std::vector<pl3::Point> points;
    std::uint32_t index;
    int collinear;
  } cases[] = {
      {{{0, 0}, {10, 10}, {20, 20}}, 1, 1},
      {{{0, 0}, {10, 10}, {20, 30}}, 1, 0},
      {{{5, 0}, {5, 10}, {5, 30}}, 1, 1},      // vertical both sides
      {{{5, 0}, {5, 10}, {9, 30}}, 1, 0},      // only the first side vertical
      {{{0, 0}, {10, 0}, {10, 10}}, 1, 0},     // only the second side vertical
      {{{0, 0}, {10, 10}, {20, 20}, {30, 30}}, 0, 1},  // wraps: neighbours 3 and 1
      {{{0, 0}, {10, -10}, {20, -20}}, 1, 1},  // falling: both differences wrap alike
      {{{0, 0}, {10, -10}, {20, 0}}, 1, 0},    // a V: unsigned differences keep the sides apart
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsCollinearPoint(c.points.data(), c.index, static_cast<std::uint32_t>(c.points.size())), c.collinear)
        << c.index;
}

TEST(CompareByFourKeys, FourthWordFirstThenTheOthersUnsigned) {
  const std::uint32_t a[4] = {9, 9, 9, 1}, b[4] = {1, 1, 1, 2};
  EXPECT_LT(CompareByFourKeys(a, b), 0);
  const std::uint32_t c[4] = {1, 5, 0, 7}, d[4] = {1, 4, 0xFFFFFFFF, 7};
  EXPECT_GT(CompareByFourKeys(c, d), 0);
  EXPECT_EQ(CompareByFourKeys(c, c), 0);
  std::vector<std::array<std::uint32_t, 4>> records = {{3, 0, 0, 2}, {1, 0, 0, 2}, {5, 0, 0, 1}};
  std::qsort(records.data(), records.size(), sizeof records[0], &CompareByFourKeys);
  EXPECT_EQ(records[0][0], 5u);
  EXPECT_EQ(records[1][0], 1u);
  EXPECT_EQ(records[2][0], 3u);
}

TEST(RemoveListEntry, LaterEntriesMoveDown) {
  std::uint8_t count = 3;
  std::uint8_t entries[24];
  for (int i = 0; i < 24; ++i) entries[i] = static_cast<std::uint8_t>(i / 8 + 1);
  RemoveListEntry(&count, entries, 1);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(entries[0], 1);
  EXPECT_EQ(entries[8], 3);
  EXPECT_EQ(entries[15], 3);
  RemoveListEntry(&count, entries, 5);  // past the end: nothing
  EXPECT_EQ(count, 2);
}

TEST(FindChildByTag, FindsTheNewestOfTheCodeAndNullForAMissingOneBetweenTwo) {
  towertest::EnsureStoreStarted();
  Tower* parent = towertest::NewTopLevelEntity(Type_PCB);
  towertest::InsertTagged(parent, 5, 50);
  towertest::InsertTagged(parent, 9, 90);
  Entity* newest = towertest::InsertTagged(parent, 9, 91);
  const Entity* node = TowerEntity(parent);
  EXPECT_EQ(FindChildByTag(node, 9), newest);
  EXPECT_EQ(towertest::TagOf(FindChildByTag(node, 5)), 50u);
  EXPECT_EQ(FindChildByTag(node, 7), nullptr);
  EXPECT_EQ(FindChildByTag(node, 12), nullptr);
  DeleteEntity(parent);
  ReleaseTower(&parent);
}

TEST(TextLikeSelection, LocatorsByKindAndPartAndTheTextLikeTypes) {
  towertest::EnsureStoreStarted();
  Tower* design = towertest::NewTopLevelEntity(Type_Schematic);
  const auto locator = [&](std::uint16_t kind) {
    LocatorPayload p{};
    p.kind = kind;
    return InsertEntity(design, sizeof p, Type_AttributeLocator, &p);
  };
  const struct {
    Tower* item;
    std::uint16_t part;
    std::uint8_t flags;
    int textLike;
  } cases[] = {
      {locator(3), 0, kSelectionPrimary, 1},  {locator(15), 7, kSelectionPrimary, 1},
      {locator(3), 1, kSelectionPrimary, 0},  {locator(2), 0, kSelectionPrimary, 0},
      {locator(3), 0, 0, 0},                  {InsertEntity(design, 4, Type_SymbolPin, "pin"), 0, kSelectionPrimary, 1},
      {InsertEntity(design, 4, Type_Track, "trk"), 0, kSelectionPrimary, 0},
  };
  for (const auto& c : cases) {
    SelectionInfo record{};
    record.flags = c.flags;
    record.grabbedPart = c.part;
    record.workingCopy = c.item;
    EXPECT_EQ(SelectionHasTextLikeItems(&record), c.textLike) << TowerEntity(c.item)->typeCode << " part " << c.part;
  }
  for (const auto& c : cases) {
    Tower* t = c.item;
    ReleaseTower(&t);
  }
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST(TypeAttributeTable, FillsWordsOneToAHundredOnly) {
  std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), 0);
  FillTypeAttributeTable(8);
  EXPECT_EQ(WalkTypeFlags[0], 0);
  EXPECT_EQ(WalkTypeFlags[1], 8);
  EXPECT_EQ(WalkTypeFlags[100], 8);
  EXPECT_EQ(WalkTypeFlags[101], 0);
}

TEST(ClearLayerTable, EmptiesTheCountAndEveryRecord) {
  auto table = std::make_unique<LayerTable>();
  table->copperCount = 32;
  table->layers[5].flags = 0xF;
  table->layers[5].kind = LayerKind_Copper;
  ClearLayerTable(*table);
  EXPECT_EQ(table->copperCount, 0u);
  EXPECT_EQ(table->layers[5].flags, 0u);
  EXPECT_EQ(table->layers[5].kind, 0);
  EXPECT_EQ(table->layers[130].planeBit, 3u);
}

}  // namespace

TEST(OffsetEntityOrigin, MovesThePointAtThePayloadStartAndLeavesShortPayloads) {
  towertest::EnsureStoreStarted();
  Tower* design = towertest::NewTopLevelEntity(Type_PCB);
  struct {
    std::int32_t x, y;
    std::uint16_t flags;
  } origin{1000, -2000, 7};
  Tower* node = InsertEntity(design, 10, Type_Origin, &origin);
  OffsetEntityOrigin(node, 250, -500);
  std::int32_t words[2];
  std::memcpy(words, EntityPayload(TowerEntity(node)), sizeof words);
  EXPECT_EQ(words[0], 1250);
  EXPECT_EQ(words[1], -2500);
  std::uint16_t flags;
  std::memcpy(&flags, EntityPayload(TowerEntity(node)) + 8, sizeof flags);
  EXPECT_EQ(flags, 7);

  // An entity without a payload has no point to move.
  Tower* empty = InsertEmptyEntity(design, Type_Origin);
  OffsetEntityOrigin(empty, 1, 1);
  EXPECT_EQ(TowerEntity(empty)->payloadSize, 0u);
  OffsetEntityOrigin(nullptr, 1, 1);
  ReleaseTower(&empty);
  ReleaseTower(&node);
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST(ReplaceRecordName, KeepsTheHeadAndTakesTheNewName) {
  auto* old = static_cast<std::uint8_t*>(std::malloc(kNamedRecordHeadSize + 3));
  for (std::uint32_t i = 0; i < kNamedRecordHeadSize; ++i) old[i] = static_cast<std::uint8_t>(i + 1);
  std::memcpy(old + kNamedRecordHeadSize, "A1", 3);
  void* record = old;
  ASSERT_EQ(ReplaceRecordName(&record, "PAD_LONGER_12"), 1);
  const auto* fresh = static_cast<const std::uint8_t*>(record);
  for (std::uint32_t i = 0; i < kNamedRecordHeadSize; ++i) ASSERT_EQ(fresh[i], i + 1) << i;
  EXPECT_STREQ(reinterpret_cast<const char*>(fresh + kNamedRecordHeadSize), "PAD_LONGER_12");
  ASSERT_EQ(ReplaceRecordName(&record, nullptr), 1);  // no name: an empty one
  EXPECT_STREQ(static_cast<const char*>(record) + kNamedRecordHeadSize, "");
  std::free(record);
  void* none = nullptr;
  EXPECT_EQ(ReplaceRecordName(&none, "X"), 0);
  EXPECT_EQ(none, nullptr);
}

TEST(ResetStandardTransforms, GivesTheActiveWindowTheIdentity) {
  auto block = std::make_unique<CurrentWindowData>(kEditorPcb);
  block->BaseTransform = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 500, 600};
  ActiveWindowData = block.get();
  ResetStandardTransforms();
  EXPECT_EQ(std::memcmp(&block->BaseTransform, &pl3::kIdentityTransform, sizeof(pl3::Transform)), 0);
  ActiveWindowData = nullptr;
  ResetStandardTransforms();  // no window: nothing to do
}

TEST(TransformInverses, AdjugateScaledByTheDeterminantAndTheUnscaledReverse) {
  constexpr std::int32_t one = pl3::kFixedOne;
  const struct {
    pl3::Transform source;
    pl3::Transform inverse;
    bool invertible;
  } cases[] = {
      {{0, one, -one, 0, 10, -20}, {0, -one, one, 0, -10, 20}, true},             // a quarter turn
      {{2 * one, 0, 0, 2 * one, 5, 6}, {one / 2, 0, 0, one / 2, -5, -6}, true},   // twice the size
      {{one, one, one, one, 1, 2}, pl3::kIdentityTransform, false},                // singular
  };
  for (const auto& c : cases) {
    pl3::Transform out{};
    EXPECT_EQ(pl3::InvertTransform(&c.source, &out), c.invertible);
    EXPECT_EQ(std::memcmp(&out, &c.inverse, sizeof out), 0) << out.a << " " << out.b << " " << out.c << " " << out.d;
  }
  // The reverse is not scaled, and the most negative word wraps to itself.
  const pl3::Transform doubled{2 * one, 3, INT_MIN, 2 * one, INT_MIN, 7};
  pl3::Transform* reverse = pl3::NewReverseTransform(&doubled);
  ASSERT_NE(reverse, nullptr);
  const pl3::Transform expected{2 * one, -3, INT_MIN, 2 * one, INT_MIN, -7};
  EXPECT_EQ(std::memcmp(reverse, &expected, sizeof expected), 0);
  std::free(reverse);
}

TEST(ClearToolMode, TheWindowReturnsToIdleKeepingItsAngleAssist) {
  auto block = std::make_unique<CurrentWindowData>(kEditorPcb);
  block->EditMode = 39;
  block->SubMode = 3;
  block->AngleAssist = 1;
  ActiveWindowData = block.get();
  ClearToolMode(nullptr);
  EXPECT_EQ(block->EditMode, 0);
  EXPECT_EQ(block->SubMode, 0);
  EXPECT_EQ(block->AngleAssist, 1);
  ActiveWindowData = nullptr;
  ClearToolMode(nullptr);  // no window: only the status bar
}
