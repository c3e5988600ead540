#include "edit/insertion_array.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "draw/ghost_seams.h"
#include "draw/ghosts.h"
#include "edit/edit_modes.h"
#include "edit/selection.h"
#include "geometry/transform.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/placed_item_records.h"
#include "objects/window_state.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "store/scratch_entity.h"
#include "tests/draw/display_fixture.h"

// The ratsnest as the ghosts draw it. The lines follow the moving points,
// which follow the ghost's point: the fake XOR-toggles the ghost point of
// each drawing of the lines, and the ends of each instance at its point.
namespace {
std::set<std::pair<std::int32_t, std::int32_t>> g_linesShown;
std::vector<std::pair<const Tower*, pl3::Point>> g_ratsnestEnds;
void Toggle(std::set<std::pair<std::int32_t, std::int32_t>>& shown, pl3::Point p) {
  const auto key = std::make_pair(p.x, p.y);
  if (!shown.erase(key)) shown.insert(key);
}
// What the window's flags were while the instance's ends were drawn.
std::uint32_t g_stateAtEnds = 0, g_viewAtEnds = 0;
}  // namespace
void DrawRatsnestLines(void*) { Toggle(g_linesShown, InsertionGhostPoint); }
void DrawInstanceRatsnestEnds(void*, const Tower* instance, pl3::Point at) {
  g_ratsnestEnds.emplace_back(instance, at);
  g_stateAtEnds = ActiveWindowData->StateFlags;
  g_viewAtEnds = ActiveWindowData->ViewFlags;
}

namespace {

using displaytest::Track;

constexpr std::int32_t kOriginX = 500000, kOriginY = 600000;

pl3::Transform Shift(std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = tx;
  t.ty = ty;
  return t;
}
NodeRef RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }
struct Origin {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

EntityRecord& Record(const CurrentWindowData& w, std::uint32_t i) {
  return *static_cast<EntityRecord*>(w.Insertion[i]);
}

std::vector<const Entity*> Children(const Tower* parent, std::uint16_t code) {
  std::vector<const Entity*> out;
  Tower* t = GetChildTower(parent, code);
  while (t && FindNextEntity(t)) out.push_back(TowerEntity(t));
  ReleaseTower(&t);
  return out;
}

// A 120-pixel square surface, black, with every colour index but 0 white,
// that the window's ghosts draw into at 1,000 world units a pixel.
struct GhostSurface {
  static constexpr int kSize = 120;
  explicit GhostSurface(CurrentWindowData& w) : window(w) {
    for (std::uint32_t i = 1; i < colours.size(); ++i) colours[i] = 0xFFFFFF;
    dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kSize, kSize});
    w.ColourTable = colours.data();
    w.Zoom = 1000;
    w.ViewOriginX = w.ViewOriginY = 0;
  }
  ~GhostSurface() {
    pl3::g_raster.clip = nullptr;
    pl3::DeleteSurfaceDC(dc);
    window.ColourTable = nullptr;
  }
  GhostSurface(const GhostSurface&) = delete;
  GhostSurface& operator=(const GhostSurface&) = delete;
  CurrentWindowData& window;
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kSize * kSize, 0);
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536, 0);
  pl3::PixelSurface surface{pixels.data(), kSize, kSize, kSize};
  pl3::ViewClip clip{0, 0, kSize - 1, kSize - 1, kSize, kSize};
  HDC dc = nullptr;
};

// A PCB window over a design holding a Symbol Definition whose origin is
// (500,000, 600,000) and whose body is tracks on the top layer.
class InsertionArray : public displaytest::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    RegisterInsertionWalkHandlers();
    definition = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
    Add(definition, Type_Origin, Origin{kOriginX, kOriginY, 0, 0});
    window->TopLayer = Layer_Top;
    window->BottomLayer = Layer_Bottom;
    pl3::ClearResponderRecords();
    g_linesShown.clear();
    g_ratsnestEnds.clear();
  }
  void TearDown() override {
    FreeInsertionArray(*window);
    ReleaseTower(&window->Selection);
    FreeGridInfo(window->Grids);  // made by the first snap
    window->Grids = nullptr;
    DisplayTest::TearDown();
  }
  void AddTracks(const Tower* parent, int n) {
    for (int i = 0; i < n; ++i) Add(parent, Type_Track, Track(Layer_Top, 1000 * i, 0, 1000 * i + 500, 0, 0));
  }
  Tower* Instance(const pl3::Transform& placement, std::uint32_t flags = 0) {
    Tower* instance = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
    const SymbolInstanceInfo info{flags, RefOf(definition)};
    Add(instance, Type_SymbolInstanceInfo, info);
    Add(instance, Type_Transform, placement);
    return instance;
  }
  // The held item's origin where the placement puts it, relative to the cursor.
  pl3::Point OriginUnderCursor() const {
    pl3::Point p = window->InsertionOrigin;
    pl3::TransformPoint(&window->InsertionTransform, p.x, p.y);
    return p;
  }
  Tower* definition = nullptr;
};

TEST_F(InsertionArray, APrimitiveFillsItselfUnderTheTransform) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 10, 20, 30, 40, 0));
  const pl3::Transform t = Shift(7, 9);
  EXPECT_EQ(FillInsertionArray(track, &t, 1, nullptr), 1u);
  EntityRecord& r = Record(*window, 0);
  EXPECT_EQ(r.header.recordType, Type_Track);
  EXPECT_EQ(r.header.transform.tx, 7);
  EXPECT_EQ(r.header.transform.ty, 9);
  EXPECT_EQ(r.as<LinePayload>().x2, 30);
}

TEST_F(InsertionArray, ADefinitionFillsEveryPrimitiveAndFreeOldDecidesWhetherTheOldRecordsGo) {
  AddTracks(definition, 3);
  EXPECT_EQ(FillInsertionArray(definition, &pl3::kIdentityTransform, 1, nullptr), 3u);
  EXPECT_EQ(FillInsertionArray(definition, &pl3::kIdentityTransform, 0, nullptr), 6u);
  EXPECT_EQ(FillInsertionArray(definition, &pl3::kIdentityTransform, 1, nullptr), 3u);
  std::vector<std::int32_t> starts;
  for (std::uint32_t i = 0; i < 3; ++i) starts.push_back(Record(*window, i).as<LinePayload>().x1);
  std::sort(starts.begin(), starts.end());
  EXPECT_EQ(starts, (std::vector<std::int32_t>{0, 1000, 2000}));
}

TEST_F(InsertionArray, TheGhostStopsAt1024RecordsWhileACopyWithAParentTakesTheWholeItem) {
  AddTracks(definition, 1030);
  EXPECT_EQ(FillInsertionArray(definition, &pl3::kIdentityTransform, 1, nullptr), 1024u);
  for (std::uint32_t i = 0; i < 1024; ++i) ASSERT_NE(window->Insertion[i], nullptr);

  Tower* parent = Own(InsertEmptyEntity(GetTemporaryCopyRoot(), Type_Temporary));
  const pl3::Transform t = Shift(100, 0);
  EXPECT_EQ(FillInsertionArray(definition, &t, 0, parent), 1024u);  // the array is left alone
  const std::vector<const Entity*> copies = Children(parent, Type_Track);
  ASSERT_EQ(copies.size(), 1030u);
  std::vector<std::int32_t> starts;
  for (const Entity* e : copies) starts.push_back(reinterpret_cast<const LinePayload*>(EntityPayload(e))->x1);
  EXPECT_EQ(*std::min_element(starts.begin(), starts.end()), 100);  // moved by the transform
  EXPECT_EQ(InsertionGhostingParent, nullptr);
}

TEST_F(InsertionArray, ALeftoverParentIsReportedAndDeletedAndTheFillGoesOn) {
  AddTracks(definition, 2);
  Tower* stale = InsertEmptyEntity(GetTemporaryCopyRoot(), Type_Temporary);
  AddTracks(stale, 1);
  InsertionGhostingParent = stale;
  EXPECT_EQ(FillInsertionArray(definition, &pl3::kIdentityTransform, 1, nullptr), 2u);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Internal Error - InsertionGhostingParent still exists");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "FillInsertionArray");
  EXPECT_TRUE(Children(GetTemporaryCopyRoot(), Type_Temporary).empty());
  EXPECT_EQ(InsertionGhostingParent, nullptr);
}

TEST_F(InsertionArray, AnInstanceFillsFromItsDefinitionAndWhatIsNoInstanceFillsNothing) {
  AddTracks(definition, 2);
  Tower* placed = Instance(Shift(0, 0));
  window->InsertionCount = 0;
  EXPECT_EQ(FillInsertionArrayFromInstance(placed, &pl3::kIdentityTransform, nullptr), 1);
  EXPECT_EQ(window->InsertionCount, 2u);
  EXPECT_EQ(window->WalkParent, nullptr);  // the held instance is put back

  Tower* orphan = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));  // no info
  EXPECT_EQ(FillInsertionArrayFromInstance(orphan, &pl3::kIdentityTransform, nullptr), 0);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 0, 0, 1, 1, 0));
  EXPECT_EQ(FillInsertionArrayFromInstance(track, &pl3::kIdentityTransform, nullptr), 0);
  EXPECT_EQ(window->InsertionCount, 2u);
}

TEST_F(InsertionArray, APlacedSymbolCopiesUnderATemporaryNodeWithItsOriginAtZero) {
  AddTracks(definition, 1);
  pl3::Transform placement = pl3::R90;
  placement.tx = 2000000;
  placement.ty = 3000000;
  Tower* placed = Instance(placement);
  window->BlockOrigin = {50, 60};
  Tower* copy = Own(CopySymbolToInsertion(placed, {150, 260}));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(TowerEntity(copy)->typeCode, Type_Temporary);
  // The linear part is the placement's; the translation takes the turned origin to 0.
  const auto* t = static_cast<const pl3::Transform*>(GetEntityData(copy, Type_Transform));
  ASSERT_NE(t, nullptr);
  pl3::Point origin{kOriginX, kOriginY};
  pl3::TransformPoint(t, origin.x, origin.y);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(t->a, pl3::R90.a);
  EXPECT_EQ(t->b, pl3::R90.b);
  const auto* offset = static_cast<const std::int32_t*>(GetEntityData(copy, Type_Offset));
  ASSERT_NE(offset, nullptr);
  EXPECT_EQ(offset[0], 100);
  EXPECT_EQ(offset[1], 200);
  const std::vector<const Entity*> tracks = Children(copy, Type_Track);
  ASSERT_EQ(tracks.size(), 1u);
  const auto* line = reinterpret_cast<const LinePayload*>(EntityPayload(tracks[0]));
  pl3::Point end{500, 0};
  pl3::TransformPoint(t, end.x, end.y);
  EXPECT_EQ(line->x2, end.x);
  EXPECT_EQ(line->y2, end.y);
  EXPECT_EQ(window->InsertionCount, 0u);
}

TEST_F(InsertionArray, ACopyOfAnItemWithoutTransformIsRefused) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  Add(placed, Type_SymbolInstanceInfo, SymbolInstanceInfo{0, RefOf(definition)});
  EXPECT_EQ(CopySymbolToInsertion(placed, {0, 0}), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error retrieving transform");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "CopySymbolToInsertion");
}

TEST_F(InsertionArray, PlacingAnItemHoldsItWithItsOriginUnderTheCursor) {
  AddTracks(definition, 2);
  window->RoutingLayer = Layer_Bottom;
  ASSERT_EQ(BeginPlacingItem(nullptr, nullptr, definition), 1);
  EXPECT_EQ(RefOf(window->Selection), RefOf(definition));
  EXPECT_EQ(window->InsertionCount, 2u);
  EXPECT_EQ(window->InsertionOrigin.x, kOriginX);
  EXPECT_EQ(OriginUnderCursor().x, 0);
  EXPECT_EQ(OriginUnderCursor().y, 0);
  EXPECT_EQ(window->RoutingLayer, Layer_Top);
}

TEST_F(InsertionArray, TurningWhilePlacingKeepsTheOriginUnderTheCursor) {
  ASSERT_EQ(BeginPlacingItem(nullptr, nullptr, definition), 1);
  for (std::uint8_t mode : {Mode_NewSymbol, Mode_EditSymbol, Mode_AddNewShape, Mode_PlaceShape}) {
    window->EditMode = mode;
    for (int direction : {1, 1, 0, 1}) {
      EXPECT_EQ(RotateInsertion(nullptr, nullptr, {0, 0}, direction), 1);
      EXPECT_EQ(OriginUnderCursor().x, 0) << int(mode);
      EXPECT_EQ(OriginUnderCursor().y, 0) << int(mode);
    }
  }
  window->EditMode = Mode_NewSymbol;
  window->InsertionTransform = pl3::kIdentityTransform;
  RecentreInsertion();
  RotateInsertion(nullptr, nullptr, {0, 0}, 1);
  EXPECT_EQ(window->InsertionTransform.a, InsertionRotationSteps[0].a);
  EXPECT_EQ(window->InsertionTransform.b, InsertionRotationSteps[0].b);
  const pl3::Transform half = pl3::R180;
  RotateInsertionBy(nullptr, nullptr, {0, 0}, &half);
  EXPECT_EQ(OriginUnderCursor().x, 0);
  EXPECT_EQ(window->InsertionTransform.a, pl3::R270.a);
}

// The label of a dimensioner being placed: a step turns it about its own
// point; a given transform is composed whole, translation too. Neither
// counts as a turn of the item (0).
TEST_F(InsertionArray, ADimensionerLabelTurnsAboutItsPoint) {
  for (std::uint8_t mode : {Mode_AddNewDimensionerText, Mode_AddNewAngleDimensionerText}) {
    window->EditMode = mode;
    auto record = NewEntityRecord();
    record->header.recordType = mode == Mode_AddNewDimensionerText ? Type_Dimensioner : Type_AngleDimensioner;
    EntityRecord* slot = record.get();
    pl3::Transform& label = record->as<DimensionerPayload>().labelTransform;
    label = pl3::kIdentityTransform;
    label.tx = 7000;
    label.ty = 9000;
    EXPECT_EQ(RotateInsertion(nullptr, &slot, {0, 0}, 1), 0);
    EXPECT_EQ(label.a, InsertionRotationSteps[0].a) << int(mode);
    EXPECT_EQ(label.b, InsertionRotationSteps[0].b);
    EXPECT_EQ(label.tx, 7000) << "the step keeps the label's point";
    EXPECT_EQ(label.ty, 9000);
    pl3::Transform moved = pl3::R180;
    moved.tx = 100;
    moved.ty = 200;
    const pl3::Transform before = label;
    EXPECT_EQ(RotateInsertionBy(nullptr, &slot, {0, 0}, &moved), 0);
    pl3::Transform expected = before;
    pl3::ComposeTransform(&expected, &moved);
    EXPECT_EQ(std::memcmp(&label, &expected, sizeof label), 0);
    EXPECT_NE(label.tx, before.tx) << "a given transform moves the label too";
  }
}

TEST_F(InsertionArray, TwoFlipsRestoreTheSideAndTheLayer) {
  ASSERT_EQ(BeginPlacingItem(nullptr, nullptr, definition), 1);
  window->EditMode = Mode_NewSymbol;
  const pl3::Transform before = window->InsertionTransform;
  FlipInsertion(nullptr, nullptr);
  EXPECT_NE(window->ViewFlags & kViewDrawOtherSide, 0u);
  EXPECT_EQ(window->RoutingLayer, Layer_Bottom);
  EXPECT_EQ(window->InsertionTransform.a, -before.a);  // mirrored
  EXPECT_EQ(OriginUnderCursor().x, 0);
  FlipInsertion(nullptr, nullptr);
  EXPECT_EQ(window->ViewFlags & kViewDrawOtherSide, 0u);
  EXPECT_EQ(window->RoutingLayer, Layer_Top);
  EXPECT_EQ(std::memcmp(&window->InsertionTransform, &before, sizeof before), 0);
}

TEST_F(InsertionArray, AShapeBeingPlacedDoesNotFlip) {
  ASSERT_EQ(BeginPlacingItem(nullptr, nullptr, definition), 1);
  window->EditMode = Mode_PlaceShape;
  const int beeps = pl3::BeepCount();
  FlipInsertion(nullptr, nullptr);
  EXPECT_EQ(window->ViewFlags & kViewDrawOtherSide, 0u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

// The ghost of a selected symbol: its copy is built from the placed symbol,
// and the array drawn at the grab point shows the body turned as placed.
TEST_F(InsertionArray, ASelectedSymbolsGhostShowsItsBodyTurnedAtTheGrabPoint) {
  // One track from the origin 40 pixels to the right, at 1,000 world units per pixel.
  Add(definition, Type_Track, Track(Layer_Top, kOriginX, kOriginY, kOriginX + 40000, kOriginY, 0));
  pl3::Transform placement = pl3::R90;  // (x, y) to (-y, x): the track then points down
  placement.tx = 9000000;
  placement.ty = 9000000;
  Tower* placed = Instance(placement);
  Tower* copy = Own(CopySymbolToInsertion(placed, {0, 0}));
  ASSERT_NE(copy, nullptr);
  const auto* t = static_cast<const pl3::Transform*>(GetEntityData(copy, Type_Transform));
  ASSERT_NE(t, nullptr);
  // The ghost walks the placed symbol's definition under the copy's transform.
  EXPECT_EQ(FillInsertionArrayFromInstance(placed, t, nullptr), 1);
  ASSERT_EQ(window->InsertionCount, 1u);

  GhostSurface view(*window);
  HDC dc = view.dc;
  const std::vector<std::uint32_t>& pixels = view.pixels;
  constexpr int kSize = GhostSurface::kSize;
  window->AngleAssist = 0;
  UpdateViewGlobals();
  pl3::g_raster.clip = &view.clip;
  const auto lit = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * kSize + x] != 0; };
  // Grabbed at (60, 20) pixels: the body runs from there 40 pixels down.
  GhostInsertionArrayOffset(dc, &pl3::kIdentityTransform, 60500, 20500);
  EXPECT_TRUE(lit(60, 30));
  EXPECT_TRUE(lit(60, 55));
  EXPECT_FALSE(lit(80, 20));  // not to the right, as the unturned body would be
  EXPECT_FALSE(lit(60, 70));
  GhostInsertionArrayOffset(dc, &pl3::kIdentityTransform, 60500, 20500);
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == 0; }));
}

// End to end: selecting a placed symbol builds its ghost copy under a
// Temporary node, and the selection's ghost draws that copy at the block
// origin, turned as placed; removing the record deletes the copy.
TEST_F(InsertionArray, ASelectedSymbolIsGhostedThroughItsCopyAtTheBlockOrigin) {
  Add(definition, Type_Track, Track(Layer_Top, kOriginX, kOriginY, kOriginX + 40000, kOriginY, 0));
  pl3::Transform placement = pl3::R90;  // the body then points down from the origin
  placement.tx = 9000000;
  placement.ty = 9000000;
  Tower* placed = Instance(placement);
  window->BlockOrigin = {60500, 20500};
  SelectionInfo* list = nullptr;
  SelectionInfo* s = AddSymbolToSelection(&list, placed, 0, &pl3::kIdentityTransform, 60500, 20500);
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->hasInstanceInfo());
  ASSERT_NE(s->copyInstanceInfo, nullptr);
  ASSERT_NE(s->originalInstanceInfo, nullptr);
  EXPECT_EQ(TowerEntity(s->copyInstanceInfo)->typeCode, Type_Temporary);
  EXPECT_EQ(Children(s->copyInstanceInfo, Type_Track).size(), 1u);
  EXPECT_EQ(window->InsertionCount, 0u) << "a copy with a parent leaves the array alone";
  EXPECT_EQ(Children(GetTemporaryCopyRoot(), Type_Temporary).size(), 2u);

  GhostSurface view(*window);
  HDC dc = view.dc;
  const std::vector<std::uint32_t>& pixels = view.pixels;
  constexpr int kSize = GhostSurface::kSize;
  UpdateViewGlobals();
  pl3::g_raster.clip = &view.clip;
  const auto lit = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * kSize + x] != 0; };
  // The block origin at (60, 20) pixels, the grab point on it: the body runs 40 pixels down.
  GhostSelectionInfo(dc, s);
  EXPECT_TRUE(lit(60, 30));
  EXPECT_TRUE(lit(60, 55));
  EXPECT_FALSE(lit(80, 20)) << "not to the right, as the unturned body would be";
  EXPECT_FALSE(lit(60, 70));
  GhostSelectionInfo(dc, s);
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return p == 0; }));
  // The block moved 30 pixels right: the ghost follows.
  window->BlockOrigin = {90500, 20500};
  GhostSelectionInfo(dc, s);
  EXPECT_TRUE(lit(90, 40));
  EXPECT_FALSE(lit(60, 40));

  TowerEntity(placed)->flags &= static_cast<std::uint16_t>(~kEntitySelected);
  ReleaseTower(&s->original);  // the placed symbol stays
  while (list) RemoveSelectionInfo(&list, list);
  EXPECT_TRUE(Children(GetTemporaryCopyRoot(), Type_Temporary).empty()) << "the ghost copies go with the record";
}

}  // namespace

namespace {

// Moving the ghost of a new symbol: the lines drawn with the old ghost go
// with it, and the lines of the new place are the ones left on screen.
TEST_F(InsertionArray, MovingANewSymbolsGhostLeavesOnlyTheLinesOfItsNewPlace) {
  AddTracks(definition, 1);
  ASSERT_EQ(BeginPlacingItem(nullptr, nullptr, definition), 1);
  window->EditMode = Mode_NewSymbol;
  GhostSurface view(*window);
  UpdateViewGlobals();
  pl3::g_raster.clip = &view.clip;
  InsertionGhostPoint = {0, 0};
  GhostInsertionArrayOffset(view.dc, &window->InsertionTransform, 0, 0);
  ASSERT_EQ(g_linesShown.size(), 1u);
  MoveInsertionGhost(view.dc, {3600000, 7200000});
  ASSERT_NE(InsertionGhostPoint.x, 0);
  EXPECT_EQ(g_linesShown, (std::set<std::pair<std::int32_t, std::int32_t>>{
                              {InsertionGhostPoint.x, InsertionGhostPoint.y}}));
}

// A symbol's pad stack: an arc in a pad-stack definition that a pad of the
// symbol places.
class InstancePads : public InsertionArray {
 protected:
  void SetUp() override {
    InsertionArray::SetUp();
    Tower* stack = Own(InsertEntity(definition, 0, Type_PadStackDefinition, nullptr));
    ArcPayload arc{};
    arc.head.layer = Layer_Top;
    arc.head.transform = pl3::kIdentityTransform;
    arc.width = 100;
    arc.radius = 1000;
    arc.startX = 1000;
    arc.endY = 1000;
    Add(stack, Type_Arc, arc);
    Tower* pad = Own(InsertEmptyEntity(definition, Type_PadStackInstanceHier));
    PadStackInfoRecord info{};
    info.xref = 1;
    info.definition = RefOf(stack);
    info.transform = pl3::kIdentityTransform;
    Add(pad, Type_PadStackInfo, info);
  }
  // The start and end vectors of the arcs the fill ghosts.
  std::vector<std::array<std::int32_t, 4>> ArcEnds() const {
    std::vector<std::array<std::int32_t, 4>> ends;
    for (std::uint32_t i = 0; i < window->InsertionCount; ++i) {
      if (StoredCodeOfRecord(Record(*window, i)) != Type_Arc) continue;
      const auto& a = Record(*window, i).as<ArcPayload>();
      ends.push_back({a.startX, a.startY, a.endX, a.endY});
    }
    return ends;
  }
};

TEST_F(InstancePads, AnInstanceOnTheOtherSideTurnsTheArcsOfItsPadsWhateverTheWindowShows) {
  for (const std::uint32_t windowSide : {0u, kViewDrawOtherSide}) {
    window->ViewFlags = windowSide;
    FillInsertionArrayFromInstance(Instance(pl3::kIdentityTransform), &pl3::kIdentityTransform, nullptr);
    const auto onTop = ArcEnds();
    FreeInsertionArray(*window);
    FillInsertionArrayFromInstance(Instance(pl3::kIdentityTransform, kSymbolInstanceOtherSide),
                                   &pl3::kIdentityTransform, nullptr);
    const auto onBottom = ArcEnds();
    FreeInsertionArray(*window);
    ASSERT_EQ(onTop.size(), 1u);
    ASSERT_EQ(onBottom.size(), 1u);
    EXPECT_EQ(onTop[0], (std::array<std::int32_t, 4>{1000, 0, 0, 1000}));
    EXPECT_EQ(onBottom[0], (std::array<std::int32_t, 4>{0, 1000, 1000, 0}));
    EXPECT_EQ(window->ViewFlags, windowSide) << "the window's side is put back";
  }
}

// The selection ghost of a placed symbol or pad: drawn marked as a symbol
// ghost, on the other side's layers for an item placed there, with the
// item's ratsnest ends; the window's flags are put back afterwards.
TEST_F(InstancePads, ASelectedItemIsGhostedWithItsSideAndRatsnestEnds) {
  AddTracks(definition, 1);
  Tower* stack = Own(InsertEntity(design, 0, Type_PadStackDefinition, nullptr));
  AddTracks(stack, 1);
  Tower* pad = Own(InsertEmptyEntity(design, Type_PadStackInstanceHier));
  PadStackInfoRecord padInfo{};
  padInfo.flags = kPadStackOtherSide;
  padInfo.xref = 2;
  padInfo.definition = RefOf(stack);
  padInfo.transform = pl3::kIdentityTransform;
  Add(pad, Type_PadStackInfo, padInfo);
  struct Case {
    Tower* item;
    bool otherSide;
  };
  const Case cases[] = {
      {Instance(pl3::kIdentityTransform), false},
      {Instance(pl3::kIdentityTransform, kSymbolInstanceOtherSide), true},
      {pad, true},
  };
  GhostSurface view(*window);
  UpdateViewGlobals();
  pl3::g_raster.clip = &view.clip;
  window->BlockOrigin = {40500, 40500};
  for (const Case& c : cases) {
    SelectionInfo* list = nullptr;
    SelectionInfo* s = AddSymbolToSelection(&list, c.item, 0, &pl3::kIdentityTransform, 40500, 40500);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->copyInstanceInfo, nullptr);
    window->StateFlags = 0x1;
    window->ViewFlags = 0x8;
    g_ratsnestEnds.clear();
    GhostSelectionInfo(view.dc, s);
    ASSERT_EQ(g_ratsnestEnds.size(), 1u);
    EXPECT_EQ(g_ratsnestEnds[0].first, s->workingCopy);
    EXPECT_EQ(g_ratsnestEnds[0].second.x, 40500);
    EXPECT_EQ(g_stateAtEnds, 0x1u | kStateSymbolGhost);
    EXPECT_EQ(g_viewAtEnds, 0x8u | (c.otherSide ? kViewDrawOtherSide : 0u));
    EXPECT_EQ(window->StateFlags, 0x1u);
    EXPECT_EQ(window->ViewFlags, 0x8u);
    GhostSelectionInfo(view.dc, s);
    EXPECT_TRUE(std::all_of(view.pixels.begin(), view.pixels.end(), [](std::uint32_t p) { return p == 0; }));
    TowerEntity(c.item)->flags &= static_cast<std::uint16_t>(~kEntitySelected);
    ReleaseTower(&s->original);
    while (list) RemoveSelectionInfo(&list, list);
  }
}

}  // namespace

namespace {

// A designator copy being placed turns by the first step, or by the other
// when its symbol lies on the other side of the board; flipped, it leaves
// the routing layer on the layer its info then names.
TEST_F(InsertionArray, ADesignatorCopyTurnsTheWayItsSymbolFacesAndFlipsOntoItsNewLayer) {
  for (const std::uint32_t side : {0u, kSymbolInstanceOtherSide}) {
    Tower* placed = Instance(pl3::kIdentityTransform, side);
    Tower* group = Own(InsertEmptyEntity(placed, Type_Designator));
    SetDesignatorText(group, "R1");
    Tower* copy = Own(InsertEmptyEntity(group, Type_DesignatorData));
    Add(copy, Type_Transform, Shift(1000, 2000));
    DesignatorInfo info{};
    info.layer = Layer_Top;
    info.explicitSize = 8;
    info.font = 3;
    Add(copy, Type_DesignatorInfo, info);
    ReleaseTower(&window->TemporaryEntity);
    window->TemporaryEntity = DuplicateTower(copy);
    window->EditMode = Mode_PlaceDesignator;
    window->RoutingLayer = Layer_Top;

    EXPECT_EQ(RotateInsertion(nullptr, nullptr, {0, 0}, 1), 1);
    const auto* t = static_cast<const pl3::Transform*>(GetEntityData(copy, Type_Transform));
    const pl3::Transform& step = InsertionRotationSteps[side ? 1 : 0];
    EXPECT_EQ(std::make_pair(t->a, t->b), std::make_pair(step.a, step.b)) << side;
    EXPECT_EQ(std::make_pair(t->tx, t->ty), std::make_pair(1000, 2000)) << "the copy keeps its place";

    FlipInsertion(nullptr, nullptr);
    const auto* flipped = static_cast<const DesignatorInfo*>(GetEntityData(copy, Type_DesignatorInfo));
    EXPECT_NE(flipped->layer, Layer_Top);
    EXPECT_EQ(window->RoutingLayer, flipped->layer);
  }
  ReleaseTower(&window->TemporaryEntity);
}

}  // namespace
