#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/size_table.h"
#include "objects/item_helpers.h"
#include "objects/plane_clearances.h"
#include "tests/draw/display_fixture.h"

// The font-record table of geometry/glyph_fonts.h, whose type-code constants
// clash with objects/type_codes.h.
void SetFontRecord(std::uint32_t number, TowerNode* font);

namespace {

using namespace displaytest;
constexpr std::uint16_t kTypeGlyph = 400;  // 400 + the character

class DisplayList_ : public DisplayTest {};

// ---- Vias and holes ---------------------------------------------------------------------

TEST_F(DisplayList_, ViaGivesTheViaAndItsDrillInTheHolesListAndBothGoWithIt) {
  Tower* via = Add(design, Type_Hole, Hole(2000000, 3000000, 20000, 40000, kHolePlated | kHoleVia));
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 5000));
  Put(via);
  Put(track);
  const auto holes = Items(DisplayList_Holes);
  ASSERT_EQ(holes.size(), 2u);
  const DisplayItem* drill = holes[0];  // newest first
  const DisplayItem* item = holes[1];
  EXPECT_EQ(item->kind, 17);
  EXPECT_EQ(item->checkClass, 2u);
  EXPECT_EQ(item->box.xmin, 2000000 - 40000);  // the via's box is its land
  EXPECT_EQ(item->box.ymax, 3000000 + 40000);
  // Layers 1, 2 and 32 are used and visible, all with the default clearance: one group.
  const HoleItem& v = *ItemAs<HoleItem>(item);
  ASSERT_EQ(v.groupCount, 1u);
  EXPECT_EQ(v.groups[0].colourBits, kTopBit | kInnerBit | kBottomBit);
  EXPECT_EQ(v.groups[0].clearance, kDefaultClearance);
  EXPECT_EQ(item->clearanceBox.xmin, 2000000 - 40000 - kDefaultClearance);

  EXPECT_EQ(drill->kind, 7);
  EXPECT_TRUE(drill->flags & kItemViaDrill);
  EXPECT_EQ(drill->checkClass, 5u);
  EXPECT_EQ(ItemAs<HoleItem>(drill)->groups, nullptr);
  EXPECT_EQ(ItemAs<HoleItem>(drill)->groupCount, 0u);
  EXPECT_EQ(drill->owner, nullptr);
  EXPECT_NE(drill->entity, item->entity);
  EXPECT_EQ(TowerEntity(drill->entity), TowerEntity(via));

  EXPECT_EQ(RemoveFromDisplayList(List(), via), List());
  EXPECT_TRUE(Items(DisplayList_Holes).empty());
  EXPECT_EQ(Items(DisplayList_General).size(), 1u);  // the track stays
}

TEST_F(DisplayList_, NonPlatedHoleHasNoRingAndItsOwnClass) {
  Tower* hole = Add(design, Type_Hole, Hole(2000000, 2000000, 30000, 50000, 0));
  Tower* plated = Add(design, Type_Hole, Hole(4000000, 2000000, 30000, 50000, kHolePlated));
  Put(hole);
  Put(plated);
  const auto holes = Items(DisplayList_Holes);
  ASSERT_EQ(holes.size(), 2u);
  const HoleItem& np = *ItemAs<HoleItem>(holes[1]);
  EXPECT_TRUE(np.head.flags & kItemNonPlated);
  EXPECT_EQ(np.record.hole.size2, np.record.hole.size1);
  EXPECT_EQ(np.head.checkClass, 6u);
  EXPECT_EQ(np.head.box.xmax, 2000000 + 30000);
  EXPECT_EQ(holes[0]->checkClass, 5u);
  EXPECT_EQ(ItemAs<HoleItem>(holes[0])->record.hole.size2, 50000);
}

TEST_F(DisplayList_, DlCode17HasNoCaseAndAnUnknownCodeAddsNothing) {
  pl3::ClearResponderRecords();
  const HolePayload via = Hole(2000000, 2000000, 20000, 40000, kHolePlated | kHoleVia);
  Tower* entity = Add(design, Type_Hole, via);
  CurrentDisplayList = List();
  CurrentDisplayEntity = entity;
  for (std::uint16_t code : {17, 11, 500}) {
    AddEntityToDisplayList(&via, sizeof via, code, &pl3::kIdentityTransform, 37);
  }
  CurrentDisplayList = nullptr;
  CurrentDisplayEntity = nullptr;
  EXPECT_EQ(TotalItems(), 0u);
  const auto& boxes = pl3::ResponderRecords();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "Unknown DL(17), please notify Corvane.");
  EXPECT_EQ(boxes[0].caption, "PL3");
  EXPECT_EQ(boxes[2].text, "Unknown DL(500), please notify Corvane.");
}

// ---- Tracks ---------------------------------------------------------------------------------

TEST_F(DisplayList_, TrackBoxIsItsEndsGrownByTheWidthAndItsClearanceBoxStaysAtOrAboveZero) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 3000000, 200000, 100000, 900000, 50000));
  Put(track);
  const auto general = Items(DisplayList_General);
  ASSERT_EQ(general.size(), 1u);
  const DisplayItem* item = general[0];
  EXPECT_EQ(item->kind, 1);
  EXPECT_EQ(item->box.xmin, 50000);
  EXPECT_EQ(item->box.ymin, 150000);
  EXPECT_EQ(item->box.xmax, 3050000);
  EXPECT_EQ(item->box.ymax, 950000);
  EXPECT_EQ(item->clearanceBox.xmin, 0);
  EXPECT_EQ(item->clearanceBox.ymin, 0);
  EXPECT_EQ(item->clearanceBox.xmax, 3050000 + kDefaultClearance);
  EXPECT_EQ(item->checkClass, 1u);
  const LineItem& line = *ItemAs<LineItem>(item);
  EXPECT_EQ(line.clearance, kDefaultClearance);
  EXPECT_EQ(line.savedColour, kTopBit);
  EXPECT_EQ(line.currentColour, kTopBit);
  EXPECT_EQ(line.record.head.sizeFlags, 2);
  // End marks one thou from each end, pointing into the segment.
  EXPECT_EQ(line.endMarks[0].x, 3000000);
  EXPECT_LT(line.endMarks[1].x, 3000000);
  EXPECT_LT(line.endMarks[2].x, 3000000);
  EXPECT_GT(line.endMarks[4].x, 100000);
}

TEST_F(DisplayList_, TrackBoxTakesTheLayersPlaneClearance) {
  struct {
    PlaneClearanceTable head{0, 1};
    PlaneClearanceEntry entry{Layer_Top, {}, 1000000};
  } table;
  Add(design, kTypePlaneClearanceTable, table);
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 3000000, 3000000, 4000000, 3000000, 10000));
  Put(track);
  const DisplayItem* item = Items(DisplayList_General).at(0);
  EXPECT_EQ(item->clearanceBox.xmin, 3000000 - 10000 - 1000000);
  EXPECT_EQ(ItemAs<LineItem>(item)->clearance, 1000000);
}

TEST_F(DisplayList_, TrackInsideAMarkerGoesToTheMarkersList) {
  Tower* marker = Own(InsertEmptyEntity(design, Type_InfoBoxHier));
  const pl3::TrackLayout leader = Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 0);
  Tower* inside = Add(marker, Type_Track, leader);
  Tower* outside = Add(design, Type_Track, leader);
  CurrentDisplayList = List();
  for (const Tower* t : {inside, outside}) {
    CurrentDisplayEntity = t;
    AddEntityToDisplayList(&leader, sizeof leader, Type_Track, &pl3::kIdentityTransform, 37);
  }
  CurrentDisplayList = nullptr;
  CurrentDisplayEntity = nullptr;
  ASSERT_EQ(Items(DisplayList_Markers).size(), 1u);
  EXPECT_TRUE(Items(DisplayList_Markers)[0]->flags & kItemFixedColour);
  EXPECT_EQ(Items(DisplayList_General).size(), 1u);
  EXPECT_FALSE(Items(DisplayList_General)[0]->flags & kItemFixedColour);
  // Removing the marker removes its items only.
  RemoveFromDisplayList(List(), marker);
  EXPECT_TRUE(Items(DisplayList_Markers).empty());
  EXPECT_EQ(Items(DisplayList_General).size(), 1u);
}

TEST_F(DisplayList_, OverrideLayerComesBeforeTheFlip) {
  struct Case {
    const char* name;
    std::uint32_t state;
    std::uint32_t view;
    std::uint8_t expectedLayer;
    std::uint32_t expectedColour;
  };
  const Case cases[] = {
      {"own layer", 0, 0, 2, kInnerBit},
      {"flipped", 0, kViewOtherSide, 2, kInnerBit},  // layer 2 is its own opposite
      {"override", kStateLayerOverride, 0, Layer_Top, kTopBit},
      {"override then flip", kStateLayerOverride, kViewOtherSide, Layer_Bottom, kBottomBit},
  };
  Tower* track = Add(design, Type_Track, Track(2, 1000000, 1000000, 2000000, 1000000, 1000));
  for (const Case& c : cases) {
    window->StateFlags = c.state;
    window->ViewFlags = c.view;
    window->OverrideLayer = Layer_Top;
    Put(track);
    const DisplayItem* item = Items(DisplayList_General).at(0);
    EXPECT_EQ(item->layer, c.expectedLayer) << c.name;
    EXPECT_EQ(ItemAs<LineItem>(item)->currentColour, c.expectedColour) << c.name;
    RemoveFromDisplayList(List(), track);
  }
}

TEST_F(DisplayList_, LineFamilyKindsTakeTheirListsAndClasses) {
  struct Case {
    std::uint16_t code;
    DisplayListIndex list;
    std::uint32_t checkClass;
  };
  const Case cases[] = {{10, DisplayList_General, 1}, {35, DisplayList_Cutouts, 0}, {37, DisplayList_General, 1},
                        {39, DisplayList_General, 7}, {46, DisplayList_Slots, 8},   {47, DisplayList_Slots, 9}};
  for (const Case& c : cases) {
    Tower* t = Add(design, c.code, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
    Put(t);
    const auto items = Items(c.list);
    ASSERT_EQ(items.size(), 1u) << c.code;
    EXPECT_EQ(items[0]->kind, c.code);
    EXPECT_EQ(items[0]->checkClass, c.checkClass) << c.code;
    if (c.code == 46) {
      EXPECT_EQ(ItemAs<LineItem>(items[0])->groupCount, 1u);
    }
    RemoveFromDisplayList(List(), t);
    EXPECT_EQ(TotalItems(), 0u) << c.code;
  }
}

// ---- Lists ----------------------------------------------------------------------------------

TEST_F(DisplayList_, EmptyListBoxAndTheListsThatCount) {
  pl3::Box box{1, 2, 3, 4};
  GetDisplayListBox(List(), &box);
  EXPECT_EQ(box.xmin, -1);
  EXPECT_EQ(box.ymin, -1);
  EXPECT_EQ(box.xmax, 0);
  EXPECT_EQ(box.ymax, 0);

  Put(Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1500000, 1000)));
  Put(Add(design, Type_Hole, Hole(5000000, 5000000, 20000, 20000, kHolePlated)));
  GetDisplayListBox(List(), &box);
  EXPECT_EQ(box.xmin, 1000000 - 1000);
  EXPECT_EQ(box.ymin, 1000000 - 1000);
  EXPECT_EQ(box.xmax, 5000000 + 20000);
  EXPECT_EQ(box.ymax, 5000000 + 20000);
}

TEST_F(DisplayList_, OnlyPcbWindowsKeepAList) {
  window->editorKind = kEditorSchematic;
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
  Put(track);
  EXPECT_EQ(TotalItems(), 0u);
  EXPECT_EQ(RemoveFromDisplayList(List(), track), nullptr);
  EXPECT_EQ(RebuildDisplayList(design, nullptr), nullptr);
}

TEST_F(DisplayList_, HoldKeepsItemsOnRemoval) {
  Tower* track = Add(design, Type_Track, Track(Layer_Top, 1000000, 1000000, 2000000, 1000000, 1000));
  Put(track);
  DisplayListHold = 1;
  EXPECT_EQ(RemoveFromDisplayList(List(), track), List());
  EXPECT_EQ(TotalItems(), 1u);
}

// ---- Other kinds ------------------------------------------------------------------------------

TEST_F(DisplayList_, CircleRectangleAndPolygonBoxes) {
  pl3::CircleLayout circle{};
  circle.head.layer = Layer_Top;
  circle.head.transform = pl3::kIdentityTransform;
  circle.size = 100000;
  circle.centreX = 1000000;
  circle.centreY = 2000000;
  Put(Add(design, Type_Circle, circle));

  RectanglePayload rect{};
  rect.rect.head.layer = Layer_Top;
  rect.rect.head.transform = pl3::kIdentityTransform;
  rect.rect.corners[0] = {900000, 800000};
  rect.rect.corners[1] = {1100000, 800000};
  rect.rect.corners[2] = {1100000, 1200000};
  rect.rect.corners[3] = {900000, 1200000};
  rect.rect.centreX = 1000000;
  rect.rect.centreY = 1000000;
  Put(Add(design, Type_Rectangle, rect));

  Put(AddBytes(design, Type_PolygonViaKeepout,
               Polygon(Layer_Top, {{100000, 100000}, {500000, 100000}, {300000, 400000}})));

  const auto general = Items(DisplayList_General);
  ASSERT_EQ(general.size(), 3u);
  const DisplayItem* keepout = general[0];
  EXPECT_EQ(keepout->kind, 42);
  EXPECT_TRUE(keepout->flags & kItemKeepout);
  EXPECT_EQ(keepout->box.xmin, 100000);
  EXPECT_EQ(keepout->box.ymax, 400000);  // not grown by a width
  const RectangleItem& r = *ItemAs<RectangleItem>(general[1]);
  EXPECT_EQ(r.head.box.xmin, 900000);
  EXPECT_EQ(r.head.box.ymax, 1200000);
  EXPECT_EQ(r.u.x, 100000);
  EXPECT_EQ(r.u.y, 200000);
  EXPECT_EQ(general[2]->box.xmin, 900000);
  EXPECT_EQ(general[2]->box.ymax, 2100000);
}

TEST_F(DisplayList_, PlanesAndCutoutsTakeTheirLists) {
  Put(AddBytes(design, Type_Plane, Polygon(Layer_Top, {{0, 0}, {10, 0}, {10, 10}})));
  Put(AddBytes(design, Type_PlaneCutout, Polygon(Layer_Top, {{0, 0}, {10, 0}, {10, 10}})));
  EXPECT_EQ(Items(DisplayList_Planes).size(), 1u);
  EXPECT_EQ(Items(DisplayList_Cutouts).size(), 1u);
}

TEST_F(DisplayList_, DimensionerPiecesComeBackAsTracksOfTheDimensioner) {
  DimensionerPayload d{};
  d.head.layer = Layer_TopSilkscreen;
  d.head.transform = pl3::kIdentityTransform;
  d.a = {10000000, 10000000};
  d.b = {20000000, 10000000};
  d.c = {15000000, 12000000};
  d.labelTransform = pl3::kIdentityTransform;
  Tower* dimensioner = Add(design, Type_Dimensioner, d);
  Put(dimensioner);
  const auto general = Items(DisplayList_General);
  ASSERT_FALSE(general.empty());
  for (const DisplayItem* item : general) {
    EXPECT_EQ(item->kind, 1);
    EXPECT_EQ(item->layer, Layer_TopSilkscreen);
    EXPECT_TRUE(item->flags & kItemInSymbol);
    EXPECT_EQ(TowerEntity(item->entity), TowerEntity(dimensioner));
  }
  RemoveFromDisplayList(List(), dimensioner);
  EXPECT_EQ(TotalItems(), 0u);
}

// ---- Bad input ---------------------------------------------------------------------------------

TEST_F(DisplayList_, RecordsShorterThanTheirLayoutAreSkipped) {
  const std::uint8_t shortRecord[20] = {Layer_Top};
  for (std::uint16_t code : {1, 2, 3, 6, 7, 36}) {
    Put(Own(InsertEntity(design, sizeof shortRecord, code, shortRecord)));
  }
  EXPECT_EQ(TotalItems(), 0u);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(DisplayList_, PolygonCountPastItsPayloadKeepsThePointsThatFit) {
  auto bytes = Polygon(Layer_Top, {{100, 100}, {900, 100}, {900, 900}, {100, 900}});
  bytes.resize(68 + 3 * 8 + 2);  // room for three points, the count says four
  Put(AddBytes(design, Type_Polygon, bytes));
  const auto general = Items(DisplayList_General);
  ASSERT_EQ(general.size(), 1u);
  const PolygonItem& p = *ItemAs<PolygonItem>(general[0]);
  EXPECT_EQ(PolygonItemRecord(&p)->count, 3);
  EXPECT_EQ(p.recordSize, PolygonStoredSize(3));
  EXPECT_EQ(p.head.box.ymax, 900);
  EXPECT_EQ(p.head.box.xmin, 100);

  std::vector<std::uint8_t> noPoint(60, 0);
  noPoint[48] = 200;
  Put(AddBytes(design, Type_Polygon, noPoint));
  EXPECT_EQ(Items(DisplayList_General).size(), 1u);
}

TEST_F(DisplayList_, DatumWithoutTerminatorIsReadWithinItsRecord) {
  std::vector<std::uint8_t> bytes(64 + 6, 0);
  auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
  d->x = 2000000;
  d->y = 2000000;
  std::memcpy(bytes.data() + 64, "ABCDEF", 6);  // no NUL
  Tower* datum = AddBytes(design, Type_Datum, bytes);
  Put(datum);
  const auto datums = Items(DisplayList_Datums);
  ASSERT_FALSE(datums.empty());
  const DisplayItem* item = datums.back();  // the datum itself comes first
  EXPECT_EQ(item->kind, Type_Datum);
  EXPECT_TRUE(item->flags & kItemDatum);
  const auto* copy = reinterpret_cast<const char*>(item) + sizeof(DatumItem) + 64;
  EXPECT_EQ(std::string(copy, strnlen(copy, 16)), "ABCDEF");
  RemoveFromDisplayList(List(), datum);
  EXPECT_TRUE(Items(DisplayList_Datums).empty());
}

// ---- Datum names ------------------------------------------------------------------------------------

class DatumNames : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    sizes = NewSizeTable();
    SizeEntry entry{};
    entry.flags = kSizeEntryOn;
    entry.unit = kSizeUnitNone;
    entry.value1 = 1;
    (*sizes)[SizeKind_Fonts].entries.push_back(entry);
    window->sizeTable = sizes.get();
    window->CurrentFont = 3;
    // Font 3: every character of the names is one triangle.
    font = towertest::NewTopLevelEntity(Type_Font);
    SetFontRecord(3, TowerEntity(font));
    for (const char c : std::string("UPER_IGHTa")) {
      Tower* glyph = Own(InsertEmptyEntity(font, static_cast<std::uint16_t>(kTypeGlyph + c)));
      const std::int32_t box[4] = {0, 0, 100000000, 100000000};
      Own(InsertEntity(glyph, sizeof box, Type_BoundingBox, box));
      const std::uint32_t info[2] = {1, 0};
      Own(InsertEntity(glyph, sizeof info, Type_CharacterInfo, info));
      AddBytes(glyph, Type_Polygon, Polygon(0, {{0, 0}, {50000000, 0}, {0, 50000000}}));
    }
  }
  void TearDown() override {
    SetFontRecord(3, nullptr);
    window->sizeTable = nullptr;
    DeleteEntity(font);
    ReleaseTower(&font);
    DisplayTest::TearDown();
  }
  // The smallest and largest x of the name's polygons, placed at (x, y).
  std::pair<std::int32_t, std::int32_t> NameSpan(const char* name) {
    std::vector<std::uint8_t> bytes(64 + std::strlen(name) + 1, 0);
    auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
    d->head.layer = Layer_Top;
    d->x = kX;
    d->y = kX;
    std::memcpy(bytes.data() + 64, name, std::strlen(name));
    Put(AddBytes(design, Type_Datum, bytes));
    std::pair<std::int32_t, std::int32_t> span{INT32_MAX, INT32_MIN};
    for (const DisplayItem* item : Items(DisplayList_Datums)) {
      if (item->kind != Type_Polygon) continue;
      EXPECT_EQ(ItemAs<PolygonItem>(item)->currentColour, 0x820000u);
      span.first = std::min(span.first, item->box.xmin);
      span.second = std::max(span.second, item->box.xmax);
    }
    return span;
  }
  static constexpr std::int32_t kX = 50000000;
  std::unique_ptr<SizeTable> sizes;
  Tower* font = nullptr;
};

TEST_F(DatumNames, UpperRightNameLiesRightOfThePointAnyOtherLeft) {
  const auto right = NameSpan("UPPER_RIGHT");
  ASSERT_NE(right.first, INT32_MAX);
  EXPECT_GT(right.first, kX);
  const DisplayItem* datum = Items(DisplayList_Datums).back();
  ASSERT_EQ(datum->kind, Type_Datum);
  const std::int32_t s = 131072, t = s / 3;  // one point
  EXPECT_EQ(datum->box.xmin, kX - t);
  EXPECT_EQ(datum->box.ymin, kX - s);
  EXPECT_EQ(datum->box.xmax, kX + s);
  EXPECT_EQ(datum->box.ymax, kX + t);

  RemoveFromDisplayList(List(), owned.back());
  EXPECT_TRUE(Items(DisplayList_Datums).empty());  // the name goes with its datum
  const auto left = NameSpan("aaa");
  ASSERT_NE(left.first, INT32_MAX);
  EXPECT_LT(left.second, kX);
}

// ---- Spirals ------------------------------------------------------------------------------------

SpiralPayload Spiral(std::int32_t pitch, pl3::Point start, pl3::Point end) {
  SpiralPayload s{};
  s.head.layer = Layer_Top;
  s.head.transform = pl3::kIdentityTransform;
  s.width = 1000;
  s.centre = {10000000, 10000000};
  s.start = start;
  s.end = end;
  s.pitch = pitch;
  return s;
}

TEST_F(DisplayList_, SpiralBecomesQuarterArcsThatJoin) {
  // From the left of the centre, one and a half turns out.
  const SpiralPayload s = Spiral(400000, {9000000, 10000000}, {11800000, 10000001});
  Put(Add(design, Type_Spiral, s));
  const auto arcs = Items(DisplayList_General);
  ASSERT_GE(arcs.size(), 4u);
  // Newest first: walk from the last item (the first quarter).
  for (std::size_t k = arcs.size() - 1; k > 0; --k) {
    const ArcItem& a = *ItemAs<ArcItem>(arcs[k]);
    const ArcItem& b = *ItemAs<ArcItem>(arcs[k - 1]);
    EXPECT_EQ(a.head.kind, 2);
    EXPECT_EQ(a.record.centreX + a.record.endX, b.record.centreX + b.record.startX) << k;
    EXPECT_EQ(a.record.centreY + a.record.endY, b.record.centreY + b.record.startY) << k;
  }
  const ArcItem& first = *ItemAs<ArcItem>(arcs.back());
  EXPECT_EQ(first.record.centreX + first.record.startX, 9000000);
  EXPECT_EQ(first.record.radius, 1000000);
}

TEST_F(DisplayList_, SpiralWithoutPitchOrEndIsDrawnWithTheDefaults) {
  // Pitch 0 and the end on the centre: the default pitch, the end five pitches out.
  const SpiralPayload s = Spiral(0, {9000000, 10000000}, {10000000, 10000000});
  Put(Add(design, Type_Spiral, s));
  // Start quadrant 0, end quadrant 1: the last quarter is index 13, so
  // fourteen quarters, the last at three and a quarter pitches out.
  const auto arcs = Items(DisplayList_General);
  ASSERT_EQ(arcs.size(), 14u);
  const ArcItem& last = *ItemAs<ArcItem>(arcs.front());
  EXPECT_EQ(last.record.radius, 1000000 + 3 * 1097280 + 1097280 / 4);
}

TEST_F(DisplayList_, SpiralQuarterWithCoincidingEndsAddsNoItem) {
  // The end sits exactly where the first quarter would end.
  const SpiralPayload s = Spiral(400000, {9000000, 10000000}, {10000000, 9000000});
  Put(Add(design, Type_Spiral, s));
  for (const DisplayItem* item : Items(DisplayList_General)) {
    const ArcItem& a = *ItemAs<ArcItem>(item);
    EXPECT_FALSE(a.record.startX == a.record.endX && a.record.startY == a.record.endY);
  }
}

// ---- Span colours -----------------------------------------------------------------------------------

TEST_F(DisplayList_, SpanAndViaColours) {
  EXPECT_EQ(GetLayerSpanColour(1, 32, 0), kTopBit | kInnerBit | kBottomBit | kTopResistBit | kBottomResistBit);
  EXPECT_EQ(GetLayerSpanColour(1, 32, 1),
            kTopBit | kInnerBit | kBottomBit | kTopResistBit | kBottomResistBit | kTopSilkBit | kBottomSilkBit);
  window->SingleLayer = Layer_Top;
  EXPECT_EQ(GetLayerSpanColour(1, 32, 1), kTopBit);
  window->SingleLayer = -1;

  struct Case {
    std::uint32_t options;
    std::uint32_t padResist;
    std::uint32_t expected;
  };
  const std::uint32_t copper = kTopBit | kInnerBit | kBottomBit;
  const Case cases[] = {
      {0, 0, copper | kTopResistBit | kBottomResistBit},  // neither tented: both openings
      {0, 5, copper},                                      // the pad resist options tent both
      {2 | 8, 5, copper | kTopResistBit | kBottomResistBit},  // never tented wins
      {1, 0, copper | kBottomResistBit},                   // top always tented
  };
  for (const Case& c : cases) {
    PadResistOptions = c.padResist;
    EXPECT_EQ(GetViaColour(1, 32, c.options, 0), c.expected) << c.options << " " << c.padResist;
  }
  PadResistOptions = 0;
  EXPECT_EQ(GetViaColour(1, 32, 0, 1), copper | kTopResistBit | kBottomResistBit | kTopSilkBit | kBottomSilkBit);
  // A blind via from an inner layer reaches neither outer side's layers.
  EXPECT_EQ(GetViaColour(2, 32, 0, 1), kInnerBit | kBottomBit | kBottomResistBit | kBottomSilkBit);
}

TEST_F(DisplayList_, LayerGroupsSplitByClearance) {
  struct {
    PlaneClearanceTable head{0, 1};
    PlaneClearanceEntry entry{2, {}, 500000};
  } table;
  Add(design, kTypePlaneClearanceTable, table);
  std::uint32_t count = 0;
  LayerGroup* groups = BuildItemLayerGroups(1, 32, &count);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(groups[0].colourBits, kTopBit | kBottomBit);
  EXPECT_EQ(groups[0].clearance, kDefaultClearance);
  EXPECT_EQ(groups[1].colourBits, kInnerBit);
  EXPECT_EQ(groups[1].clearance, 500000);
  std::free(groups);
  window->layerTable.layers[2].flags &= ~kLayerVisible;
  groups = BuildItemLayerGroups(1, 32, &count);
  EXPECT_EQ(count, 1u);
  std::free(groups);
}

}  // namespace
