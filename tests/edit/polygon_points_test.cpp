#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/polygon_points.h"
#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/polygon_entry_seams.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "tests/edit/engine_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

using pl3::Point;

// A polygon record in hand with the given vertices (the last one live).
std::unique_ptr<EntityRecord> Polygon(const std::vector<Point>& points, std::uint8_t index = 0) {
  auto r = NewEntityRecord();
  r->header.recordType = Type_Polygon;
  auto& p = r->as<PolygonHead>();
  p.head.layer = 1;
  p.count = static_cast<std::uint8_t>(points.size());
  p.editIndex = index;
  std::memcpy(pl3::PolygonPoints(&p), points.data(), points.size() * sizeof(Point));
  return r;
}
PolygonHead& Head(std::unique_ptr<EntityRecord>& r) { return r->as<PolygonHead>(); }
std::vector<Point> PointsOf(std::unique_ptr<EntityRecord>& r) {
  const Point* p = pl3::PolygonPoints(&Head(r));
  return {p, p + Head(r).count};
}
bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
bool SamePoints(const std::vector<Point>& a, const std::vector<Point>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!(a[i] == b[i])) return false;
  return true;
}

class PolygonPointsTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    w = std::make_unique<CurrentWindowData>(kEditorPcb);
    InitialiseLayerTable(w->layerTable);
    SetCopperLayers(w->layerTable);
    ActiveWindowData = w.get();
  }
  void TearDown() override { ActiveWindowData = nullptr; }
  int CrossingBoxes() {
    int n = 0;
    for (const auto& r : pl3::ResponderRecords())
      if (r.text == "You cannot enter a polygon that contains intersections" && r.caption == "SetPolygonPoint") ++n;
    return n;
  }
  std::unique_ptr<CurrentWindowData> w;
};

TEST_F(PolygonPointsTest, FixingAVertexStartsTheNextOneAndGrowsTheBox) {
  auto r = Polygon({{100, 100}, {500, 100}, {500, 700}}, 2);
  Head(r).extra[0] = {100, 100};
  Head(r).extra[1] = {500, 100};
  SetPolygonPoint(nullptr, r.get());
  ASSERT_EQ(Head(r).count, 4);
  EXPECT_EQ(Head(r).editIndex, 3);
  EXPECT_TRUE(PointsOf(r)[3] == (Point{500, 700})) << "the live vertex starts where the fixed one is";
  EXPECT_EQ(Head(r).extra[1].y, 700) << "the box takes the fixed vertex";
}

TEST_F(PolygonPointsTest, RefusalsLeaveThePolygonAlone) {
  struct Case {
    const char* name;
    std::vector<Point> points;
    int beeps;
    int boxes;
  };
  std::vector<Point> full(255);
  for (int i = 0; i < 255; ++i) full[i] = {i * 10, (i % 2) * 1000};
  const Case cases[] = {
      {"255 vertices", full, 1, 0},
      {"repeated vertex", {{0, 0}, {100, 0}, {100, 0}}, 1, 0},
      // count 4: the new edge (v3, v2) against edge 0 only.
      {"crosses edge 0", {{100, 100}, {200, 100}, {200, 200}, {150, 50}}, 0, 1},
      // count 5: the new edge crosses edge 1, which is tested from count 5 on.
      {"crosses edge 1", {{100, 100}, {100, 200}, {200, 200}, {200, 150}, {50, 150}}, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = Polygon(c.points, static_cast<std::uint8_t>(c.points.size() - 1));
    const auto before = PointsOf(r);
    const int beeps = pl3::BeepCount();
    const int boxes = CrossingBoxes();
    SetPolygonPoint(nullptr, r.get());
    EXPECT_EQ(pl3::BeepCount() - beeps, c.beeps);
    EXPECT_EQ(CrossingBoxes() - boxes, c.boxes);
    EXPECT_EQ(Head(r).count, c.points.size());
    EXPECT_TRUE(SamePoints(PointsOf(r), before));
  }
}

TEST_F(PolygonPointsTest, AtCountFourOnlyEdgeZeroIsTested) {
  // The new edge (v3, v2) would cross edge 1 (v1, v2)'s neighbour only at
  // their shared end: it is adjacent, never tested.
  auto r = Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 3);
  SetPolygonPoint(nullptr, r.get());
  EXPECT_EQ(Head(r).count, 5);
  EXPECT_EQ(CrossingBoxes(), 0);
}

// An inserted vertex is last of the working list: the edge from it back to
// its predecessor is tested against the edges of the rest of the outline.
TEST_F(PolygonPointsTest, AnInsertedVertexIsCheckedFromItsOwnPlace) {
  struct Case {
    const char* name;
    Point inserted;  // vertex 2 of a square missing its corner (1100, 1100)
    int refused, beeps, boxes;
  };
  const Case cases[] = {
      {"the corner", {1100, 1100}, 0, 0, 0},
      // From vertex 1 across the edge from vertex 3 to vertex 0.
      {"across the closing side", {950, 1050}, 1, 0, 1},
      {"on its predecessor", {1100, 1000}, 1, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = Polygon({{1000, 1000}, {1100, 1000}, c.inserted, {1000, 1100}}, 2);
    const auto before = PointsOf(r);
    const int beeps = pl3::BeepCount();
    const int boxes = CrossingBoxes();
    EXPECT_EQ(CheckNewPolygonPoint(&Head(r)), c.refused);
    EXPECT_EQ(pl3::BeepCount() - beeps, c.beeps);
    EXPECT_EQ(CrossingBoxes() - boxes, c.boxes);
    EXPECT_TRUE(SamePoints(PointsOf(r), before)) << "the check changes nothing";
  }
  // A full outline is refused without a word.
  std::vector<Point> full(255);
  for (int i = 0; i < 255; ++i) full[i] = {1000 + i * 10, 1000 + (i % 2) * 1000};
  auto r = Polygon(full, 7);
  const int beeps = pl3::BeepCount();
  const int boxes = CrossingBoxes();
  EXPECT_EQ(CheckNewPolygonPoint(&Head(r)), 1);
  EXPECT_EQ(pl3::BeepCount(), beeps);
  EXPECT_EQ(CrossingBoxes(), boxes);
  // A triangle is never tested for crossings.
  auto triangle = Polygon({{1000, 1000}, {1100, 1100}, {1100, 1000}}, 1);
  EXPECT_EQ(CheckNewPolygonPoint(&Head(triangle)), 0);
}

TEST_F(PolygonPointsTest, CrossingClosingEdgeIsCaughtOnlyWhenTheOutlineIsChecked) {
  // An outline whose only crossing is the closing edge (v3 -> v0) over edge 1.
  const std::vector<Point> hook{{200, 400}, {100, 300}, {300, 300}, {300, 200}};
  auto r = Polygon(hook, 3);
  SetPolygonPoint(nullptr, r.get());
  EXPECT_EQ(Head(r).count, 5) << "drawing does not test the closing edge";
  auto closed = Polygon(hook);
  EXPECT_TRUE(IsPolygonSelfIntersecting(&Head(closed)));
  auto square = Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  EXPECT_FALSE(IsPolygonSelfIntersecting(&Head(square)));
  auto triangle = Polygon({{0, 0}, {100, 100}, {100, 0}});
  EXPECT_FALSE(IsPolygonSelfIntersecting(&Head(triangle)));

  // The wide twin: count as a word at 48, points from 76.
  std::vector<std::uint8_t> wide(76 + 4 * sizeof(Point));
  const std::uint32_t four = 4;
  std::memcpy(wide.data() + 48, &four, 4);
  std::memcpy(wide.data() + 76, pl3::PolygonPoints(&Head(closed)), 4 * sizeof(Point));
  EXPECT_TRUE(IsWidePolygonSelfIntersecting(wide.data()));
  std::memcpy(wide.data() + 76, pl3::PolygonPoints(&Head(square)), 4 * sizeof(Point));
  EXPECT_FALSE(IsWidePolygonSelfIntersecting(wide.data()));
}

TEST_F(PolygonPointsTest, RemovalThatWouldCrossIsRefusedOnACopy) {
  // Removing v2 of this pentagon makes v1 -> v3 cross v4 -> v0.
  auto r = Polygon({{100, 100}, {300, 100}, {300, 300}, {200, 50}, {100, 300}}, 2);
  const auto before = PointsOf(r);
  EXPECT_TRUE(CheckPolygonPointRemoval(&Head(r)));
  EXPECT_TRUE(SamePoints(PointsOf(r), before));
  Head(r).editIndex = 3;
  EXPECT_FALSE(CheckPolygonPointRemoval(&Head(r)));
}

TEST_F(PolygonPointsTest, ReversingAStoredPolygonMirrorsTheIndex) {
  auto r = Polygon({{0, 0}, {10, 5}, {20, 0}, {20, 30}, {0, 30}}, 1);
  ReverseStoredPolygon(nullptr, &Head(r));
  EXPECT_EQ(Head(r).editIndex, 3);
  EXPECT_TRUE(PointsOf(r)[0] == (Point{0, 30}));
  EXPECT_TRUE(PointsOf(r)[4] == (Point{0, 0}));
  EXPECT_TRUE(Head(r).extra[0] == (Point{0, 0}));
  EXPECT_TRUE(Head(r).extra[1] == (Point{20, 30}));
}

TEST_F(PolygonPointsTest, HiddenLayerIsSwitchedOnAndSoloDisplayEnds) {
  w->layerTable.layers[3].flags &= ~kLayerVisible;
  w->SingleLayer = 5;
  pl3::Box box{1, 2, 3, 4};
  const auto paneMessages = [] { return enginefakes::CallsStartingWith("layers pane 1031").size(); };
  EXPECT_EQ(EnsureLayerVisible(3, &box), 1);
  EXPECT_TRUE(w->layerTable.layers[3].flags & kLayerVisible);
  EXPECT_EQ(w->SingleLayer, -1);
  EXPECT_EQ(paneMessages(), 2u) << "once for the solo display, once for the layer";
  enginefakes::calls.clear();
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0) << "shown already";
  w->SingleLayer = 3;
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0) << "shown alone already";
  EXPECT_EQ(paneMessages(), 0u) << "nothing changed, the pane is left alone";
  w->SingleLayer = 4;
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0) << "the solo display ends, but the layer was on";
  EXPECT_EQ(w->SingleLayer, -1);
  EXPECT_EQ(paneMessages(), 2u);
  w->editorKind = kEditorShape;
  w->layerTable.layers[3].flags &= ~kLayerVisible;
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0) << "PCB windows only";
}

TEST_F(PolygonPointsTest, AWaitingFullRedrawIsTakenOverWithTheShownBox) {
  enginefakes::calls.clear();
  w->Zoom = 100;
  w->ViewOriginX = 1000;
  w->ViewOriginY = 2000;
  w->FullRedrawPending = 1;
  w->layerTable.layers[3].flags |= kLayerVisible;
  pl3::Box box{1, 2, 3, 4};
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0) << "the layer is shown: nothing switched on";
  EXPECT_EQ(w->FullRedrawPending, 0);
  EXPECT_EQ(box.xmin, 100000);
  EXPECT_EQ(box.ymin, 200000);
  EXPECT_EQ(enginefakes::CallsStartingWith("status").size(), 1u);
  EXPECT_EQ(enginefakes::CallsStartingWith("layers pane").size(), 0u);
  enginefakes::calls.clear();
  box = {1, 2, 3, 4};
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0);
  EXPECT_EQ(box.xmin, 1) << "nothing waiting: the box is left alone";
  EXPECT_EQ(enginefakes::CallsStartingWith("status").size(), 0u);
  w->FullRedrawPending = 1;
  w->editorKind = kEditorShape;
  EXPECT_EQ(EnsureLayerVisible(3, &box), 0);
  EXPECT_EQ(w->FullRedrawPending, 1) << "PCB windows only";
}

TEST_F(PolygonPointsTest, SpiralEditCodesMoveTheirPoints) {
  SpiralPayload s{};
  s.centre = {100, 100};
  s.start = {50, 100};
  s.end = {300, 100};
  SpiralEditStep(&s, 10, 20, 0);
  EXPECT_TRUE(s.centre == (Point{110, 120}) && s.start == (Point{60, 120}) && s.end == (Point{310, 120}));
  SpiralEditStep(&s, 1, 1, 8);
  EXPECT_TRUE(s.end == (Point{311, 121}) && s.start == (Point{60, 120}));
  SpiralEditStep(&s, 1, 1, 9);
  EXPECT_TRUE(s.start == (Point{61, 121}));
  SpiralEditStep(&s, 1, 1, 3);
  EXPECT_TRUE(s.start == (Point{61, 121}) && s.centre == (Point{110, 120}));
}

// A selected spiral moves by the handle it was grabbed at: its centre
// takes it whole, its end or start their point, its pitch point the pitch.
TEST_F(PolygonPointsTest, ASelectedSpiralMovesByItsGrabbedHandle) {
  Tower* design = towertest::NewTopLevelEntity(Type_PCB);
  struct Case {
    std::uint16_t part;
    Point centre, start, end;
    std::int32_t pitch;
  };
  const Case cases[] = {
      {kGrabBothEnds, {1100, 1200}, {1050, 1200}, {1400, 1200}, 40},
      {kGrabWhole, {1100, 1200}, {1050, 1200}, {1400, 1200}, 40},
      {kEditSpiralEnd, {1000, 1000}, {950, 1000}, {1400, 1200}, 40},
      {kEditSpiralStart, {1000, 1000}, {1050, 1200}, {1300, 1000}, 40},
      // From the start to the cursor snapped to (4000, 5000): 3050 across, 4000 down.
      {kEditSpiralPitch, {1000, 1000}, {950, 1000}, {1300, 1000}, 5030},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    SpiralPayload s{};
    s.centre = {1000, 1000};
    s.start = {950, 1000};
    s.end = {1300, 1000};
    s.pitch = 40;
    Tower* spiral = InsertEntity(design, sizeof s, Type_Spiral, &s);
    SelectionInfo selected{};
    selected.workingCopy = spiral;
    selected.grabbedPart = c.part;
    w->Cursor = {4321, 5432};
    ASSERT_EQ(MoveSelectionArray(&selected, 100, 200), 1);
    const auto* moved = reinterpret_cast<const SpiralPayload*>(EntityPayload(TowerEntity(spiral)));
    EXPECT_TRUE(moved->centre == c.centre);
    EXPECT_TRUE(moved->start == c.start);
    EXPECT_TRUE(moved->end == c.end);
    EXPECT_EQ(moved->pitch, c.pitch);
    DeleteEntity(spiral);
    ReleaseTower(&spiral);
  }
  DeleteEntity(design);
  ReleaseTower(&design);
}

TEST_F(PolygonPointsTest, ArcClearanceBoxHoldsItsLowCornerAtZero) {
  pl3::ArcLayout a{};
  a.head.layer = 1;
  a.radius = 1000;
  a.width = 100;
  a.centreX = 2000000;
  a.centreY = 500;
  pl3::Box box{};
  GetArcClearanceBox(&a, &box);
  EXPECT_EQ(box.xmin, 2000000 - 1100 - 365760);
  EXPECT_EQ(box.xmax, 2000000 + 1100 + 365760);
  EXPECT_EQ(box.ymin, 0);
  EXPECT_EQ(box.ymax, 500 + 1100 + 365760);
}

}  // namespace
