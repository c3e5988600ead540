#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "edit/editing_seams.h"
#include "edit/window_data.h"
#include "objects/layer_sets.h"
#include "objects/layer_table.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"

// The editing engine's layer walks over a table of used layers: a move empties
// its source and fills its target.
namespace {
std::set<int> gUsedLayers;
std::vector<std::pair<int, int>> gMoves;
void ResetFakes() {
  gUsedLayers.clear();
  gMoves.clear();
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

int IsLayerInUse(std::uint8_t layer) { return gUsedLayers.count(layer) ? 1 : 0; }
int MoveLayerItems(std::uint8_t from, std::uint8_t to) {
  gMoves.emplace_back(from, to);
  gUsedLayers.erase(from);
  gUsedLayers.insert(to);
  return 1;
}

namespace {

constexpr std::uint32_t kOn = kLayerVisible | kLayerPresent | kLayerSelectable;

std::vector<int> PresentCopper(const LayerTable& t) {
  std::vector<int> layers;
  for (int n = 0; n < 256; ++n)
    if (t.layers[n].kind == LayerKind_Copper && (t.layers[n].flags & kLayerPresent)) layers.push_back(n);
  return layers;
}

LayerTable PcbWithCopper(std::uint32_t n) {
  LayerTable t{};
  BuildDefaultLayerTable(t, kEditorPcb);
  ApplyCopperLayerCount(t, n);
  return t;
}

TEST(LayerSets, DefaultSetsByEditorKind) {
  struct Case {
    std::uint32_t kind;
    std::uint32_t copperCount;
    std::vector<int> copper;
    bool silkscreens;
    std::vector<int> otherPresent;
    std::vector<int> absent;
  };
  std::vector<int> pcbCopper;
  for (int n = 1; n <= 32; ++n) pcbCopper.push_back(n);
  const Case cases[] = {
      {kEditorPcb, 32, pcbCopper, true, {34, 35, 36, 37, 38, 39, 40, 71, 129, 130}, {72}},
      {kEditorShape, 1, {1}, false, {}, {0, 32, 33, 34, 36, 40, 129}},
      {kEditorPcbSymbol, 3, {1, 2, 32}, true, {34, 35, 36, 37, 38, 39, 40, 71}, {3, 129, 130}},
      {kEditorPadStack, 3, {1, 2, 32}, false, {34, 35, 36, 129}, {0, 33, 37, 38, 40, 130}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    LayerTable t{};
    BuildDefaultLayerTable(t, c.kind);
    EXPECT_EQ(t.copperCount, c.copperCount);
    EXPECT_EQ(PresentCopper(t), c.copper);
    EXPECT_EQ((t.layers[0].flags & kLayerPresent) != 0, c.silkscreens);
    EXPECT_EQ((t.layers[33].flags & kLayerPresent) != 0, c.silkscreens);
    for (int layer : c.otherPresent) EXPECT_TRUE(t.layers[layer].flags & kLayerPresent) << layer;
    for (int layer : c.absent) EXPECT_FALSE(t.layers[layer].flags & kLayerPresent) << layer;
  }
}

TEST(LayerSets, PcbMasksAreHiddenAndGlueCannotBeChosen) {
  LayerTable t{};
  BuildDefaultLayerTable(t, kEditorPcb);
  for (int n = 34; n <= 37; ++n) {
    EXPECT_FALSE(t.layers[n].flags & kLayerVisible) << n;
    EXPECT_TRUE(t.layers[n].flags & kLayerSelectable) << n;
  }
  for (int n = 38; n <= 39; ++n) EXPECT_EQ(t.layers[n].flags & (kLayerVisible | kLayerSelectable), 0u) << n;
  EXPECT_STREQ(t.layers[129].name, "Plated Slot");
  EXPECT_STREQ(t.layers[130].name, "Non Plated Slot");
  EXPECT_EQ(t.layers[1].oppositeLayer, 32);
  EXPECT_EQ(t.layers[36].oppositeLayer, 37);
  EXPECT_NE(t.layers[1].letter, 0);
}

TEST(LayerSets, SymbolCopperAndMasksCannotBeChosenButStayVisible) {
  LayerTable t{};
  BuildDefaultLayerTable(t, kEditorPcbSymbol);
  for (int n : {1, 2, 32, 34, 35, 36, 37}) {
    EXPECT_FALSE(t.layers[n].flags & kLayerSelectable) << n;
    EXPECT_TRUE(t.layers[n].flags & kLayerVisible) << n;
  }
  EXPECT_EQ(t.layers[1].oppositeLayer, 32);
}

TEST(LayerSets, ShapeHasOneLayerThatIsTopAndBottom) {
  LayerTable t{};
  BuildDefaultLayerTable(t, kEditorShape);
  EXPECT_EQ(t.layers[1].flags, 15u);
  EXPECT_EQ(t.layers[1].kind, LayerKind_Copper);
  EXPECT_EQ(t.layers[1].planeBit, 1u);
  EXPECT_EQ(t.layers[1].nextLayer, 1);
  EXPECT_STREQ(t.layers[1].name, "Shape Layer");
  int present = 0;
  for (const LayerRecord& r : t.layers)
    if (r.flags & kLayerPresent) ++present;
  EXPECT_EQ(present, 1);
}

TEST(LayerSets, ReducingMovesEachLayerToTheFirstFreeOneChosenAfterThePreviousMove) {
  struct Case {
    std::set<int> used;
    std::vector<std::pair<int, int>> moves;
  };
  const Case cases[] = {
      {{1, 4, 5}, {{4, 2}, {5, 3}}},
      {{1, 3, 4, 5}, {{4, 2}, {5, 32}}},
      {{1, 2, 3, 32}, {}},
  };
  for (const Case& c : cases) {
    pl3::ResetGlobalStateForTests();
    LayerTable t = PcbWithCopper(6);
    gUsedLayers = c.used;
    pl3::PushButtonAnswer(IDYES);
    ASSERT_EQ(SetCopperLayerCount(t, 4, kEditorPcb, 0), 1);
    EXPECT_EQ(gMoves, c.moves);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Change Number Of Layers");
    EXPECT_EQ(PresentCopper(t), (std::vector<int>{1, 2, 3, 32}));
    EXPECT_EQ(t.copperCount, 4u);
    for (int n = 4; n <= 31; ++n) EXPECT_EQ(t.layers[n].flags & kOn, 0u) << n;
  }
}

TEST(LayerSets, TooManyLayersWithCopperIsRefusedWithoutQuestion) {
  LayerTable t = PcbWithCopper(6);
  const LayerTable before = t;
  gUsedLayers = {1, 4, 32};
  EXPECT_EQ(SetCopperLayerCount(t, 2, kEditorPcb, 0), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Invalid Number Of Layers");
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "You must specify a number of layers greater than the layers currently containing placed copper");
  EXPECT_TRUE(gMoves.empty());
  EXPECT_EQ(std::memcmp(&t, &before, sizeof t), 0);
}

TEST(LayerSets, AnswerNoLeavesTableAndDesignAlone) {
  LayerTable t = PcbWithCopper(6);
  const LayerTable before = t;
  gUsedLayers = {5};
  pl3::PushButtonAnswer(IDNO);
  EXPECT_EQ(SetCopperLayerCount(t, 4, kEditorPcb, 0), 0);
  EXPECT_TRUE(gMoves.empty());
  EXPECT_EQ(std::memcmp(&t, &before, sizeof t), 0);
}

TEST(LayerSets, RaisingOrInitialOrOtherKindsAskNothing) {
  gUsedLayers = {1, 2, 3, 4, 5, 32};
  LayerTable t = PcbWithCopper(4);
  EXPECT_EQ(SetCopperLayerCount(t, 8, kEditorPcb, 0), 1);
  EXPECT_EQ(PresentCopper(t), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 32}));
  t = PcbWithCopper(8);
  EXPECT_EQ(SetCopperLayerCount(t, 2, kEditorPcb, 1), 1);
  EXPECT_EQ(PresentCopper(t), (std::vector<int>{1, 32}));
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_TRUE(gMoves.empty());
}

TEST(LayerSets, OneLayerKeepsLayerOneAndTakesTheBottomCopper) {
  LayerTable t = PcbWithCopper(2);
  gUsedLayers = {32};
  pl3::PushButtonAnswer(IDYES);
  ASSERT_EQ(SetCopperLayerCount(t, 1, kEditorPcb, 0), 1);
  EXPECT_EQ(gMoves, (std::vector<std::pair<int, int>>{{32, 1}}));
  EXPECT_EQ(PresentCopper(t), std::vector<int>{1});
  EXPECT_EQ(t.layers[1].flags & kOn, kOn);
}

}  // namespace
