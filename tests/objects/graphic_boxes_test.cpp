#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "item_helper_seam_fakes.h"
#include "locator_font.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

using pl3::Box;

bool Same(const Box& a, const Box& b) {
  return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
}
::testing::AssertionResult BoxIs(const Box& got, const Box& want) {
  if (Same(got, want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "box (" << got.xmin << ", " << got.ymin << ", " << got.xmax << ", "
                                       << got.ymax << "), wanted (" << want.xmin << ", " << want.ymin << ", "
                                       << want.xmax << ", " << want.ymax << ")";
}

constexpr std::int32_t kDefault = kDefaultPlaneClearance;
constexpr std::int32_t kFar = 100000000;  // far enough from 0 that no clamp applies

class GraphicBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    sizes = NewSizeTable();
    window->sizeTable = sizes.get();
    ActiveWindowData = window.get();
    itemseams::Recorded() = {};
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    window->sizeTable = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  // Stores a clearance table of the entries; `count` overrides the stored count.
  void StoreTable(const std::vector<PlaneClearanceEntry>& entries, std::uint32_t count = 0xFFFFFFFF) {
    std::vector<std::uint8_t> bytes(sizeof(PlaneClearanceTable) + entries.size() * sizeof(PlaneClearanceEntry));
    PlaneClearanceTable head{0, count == 0xFFFFFFFF ? static_cast<std::uint32_t>(entries.size()) : count};
    std::memcpy(bytes.data(), &head, sizeof head);
    if (!entries.empty()) std::memcpy(bytes.data() + sizeof head, entries.data(), entries.size() * sizeof entries[0]);
    Tower* t = InsertEntity(design, static_cast<std::uint32_t>(bytes.size()), kTypePlaneClearanceTable, bytes.data());
    ReleaseTower(&t);
  }

  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<SizeTable> sizes;
  Tower* design = nullptr;
};

LinePayload Track(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t half,
                  std::uint8_t layer = 1) {
  LinePayload p{};
  p.head.layer = layer;
  p.head.transform = pl3::kIdentityTransform;
  p.width = half;
  p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
  return p;
}

HolePayload Hole(std::int32_t size1, std::int32_t size2, std::uint8_t flags) {
  HolePayload p{};
  p.hole.head.transform = pl3::kIdentityTransform;
  p.hole.flags = flags;
  p.hole.size1 = size1, p.hole.size2 = size2;
  p.hole.centreX = kFar, p.hole.centreY = kFar;
  return p;
}

TEST_F(GraphicBoxTest, TrackIsWidenedByItsHalfWidthThenGrownByTheDefaultClearanceHeldAtZero) {
  LinePayload t = Track(0, 0, 100, 0, 10);
  Box b{};
  EXPECT_EQ(GetGraphicBox(&t, Type_Track, &b), 1);
  EXPECT_TRUE(BoxIs(b, {0, 0, 110 + kDefault, 10 + kDefault}));
}

TEST_F(GraphicBoxTest, EveryTrackLikeCodeTakesItsLayersClearance) {
  StoreTable({{3, {}, 1000}, {4, {}, 5000}});
  for (std::uint16_t code : {1, 10, 11, 35, 37, 39, 46, 47}) {
    LinePayload t = Track(kFar + 100, kFar, kFar, kFar + 50, 10, 4);
    Box b{};
    GetGraphicBox(&t, code, &b);
    EXPECT_TRUE(BoxIs(b, {kFar - 5010, kFar - 5010, kFar + 5110, kFar + 5060})) << "code " << code;
  }
}

TEST_F(GraphicBoxTest, TheBoxIsMappedThroughTheRecordsTransform) {
  LinePayload t = Track(0, 0, 100, 0, 10);
  t.head.transform = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, kFar, kFar};  // a quarter turn, moved
  Box b{};
  GetShapeGraphicBox(&t, Type_Track, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 10, kFar - 10, kFar + 10, kFar + 110}));
}

TEST_F(GraphicBoxTest, PlaneClearanceLookUp) {
  EXPECT_EQ(GetPlaneClearance(design, 7), kDefault);
  EXPECT_EQ(GetHoleClearance(design), kDefault);
  EXPECT_EQ(GetPlaneClearance(nullptr, 7), kDefault);
  StoreTable({{2, {}, 700}, {5, {}, -40}, {2, {}, 900}, {9, {}, 300}});
  EXPECT_EQ(GetPlaneClearance(design, 2), 700);  // the first entry of the layer
  EXPECT_EQ(GetPlaneClearance(design, 5), 0);    // below 0 counts as 0
  EXPECT_EQ(GetPlaneClearance(design, 3), kDefault);
  EXPECT_EQ(GetHoleClearance(design), 900);
}

TEST_F(GraphicBoxTest, AnEmptyTableGivesNoHoleClearance) {
  StoreTable({});
  EXPECT_EQ(GetHoleClearance(design), 0);
  EXPECT_EQ(GetPlaneClearance(design, 1), kDefault);
  HolePayload h = Hole(50, 80, 0);
  Box b{};
  GetGraphicBox(&h, Type_Hole, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 50, kFar - 50, kFar + 50, kFar + 50}));
}

TEST_F(GraphicBoxTest, ACountRunningPastTheTableIsReadWithinIt) {
  // Two entries stored, a count of 1,000: the look-up must stop at the record's end.
  StoreTable({{1, {}, 10}, {2, {}, 20}}, 1000);
  EXPECT_EQ(GetPlaneClearance(design, 2), 20);
  EXPECT_EQ(GetPlaneClearance(design, 200), kDefault);
  EXPECT_EQ(GetHoleClearance(design), 20);
}

TEST_F(GraphicBoxTest, AViaUsesItsSecondSizeAHoleItsFirstAndBothTakeTheHoleClearance) {
  StoreTable({{1, {}, 100}, {2, {}, 300}});
  HolePayload via = Hole(50, 80, kHoleIsVia);
  HolePayload hole = Hole(50, 80, 0);
  Box b{};
  GetGraphicBox(&via, Type_Hole, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 380, kFar - 380, kFar + 380, kFar + 380}));
  GetGraphicBox(&hole, Type_Hole, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 350, kFar - 350, kFar + 350, kFar + 350}));
  // A shape's hole always takes its second size, with no clearance.
  GetShapeGraphicBox(&hole, Type_Hole, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 80, kFar - 80, kFar + 80, kFar + 80}));
}

TEST_F(GraphicBoxTest, TextGetsTheOverbarMarginOnlyForATildeWithSomethingAfterIt) {
  struct Case {
    const char* text;
    bool margin;
  };
  const Case cases[] = {{"ABC", false}, {"ABC~", false}, {"~A", true}, {"A~B", true}, {"", false}};
  locatorfont::Font font;  // the drawing code measures the text in it
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes(kTextRoom, 0);
    auto* text = reinterpret_cast<TextPayload*>(bytes.data());
    text->head.layer = 1;
    text->size = 4096;  // a factor of exactly 1.0
    std::strcpy(text->text, c.text);
    text->textTransform = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, kFar, kFar};
    Box measured{};
    GetTextEntityBox(text, &measured);
    Box b{};
    GetGraphicBox(text, Type_Text, &b);
    const std::int32_t m = c.margin ? 103680000 : 0;
    EXPECT_TRUE(BoxIs(b, {measured.xmin - kDefault, measured.ymin - kDefault - m, measured.xmax + kDefault,
                          measured.ymax + kDefault + m}))
        << c.text;
  }
  EXPECT_EQ(TextOverbarMargin(2048), 51840000);
}

TEST_F(GraphicBoxTest, RectangleCornersAreAbsoluteAndTheTranslationIsLeftAlone) {
  RectanglePayload r{};
  r.rect.head.layer = 1;
  r.rect.head.transform = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 1000, 2000};
  const pl3::Point corners[4] = {{kFar, kFar}, {kFar + 400, kFar}, {kFar + 400, kFar + 300}, {kFar, kFar + 300}};
  std::memcpy(r.rect.corners, corners, sizeof corners);
  r.rect.centreX = kFar + 200, r.rect.centreY = kFar + 150;
  Box b{};
  GetGraphicBox(&r, Type_Rectangle, &b);
  EXPECT_TRUE(BoxIs(b, {kFar + 1000 - kDefault, kFar + 2000 - kDefault, kFar + 1400 + kDefault,
                        kFar + 2300 + kDefault}));
  EXPECT_EQ(r.rect.head.transform.tx, 1000);
  EXPECT_EQ(r.rect.head.transform.ty, 2000);
  GetShapeGraphicBox(&r, Type_Rectangle, &b);
  EXPECT_TRUE(BoxIs(b, {kFar + 1000, kFar + 2000, kFar + 1400, kFar + 2300}));
}

TEST_F(GraphicBoxTest, CirclesPolygonsCentroidsAndThinArcs) {
  CirclePayload c{};
  c.head.layer = 1;
  c.head.transform = pl3::kIdentityTransform;
  c.size = 70, c.centreX = kFar, c.centreY = kFar;
  Box b{};
  GetGraphicBox(&c, Type_Circle, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 70 - kDefault, kFar - 70 - kDefault, kFar + 70 + kDefault, kFar + 70 + kDefault}));

  std::vector<std::uint8_t> poly(kPolygonRoom, 0);
  auto* p = reinterpret_cast<PolygonHead*>(poly.data());
  p->head.layer = 1;
  p->head.transform = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 5, 7};
  p->extra[0] = {kFar, kFar + 10};
  p->extra[1] = {kFar + 20, kFar + 40};
  for (std::uint16_t code : {4, 8, 9, 41, 42, 43, 44, 45, 49}) {
    GetGraphicBox(poly.data(), code, &b);
    EXPECT_TRUE(BoxIs(b, {kFar + 5 - kDefault, kFar + 17 - kDefault, kFar + 25 + kDefault, kFar + 47 + kDefault}))
        << "code " << code;
  }

  CentroidPayload centroid{};
  centroid.head.sizeIndex = 30;
  centroid.head.transform = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 999, 999};  // not applied
  centroid.position = {kFar, kFar};
  GetGraphicBox(&centroid, Type_Centroid, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 60, kFar - 60, kFar + 60, kFar + 60}));

  ThinArcPayload arc{};
  arc.arc.head.transform = pl3::kIdentityTransform;
  arc.arc.width = 5, arc.arc.radius = 100, arc.arc.centreX = kFar, arc.arc.centreY = kFar;
  GetGraphicBox(&arc, Type_ThinArc, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 105, kFar - 105, kFar + 105, kFar + 105}));
}

TEST_F(GraphicBoxTest, ThinLinesAreAtLeastAsWideAsTheDotsAndHaveNoClearance) {
  // The new table's dots are 365,760 and 548,640.
  ThinLinePayload wire{};
  wire.line = Track(kFar, kFar, kFar + 10, kFar, 5);
  for (std::uint16_t code : {23, 28, 29}) {
    Box b{};
    GetGraphicBox(&wire, code, &b);
    EXPECT_TRUE(BoxIs(b, {kFar - 548640, kFar - 548640, kFar + 10 + 548640, kFar + 548640})) << "code " << code;
  }
  wire.line.width = 600000;
  Box b{};
  GetGraphicBox(&wire, Type_Wire, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 600000, kFar - 600000, kFar + 600010, kFar + 600000}));
}

TEST_F(GraphicBoxTest, CodesWithoutABoxLeaveItUntouched) {
  std::vector<std::uint8_t> payload(kLargestPayloadRoom, 0);
  for (std::uint16_t code : {0, 12, 26, 31, 50, 106}) {
    Box b{1, 2, 3, 4};
    EXPECT_EQ(GetGraphicBox(payload.data(), code, &b), 1);
    EXPECT_TRUE(BoxIs(b, {1, 2, 3, 4})) << "code " << code;
  }
  for (std::uint16_t code : {5, 8, 10, 20, 23, 34}) {
    Box b{1, 2, 3, 4};
    EXPECT_EQ(GetShapeGraphicBox(payload.data(), code, &b), 1);
    EXPECT_TRUE(BoxIs(b, {1, 2, 3, 4})) << "shape code " << code;
  }
}

TEST_F(GraphicBoxTest, SpiralsAndDimensionersTakeTheBoxesOfTheirOwners) {
  std::vector<std::uint8_t> payload(kLargestPayloadRoom, 0);
  Box b{1, 2, 3, 4};
  GetGraphicBox(payload.data(), Type_Spiral, &b);
  EXPECT_TRUE(BoxIs(b, {11, 22, 33, 44}));

  // The label is built but, with no font here, not laid out: its box is the
  // label position grown, as every text box is, by the plane clearance of
  // its layer.
  DimensionerPayload d{};
  d.a = {kFar, kFar};
  d.b = {kFar + 1000000, kFar};
  d.c = {kFar, kFar + 2000000};
  d.labelPosition = {kFar + 500000, kFar + 2000000};
  GetGraphicBox(&d, Type_Dimensioner, &b);
  const std::int32_t grow = 365760 + 2880000;
  EXPECT_TRUE(BoxIs(b, {kFar - grow, kFar - grow, kFar + 1000000 + grow, kFar + 2000000 + kDefault + 2880000}));
  d.options = kDimensionerArrowsOutside;
  GetGraphicBox(&d, Type_Dimensioner, &b);
  EXPECT_EQ(b.xmin, kFar - grow - 2194560);

  DimensionerPayload angle{};
  angle.c = {kFar, kFar};
  angle.a = {kFar + 3000, kFar + 4000};
  angle.labelPosition = {kFar + 1000000, kFar};
  GetGraphicBox(&angle, Type_AngleDimensioner, &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 5000, kFar - kDefault, kFar + 1000000 + kDefault, kFar + kDefault}));
}

TEST_F(GraphicBoxTest, AWorkingRecordIsBoxedUnderItsStoredCode) {
  std::unique_ptr<EntityRecord> record = NewEntityRecord();
  record->header.recordType = Type_Track;
  record->header.state = kStateBoardOutline;  // stored as 39: a track-like box with clearance
  record->as<LinePayload>() = Track(kFar, kFar, kFar + 100, kFar, 10, 2);
  StoreTable({{2, {}, 50}});
  Box b{};
  GetGraphicRecordBox(record.get(), &b);
  EXPECT_TRUE(BoxIs(b, {kFar - 60, kFar - 60, kFar + 160, kFar + 60}));
}

}  // namespace
