#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "draw/display_builders.h"
#include "draw/draw_seams.h"
#include "draw/entity_drawing.h"
#include "draw/ghost_seams.h"
#include "draw/layer_drawing.h"
#include "draw/raster_callbacks.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "store/tower.h"
#include "tests/geometry/raster_fixture.h"

// Recording fakes of the drawers owned above: the wire drawer, the plane
// boxes and the ghosts (the centroid's plane drawing among them).
namespace {
std::vector<std::string> g_calls;
int g_planeBoxes = 1;  // 1: every layer has a plane everywhere; 0: none has one
}  // namespace

void DrawWireEntity(const void*, std::uint16_t type, const pl3::Transform*, int pass) {
  g_calls.push_back("wire " + std::to_string(type) + " pass " + std::to_string(pass));
}
int GetLayerPlaneBox(std::uint8_t, pl3::Box* box) {
  *box = pl3::Box{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  return g_planeBoxes;
}
void DrawCentroid(void* dc, const void*, const pl3::Transform*) {
  g_calls.push_back(dc ? "centroid ghost" : "centroid");
}
void GhostDatumEntity(void*, const void*) {}
void GhostDimensioner(void*, const void*) {}
void GhostAngleDimensioner(void*, const void*) {}
void DrawRatsnestLines(void*) {}

namespace {

using geomtest::Plane;
using geomtest::PixelSet;
using pl3::g_raster;

constexpr std::uint32_t kTopBit = 0x1;
constexpr std::uint32_t kBottomBit = 0x2;
constexpr std::uint32_t kUnusedBit = 0x4;
constexpr std::uint8_t kUnusedLayer = 5;

// A PCB window with the top and bottom copper layers in use, each the
// other's opposite, and an unused inner layer 5, showing a design whose
// plane clearance table the tests fill.
struct Window {
  CurrentWindowData block{kEditorPcb};
  Tower* design = towertest::NewTopLevelEntity(Type_PCB);
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
    block.design = design;
    ActiveWindowData = &block;
    g_calls.clear();
    g_planeBoxes = 1;
  }
  ~Window() {
    ActiveWindowData = nullptr;
    pl3::g_raster.currentEntity = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  // The design's clearance table: one entry per (layer, clearance).
  void Clearances(std::vector<std::pair<std::uint8_t, std::int32_t>> entries) {
    std::vector<std::uint8_t> bytes(sizeof(PlaneClearanceTable) + entries.size() * sizeof(PlaneClearanceEntry));
    PlaneClearanceTable head{0, static_cast<std::uint32_t>(entries.size())};
    std::memcpy(bytes.data(), &head, sizeof head);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      PlaneClearanceEntry e{entries[i].first, {}, entries[i].second};
      std::memcpy(bytes.data() + sizeof head + i * sizeof e, &e, sizeof e);
    }
    Tower* t = InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), kTypePlaneClearanceTable, bytes.data());
    ReleaseTower(&t);
  }
};

pl3::TrackLayout Track(std::uint8_t layer, int x1, int y1, int x2, int y2, int width) {
  return MakeTrackRecord(layer, {x1, y1}, {x2, y2}, width);
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

TEST(ImmediateDrawing, BoardOutlineArcIsDottedInThePlane) {
  Window w;
  Plane plane(60, 60);
  pl3::ArcLayout arc{};
  arc.head.layer = Layer_Top;
  arc.head.transform = pl3::kIdentityTransform;
  arc.radius = 20;
  arc.width = 5;
  arc.centreX = 31;
  arc.centreY = 31;
  arc.startX = 20;  // a half circle from the right end through the bottom
  arc.endX = -20;
  Draw(&arc, 38);
  const auto counts = ValueCounts(plane);
  ASSERT_EQ(counts.size(), 2u) << "one pixel wide, in the two dash codes";
  EXPECT_TRUE(counts.count(kOutlineDashFirst));
  EXPECT_TRUE(counts.count(kOutlineDashSecond));
  for (const auto& [x, y] : plane.Lit()) {
    const double d = std::hypot(x - 30.5, y - 30.5);
    EXPECT_NEAR(d, 20, 1.5) << x << "," << y;
  }
  EXPECT_EQ(plane.At(30, 10), 0u) << "the upper half is not swept";
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
  w.Clearances({{Layer_Top, 6}, {Layer_Bottom, 0}});
  TypeDrawOptions[1] |= kTypeDrawClearance;
  FillPlane(plane, kTopBit | kBottomBit);
  Draw(&track, 1);
  EXPECT_EQ(plane.At(30, 30), kBottomBit);
  EXPECT_EQ(plane.At(30, 30 - 7), kBottomBit) << "grown by the clearance";
  EXPECT_EQ(plane.At(30, 30 - 12), kTopBit | kBottomBit);
  EXPECT_EQ(g_raster.rasterOp, pl3::kRasterOr);

  // From the other side the cut goes into the bottom plane, at its clearance.
  w.block.ViewFlags = kViewOtherSide;
  FillPlane(plane, kTopBit | kBottomBit);
  Draw(&track, 1);
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

// A symbol (30) with its origin at x = 40 holding one item: the walk names
// the item as the entity being drawn.
struct MirroredSymbol {
  Tower* symbol;
  Tower* item = nullptr;
  MirroredSymbol(Window& w, const void* payload, std::uint32_t size, std::uint16_t type) {
    symbol = InsertEntity(w.design, 0, 30, nullptr);
    const std::int32_t origin[3] = {40, 0, 0};
    Tower* o = InsertEntity(symbol, sizeof origin, Type_Origin, origin);
    ReleaseTower(&o);
    item = InsertEntity(symbol, size, type, payload);
    g_raster.currentEntity = item;
    w.block.StateFlags |= kStateSymbolMirrored;
  }
  ~MirroredSymbol() {
    g_raster.currentEntity = nullptr;
    ReleaseTower(&item);
    ReleaseTower(&symbol);
  }
};

bool LitNear(Plane& plane, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (plane.At(x + dx, y + dy)) return true;
  return false;
}

TEST(ImmediateDrawing, MirroredSymbolReflectsItsItemsAboutItsOrigin) {
  Window w;
  Plane plane(90, 40);
  auto track = Track(Layer_Top, 6, 21, 16, 21, 1);
  pl3::CircleLayout circle{};
  circle.head.layer = Layer_Top;
  circle.head.transform = pl3::kIdentityTransform;
  circle.size = 3;
  circle.centreX = 11;
  circle.centreY = 31;
  struct Case {
    const char* name;
    const void* payload;
    std::uint32_t size;
    std::uint16_t type;
    int y;
  };
  for (const Case c : {Case{"track", &track, sizeof track, 1, 20}, Case{"circle", &circle, sizeof circle, 3, 30}}) {
    plane.Clear();
    Draw(c.payload, c.type);
    EXPECT_TRUE(LitNear(plane, 10, c.y)) << c.name << " unmirrored";
    plane.Clear();
    {
      MirroredSymbol symbol(w, c.payload, c.size, c.type);
      Draw(c.payload, c.type);
    }
    EXPECT_TRUE(LitNear(plane, 68, c.y)) << c.name << " at 2 x 40 - 11";
    EXPECT_FALSE(LitNear(plane, 10, c.y)) << c.name;
    w.block.StateFlags = 0;
  }
}

TEST(ImmediateDrawing, OwnTransformTurnsCirclesAboutItsTranslation) {
  Window w;
  Plane plane(60, 40);
  pl3::CircleLayout circle{};
  circle.head.layer = Layer_Top;
  // A half turn about (21, 21): the centre 10 to the right lands 10 to the left.
  circle.head.transform = {-pl3::kFixedOne, 0, 0, -pl3::kFixedOne, 21, 21};
  circle.size = 3;
  circle.centreX = 31;
  circle.centreY = 21;
  Draw(&circle, 3);
  EXPECT_TRUE(plane.At(10, 20));
  EXPECT_FALSE(LitNear(plane, 30, 20));
}

pl3::RectangleLayout Rectangle(std::uint8_t layer, Point a, Point b) {
  pl3::RectangleLayout r{};
  r.head.layer = layer;
  r.head.transform = pl3::kIdentityTransform;
  r.corners[0] = a;
  r.corners[1] = {b.x, a.y};
  r.corners[2] = b;
  r.corners[3] = {a.x, b.y};
  r.centreX = (a.x + b.x) / 2;
  r.centreY = (a.y + b.y) / 2;
  return r;
}

TEST(ImmediateDrawing, RectangleIsTurnedAboutItsCentreByItsOwnTransform) {
  Window w;
  Plane plane(50, 40);
  RectanglePayload rect{};
  rect.rect = Rectangle(Layer_Top, {11, 11}, {31, 21});  // 20 wide, 10 high, centre (21, 16)
  Draw(&rect, 6);
  EXPECT_TRUE(plane.At(13, 15));
  EXPECT_FALSE(plane.At(20, 24));
  plane.Clear();
  rect.rect.head.transform = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};  // a quarter turn
  Draw(&rect, 6);
  EXPECT_FALSE(plane.At(13, 15));
  EXPECT_TRUE(plane.At(20, 24)) << "now 10 wide and 20 high";
}

// A square polygon (11, 11) to (31, 31) with its two triangles stored.
std::vector<std::uint8_t> Square(std::uint8_t layer) {
  std::vector<std::uint8_t> bytes(kPolygonRoom, 0);
  auto* p = reinterpret_cast<pl3::PolygonLayout*>(bytes.data());
  p->head.layer = layer;
  p->head.transform = pl3::kIdentityTransform;
  p->count = 4;
  p->editIndex = 255;
  const Point points[4] = {{11, 11}, {31, 11}, {31, 31}, {11, 31}};
  std::memcpy(pl3::PolygonPoints(p), points, sizeof points);
  const std::uint8_t triangles[6] = {0, 1, 2, 0, 2, 3};
  std::memcpy(pl3::PolygonTriangles(p), triangles, sizeof triangles);
  return bytes;
}

TEST(ImmediateDrawing, PolygonsAreFilledAndKeepoutsOutlined) {
  Window w;
  Plane plane(50, 50);
  const auto square = Square(Layer_Top);
  struct Case {
    std::uint16_t type;
    bool filled;
  };
  for (const Case c : {Case{4, true}, Case{8, true}, Case{9, true}, Case{41, false}, Case{44, false}}) {
    plane.Clear();
    Draw(square.data(), c.type);
    EXPECT_EQ(plane.At(20, 20) != 0, c.filled) << c.type;
    EXPECT_TRUE(LitNear(plane, 20, 10)) << c.type << " reaches its edge";
  }
}

TEST(ImmediateDrawing, ClearanceOfPolygonsRectanglesAndPlatedHolesOnly) {
  Window w;
  Plane plane(60, 60);
  w.Clearances({{Layer_Top, 4}});
  const std::uint32_t full = kTopBit | kBottomBit;
  // A polygon's clearance is its outline drawn with the clearance as pen
  // width: the band round each edge is cut, the inside kept.
  const auto square = Square(Layer_Top);
  TypeDrawOptions[4] = kTypeDrawClearance;
  FillPlane(plane, full);
  Draw(square.data(), 4);
  EXPECT_EQ(plane.At(20, 12), kBottomBit) << "near the edge";
  EXPECT_EQ(plane.At(20, 20), full) << "the inside";
  EXPECT_EQ(plane.At(20, 4), full) << "beyond the band";

  // A rectangle is grown by the clearance.
  RectanglePayload rect{};
  rect.rect = Rectangle(Layer_Top, {21, 21}, {41, 31});
  TypeDrawOptions[6] = kTypeDrawClearance;
  FillPlane(plane, full);
  Draw(&rect, 6);
  EXPECT_EQ(plane.At(30, 25), kBottomBit);
  EXPECT_EQ(plane.At(30, 17), kBottomBit) << "grown";
  EXPECT_EQ(plane.At(30, 14), full);

  // A hole that is not plated draws as a hole (its pad), plated ones cut.
  TypeDrawOptions[7] = kTypeDrawClearance | kTypeDrawPad;
  auto hole = Hole(Layer_Top, Layer_Top, 5, 3);
  plane.Clear();
  Draw(&hole, 7);
  EXPECT_FALSE(plane.Lit().empty()) << "a non-plated hole is drawn";
  hole.flags = kHoleQuartered;
  FillPlane(plane, full);
  Draw(&hole, 7);
  EXPECT_EQ(plane.At(20, 20 - 7), kBottomBit) << "a plated hole cuts its size plus the clearance";
}

TEST(ImmediateDrawing, ClearanceIsDrawnOnlyWhereAPlaneIsUnlessARegionIsRendered) {
  Window w;
  Plane plane(60, 60);
  auto track = Track(Layer_Top, 11, 31, 51, 31, 3);
  TypeDrawOptions[1] = kTypeDrawClearance;
  g_planeBoxes = 0;
  FillPlane(plane, kTopBit);
  Draw(&track, 1);
  EXPECT_EQ(plane.At(30, 30), kTopBit) << "no plane on the layer: nothing cut";
  w.block.ViewFlags = kViewRegionRender;
  Draw(&track, 1);
  EXPECT_EQ(plane.At(30, 30), 0u) << "a region render cuts regardless";
}

TEST(ImmediateDrawing, CentroidsWiresAndBusesGoToTheirOwners) {
  Window w;
  Plane plane(20, 20);
  std::uint8_t payload[kLargestPayloadRoom] = {};
  Draw(payload, 18);
  EXPECT_TRUE(g_calls.empty()) << "no centroid marker in PCB windows";
  w.block.editorKind = kEditorPcbSymbol;
  Draw(payload, 18);
  Draw(payload, 28, kDrawPassSymbolEdit);
  Draw(payload, 29);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"centroid", "wire 28 pass 24", "wire 29 pass 0"}));
}

TEST(ImmediateDrawing, TrackItemIsDrawnSolidUnderThePlacement) {
  Window w;
  Plane plane(60, 40);
  TypeDrawOptions[1] |= kTypeDrawOutlines;  // solid whatever the track option
  auto track = Track(Layer_Bottom, 6, 11, 26, 11, 3);
  Tower* item = InsertEntity(w.design, sizeof track, Type_Track, &track);
  w.block.PlacementTransform.tx = 20;
  w.block.PlacementTransform.ty = 10;
  DrawTrackItem(item);
  ReleaseTower(&item);
  EXPECT_EQ(plane.At(35, 20), kBottomBit);
  EXPECT_EQ(plane.At(15, 10), 0u);
  EXPECT_EQ(pl3::CurrentDrawColour, kBottomBit) << "the layer's colour is the drawing colour";
}

}  // namespace
