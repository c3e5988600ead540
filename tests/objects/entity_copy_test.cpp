#include "objects/entity_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/spiral_defaults.h"
#include "platform/responder.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

struct FreeRecord {
  void operator()(void* p) const { std::free(p); }
};
using RecordPtr = std::unique_ptr<EntityRecord, FreeRecord>;

RecordPtr Copy(const std::vector<std::uint8_t>& p, std::uint16_t type) {
  return RecordPtr(static_cast<EntityRecord*>(
      CopyEntity(p.data(), static_cast<std::uint32_t>(p.size()), type, &pl3::kIdentityTransform)));
}

std::vector<std::uint8_t> TrackBytes(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                                     std::uint8_t layer = 1) {
  LinePayload line{};
  line.head.layer = layer;
  line.head.netIds[0] = 9;
  line.width = 50;
  line.x1 = x1;
  line.y1 = y1;
  line.x2 = x2;
  line.y2 = y2;
  std::vector<std::uint8_t> p(sizeof line);
  std::memcpy(p.data(), &line, sizeof line);
  return p;
}

std::vector<std::uint8_t> PolygonBytes(std::initializer_list<pl3::Point> points, std::uint8_t claimedCount = 0) {
  std::vector<std::uint8_t> p(PolygonStoredSize(static_cast<std::uint32_t>(points.size())), 0);
  p[0] = 1;
  p[48] = claimedCount ? claimedCount : static_cast<std::uint8_t>(points.size());
  std::uint32_t offset = 68;
  for (const pl3::Point& pt : points) {
    std::memcpy(p.data() + offset, &pt, 8);
    offset += 8;
  }
  return p;
}

class CopyTest : public WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    window->CurrentLayer = 5;
    window->layerTable.layers[1].oppositeLayer = 32;
    window->layerTable.layers[32].oppositeLayer = 1;
  }
};

TEST_F(CopyTest, ThermalBreakCopiesAsATrackRecordInStateZero) {
  RecordPtr r = Copy(TrackBytes(0, 0, 100, 40), Type_ThermalBreak);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->header.recordType, 1);
  EXPECT_EQ(r->header.state, 0);
  EXPECT_EQ(r->head().netIds[0], 0u) << "the copy starts without nets";
  EXPECT_EQ(r->as<LinePayload>().x2, 100);
}

TEST_F(CopyTest, HorizontalTrackGetsHeaderByteThreeSet) {
  RecordPtr flat = Copy(TrackBytes(0, 7, 100, 7), Type_Track);
  RecordPtr slanted = Copy(TrackBytes(0, 7, 100, 8), Type_Track);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&flat->header)[3], 1);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&slanted->header)[3], 5) << "the window's current layer";
}

TEST_F(CopyTest, MirrorModeMovesTracksButNotRectangles) {
  window->WalkFlags = kWalkMirrorMode;
  RecordPtr track = Copy(TrackBytes(0, 0, 10, 10, 1), Type_Track);
  EXPECT_EQ(track->head().layer, 32);
  std::vector<std::uint8_t> rect(92, 0);
  rect[0] = 1;
  rect[8] = 44;  // a net id the rectangle keeps
  RecordPtr r = Copy(rect, Type_Rectangle);
  EXPECT_EQ(r->head().layer, 1);
  EXPECT_EQ(r->head().netIds[0], 44u);
  window->WalkFlags = 0;
  window->StateFlags = kStateLayerOverride;
  window->OverrideLayer = 3;
  EXPECT_EQ(Copy(TrackBytes(0, 0, 10, 10, 1), Type_Track)->head().layer, 3);
}

TEST_F(CopyTest, PolygonKindsAndShortPolygons) {
  std::vector<std::uint8_t> plane = PolygonBytes({{0, 0}, {10, 0}, {10, 10}});
  plane[8] = 12;
  RecordPtr r = Copy(plane, Type_Plane);
  EXPECT_EQ(r->header.recordType, 4);
  EXPECT_EQ(r->header.state, kStatePlane);
  EXPECT_EQ(r->head().netIds[0], 12u) << "a Plane keeps its net";
  RecordPtr keepout = Copy(plane, Type_PolygonKeepout);
  EXPECT_EQ(keepout->header.recordType, Type_PolygonKeepout);
  EXPECT_EQ(keepout->header.state, kStateKeepout);
  EXPECT_EQ(keepout->head().netIds[0], 0u);
  // A count that claims more points than are stored is not copied.
  EXPECT_FALSE(Copy(PolygonBytes({{0, 0}, {10, 0}, {10, 10}}, 200), Type_Polygon));
}

TEST_F(CopyTest, UnknownTypesAreReported) {
  EXPECT_FALSE(Copy(TrackBytes(0, 0, 1, 1), 99));
  EXPECT_FALSE(Copy(TrackBytes(0, 0, 1, 1), 26));
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u) << "type 26 gives null without a message";
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Internal Error - Unknown type");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "CopyEntity");

  Tower* source = InsertEntity(design, 4, 999, "abc");
  EXPECT_EQ(CopyAndInsertEntity(design, source, &pl3::kIdentityTransform), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[1].text, "Unknown type to copy (999)");
  EXPECT_EQ(pl3::ResponderRecords()[1].caption, "CopyAndInsertEntity");
  ReleaseTower(&source);
}

TEST_F(CopyTest, PadStackInfoCopiesGetNewXrefNumbers) {
  std::vector<std::uint8_t> info(36, 0);
  info[4] = 77;
  auto* first = static_cast<std::uint8_t*>(CopyEntity(info.data(), 36, Type_PadStackInfo, nullptr));
  auto* second = static_cast<std::uint8_t*>(CopyEntity(info.data(), 36, Type_PadStackInfo, nullptr));
  EXPECT_EQ(first[4], 1);
  EXPECT_EQ(second[4], 2);
  std::free(first);
  std::free(second);
  EXPECT_EQ(CopyEntity(info.data(), 20, Type_PadStackInfo, nullptr), nullptr) << "a short record is absent";
}

TEST_F(CopyTest, DeepCopyKeepsAGroupsChildren) {
  Tower* group = InsertEntity(design, 0, Type_Designator, nullptr);
  Tower* data = InsertEntity(group, 0, Type_DesignatorData, nullptr);
  std::vector<std::uint8_t> info(20, 0);
  info[8] = 33;
  Insert(data, Type_DesignatorInfo, info);
  Insert(group, Type_DesignatorString, std::vector<std::uint8_t>{'R', '1', 0});
  Tower* target = InsertEntity(design, 0, Type_SymbolInstance, nullptr);

  Tower* copy = CopyAndInsertEntity(target, group, &pl3::kIdentityTransform);
  ASSERT_NE(copy, nullptr);
  const Entity* copied = TowerEntity(copy);
  EXPECT_EQ(towertest::GroupCodes(copied),
            (std::vector<std::uint16_t>{Type_DesignatorString, Type_DesignatorData}));
  EXPECT_STREQ(reinterpret_cast<const char*>(EntityPayload(towertest::FirstOfCode(copied, Type_DesignatorString))),
               "R1");
  const Entity* copiedData = towertest::FirstOfCode(copied, Type_DesignatorData);
  EXPECT_EQ(EntityPayload(towertest::FirstOfCode(copiedData, Type_DesignatorInfo))[8], 33);
  for (Tower** t : {&copy, &target, &data, &group}) ReleaseTower(t);
}

TEST_F(CopyTest, UndoRecordsCopyTheirChildrenOnce) {
  Tower* undo = InsertEntity(design, 0, 10506, nullptr);
  Insert(undo, 10502, Item(1, 4));
  Tower* copy = CopyAndInsertEntity(design, undo, &pl3::kIdentityTransform);
  ASSERT_NE(copy, nullptr);
  Tower* children = GetChildTower(copy, 10502);
  EXPECT_EQ(towertest::DrainTags(children).size(), 1u);
  for (Tower** t : {&children, &copy, &undo}) ReleaseTower(t);
}

TEST_F(CopyTest, InsertedCopiesTransformGeometryAndRefuseShortRecords) {
  Tower* track = InsertEntity(design, 68, Type_Track, TrackBytes(10, 20, 30, 40).data());
  Tower* target = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
  pl3::Transform shift = pl3::kIdentityTransform;
  shift.tx = 1000;
  shift.ty = 2000;
  Tower* copy = CopyAndInsertEntity(target, track, &shift);
  ASSERT_NE(copy, nullptr);
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(copy));
  EXPECT_EQ(line->x1, 1010);
  EXPECT_EQ(line->y2, 2040);
  EXPECT_EQ(line->head.netIds[0], 9u) << "a stored copy keeps its nets";

  Tower* shortTransform = InsertEntity(design, 8, Type_Transform, "12345678");
  EXPECT_EQ(CopyAndInsertEntity(target, shortTransform, &shift), nullptr);
  Tower* polygon = InsertEntity(design, 80, Type_Polygon, PolygonBytes({{0, 0}, {1, 0}, {1, 1}}, 250).data());
  EXPECT_EQ(CopyAndInsertEntity(target, polygon, &shift), nullptr);
  Tower* skipped = InsertEntity(design, 4, Type_Storage, "abc");
  EXPECT_EQ(CopyAndInsertEntity(target, skipped, &shift), nullptr);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  for (Tower** t : {&skipped, &polygon, &shortTransform, &copy, &target, &track}) ReleaseTower(t);
}

TEST_F(CopyTest, StructuralRecordsCopyTheirStoredSizes) {
  struct Case {
    std::uint16_t code;
    std::vector<std::uint8_t> payload;
    std::uint32_t copiedSize;  // the size the copy is inserted with (rounded up to 16 in the store)
  };
  std::vector<std::uint8_t> label(80, 'x');
  label[60] = 'L';
  label[61] = 0;
  const Case cases[] = {
      {Type_DesignatorInfo, std::vector<std::uint8_t>(32, 7), 20},
      {Type_Description, {'a', 'b', 0, 'z', 'z'}, 3},
      {Type_Label, label, 62},
      {167, std::vector<std::uint8_t>(40, 3), 48},
  };
  for (const Case& c : cases) {
    Tower* source = InsertEntity(design, static_cast<std::uint32_t>(c.payload.size()), c.code, c.payload.data());
    Tower* target = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    Tower* copy = CopyAndInsertEntity(target, source, &pl3::kIdentityTransform);
    ASSERT_NE(copy, nullptr) << c.code;
    EXPECT_EQ(TowerEntity(copy)->payloadSize, RoundUp16(c.copiedSize)) << c.code;
    const std::size_t compared = std::min<std::size_t>(c.copiedSize, c.payload.size());
    EXPECT_EQ(std::memcmp(TowerPayload(copy), c.payload.data(), compared), 0) << c.code;
    for (std::uint32_t k = c.copiedSize; k < TowerEntity(copy)->payloadSize; ++k) {
      EXPECT_EQ(TowerPayload(copy)[k], 0) << c.code << " copies no more than its record: byte " << k;
    }
    for (Tower** t : {&copy, &target, &source}) ReleaseTower(t);
  }
}

TEST_F(CopyTest, PinNamesGoUnderTheNearestSymbolPin) {
  Tower* source = InsertEntity(design, 64, 27, Item(0, 64).data());
  Tower* pin = InsertEntity(design, 0, 26, nullptr);
  Tower* inner = InsertEntity(pin, 0, Type_Attribute, nullptr);
  Tower* copy = CopyAndInsertEntity(inner, source, &pl3::kIdentityTransform);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(LastLevel(copy).typeCode, 27);
  EXPECT_EQ(copy->lastLevel, pin->lastLevel + 1) << "inserted under the pin, not the attribute";
  for (Tower** t : {&copy, &inner, &pin, &source}) ReleaseTower(t);
}

TEST_F(CopyTest, ArcCopiesTurnTheirVectorsAndMoveTheirCentre) {
  ArcPayload arc{};
  arc.head.layer = 1;
  arc.radius = 100;
  arc.startX = 100;
  arc.endY = 100;
  arc.centreX = 50;
  arc.centreY = 60;
  Tower* source = InsertEntity(design, sizeof arc, Type_Arc, &arc);
  const pl3::Transform quarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 1000, 0};
  Tower* copy = CopyAndInsertEntity(design, source, &quarter);
  ASSERT_NE(copy, nullptr);
  const auto* out = reinterpret_cast<const ArcPayload*>(TowerPayload(copy));
  pl3::Point start{100, 0};
  pl3::TransformVector(&quarter, start.x, start.y);
  pl3::Point centre{50, 60};
  pl3::TransformPoint(&quarter, centre.x, centre.y);
  EXPECT_EQ(out->startX, start.x);
  EXPECT_EQ(out->startY, start.y);
  EXPECT_EQ(out->centreX, centre.x);
  EXPECT_EQ(out->centreY, centre.y);
  EXPECT_NE(out->centreX, 50) << "the centre moved";
  ReleaseTower(&copy);
  ReleaseTower(&source);
}

TEST_F(CopyTest, TranslateMovesTheRequestedPart) {
  std::vector<std::uint8_t> line = TrackBytes(0, 0, 10, 10);
  TranslateEntity(line.data(), 68, Type_Track, {5, 6}, kPartSecondEnd);
  const auto* l = reinterpret_cast<const LinePayload*>(line.data());
  EXPECT_EQ(l->x1, 0);
  EXPECT_EQ(l->x2, 15);
  EXPECT_EQ(l->y2, 16);

  std::vector<std::uint8_t> polygon = PolygonBytes({{0, 0}, {10, 0}, {10, 10}});
  polygon[49] = 1;
  TranslateEntity(polygon.data(), static_cast<std::uint32_t>(polygon.size()), Type_Polygon, {3, 4}, kPartPolygonPoint);
  const auto* points = reinterpret_cast<const pl3::Point*>(polygon.data() + 68);
  EXPECT_EQ(points[0].x, 0);
  EXPECT_EQ(points[1].x, 13);
  EXPECT_EQ(points[1].y, 4);
  EXPECT_EQ(points[2].x, 10);

  ArcPayload arc{};
  arc.radius = 1;
  arc.centreX = 100;
  arc.centreY = 100;
  window->ReferencePoint = {101, 101};
  TranslateEntity(&arc, sizeof arc, Type_Arc, {1, 1}, kPartRadius);
  EXPECT_EQ(arc.radius, 2) << "sqrt(8) truncates";
  TranslateEntity(&arc, sizeof arc, Type_Arc, {7, 0}, kPartWhole);
  EXPECT_EQ(arc.centreX, 107);
}

class GrabTest : public CopyTest {
 protected:
  // The view pixel of a world point under the default mapping.
  static pl3::Point View(std::int32_t x, std::int32_t y) {
    pl3::WorldToView(x, y);
    return {x, y};
  }
  GrabBlock Grab(const Tower* item, pl3::Point cursor, bool whole = false) {
    GrabBlock g{};
    g.firstWord = g.secondWord = 99;
    g.cursorX = cursor.x;
    g.cursorY = cursor.y;
    g.wholeItem = whole ? 1 : 0;
    EXPECT_EQ(GrabEntity(item, &g), 1);
    EXPECT_EQ(g.firstWord, 0u);
    return g;
  }
};

TEST_F(GrabTest, LineGrabsByNearestPoint) {
  WalkHandlers.snapXY = [](std::int32_t* x, std::int32_t* y, int) {
    *x = *x / 100 * 100;
    *y = *y / 100 * 100;
  };
  Tower* line = InsertEntity(design, 68, Type_Track, TrackBytes(1001, 1001, 2001, 1001).data());
  struct Case {
    pl3::Point cursor;
    bool whole;
    std::uint16_t code;
    pl3::Point grab;
  };
  const pl3::Point v1 = View(1001, 1001);
  const pl3::Point v2 = View(2001, 1001);
  const pl3::Point quarter = {(v1.x + (v1.x + v2.x) / 2) / 2, v1.y};  // as near the first end as the middle
  const Case cases[] = {
      {v1, false, kEditFirstEnd, {1001, 1001}},
      {{v2.x + 3, v2.y - 4}, false, kEditSecondEnd, {2001, 1001}},
      {{(v1.x + v2.x) / 2, v1.y + 30}, false, kEditWhole, {1500, 1000}},
      {quarter, false, kEditFirstEnd, {1001, 1001}},
      {v1, true, kEditWholeItemRequest, {1500, 1000}},
  };
  for (const Case& c : cases) {
    const GrabBlock g = Grab(line, c.cursor, c.whole);
    EXPECT_EQ(g.editCode, c.code) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(g.grabX, c.grab.x);
    EXPECT_EQ(g.grabY, c.grab.y);
  }
  ReleaseTower(&line);

  // A line of one point: every distance ties and the first end wins.
  Tower* dot = InsertEntity(design, 68, Type_Track, TrackBytes(500, 500, 500, 500).data());
  EXPECT_EQ(Grab(dot, View(520, 530)).editCode, kEditFirstEnd);
  ReleaseTower(&dot);
}

TEST_F(GrabTest, SpiralGrabsTheNearestOfItsFourHandles) {
  constexpr std::int32_t C = 100000000;
  SpiralPayload spiral{};
  spiral.centre = {C, C};
  spiral.start = {C - 1000000, C};
  spiral.pitch = 4000000;  // the pitch point lies one pitch beyond the start: C - 5,000,000
  spiral.end = {C + 20000000, C};
  Tower* item = InsertEntity(design, sizeof spiral, Type_Spiral, &spiral);
  struct Case {
    pl3::Point at;
    std::uint16_t code;
  };
  const Case cases[] = {{{C, C}, kEditSpiralCentre},
                        {{C - 1000000, C}, kEditSpiralStart},
                        {{C - 5000000, C}, kEditSpiralPitch},
                        {{C + 20000000, C}, kEditSpiralEnd}};
  for (const Case& c : cases) {
    const GrabBlock g = Grab(item, View(c.at.x, c.at.y + 2000));
    EXPECT_EQ(g.editCode, c.code) << c.at.x;
    EXPECT_EQ(g.grabX, c.at.x);
    EXPECT_EQ(g.grabY, c.at.y);
    EXPECT_EQ(g.secondWord, 0u);
  }
  ReleaseTower(&item);
  // A spiral too short to hold its pitch has no handle.
  Tower* shortOne = InsertEntity(design, 60, Type_Spiral, &spiral);
  GrabBlock g{};
  EXPECT_EQ(GetSpiralHandle(shortOne, &g), 0);
  ReleaseTower(&shortOne);
}

// An unset pitch or end is grabbed where the spiral is drawn from it: the
// pitch 1,097,280, the end at |start - centre| plus five pitches right of the
// centre, for an end at (0, 0) or on the centre alike.
TEST_F(GrabTest, SpiralHandlesOfUnsetValuesLieWhereTheSpiralIsDrawn) {
  constexpr std::int32_t C = 100000000;
  constexpr std::int32_t P = kDefaultSpiralPitch;
  struct Case {
    const char* name;
    std::int32_t pitch;
    pl3::Point end;
  };
  const Case cases[] = {{"pitch 0, no end", 0, {0, 0}},
                        {"negative pitch, end on the centre", -40, {C, C}},
                        {"pitch 0, end on the centre", 0, {C, C}}};
  for (const Case& c : cases) {
    SpiralPayload spiral{};
    spiral.centre = {C, C};
    spiral.start = {C - 2000000, C + 3000000};
    spiral.pitch = c.pitch;
    spiral.end = c.end;
    Tower* item = InsertEntity(design, sizeof spiral, Type_Spiral, &spiral);
    const pl3::Point end{C + 2000000 + 5 * P, C + 3000000};
    const GrabBlock atEnd = Grab(item, View(end.x, end.y));
    EXPECT_EQ(atEnd.editCode, kEditSpiralEnd) << c.name;
    EXPECT_EQ(atEnd.grabX, end.x) << c.name;
    EXPECT_EQ(atEnd.grabY, end.y) << c.name;
    // The pitch point lies one default pitch beyond the start, away from the
    // centre: (-2, 3) scaled to P.
    const double length = std::sqrt(13.0);
    const pl3::Point pitchPoint{static_cast<std::int32_t>(C - 2000000 - 2 * P / length),
                                static_cast<std::int32_t>(C + 3000000 + 3 * P / length)};
    const GrabBlock atPitch = Grab(item, View(pitchPoint.x, pitchPoint.y));
    EXPECT_EQ(atPitch.editCode, kEditSpiralPitch) << c.name;
    EXPECT_NEAR(atPitch.grabX, pitchPoint.x, 1) << c.name;
    EXPECT_NEAR(atPitch.grabY, pitchPoint.y, 1) << c.name;
    ReleaseTower(&item);
  }
}

TEST_F(GrabTest, CentroidMovesInsideItsCircleAndTurnsOutside) {
  constexpr std::int32_t C = 100000000;
  CentroidPayload centroid{};
  centroid.head.sizeIndex = 585216;  // the marker's own size
  centroid.position = {C, C};
  centroid.direction = {0, -2 * 585216};
  Tower* item = InsertEntity(design, sizeof centroid, Type_Centroid, &centroid);
  const std::int32_t radius = pl3::ScaleToView(585216);
  struct Case {
    pl3::Point cursor;
    bool whole;
    std::uint16_t code;
    pl3::Point grab;
  };
  const pl3::Point at = View(C, C);
  const Case cases[] = {
      {at, false, kEditWhole, {C, C}},
      {{at.x + radius, at.y}, false, kEditWhole, {C, C}},  // on the circle: still inside
      {{at.x + radius + 1, at.y}, false, kEditCentroidDirection, {C, C - 2 * 585216}},
      {{at.x + radius + 1, at.y}, true, kEditWholeItemRequest, {C, C}},
  };
  for (const Case& c : cases) {
    const GrabBlock g = Grab(item, c.cursor, c.whole);
    EXPECT_EQ(g.editCode, c.code) << c.cursor.x << (c.whole ? " whole" : "");
    EXPECT_EQ(g.grabX, c.grab.x);
    EXPECT_EQ(g.grabY, c.grab.y);
  }
  ReleaseTower(&item);
}

TEST_F(GrabTest, WholeLineMidpointHalvesEachEndAsUnsigned) {
  Tower* line = InsertEntity(design, 68, Type_Track, TrackBytes(-3, 4, 5, 8).data());
  const GrabBlock g = Grab(line, {0, 0}, true);
  EXPECT_EQ(g.grabX, INT32_MIN);  // 0xFFFFFFFD / 2 + 5 / 2
  EXPECT_EQ(g.grabY, 6);
  ReleaseTower(&line);
}

TEST_F(GrabTest, ArcGrabsEndsCentreOrRadius) {
  ArcPayload arc{};
  arc.width = 10;
  arc.radius = 1000;
  arc.startX = 1000;
  arc.endY = 1000;
  arc.centreX = 10000;
  arc.centreY = 10000;
  Tower* item = InsertEntity(design, sizeof arc, Type_Arc, &arc);
  struct Case {
    pl3::Point cursor;
    bool whole;
    std::uint16_t code;
  };
  const Case cases[] = {
      {View(10990, 10050), false, kEditFirstEnd},
      {View(10050, 10990), false, kEditSecondEnd},
      {View(10600, 10600), false, kEditWhole},   // the middle, inside the radius
      {View(10800, 10800), false, kEditRadius},  // the middle, beyond the radius
      {View(10800, 10800), true, kEditWhole},
      {View(9000, 9000), false, kEditFirstEnd},  // both ends as near: the start
  };
  for (const Case& c : cases) {
    const GrabBlock g = Grab(item, c.cursor, c.whole);
    EXPECT_EQ(g.editCode, c.code) << c.cursor.x << "," << c.cursor.y << " whole " << c.whole;
    if (c.code == kEditWhole) {
      EXPECT_EQ(g.grabX, 10000);
    }
    if (c.code == kEditFirstEnd) {
      EXPECT_EQ(g.grabX, 11000);
    }
    if (c.code == kEditSecondEnd) {
      EXPECT_EQ(g.grabY, 11000);
    }
    if (c.code == kEditRadius) {
      EXPECT_NEAR(g.grabX, 10707, 2);
      EXPECT_NEAR(g.grabY, 10707, 2);
    }
  }
  ReleaseTower(&item);
}

TEST_F(GrabTest, PolygonGrabsTheNearestVertexAndRemembersIt) {
  Tower* item = InsertEntity(design, PolygonStoredSize(4), Type_Polygon,
                             PolygonBytes({{1000, 1000}, {3000, 1000}, {3000, 3000}, {1000, 3000}}).data());
  GrabBlock g = Grab(item, View(2900, 2800));
  EXPECT_EQ(g.editCode, kEditPolygonPoint);
  EXPECT_EQ(g.grabX, 3000);
  EXPECT_EQ(g.grabY, 3000);
  EXPECT_EQ(TowerPayload(item)[49], 2);
  g = Grab(item, View(2000, 2000));
  EXPECT_EQ(TowerPayload(item)[49], 0) << "the first of equal vertices";
  EXPECT_EQ(Grab(item, View(2000, 2000), true).editCode, kEditWholeItemRequest);
  ReleaseTower(&item);
}

TEST(TypeJoins, CompatibleTypes) {
  struct Case {
    std::uint16_t a, b;
    int result;
  };
  const Case cases[] = {{11, 2, 1}, {2, 11, 1}, {1, 11, 0}, {1, 2, 1}, {2, 1, 1}, {7, 7, 1}, {1, 3, 0}};
  for (const Case& c : cases) EXPECT_EQ(AreTypesCompatible(c.a, c.b), c.result) << c.a << "/" << c.b;
}

TEST_F(CopyTest, XrefNumbersCountUpFromOne) {
  EXPECT_EQ(NextXrefNumber(design), 1u);
  EXPECT_EQ(NextXrefNumber(design), 2u);
  EXPECT_EQ(towertest::WordAt(towertest::FirstOfCode(TowerEntity(design), Type_XrefHWM), 0), 2u);
}

}  // namespace
