#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "draw/draw_seams.h"
#include "draw/entity_drawing.h"
#include "draw/layer_drawing.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "objects/graphic_records.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "tests/geometry/raster_fixture.h"

// The plane clearance per layer the tests give, and the layers asked for.
namespace {
std::map<int, std::int32_t> g_clearances;
std::vector<int> g_clearanceLayers;
}  // namespace

std::int32_t GetPlaneClearance(const Tower*, std::uint8_t layer) {
  g_clearanceLayers.push_back(layer);
  auto it = g_clearances.find(layer);
  return it == g_clearances.end() ? 365760 : it->second;
}

namespace {

using geomtest::Plane;
using geomtest::PixelSet;
using pl3::g_raster;

constexpr std::uint32_t kTopBit = 0x1;
constexpr std::uint32_t kBottomBit = 0x2;
constexpr std::uint32_t kUnusedBit = 0x4;
constexpr std::uint8_t kUnusedLayer = 5;

// A PCB window with the top and bottom copper layers in use, each the
// other's opposite, and an unused inner layer 5.
struct Window {
  CurrentWindowData block{kEditorPcb};
  Window() {
    auto set = [&](std::uint8_t layer, std::uint32_t flags, std::uint32_t bit, std::uint8_t opposite) {
      LayerRecord& r = block.layerTable.layers[layer];
      r.flags = flags;
      r.planeBit = bit;
      r.oppositeLayer = opposite;
    };
    for (auto& r : block.layerTable.layers) r.oppositeLayer = kNoOppositeLayer;
    set(Layer_Top, kLayerPresent | kLayerVisible, kTopBit, Layer_Bottom);
    set(Layer_Bottom, kLayerPresent | kLayerVisible, kBottomBit, Layer_Top);
    set(kUnusedLayer, 0, kUnusedBit, kNoOppositeLayer);
    block.Zoom = 1;
    ActiveWindowData = &block;
    g_clearances.clear();
    g_clearanceLayers.clear();
  }
  ~Window() { ActiveWindowData = nullptr; }
};

pl3::TrackLayout Track(std::uint8_t layer, int x1, int y1, int x2, int y2, int width) {
  pl3::TrackLayout t{};
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.width = width;
  t.x1 = x1;
  t.y1 = y1;
  t.x2 = x2;
  t.y2 = y2;
  return t;
}

pl3::HoleLayout Hole(std::uint8_t first, std::uint8_t last, int size1, int size2) {
  pl3::HoleLayout h{};
  h.head.layer = first;
  h.head.spare = last;
  h.head.transform = pl3::kIdentityTransform;
  h.size1 = size1;
  h.size2 = size2;
  h.centreX = 21;
  h.centreY = 21;
  return h;
}

void Draw(const void* payload, std::uint16_t type, int pass = kDrawPassNormal) {
  DrawEntityByType(payload, type, &pl3::kIdentityTransform, pass);
}

std::map<std::uint32_t, int> ValueCounts(Plane& plane) {
  std::map<std::uint32_t, int> counts;
  for (int y = 0; y < plane.height; ++y)
    for (int x = 0; x < plane.width; ++x)
      if (plane.At(x, y)) ++counts[plane.At(x, y)];
  return counts;
}

void FillPlane(Plane& plane, std::uint32_t value) { std::fill(plane.words.begin(), plane.words.end(), value); }

TEST(LayerColour, EffectiveLayerByOverrideSideAndKind) {
  struct Case {
    const char* name;
    std::uint32_t kind;
    std::uint32_t stateFlags;
    std::uint32_t viewFlags;
    std::uint8_t override;
    std::uint8_t layer;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"own layer", kEditorPcb, 0, 0, 0, Layer_Top, kTopBit},
      {"other side", kEditorPcb, 0, kViewOtherSide, 0, Layer_Top, kBottomBit},
      {"override", kEditorPcb, kStateLayerOverride, 0, Layer_Bottom, Layer_Top, kBottomBit},
      {"override seen from the other side", kEditorPcb, kStateLayerOverride, kViewOtherSide, Layer_Bottom,
       Layer_Top, kTopBit},
      {"no opposite layer keeps its own", kEditorPcb, 0, kViewOtherSide, 0, kUnusedLayer, kUnusedBit},
      {"schematic colour class", kEditorSchematic, 0, kViewOtherSide, 0, 7, 7},
      {"symbol library colour class", kEditorSchematicSymbol, 0, 0, 0, 12, 12},
      {"single colour keeps the value", kEditorPcb, kStateSingleColour, 0, 0, Layer_Top, 0x820000},
  };
  for (const Case& c : cases) {
    Window w;
    w.block.editorKind = c.kind;
    w.block.StateFlags = c.stateFlags;
    w.block.ViewFlags = c.viewFlags;
    w.block.OverrideLayer = c.override;
    g_raster.fillValue = 0x820000;
    SetCurrentLayerColour(c.layer);
    EXPECT_EQ(g_raster.fillValue, c.expected) << c.name;
  }
}

TEST(LayerColour, NoActiveWindowChangesNothing) {
  ActiveWindowData = nullptr;
  g_raster.fillValue = 0x1234;
  SetCurrentLayerColour(Layer_Top);
  EXPECT_EQ(g_raster.fillValue, 0x1234u);
  EXPECT_EQ(GetVisibleLayerMask(1, 32, 0), 0u);
}

TEST(LayerMask, UsedLayersAndBackground) {
  Window w;
  w.block.BackgroundIndex = 0x100;
  EXPECT_EQ(GetVisibleLayerMask(1, 32, 0), 0x100u | kTopBit | kBottomBit);
  EXPECT_EQ(GetVisibleLayerMask(2, 31, 0), 0x100u);  // layer 5 is not used
  EXPECT_EQ(GetVisibleLayerMask(32, 32, 1), 0x100u | kBottomBit);
  std::uint32_t mask = 0x40;
  AddLayerToMask(mask, kUnusedLayer);
  EXPECT_EQ(mask, 0x40u);
  AddLayerToMask(mask, Layer_Bottom);
  EXPECT_EQ(mask, 0x40u | kBottomBit);
}

TEST(ImmediateDrawing, OtherSideViewPutsTopTrackInBottomPlane) {
  Window w;
  Plane plane(40, 40);
  auto track = Track(Layer_Top, 6, 21, 31, 21, 3);
  Draw(&track, 1);
  const auto own = ValueCounts(plane);
  ASSERT_EQ(own.size(), 1u);
  EXPECT_EQ(own.begin()->first, kTopBit);
  EXPECT_EQ(RasterFirstLayer, Layer_Top);

  plane.Clear();
  w.block.ViewFlags = kViewOtherSide;
  Draw(&track, 1);
  const auto flipped = ValueCounts(plane);
  ASSERT_EQ(flipped.size(), 1u);
  EXPECT_EQ(flipped.begin()->first, kBottomBit);
  EXPECT_EQ(flipped.begin()->second, own.begin()->second);
  EXPECT_EQ(RasterFirstLayer, Layer_Bottom);
  EXPECT_EQ(RasterLastLayer, Layer_Bottom);
}

TEST(ImmediateDrawing, OutlinedTracksVanishWhenZoomedOutPastTheLimit) {
  Window w;
  Plane plane(60, 60);
  auto track = Track(Layer_Top, 11, 31, 51, 31, 9);
  Draw(&track, 1);
  const std::size_t solid = plane.Lit().size();
  ASSERT_GT(solid, 0u);

  for (std::uint16_t type : {std::uint16_t{1}, std::uint16_t{37}}) {
    TypeDrawOptions[1] |= kTypeDrawOutlines;
    w.block.Zoom = kOutlineTrackZoomLimit;
    plane.Clear();
    Draw(&track, type);
    const std::size_t outlined = plane.Lit().size();
    EXPECT_GT(outlined, 0u) << type;
    EXPECT_LT(outlined, solid) << type;
    EXPECT_EQ(g_raster.trackOutlineMode, 0) << "outline mode put back";

    w.block.Zoom = kOutlineTrackZoomLimit + 1;
    plane.Clear();
    Draw(&track, type);
    EXPECT_TRUE(plane.Lit().empty()) << type;
  }
}

TEST(ImmediateDrawing, HoleWithOnlyTheCrossOptionDrawsOnlyTheCross) {
  Window w;
  Plane plane(40, 40);
  TypeDrawOptions[7] = kTypeDrawnByWalks | kTypeDrawCross;
  auto hole = Hole(Layer_Top, Layer_Bottom, 9, 5);
  Draw(&hole, 7);
  const PixelSet drawn = plane.Lit();
  const auto counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, kAllPlanes);

  plane.Clear();
  auto cross = hole;
  g_raster.fillValue = 1;
  pl3::DrawHoleCross(&cross, &pl3::kIdentityTransform);
  EXPECT_EQ(drawn, plane.Lit());
}

TEST(ImmediateDrawing, HolePadIsARingOrTheInnerDisc) {
  Window w;
  Plane plane(40, 40);
  TypeDrawOptions[7] = kTypeDrawPad;
  auto hole = Hole(Layer_Top, Layer_Bottom, 9, 5);
  Draw(&hole, 7);
  const auto ring = plane.Lit();
  EXPECT_EQ(ValueCounts(plane).begin()->first, kTopBit);
  EXPECT_EQ(ring.count({20, 20}), 0u) << "a ring leaves its centre";

  plane.Clear();
  Draw(&hole, 7, kDrawPassSymbolInner);
  EXPECT_EQ(plane.At(20, 20), kAllPlanes) << "pass 25 fills the inner disc in all planes";

  plane.Clear();
  Draw(&hole, 7, kDrawPassSymbolEdit);
  EXPECT_TRUE(plane.Lit().count({20, 20}) == 0) << "pass 24 without the second-size flag draws the ring";
  hole.flags = pl3::kHoleFromViaList;
  plane.Clear();
  Draw(&hole, 7, kDrawPassSymbolEdit);
  EXPECT_EQ(plane.At(20, 20), kTopBit) << "pass 24 keeps the layer bits";
}

TEST(ImmediateDrawing, HoleCutClearsOnlyTheUsedLayersOfItsSpan) {
  Window w;
  Plane plane(40, 40);
  FillPlane(plane, kTopBit | kBottomBit | kUnusedBit | 0x100);
  TypeDrawOptions[7] = kTypeDrawCut;
  auto hole = Hole(Layer_Top, 20, 9, 5);  // spans 1 to 20: the bottom layer is outside
  Draw(&hole, 7);
  EXPECT_EQ(plane.At(20, 20), kBottomBit | kUnusedBit | 0x100);
  EXPECT_EQ(plane.At(0, 0), kTopBit | kBottomBit | kUnusedBit | 0x100);
  EXPECT_EQ(g_raster.rasterOp, pl3::kRasterOr);
}

TEST(ImmediateDrawing, CutsAndHollowsClearBits) {
  Window w;
  Plane plane(40, 40);
  auto track = Track(Layer_Top, 6, 21, 31, 21, 4);
  struct Case {
    std::uint16_t type;
    std::uint16_t options;
    std::uint32_t centre;  // the word at the track's middle afterwards
  };
  const std::uint32_t start = 0x3FF;
  const Case cases[] = {
      {10, 0, start},                    // solid: ORs the top bit, already set
      {10, kTypeDrawCut, start & ~kTopBit},
      {11, kTypeDrawCut, start & ~0xFFu},
      {35, 0, start & ~kTopBit},         // always a cut
  };
  for (const Case& c : cases) {
    FillPlane(plane, start);
    TypeDrawOptions[c.type] = c.options;
    Draw(&track, c.type);
    EXPECT_EQ(plane.At(18, 20), c.centre) << c.type << " options " << c.options;
    EXPECT_EQ(plane.At(18, 35), start) << c.type;
    EXPECT_EQ(g_raster.rasterOp, pl3::kRasterOr) << c.type;
  }
}

TEST(ImmediateDrawing, ThinLinesUseAllPlanesExceptInTheSymbolPass) {
  Window w;
  Plane plane(40, 40);
  auto line = Track(Layer_Bottom, 6, 21, 31, 21, 7);
  Draw(&line, 23);
  auto counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, kAllPlanes);
  for (const auto& p : plane.Lit()) EXPECT_EQ(p.second, 20) << "one pixel wide, not the width of 7";
  plane.Clear();
  Draw(&line, 23, kDrawPassSymbolEdit);
  counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, kBottomBit);
}

TEST(ImmediateDrawing, BoardOutlineLineIsDashedInThePlane) {
  Window w;
  Plane plane(40, 10);
  auto line = Track(Layer_Top, 1, 6, 31, 6, 5);
  Draw(&line, 39);
  std::vector<std::uint32_t> row;
  for (int x = 0; x < 40; ++x)
    if (plane.At(x, 5)) row.push_back(plane.At(x, 5));
  ASSERT_GE(row.size(), 12u);
  EXPECT_EQ(row[0], kOutlineDashStart);
  std::map<std::uint32_t, int> seen;
  for (std::uint32_t v : row) ++seen[v];
  EXPECT_TRUE(seen.count(kOutlineDashFirst));
  EXPECT_TRUE(seen.count(kOutlineDashSecond));
  // After the first colour change the two colours take turns every three pixels.
  std::size_t firstChange = 1;
  while (firstChange < row.size() && row[firstChange] == row[0]) ++firstChange;
  for (std::size_t i = firstChange; i + 3 < row.size(); i += 3)
    EXPECT_NE(row[i], row[i + 3]) << "at " << i;
  EXPECT_EQ(plane.Lit().size(), row.size()) << "one pixel wide";
}

TEST(ImmediateDrawing, BoardOutlineInSymbolPassNeedsAUsedLayer) {
  Window w;
  Plane plane(40, 40);
  auto line = Track(Layer_Top, 6, 21, 31, 21, 0);
  Draw(&line, 39, kDrawPassSymbolEdit);
  EXPECT_FALSE(plane.Lit().empty());
  EXPECT_EQ(ValueCounts(plane).begin()->first, kAllPlanes);
  plane.Clear();
  w.block.layerTable.layers[Layer_Top].flags = 0;
  w.block.layerTable.layers[Layer_Bottom].flags = 0;
  Draw(&line, 39, kDrawPassSymbolEdit);
  EXPECT_TRUE(plane.Lit().empty());
}

TEST(ImmediateDrawing, ClearanceViewCutsTheGrownTrackFromItsLayer) {
  Window w;
  Plane plane(60, 60);
  auto track = Track(Layer_Top, 11, 31, 51, 31, 3);
  g_clearances[Layer_Top] = 6;
  TypeDrawOptions[1] |= kTypeDrawClearance;
  FillPlane(plane, kTopBit | kBottomBit);
  Draw(&track, 1);
  EXPECT_EQ(g_clearanceLayers, std::vector<int>{Layer_Top});
  EXPECT_EQ(plane.At(30, 30), kBottomBit);
  EXPECT_EQ(plane.At(30, 30 - 7), kBottomBit) << "grown by the clearance";
  EXPECT_EQ(plane.At(30, 30 - 12), kTopBit | kBottomBit);
  EXPECT_EQ(g_raster.rasterOp, pl3::kRasterOr);

  // From the other side the cut goes into the bottom plane, at its clearance.
  g_clearanceLayers.clear();
  g_clearances[Layer_Bottom] = 0;
  w.block.ViewFlags = kViewOtherSide;
  FillPlane(plane, kTopBit | kBottomBit);
  Draw(&track, 1);
  EXPECT_EQ(g_clearanceLayers, std::vector<int>{Layer_Bottom});
  EXPECT_EQ(plane.At(30, 30), kTopBit);
  EXPECT_EQ(plane.At(30, 30 - 7), kTopBit | kBottomBit);
}

TEST(ImmediateDrawing, TypesWithoutARowDrawNothing) {
  Window w;
  Plane plane(40, 40);
  auto track = Track(Layer_Top, 6, 21, 31, 21, 3);
  for (std::uint16_t type : {0, 12, 13, 25, 36, 48, 49 + 1, 300}) {
    Draw(&track, type);
    EXPECT_TRUE(plane.Lit().empty()) << type;
  }
  DrawEntityByType(nullptr, 1, nullptr, 0);
  EXPECT_TRUE(plane.Lit().empty());
}

TEST(ImmediateDrawing, DimensionersAndDatumsDrawThroughTheirOwnDrawers) {
  Window w;
  Plane plane(40, 40);
  plane.view.zoom = 100000;  // the 216,000-wide lines come out one or two pixels wide
  g_raster.viewFactor = pl3::ViewFactorForZoom(plane.view.zoom);
  DimensionerPayload d{};
  d.head.layer = Layer_Top;
  d.a = {600000, 1000000};
  d.b = {3000000, 1000000};
  d.c = {600000, 2500000};
  Draw(&d, Type_Dimensioner, 10);
  EXPECT_TRUE(plane.Lit().empty()) << "pass 10 draws the label alone";
  Draw(&d, Type_Dimensioner);
  EXPECT_EQ(plane.At(18, 25), kTopBit) << "the dimension line";
  EXPECT_EQ(plane.At(30, 18), kTopBit) << "the extension line from B";
  EXPECT_EQ(plane.At(18, 5), 0u);
  plane.Clear();
  Draw(&d, Type_AngleDimensioner);
  EXPECT_FALSE(plane.Lit().empty());

  plane.Clear();
  plane.view.zoom = 10000;  // a text size of 1: arms of 13 pixels
  g_raster.viewFactor = pl3::ViewFactorForZoom(plane.view.zoom);
  auto sizes = NewSizeTable();
  SizeEntry font{};
  font.flags = kSizeEntryOn;
  font.unit = kSizeUnitNone;
  font.value1 = 1;
  (*sizes)[SizeKind_Fonts].entries.push_back(font);
  w.block.sizeTable = sizes.get();
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  auto& datum = *reinterpret_cast<DatumPayload*>(bytes.data());
  datum.head.sizeFlags = 1;
  datum.x = 205000;  // pixel (20, 25)
  datum.y = 255000;
  Draw(&datum, Type_Datum);
  EXPECT_EQ(plane.At(20, 15), 0x820000u) << "the arm up, in the datum colour";
  EXPECT_EQ(plane.At(30, 25), 0x820000u) << "the arm to the right";
  w.block.sizeTable = nullptr;
}

TEST(ImmediateDrawing, BoxOutlineInAllPlanesOrSchematicClass) {
  Window w;
  Plane plane(40, 40);
  DrawBoxOutline({6, 6, 31, 21});
  auto counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, kAllPlanes);
  EXPECT_NE(plane.At(5, 12), 0u);
  EXPECT_NE(plane.At(29, 20), 0u);
  EXPECT_EQ(plane.At(15, 12), 0u) << "not filled";
  plane.Clear();
  w.block.editorKind = kEditorSchematic;
  DrawBoxOutline({6, 6, 31, 21});
  counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts.begin()->first, 25u);
}

}  // namespace
