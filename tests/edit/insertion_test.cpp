#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/drawn_item_accepts.h"
#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/key_command_seams.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/layer_table.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/polygon_entry_seams.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "objects/window_state.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t kInch = 36576000;

SizeEntry Size(std::int32_t v1, std::int32_t v2 = 0) {
  SizeEntry e{};
  e.flags = kSizeEntryOn;
  e.value1 = v1;
  e.value2 = v2;
  return e;
}

// An active PCB window over an empty design, with real layers and sizes.
class InsertionTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "InsertionTest";
    RegisterClassA(&wc);
    hwnd = CreateWindowA("InsertionTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr,
                         nullptr);
    w = std::make_unique<CurrentWindowData>(kEditorPcb);
    InitialiseLayerTable(w->layerTable);
    SetCopperLayers(w->layerTable);
    for (int layer = 1; layer <= 2; ++layer) w->layerTable.layers[layer].flags |= kLayerSelectable;
    sizes = NewSizeTable();
    (*sizes)[SizeKind_Lines].entries = {Size(182880), Size(365760)};
    (*sizes)[SizeKind_Lines].defaultIndex = 1;
    (*sizes)[SizeKind_Holes].entries = {Size(500000)};
    (*sizes)[SizeKind_Vias].entries = {Size(600000, 1200000)};
    (*sizes)[SizeKind_Circles].entries = {Size(700000)};
    w->sizeTable = sizes.get();
    w->Window = hwnd;
    w->Zoom = 1000;
    w->RoutingLayer = 1;
    w->AngleAssist = 0;
    design = towertest::NewTopLevelEntity(Type_PCB);
    w->design = design;
    ActiveWindowData = w.get();
  }
  void TearDown() override {
    delete w->PendingRecord;
    w->PendingRecord = nullptr;
    FreeGridInfo(w->Grids);
    w->Grids = nullptr;
    w->sizeTable = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
    DestroyWindow(hwnd);
  }

  // The stored children of a code, oldest first.
  std::vector<std::vector<std::uint8_t>> Children(std::uint16_t code) {
    std::vector<std::vector<std::uint8_t>> found;
    const Entity* d = TowerEntity(design);
    for (NodeRef g = d->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      if (NodeAt<TypeGroup>(g)->typeCode != code) continue;
      for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) {
        const Entity* ent = NodeAt<Entity>(e);
        found.emplace(found.begin(), EntityPayload(ent), EntityPayload(ent) + ent->payloadSize);
      }
    }
    return found;
  }
  template <typename T>
  static T As(const std::vector<std::uint8_t>& bytes) {
    T v{};
    std::memcpy(&v, bytes.data(), std::min(sizeof v, bytes.size()));
    return v;
  }
  void Click(pl3::Point at) {
    w->Cursor = at;
    DoLButtonUp(hwnd, &w->Button, &w->PendingRecord);
  }
  void MoveTo(pl3::Point at) {
    w->Cursor = at;
    DoMouseMove(hwnd, &w->Button, &w->PendingRecord, 1);
  }
  // A pending track from a to b on the routing layer.
  EntityRecord* PendingTrack(pl3::Point a, pl3::Point b, std::uint8_t state = 0) {
    w->Cursor = a;
    BeginInsertLine({hwnd, nullptr}, &w->PendingRecord, &w->Button, state);
    auto& l = w->PendingRecord->as<LinePayload>();
    l.x1 = a.x, l.y1 = a.y, l.x2 = b.x, l.y2 = b.y;
    return w->PendingRecord;
  }

  HWND hwnd = nullptr;
  std::unique_ptr<CurrentWindowData> w;
  std::unique_ptr<SizeTable> sizes;
  Tower* design = nullptr;
};

TEST_F(InsertionTest, LineToolPlacesATrackFromClickToClick) {
  w->EditMode = Mode_StartInsert;
  w->InsertType = 1;
  Click({10 * kInch + 1000, 10 * kInch});
  const pl3::Point start = w->Cursor;  // snapped by the handler
  pl3::Point resnapped = start;
  SnapXY(&resnapped.x, &resnapped.y, 0);
  EXPECT_EQ(resnapped.x, start.x) << "on the grid";
  EXPECT_NE(start.x, 10 * kInch + 1000);
  ASSERT_EQ(w->EditMode, Mode_AddNewTrack);
  EXPECT_EQ(w->InsertionTypeCode, Type_Track);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->PendingRecord->header.recordType, Type_Track);
  EXPECT_EQ(StoredRecordLength(*w->PendingRecord), 68u);
  const auto& l = w->PendingRecord->as<LinePayload>();
  EXPECT_EQ(l.x1, start.x);
  EXPECT_EQ(l.y1, start.y);
  EXPECT_EQ(l.head.sizeIndex, 1u);
  EXPECT_EQ(l.width, 365760);

  const pl3::Point end{20 * kInch, 10 * kInch};
  MoveTo(end);
  EXPECT_EQ(l.x2, end.x);
  Click(end);
  const auto tracks = Children(Type_Track);
  ASSERT_EQ(tracks.size(), 1u);
  const auto stored = As<LinePayload>(tracks[0]);
  EXPECT_EQ(stored.x1, start.x);
  EXPECT_EQ(stored.x2, end.x);
  EXPECT_EQ(stored.y2, end.y);
  EXPECT_EQ(stored.head.layer, 1);
  EXPECT_EQ(w->EditMode, Mode_AddNewTrack) << "the chain goes on";
  EXPECT_EQ(l.x1, end.x) << "the next segment starts at the end";
}

struct Variant {
  std::uint8_t insertType;
  std::uint8_t state;
  std::uint16_t insertionCode;
  int layer;  // -1: the routing layer
};

TEST_F(InsertionTest, LineVariantsTakeTheirStateLayerAndInsertionType) {
  const Variant cases[] = {{1, 0, 1, -1},      {10, 4, 10, -1},    {35, 8, 35, -1},  {37, 16, 37, -1},
                           {39, 32, 39, -1},   {46, 64, 46, 129},  {11, 0, 1, 1}};
  for (const Variant& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.insertType));
    w->InsertType = c.insertType;
    w->RoutingLayer = 2;
    ASSERT_EQ(BeginGraphicInsertion(hwnd, &w->Button, &w->PendingRecord), 1);
    ASSERT_NE(w->PendingRecord, nullptr);
    EXPECT_EQ(w->PendingRecord->header.state, c.state);
    EXPECT_EQ(w->InsertionTypeCode, c.insertionCode);
    EXPECT_EQ(w->PendingRecord->head().layer, c.layer < 0 ? 2 : c.layer);
    EXPECT_EQ(w->LastTrackLayer, w->PendingRecord->head().layer);
  }
  w->editorKind = kEditorPcbSymbol;
  w->InsertType = 47;
  ASSERT_EQ(BeginGraphicInsertion(hwnd, &w->Button, &w->PendingRecord), 1);
  EXPECT_EQ(w->PendingRecord->head().layer, 130);
}

TEST_F(InsertionTest, UnlistedKindAndTypeDoNothing) {
  w->InsertType = 23;  // thin lines belong to shapes
  EXPECT_EQ(BeginGraphicInsertion(hwnd, &w->Button, &w->PendingRecord), 0);
  EXPECT_EQ(w->PendingRecord, nullptr);
  w->editorKind = kEditorShape;
  EXPECT_EQ(BeginGraphicInsertion(hwnd, &w->Button, &w->PendingRecord), 1);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->PendingRecord->header.recordType, Type_ThinLine);
  EXPECT_EQ(w->PendingRecord->as<ThinLinePayload>().line.width, 182880);
  EXPECT_EQ(w->EditMode, Mode_AddNewThinLine);
}

TEST_F(InsertionTest, HolesAndViasCarryTheirLayerTables) {
  w->TopLayer = 1;
  w->BottomLayer = 2;
  BeginInsertVia({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  EntityRecord* via = w->PendingRecord;
  ASSERT_NE(via, nullptr);
  EXPECT_EQ(via->header.recordType, Type_Hole);
  EXPECT_EQ(via->as<HolePayload>().hole.style, 2);
  EXPECT_EQ(via->as<HolePayload>().hole.flags, kHoleIsVia | kHoleQuartered);
  EXPECT_EQ(w->EditMode, Mode_AddNewVia);
  EXPECT_EQ(w->InsertionTypeCode, Type_Hole);
  const auto flagAt = [&](std::uint32_t layer) {
    std::uint16_t v = 0;
    std::memcpy(&v, w->PendingRecord->payload + kHoleLayerTableOffset + 2 * layer, 2);
    return v;
  };
  const std::pair<std::uint32_t, std::uint16_t> viaTable[] = {{0, 0}, {1, 1}, {32, 1}, {33, 0}, {72, 0},
                                                             {73, 1}, {128, 1}, {129, 0}, {130, 0}, {255, 1}};
  for (auto [layer, flag] : viaTable) EXPECT_EQ(flagAt(layer), flag) << "via layer " << layer;

  ProgramOptionWord |= kOptionNonPlatedHoles;
  BeginInsertHole({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  EXPECT_EQ(w->PendingRecord->as<HolePayload>().hole.flags, 0) << "non-plated, not a via";
  const std::pair<std::uint32_t, std::uint16_t> holeTable[] = {{0, 0}, {33, 0}, {34, 1}, {36, 0},
                                                              {37, 0}, {38, 1}, {129, 1}};
  for (auto [layer, flag] : holeTable) EXPECT_EQ(flagAt(layer), flag) << "hole layer " << layer;
  ProgramOptionWord = 0;
  BeginInsertHole({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  EXPECT_EQ(w->PendingRecord->as<HolePayload>().hole.flags, kHoleQuartered) << "plated";
}

TEST_F(InsertionTest, ZeroLengthPlainTrackBeepsAndStaysPending) {
  const pl3::Point p{10 * kInch, 10 * kInch};
  EntityRecord* r = PendingTrack(p, p);
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(AcceptTrackSegment(&w->PendingRecord), nullptr);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w->PendingRecord, r);
  EXPECT_TRUE(Children(Type_Track).empty());
}

// A second segment on another copper layer, as the line tool leaves it.
struct ViaCase {
  const char* name;
  bool earlierSegment;
  std::uint8_t state;
  bool viaStands;
  bool viaSizes;
  std::size_t vias;
};

TEST_F(InsertionTest, AutoViaAtACopperLayerChange) {
  const ViaCase cases[] = {{"layer change", true, 0, false, true, 1},
                           {"first segment", false, 0, false, true, 0},
                           {"thermal break", true, 4, false, true, 0},
                           {"plated slot", true, 64, false, true, 0},
                           {"via already there", true, 0, true, true, 1},
                           {"no via sizes", true, 0, false, false, 0}};
  const pl3::Point a{10 * kInch, 10 * kInch}, b{20 * kInch, 10 * kInch};
  for (const ViaCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (!c.viaSizes) (*sizes)[SizeKind_Vias].entries.clear();
    w->CurrentViaSize = 5;  // past the list: the last size is taken
    if (c.viaStands) {
      HolePayload v{};
      v.hole.flags = kHoleIsVia;
      v.hole.centreX = a.x;
      v.hole.centreY = a.y;
      Tower* t = InsertEntity(design, sizeof v, Type_Hole, &v);
      ReleaseTower(&t);
    }
    w->RoutingLayer = 2;
    PendingTrack(a, b, c.state);
    w->LastTrackLayer = 1;
    if (c.earlierSegment) w->ViewFlags |= kViewTrackCommitted;
    pl3::Box* box = AcceptTrackSegment(&w->PendingRecord);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Children(Type_Hole).size(), c.vias);
    if (c.vias && !c.viaStands) {
      const auto via = As<HolePayload>(Children(Type_Hole)[0]);
      EXPECT_EQ(via.hole.centreX, a.x);
      EXPECT_EQ(via.hole.centreY, a.y);
      EXPECT_LE(box->xmin, a.x - 1200000) << "the box takes the via";
    }
    std::free(box);
    if (c.state == 0) {
      EXPECT_TRUE(w->ViewFlags & kViewTrackCommitted);
      EXPECT_EQ(w->LastTrackLayer, 2);
    }
  }
}

TEST_F(InsertionTest, FortyFiveDegreeAssistCommitsOneLegAndAlternates) {
  w->AngleAssist = 2;
  const pl3::Point a{10 * kInch, 10 * kInch};
  EntityRecord* r = PendingTrack(a, {a.x + 3000000, a.y + 1000000});
  r->header.headerLayer = 0;  // straight leg first
  pl3::Box* box = AcceptTrackSegment(&w->PendingRecord);
  std::free(box);
  auto tracks = Children(Type_Track);
  ASSERT_EQ(tracks.size(), 1u);
  auto leg = As<LinePayload>(tracks[0]);
  EXPECT_EQ(leg.x2, a.x + 2000000);
  EXPECT_EQ(leg.y2, a.y);
  const auto& l = r->as<LinePayload>();
  EXPECT_EQ(l.x1, a.x + 2000000) << "the track goes on from the corner";
  EXPECT_EQ(l.y1, a.y);
  EXPECT_EQ(r->header.headerLayer & 2, 2) << "the diagonal leg comes first next time";

  // Next click, from the corner, down and right again: the diagonal first.
  auto& m = r->as<LinePayload>();
  m.x2 = m.x1 + 3000000;
  m.y2 = m.y1 + 1000000;
  r->header.headerLayer = 2;
  box = AcceptTrackSegment(&w->PendingRecord);
  std::free(box);
  tracks = Children(Type_Track);
  ASSERT_EQ(tracks.size(), 2u);
  leg = As<LinePayload>(tracks[1]);
  EXPECT_EQ(leg.x2, a.x + 3000000);
  EXPECT_EQ(leg.y2, a.y + 1000000);
}

TEST_F(InsertionTest, OrthogonalAssistTurnsByTheDirectionBit) {
  w->AngleAssist = 1;
  const pl3::Point a{10 * kInch, 10 * kInch};
  EntityRecord* r = PendingTrack(a, {a.x + 3000000, a.y + 1000000});
  r->header.headerLayer = 1;  // vertical first
  std::free(AcceptTrackSegment(&w->PendingRecord));
  const auto leg = As<LinePayload>(Children(Type_Track).at(0));
  EXPECT_EQ(leg.x2, a.x);
  EXPECT_EQ(leg.y2, a.y + 1000000);
  EXPECT_EQ(r->header.headerLayer & 1, 0) << "the bit toggles";
}

TEST_F(InsertionTest, GraphicRecordStoresOrRefuses) {
  w->Cursor = {10 * kInch, 10 * kInch};
  BeginInsertCircle({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_AddNewCircle);
  w->PendingRecord->as<CirclePayload>().size = 0;
  w->PendingRecord->head().sizeFlags = 0;
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(AcceptGraphicRecord(hwnd, &w->PendingRecord), 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_AddNewCircle);

  w->PendingRecord->as<CirclePayload>().size = 400000;
  w->EditMode = 17;
  EXPECT_EQ(AcceptGraphicRecord(hwnd, &w->PendingRecord), 1);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, 0);
  const auto circles = Children(Type_Circle);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(As<CirclePayload>(circles[0]).size, 400000);
  EXPECT_EQ(As<CirclePayload>(circles[0]).centreX, 10 * kInch);
}

}  // namespace

namespace {

TEST_F(InsertionTest, ArcToolDrawsAnArcByItsClicks) {
  // Points on both the inch and the millimetre grids, so that snapping keeps them.
  const std::int32_t r = 5 * kInch;
  w->EditMode = Mode_StartInsert;
  w->InsertType = 2;
  const pl3::Point centre{10 * kInch, 10 * kInch};
  Click(centre);
  ASSERT_EQ(w->EditMode, Mode_SetArcRadius);
  Click(centre);
  EXPECT_EQ(w->EditMode, Mode_SetArcRadius) << "a start on the centre is refused";
  MoveTo({centre.x + r, centre.y});
  Click({centre.x + r, centre.y});
  ASSERT_EQ(w->EditMode, Mode_SetArcAngle);
  MoveTo({centre.x, centre.y + 2 * r});
  Click({centre.x, centre.y + 2 * r});
  EXPECT_EQ(w->EditMode, 0);
  EXPECT_EQ(w->PendingRecord, nullptr);
  const auto arcs = Children(Type_Arc);
  ASSERT_EQ(arcs.size(), 1u);
  const auto a = As<ArcPayload>(arcs[0]);
  EXPECT_EQ(a.centreX, centre.x);
  EXPECT_EQ(a.radius, r);
  EXPECT_EQ(a.startX, r);
  EXPECT_EQ(a.endX, 0);
  EXPECT_EQ(a.endY, r) << "the end scaled to the radius";
}

TEST_F(InsertionTest, CircleOfRadiusZeroStaysInHand) {
  w->Cursor = {10 * kInch, 10 * kInch};
  BeginInsertCircle({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  w->PendingRecord->as<CirclePayload>().size = 0;
  w->EditMode = Mode_AddNewCircleRadius;
  Click(w->Cursor);
  EXPECT_EQ(w->EditMode, Mode_AddNewCircleRadius);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_TRUE(Children(Type_Circle).empty());
  w->PendingRecord->as<CirclePayload>().size = 300000;
  Click(w->Cursor);
  EXPECT_EQ(w->EditMode, 0);
  EXPECT_EQ(w->PendingRecord, nullptr);
  EXPECT_EQ(Children(Type_Circle).size(), 1u);
}

// A polygon in hand with its points; the last is the closing point.
EntityRecord* PendingPolygon(CurrentWindowData& w, const std::vector<pl3::Point>& points, std::uint8_t state = 0) {
  delete w.PendingRecord;
  w.PendingRecord = NewEntityRecord().release();
  w.PendingRecord->header.recordType = Type_Polygon;
  w.PendingRecord->header.state = state;
  auto& p = w.PendingRecord->as<PolygonHead>();
  p.head.layer = 1;
  p.count = static_cast<std::uint8_t>(points.size());
  std::memcpy(pl3::PolygonPoints(&p), points.data(), points.size() * sizeof(pl3::Point));
  return w.PendingRecord;
}

TEST_F(InsertionTest, PolygonsAreStoredWithTheirTriangles) {
  const std::int32_t o = 10 * kInch;
  PendingPolygon(*w, {{o, o}, {o + 400, o}, {o + 400, o + 300}, {o + 200, o + 500}, {o, o + 300}, {o, o}});
  pl3::Box* box = SetPolygon(w->PendingRecord);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, o - 365760) << "grown by the plane clearance";
  std::free(box);
  EXPECT_EQ(w->PendingRecord, nullptr);
  const auto polygons = Children(Type_Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(PolygonEntitySize(polygons[0].data()), 117u) << "5 points: 11 x 5 + 62";
  EXPECT_GE(polygons[0].size(), 117u);
  const auto stored = As<PolygonHead>(polygons[0]);
  EXPECT_EQ(stored.count, 5);
  // Three triangles of indices below 5 follow the points.
  for (std::size_t i = 68 + 40; i < 117; ++i) EXPECT_LT(polygons[0][i], 5) << i;

  // A plane cutout keeps its own node type.
  PendingPolygon(*w, {{o, o}, {o + 400, o}, {o + 400, o + 300}, {o, o}}, kStatePlaneCutout);
  std::free(SetPolygon(w->PendingRecord));
  EXPECT_EQ(Children(Type_PlaneCutout).size(), 1u);
}

// The node type of a stored polygon record comes from its kind bits, the
// keepout bit first, then the cutout bit, then the plane bit.
TEST_F(InsertionTest, PolygonRecordNodeTypeFollowsItsKindBits) {
  const std::int32_t o = 10 * kInch;
  struct Case {
    std::uint16_t recordType;
    std::uint8_t state;
    std::uint16_t node;
  };
  const Case cases[] = {
      {Type_Polygon, 0, Type_Polygon},
      {Type_Polygon, kStatePlane, Type_Plane},
      {Type_Polygon, kStatePlaneCutout, Type_PlaneCutout},
      {Type_Polygon, kStatePlane | kStatePlaneCutout, Type_PlaneCutout},
      {Type_PolygonKeepout, kStateKeepout | kStatePlaneCutout | kStatePlane, Type_PolygonKeepout},
      {Type_ComponentPlacementOutline, kStateKeepout, Type_ComponentPlacementOutline},
  };
  for (const Case& c : cases) {
    EntityRecord* r = PendingPolygon(*w, {{o, o}, {o + 400, o}, {o + 400, o + 300}, {o, o + 300}}, c.state);
    r->header.recordType = c.recordType;
    Tower* stored = InsertPolygonRecord(r, design);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(TowerEntity(stored)->typeCode, c.node) << "state " << int(c.state);
    ReleaseTower(&stored);
  }
}

TEST_F(InsertionTest, CrossingPolygonKeepsAllItsPoints) {
  const std::int32_t o = 10 * kInch;
  EntityRecord* r = PendingPolygon(*w, {{o, o}, {o + 400, o + 400}, {o + 400, o}, {o, o + 400}, {o, o}});
  EXPECT_EQ(SetPolygon(r), nullptr);
  EXPECT_EQ(w->PendingRecord, r);
  EXPECT_EQ(r->as<PolygonHead>().count, 5);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "You cannot enter a polygon that contains intersections");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "SetPolygon");
  EXPECT_TRUE(Children(Type_Polygon).empty());
  PendingPolygon(*w, {{o, o}, {o + 400, o}, {o, o}});
  EXPECT_EQ(SetPolygon(w->PendingRecord), nullptr) << "fewer than three corners";
}

TEST_F(InsertionTest, ReversingThePolygonInHandKeepsTheLivePointLast) {
  EntityRecord* r = PendingPolygon(*w, {{1, 1}, {2, 2}, {3, 3}, {9, 9}});
  ReversePolygonInHand(hwnd, r);
  const pl3::Point* p = pl3::PolygonPoints(&r->as<PolygonHead>());
  EXPECT_EQ(p[0].x, 3);
  EXPECT_EQ(p[2].x, 1);
  EXPECT_EQ(p[3].x, 9);
}

TEST_F(InsertionTest, ThinLinesGoOnFromTheirEnd) {
  w->editorKind = kEditorShape;
  w->Cursor = {10 * kInch, 10 * kInch};
  BeginInsertThinLine({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  auto& l = w->PendingRecord->as<ThinLinePayload>().line;
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(AcceptThinLineSegment(&w->PendingRecord), nullptr);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  l.x2 = l.x1 + 1000000;
  pl3::Box* box = AcceptThinLineSegment(&w->PendingRecord);
  ASSERT_NE(box, nullptr);
  EXPECT_LE(box->xmin, l.x2 - 1000000);
  std::free(box);
  EXPECT_EQ(l.x1, l.x2) << "the next segment starts at the end";
  EXPECT_EQ(Children(Type_ThinLine).size(), 1u);
  EXPECT_EQ(w->EditMode, Mode_AddNewThinLine);
}

TEST_F(InsertionTest, CentroidNeedsADirection) {
  w->Cursor = {10 * kInch, 10 * kInch};
  BeginInsertCentroid({hwnd, nullptr}, &w->PendingRecord, &w->Button);
  const int beeps = pl3::BeepCount();
  AcceptCentroid(&w->PendingRecord);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  ASSERT_NE(w->PendingRecord, nullptr);
  w->PendingRecord->as<CentroidPayload>().direction = {100, 0};
  AcceptCentroid(&w->PendingRecord);
  const auto centroids = Children(Type_Centroid);
  ASSERT_EQ(centroids.size(), 1u);
  EXPECT_EQ(As<CentroidPayload>(centroids[0]).head.transform.b, 1 << 24) << "a clockwise quarter turn";
  EXPECT_EQ(w->EditMode, 0);
}

}  // namespace

namespace {

TEST_F(InsertionTest, SpiralToolTakesCentreStartPitchAndEndThenStoresTheSpiral) {
  const pl3::Point centre{10 * kInch, 10 * kInch};
  w->Cursor = {centre.x + 1000, centre.y};
  ASSERT_EQ(BeginInsertSpiral(hwnd, &w->PendingRecord, &w->Button), 1);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_EQ(w->EditMode, Mode_AddNewSpiral);
  EXPECT_EQ(w->InsertionTypeCode, Type_Spiral);
  {
    const auto& s = w->PendingRecord->as<SpiralPayload>();
    EXPECT_EQ(s.head.layer, 1);  // layer 0 is not enabled: the first enabled layer
    EXPECT_EQ(s.head.sizeFlags, kSizeByIndex);
    EXPECT_EQ(s.head.sizeIndex, 1u);  // the Lines list's default
    EXPECT_EQ(s.centre.x, w->Cursor.x);  // the snapped cursor
    EXPECT_NE(s.centre.x, centre.x + 1000);
  }
  // Moving follows with the centre; each click fixes one value. The points
  // are taken on the grid, as the steps snap them.
  const auto snapped = [](pl3::Point p) {
    SnapXY(&p.x, &p.y, 0);
    return p;
  };
  MoveTo(centre);
  EXPECT_EQ(w->PendingRecord->as<SpiralPayload>().centre.x, snapped(centre).x);
  Click(centre);
  EXPECT_EQ(w->EditMode, Mode_SetSpiralStartPoint);
  const pl3::Point start = snapped({centre.x - kInch / 10, centre.y});
  MoveTo(start);
  EXPECT_EQ(w->PendingRecord->as<SpiralPayload>().start.x, start.x);
  Click(start);
  EXPECT_EQ(w->EditMode, Mode_SetSpiralPitch);
  const pl3::Point pitchPoint = snapped({start.x, start.y - kInch / 10});
  const std::int32_t pitch = start.y - pitchPoint.y;
  MoveTo(pitchPoint);
  EXPECT_EQ(w->PendingRecord->as<SpiralPayload>().pitch, pitch);
  Click(pitchPoint);
  EXPECT_EQ(w->EditMode, Mode_SetSpiralEndPoint);
  const pl3::Point end{centre.x + kInch / 2 + 7, centre.y};
  MoveTo(end);
  EXPECT_EQ(w->PendingRecord->as<SpiralPayload>().end.x, end.x);  // the end is not snapped
  Click(end);
  EXPECT_EQ(w->EditMode, Mode_Idle);
  EXPECT_EQ(w->PendingRecord, nullptr);
  const auto stored = Children(Type_Spiral);
  ASSERT_EQ(stored.size(), 1u);
  const auto s = As<SpiralPayload>(stored[0]);
  EXPECT_EQ(s.centre.x, snapped(centre).x);
  EXPECT_EQ(s.start.x, start.x);
  EXPECT_EQ(s.pitch, pitch);
  EXPECT_EQ(s.end.x, end.x);
}

// The last click stores the spiral only once it sweeps past its start
// quadrant, judged on the spiral as its ghost shows it: an end inside the
// first turn beeps and keeps the spiral in hand; an end on the centre stands
// for the end five pitches out, and is stored as clicked.
TEST_F(InsertionTest, SpiralEndIsAcceptedOnlyPastTheStartQuadrant) {
  const auto snapped = [](pl3::Point p) {
    SnapXY(&p.x, &p.y, 0);
    return p;
  };
  const pl3::Point centre = snapped({10 * kInch, 10 * kInch});
  w->Cursor = centre;
  ASSERT_EQ(BeginInsertSpiral(hwnd, &w->PendingRecord, &w->Button), 1);
  Click(centre);
  const pl3::Point start = snapped({centre.x - kInch / 10, centre.y});
  MoveTo(start);
  Click(start);
  const pl3::Point pitchPoint = snapped({start.x, start.y - kInch / 10});
  MoveTo(pitchPoint);
  Click(pitchPoint);
  ASSERT_EQ(w->EditMode, Mode_SetSpiralEndPoint);

  const pl3::Point inside{centre.x + kInch / 20, centre.y - kInch / 20};
  MoveTo(inside);
  const int beeps = pl3::BeepCount();
  Click(inside);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w->EditMode, Mode_SetSpiralEndPoint);
  ASSERT_NE(w->PendingRecord, nullptr);
  EXPECT_TRUE(Children(Type_Spiral).empty());

  MoveTo(centre);
  Click(centre);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w->EditMode, Mode_Idle);
  EXPECT_EQ(w->InsertionTypeCode, 0);
  const auto stored = Children(Type_Spiral);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(As<SpiralPayload>(stored[0]).end.x, centre.x);
  EXPECT_EQ(As<SpiralPayload>(stored[0]).end.y, centre.y);
}

}  // namespace
