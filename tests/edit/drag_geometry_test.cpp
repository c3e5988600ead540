#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "edit/drag_geometry.h"
#include "edit/drawn_items.h"
#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/window_data.h"
#include "objects/editor_seams.h"
#include "objects/grid_sets.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "objects/window_state.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "tests/store/tower_test_support.h"

namespace {

using pl3::Point;

constexpr std::uint32_t kSnapOff = 0x400;

class DragGeometryTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    w = std::make_unique<CurrentWindowData>(kEditorPcb);
    w->ViewFlags |= kSnapOff;  // points stay where they are put
    ActiveWindowData = w.get();
    record = NewEntityRecord();
    record->header.recordType = Type_Arc;
  }
  void TearDown() override {
    FreeGridInfo(w->Grids);
    ActiveWindowData = nullptr;
  }
  pl3::ArcLayout& Arc() { return record->as<ArcPayload>(); }
  void Cursor(Point p) { w->Cursor = p; }

  std::unique_ptr<CurrentWindowData> w;
  std::unique_ptr<EntityRecord> record;
};

TEST_F(DragGeometryTest, ThreePointArcWithTheCursorOnTheChordCentresOnItsMidpoint) {
  ArcToolFirstPoint = {1000000, 5000000};
  ArcToolSecondPoint = {3000001, 5000000};
  Cursor({2500000, 5000000});
  ASSERT_EQ(DragStep(Mode_SetArcCentre, nullptr, record.get(), &w->Button), 1);
  EXPECT_EQ(Arc().centreX, 2000000) << "the integer midpoint";
  EXPECT_EQ(Arc().centreY, 5000000);
  EXPECT_EQ(Arc().radius, 1000000);
  EXPECT_EQ(ArcToolRadius, 1000000);
  EXPECT_EQ(Arc().startX, -1000000);
  EXPECT_EQ(Arc().endX, 1000001);

  // Off the chord: the centre lies on the bisector, level with the cursor.
  ArcToolSecondPoint = {3000000, 5000000};
  Cursor({1200000, 6000000});
  DragStep(Mode_SetArcCentre, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().centreX, 2000000);
  EXPECT_EQ(Arc().centreY, 6000000);
  EXPECT_EQ(Arc().radius, static_cast<std::int32_t>(std::sqrt(2.0) * 1000000));
}

TEST_F(DragGeometryTest, DiameterArcCentresBetweenItsEnds) {
  ArcToolFirstPoint = {1000000, 1000000};
  Cursor({3000000, 1000000});
  DragStep(Mode_SetArcEndPoint, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().centreX, 2000000);
  EXPECT_EQ(Arc().radius, 1000000);
  EXPECT_EQ(ArcToolSecondPoint.x, 3000000);
  Cursor(ArcToolFirstPoint);
  DragStep(Mode_SetArcEndPoint, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().radius, 0);
  w->EditMode = Mode_SetArcEndPoint;
  const int beeps = pl3::BeepCount();
  AcceptArcStep(Mode_SetArcEndPoint, nullptr, record.get(), &w->Button);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1) << "the second point on the centre is refused";
  EXPECT_EQ(w->EditMode, Mode_SetArcEndPoint);
}

TEST_F(DragGeometryTest, ArcStartOnItsCentreBeepsAndElseTheAngleStepBegins) {
  w->EditMode = Mode_SetArcRadius;
  Arc().centreX = Arc().centreY = 4000000;
  Cursor({4000000, 4000000});
  const int beeps = pl3::BeepCount();
  AcceptArcStep(Mode_SetArcRadius, nullptr, record.get(), &w->Button);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w->EditMode, Mode_SetArcRadius);

  Cursor({4000000, 3000000});
  DragStep(Mode_SetArcRadius, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().radius, 1000000);
  EXPECT_EQ(Arc().endX, 1000000) << "a quarter turn from the start";
  AcceptArcStep(Mode_SetArcRadius, nullptr, record.get(), &w->Button);
  EXPECT_EQ(w->EditMode, Mode_SetArcAngle);
  EXPECT_EQ(Arc().startY, -1000000);
  EXPECT_EQ(Arc().endY, -1000000) << "a zero sweep";

  // The angle step: the end follows the cursor's direction at the radius; on
  // the centre it keeps the start's direction.
  Cursor({9000000, 4000000});
  DragStep(Mode_SetArcAngle, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().endX, 1000000);
  EXPECT_EQ(Arc().endY, 0);
  Cursor({4000000, 4000000});
  DragStep(Mode_SetArcAngle, nullptr, record.get(), &w->Button);
  EXPECT_EQ(Arc().endX, 0);
  EXPECT_EQ(Arc().endY, -1000000);
}

TEST_F(DragGeometryTest, CornerDragMovesTheNamedCornerOfTheBox) {
  // From the box (100, 200)-(300, 400), the cursor at (50, 60).
  struct Case {
    std::uint32_t corner;
    Point first, second;
  };
  const Case cases[] = {
      {0, {50, 60}, {300, 400}},
      {1, {50, 200}, {300, 60}},
      {2, {100, 200}, {50, 60}},
      {3, {100, 60}, {50, 400}},
      {4, {100, 200}, {300, 400}},  // no such corner: nothing moves
  };
  for (const Case& c : cases) {
    record->header.recordType = Type_Rectangle;
    auto& r = record->as<RectanglePayload>();
    r.rect.corners[0] = {100, 200};
    r.rect.corners[1] = {300, 400};
    r.draggedCorner = c.corner;
    Cursor({50, 60});
    ASSERT_EQ(DragStep(16, nullptr, record.get(), &w->Button), 1);
    EXPECT_EQ(r.rect.corners[0].x, c.first.x) << "corner " << c.corner;
    EXPECT_EQ(r.rect.corners[0].y, c.first.y) << "corner " << c.corner;
    EXPECT_EQ(r.rect.corners[1].x, c.second.x) << "corner " << c.corner;
    EXPECT_EQ(r.rect.corners[1].y, c.second.y) << "corner " << c.corner;
  }
}

TEST_F(DragGeometryTest, ClampedMovesStopAtTheDesignAreaWithTheWidth) {
  LinePayload l{};
  l.width = 1000000;
  l.x1 = 1700000000, l.y1 = 300000000;
  l.x2 = 1800000000, l.y2 = 200000000;
  OffsetEntity(&l, Type_Track, 500000000, -500000000, 1);
  EXPECT_EQ(l.x2 + l.width, 1828800000);
  EXPECT_EQ(l.x1, 1728800000 - 1000000);
  EXPECT_EQ(l.y2 - l.width, 182880000);
  OffsetEntity(&l, Type_Track, 7, 9, 0);
  EXPECT_EQ(l.x2 + l.width, 1828800007) << "without the clamp flag";
  NoClampMoves = 1;
  OffsetEntity(&l, Type_Track, 10, 0, 1);
  EXPECT_EQ(l.x2 + l.width, 1828800017) << "the global switch lifts the clamp";

  // A spiral is bounded by its outer radius (here 9,000) plus its width about
  // the centre, whatever its stored end point.
  NoClampMoves = 0;
  SpiralPayload s{};
  s.width = 50;
  s.pitch = 4000;
  s.centre = {1828800000 - 20000, 1000000000};
  s.start = {s.centre.x - 1000, s.centre.y};
  s.end = {s.centre.x + 13000, s.centre.y};
  OffsetEntity(&s, Type_Spiral, 100000, 0, 1);
  EXPECT_EQ(s.centre.x + 9050, 1828800000);
  EXPECT_EQ(s.start.x, s.centre.x - 1000);
  EXPECT_EQ(s.end.x, s.centre.x + 13000);

  // A hole reaches its first size (a radius) round its centre.
  pl3::HoleLayout hole{};
  hole.size1 = 400000;
  hole.size2 = 200000;
  hole.centreX = 1800000000, hole.centreY = 200000000;
  OffsetEntity(&hole, Type_Hole, 90000000, -90000000, 1);
  EXPECT_EQ(hole.centreX + hole.size1, 1828800000);
  EXPECT_EQ(hole.centreY - hole.size1, 182880000);

  // A polygon's box moves with its points.
  auto p = NewEntityRecord();
  auto& poly = p->as<PolygonHead>();
  poly.count = 2;
  pl3::PolygonPoints(&poly)[1] = {5, 6};
  poly.extra[1] = {5, 6};
  OffsetEntity(&poly, Type_Polygon, 100, 200, 0);
  EXPECT_EQ(pl3::PolygonPoints(&poly)[1].y, 206);
  EXPECT_EQ(poly.extra[1].x, 105);
}

TEST_F(DragGeometryTest, DirectionTransforms) {
  struct Case {
    Point direction;
    pl3::Transform expected;
  };
  const double c45 = std::cos(M_PI / 4) * 16777216.0;
  const auto f = [](double v) { return static_cast<std::int32_t>(v); };
  const Case cases[] = {
      {{0, 5}, kHalfTurn},
      {{0, 0}, kHalfTurn},
      {{0, -5}, pl3::kIdentityTransform},
      {{5, 0}, kClockwiseQuarterTurn},
      {{-5, 0}, kAnticlockwiseQuarterTurn},
      {{3, -3}, {f(c45), f(c45), f(-c45), f(c45), 0, 0}},
  };
  for (const Case& c : cases) {
    pl3::Transform t{};
    MakeDirectionTransform(&t, c.direction, 0.0);
    EXPECT_EQ(t.a, c.expected.a) << c.direction.x << "," << c.direction.y;
    EXPECT_EQ(t.b, c.expected.b) << c.direction.x << "," << c.direction.y;
    EXPECT_EQ(t.c, c.expected.c) << c.direction.x << "," << c.direction.y;
    EXPECT_EQ(t.d, c.expected.d) << c.direction.x << "," << c.direction.y;
  }
}

// The drag step of each mode on a 1/20 inch grid: what the cursor sets, and
// whether it is snapped first.
TEST_F(DragGeometryTest, EachModeSetsItsFieldsFromTheCursor) {
  constexpr std::int32_t G = 1828800;  // 1/20 inch
  GridSet* set = BuildDefaultGridSet();
  set->flags = kGridSnap;
  set->current.kind = kGridCartesian;
  set->current.unit = kGridUnitInch;
  set->current.x = {1, 20, 1, 1, 1};
  set->current.y = {1, 20, 1, 1, 1};
  void* defaults = w->Grids;
  w->Grids = set;
  w->ViewFlags &= ~kSnapOff;
  w->CoordinateOrigin = {0, 0};
  w->Zoom = 36576;
  UpdateViewGlobals();
  const Point centre{100 * G, 100 * G};
  const Point off{centre.x + 7 * G + 900, centre.y - 3 * G - 800};  // snaps to (+7G, -3G)
  const Point snapped{centre.x + 7 * G, centre.y - 3 * G};
  const auto word = [&](std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, record->payload + offset, 4);
    return v;
  };
  struct Case {
    std::uint8_t mode;
    std::uint16_t type;
    Point cursor;
    std::vector<std::pair<std::size_t, std::int32_t>> expected;  // payload word offset, value
  };
  const std::size_t arcStart = offsetof(pl3::ArcLayout, startX), arcEnd = offsetof(pl3::ArcLayout, endX);
  const std::size_t arcRadius = offsetof(pl3::ArcLayout, radius);
  const std::size_t holeCentre = offsetof(pl3::HoleLayout, centreX), holeSize = offsetof(pl3::HoleLayout, size1);
  const std::size_t circleCentre = offsetof(pl3::CircleLayout, centreX);
  const std::size_t textAt = offsetof(GraphicHead, transform) + offsetof(pl3::Transform, tx);
  const std::size_t corner1 = offsetof(pl3::RectangleLayout, corners) + sizeof(Point);
  const std::size_t rectCentre = offsetof(pl3::RectangleLayout, centreX);
  const std::size_t vertex2 = sizeof(PolygonHead) + 2 * sizeof(Point);
  const Case cases[] = {
      // New arc: the start on the snapped cursor, the end a quarter turn on.
      {Mode_SetArcRadius, Type_Arc, off,
       {{arcStart, 7 * G}, {arcStart + 4, -3 * G}, {arcEnd, 3 * G}, {arcEnd + 4, 7 * G},
        {arcRadius, static_cast<std::int32_t>(std::sqrt(49.0 * G * G + 9.0 * G * G))}}},
      {Mode_AddNewThinArc, Type_Arc, off, {{arcStart, 7 * G}, {arcEnd, 3 * G}}},
      // The radius from the unsnapped cursor, then snapped as a length: 0.57G
      // becomes G, where the snapped cursor (on the centre) would give 0.
      {Mode_EditArcRadius, Type_Arc, {centre.x + 4 * G / 10, centre.y + 4 * G / 10}, {{arcRadius, G}}},
      // Mode 9 moves the start, at the radius (10G), onto the grid.
      {9, Type_Arc, {centre.x, centre.y + 50 * G + 300}, {{arcStart, 0}, {arcStart + 4, 10 * G}, {arcEnd, 10 * G}}},
      {Mode_AddNewCircleRadius, Type_Circle, {centre.x + 4 * G / 10, centre.y + 4 * G / 10},
       {{offsetof(pl3::CircleLayout, size), G}}},
      {Mode_AddNewViaB, Type_Hole, {centre.x + 4 * G / 10, centre.y + 4 * G / 10}, {{holeSize, G}}},
      {Mode_AddNewVia, Type_Hole, off, {{holeCentre, snapped.x}, {holeCentre + 4, snapped.y}}},
      {21, Type_Hole, off, {{holeCentre, snapped.x}, {holeCentre + 4, snapped.y}}},
      {Mode_AddNewCircle, Type_Circle, off, {{circleCentre, snapped.x}, {circleCentre + 4, snapped.y}}},
      {Mode_AddNewPolygon, Type_Polygon, off, {{vertex2, snapped.x}, {vertex2 + 4, snapped.y}}},
      {Mode_EditPolygon, Type_Polygon, off, {{vertex2, snapped.x}, {vertex2 + 4, snapped.y}}},
      {Mode_AddNewRectangleB, Type_Rectangle, off, {{corner1, snapped.x}, {corner1 + 4, snapped.y}}},
      {Mode_AddNewRectangle, Type_Rectangle, off, {{rectCentre, snapped.x}, {rectCentre + 4, snapped.y}}},
      // Text: the cursor less the grab offset (2G + 5, G + 7), then snapped.
      {Mode_AddNewString, Type_Text, off, {{textAt, snapped.x - 2 * G}, {textAt + 4, snapped.y - G}}},
      {7, Type_Track, off, {{offsetof(LinePayload, x1), snapped.x}, {offsetof(LinePayload, y1), snapped.y}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    *record = EntityRecord{};
    record->header.recordType = c.type;
    auto& a = Arc();
    a.centreX = centre.x, a.centreY = centre.y;  // also the circle's size and centre words, unused below
    if (c.type == Type_Arc) {
      a.radius = 10 * G;
      a.startX = 0, a.startY = -10 * G;
      a.endX = 10 * G, a.endY = 0;
    }
    if (c.type == Type_Circle) {
      auto& circle = record->as<CirclePayload>();
      circle.centreX = centre.x, circle.centreY = centre.y;
    }
    if (c.type == Type_Hole) {
      auto& h = record->as<HolePayload>().hole;
      h.centreX = centre.x, h.centreY = centre.y;
    }
    if (c.type == Type_Polygon) {
      record->payload[48] = 3;
      record->payload[49] = 2;
    }
    w->CursorOffset = {2 * G + 5, G + 7};
    Cursor(c.cursor);
    ASSERT_EQ(DragStep(c.mode, nullptr, record.get(), &w->Button), 1);
    for (const auto& [offset, value] : c.expected) EXPECT_EQ(word(offset), value) << "word at " << offset;
  }

  // The track end is left unsnapped while bit 13 of the view flags is set.
  *record = EntityRecord{};
  record->header.recordType = Type_Track;
  w->ViewFlags |= 0x2000;
  Cursor(off);
  DragStep(7, nullptr, record.get(), &w->Button);
  EXPECT_EQ(record->as<LinePayload>().x1, off.x);
  EXPECT_EQ(record->as<LinePayload>().y1, off.y);
  w->ViewFlags &= ~0x2000u;

  std::free(w->Grids);
  w->Grids = defaults;
}

// The ghost is replaced only when the view would show the change: a move
// inside one pixel keeps it.
TEST_F(DragGeometryTest, OnlyAVisibleChangeRedrawsTheGhost) {
  w->Zoom = 36576;  // a thou per pixel
  UpdateViewGlobals();
  constexpr std::int32_t kPixel = 36576;
  constexpr std::int32_t kHalf = kPixel / 2;  // values sit mid-pixel
  const Point base{1000 * kPixel + kHalf, 2000 * kPixel + kHalf};
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::uint16_t type;
    std::size_t offset;  // the word changed
    std::int32_t by;
    bool changed;
  };
  const Case cases[] = {
      {"radius inside a pixel", Mode_EditArcRadius, Type_Arc, offsetof(pl3::ArcLayout, radius), 100, false},
      {"radius by three pixels", Mode_EditArcRadius, Type_Arc, offsetof(pl3::ArcLayout, radius), 3 * kPixel, true},
      {"circle centre inside a pixel", Mode_AddNewCircle, Type_Circle, offsetof(pl3::CircleLayout, centreX), 50, false},
      {"circle centre by a pixel", Mode_AddNewCircle, Type_Circle, offsetof(pl3::CircleLayout, centreX), kPixel, true},
      {"circle size by a pixel", Mode_AddNewCircleRadius, Type_Circle, offsetof(pl3::CircleLayout, size), kPixel,
       true},
      {"track end inside a pixel", 7, Type_Track, offsetof(LinePayload, y1), 70, false},
      {"track end by two pixels", 7, Type_Track, offsetof(LinePayload, y1), 2 * kPixel, true},
      {"arc end turned a hair", Mode_SetArcAngle, Type_Arc, offsetof(pl3::ArcLayout, endY), 30, false},
      {"arc end turned a quarter", Mode_SetArcAngle, Type_Arc, offsetof(pl3::ArcLayout, endY), 100 * kPixel, true},
      {"arc width by a pixel", Mode_SetArcAngle, Type_Arc, offsetof(pl3::ArcLayout, width), 2 * kPixel, true},
  };
  for (const Case& c : cases) {
    EntityRecord before{};
    before.header.recordType = c.type;
    auto& a = before.as<ArcPayload>();
    a.width = 10 * kPixel + kHalf;
    a.radius = 100 * kPixel + kHalf;
    a.startX = 0, a.startY = -100 * kPixel;
    a.endX = 60 * kPixel, a.endY = 80 * kPixel;  // off the octant boundaries
    a.centreX = base.x, a.centreY = base.y;
    if (c.type == Type_Track) {
      auto& l = before.as<LinePayload>();
      l.x1 = base.x, l.y1 = base.y;
    }
    EntityRecord after = before;
    std::int32_t v;
    std::memcpy(&v, after.payload + c.offset, 4);
    v += c.by;
    std::memcpy(after.payload + c.offset, &v, 4);
    EXPECT_EQ(DragViewFormChanged(c.mode, before, after), c.changed) << c.name;
  }
}

TEST_F(DragGeometryTest, DeleteGraphicFreesOrComplains) {
  EntityRecord* r = NewEntityRecord().release();
  DeleteGraphic(&r);
  EXPECT_EQ(r, nullptr);
  DeleteGraphic(&r);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Error : Attempt to delete non-existent graphic.");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "Delete Graphic Error.");
}

}  // namespace

namespace {

// A pending record of the type with points at known places, dragged whole
// in mode 17: every point moves by the step of its reference point.
TEST_F(DragGeometryTest, PendingRecordMovesWholeByItsReferencePoint) {
  struct Case {
    std::uint16_t type;
    std::uint32_t checkedOffset;  // a coordinate pair that must move with the reference
    std::uint32_t referenceOffset;
  };
  const Case cases[] = {
      {Type_Track, offsetof(LinePayload, x1), offsetof(LinePayload, x2)},
      {Type_BoardOutlineLine, offsetof(LinePayload, x1), offsetof(LinePayload, x2)},
      {Type_Arc, offsetof(pl3::ArcLayout, centreX), offsetof(pl3::ArcLayout, centreX)},
      {Type_Circle, offsetof(pl3::CircleLayout, centreX), offsetof(pl3::CircleLayout, centreX)},
      {Type_Polygon, sizeof(PolygonHead) + 8, sizeof(PolygonHead)},
      {Type_Text, offsetof(GraphicHead, transform) + offsetof(pl3::Transform, tx),
       offsetof(GraphicHead, transform) + offsetof(pl3::Transform, tx)},
      {Type_Rectangle, offsetof(pl3::RectangleLayout, corners), offsetof(pl3::RectangleLayout, centreX)},
      {Type_Hole, offsetof(pl3::HoleLayout, centreX), offsetof(pl3::HoleLayout, centreX)},
  };
  w->Zoom = 1000;
  UpdateViewGlobals();
  w->EditMode = 17;
  for (const Case& c : cases) {
    record->header.recordType = c.type;
    std::memset(record->payload, 0, 128);
    if (c.type == Type_Polygon) record->payload[48] = 3;
    const Point reference{400000500, 500000500}, other{410000000, 520000000};
    std::memcpy(record->payload + c.checkedOffset, &other, sizeof other);
    std::memcpy(record->payload + c.referenceOffset, &reference, sizeof reference);
    EntityRecord* slot = record.get();
    Cursor({reference.x + 300, reference.y - 200});
    UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot);
    Point moved;
    std::memcpy(&moved, record->payload + c.referenceOffset, sizeof moved);
    EXPECT_EQ(moved.x, reference.x) << "type " << c.type << ": a move inside one pixel changes nothing";
    Cursor({reference.x + 30000, reference.y - 20000});
    ASSERT_EQ(UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot), 1);
    std::memcpy(&moved, record->payload + c.referenceOffset, sizeof moved);
    EXPECT_EQ(moved.x, reference.x + 30000) << "type " << c.type << ": the reference takes the cursor";
    EXPECT_EQ(moved.y, reference.y - 20000) << "type " << c.type;
    if (c.checkedOffset == c.referenceOffset) continue;
    std::memcpy(&moved, record->payload + c.checkedOffset, sizeof moved);
    EXPECT_EQ(moved.x, other.x + 30000) << "type " << c.type << ": the rest follows";
    EXPECT_EQ(moved.y, other.y - 20000) << "type " << c.type;
  }
  // Other types are not dragged, and other modes of the kind are not this step's.
  record->header.recordType = Type_Spiral;
  std::memset(record->payload, 0, 128);
  EntityRecord* slot = record.get();
  UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(record->payload[i], 0) << "byte " << i;
  w->EditMode = 4;
  EXPECT_EQ(UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot), 0);
}

// The second end of a track in hand takes the cursor on the grid: a track
// carries nothing on the cursor, so an insertion array left over from a
// placement does not make it snap finely; with the raw-point flag it takes
// the cursor as it is.
TEST_F(DragGeometryTest, TrackSecondEndFollowsTheCursorOnTheGrid) {
  w->ViewFlags &= ~kSnapOff;
  w->EditMode = Mode_AddNewTrack;
  w->InsertionCount = 2;  // stale: no item rides on the cursor in this mode
  record->header.recordType = Type_Track;
  std::memset(record->payload, 0, 128);
  auto& line = record->as<LinePayload>();
  line.x1 = line.x2 = 300000000;
  line.y1 = line.y2 = 300000000;
  const Point cursor{301234567, 302345678};
  Point grid = cursor, fine = cursor;
  SnapXY(&grid.x, &grid.y, 0);
  SnapXYFine(&fine.x, &fine.y);
  ASSERT_NE(grid.x, fine.x) << "the cursor must tell the two snaps apart";
  EntityRecord* slot = record.get();
  Cursor(cursor);
  ASSERT_EQ(UpdateDrawnItemGhost(GhostKind::RubberBandLine, nullptr, &w->Button, &slot), 1);
  EXPECT_EQ(line.x2, grid.x);
  EXPECT_EQ(line.y2, grid.y);
  EXPECT_EQ(line.x1, 300000000) << "the first end stays";

  w->ViewFlags |= 0x2000;
  ASSERT_EQ(UpdateDrawnItemGhost(GhostKind::RubberBandLine, nullptr, &w->Button, &slot), 1);
  EXPECT_EQ(line.x2, cursor.x);
  EXPECT_EQ(line.y2, cursor.y);
}

// The same drag runs in mode 4 while a picked item is held, and not without one.
TEST_F(DragGeometryTest, PendingRecordIsDraggedWhileASelectionIsHeld) {
  w->Zoom = 1000;
  UpdateViewGlobals();
  w->EditMode = 4;
  record->header.recordType = Type_Circle;
  std::memset(record->payload, 0, 128);
  const Point centre{400000000, 500000000};
  std::memcpy(record->payload + offsetof(pl3::CircleLayout, centreX), &centre, sizeof centre);
  EntityRecord* slot = record.get();
  Cursor({centre.x + 40000, centre.y + 10000});
  EXPECT_EQ(UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot), 0);
  Point at;
  std::memcpy(&at, record->payload + offsetof(pl3::CircleLayout, centreX), sizeof at);
  EXPECT_EQ(at.x, centre.x) << "no selection: the record stays";
  EXPECT_EQ(at.y, centre.y);
  Tower picked{};
  w->Selection = &picked;
  EXPECT_EQ(UpdateDrawnItemGhost(GhostKind::PolygonEdge, nullptr, &w->Button, &slot), 1);
  std::memcpy(&at, record->payload + offsetof(pl3::CircleLayout, centreX), sizeof at);
  w->Selection = nullptr;
  EXPECT_EQ(at.x, centre.x + 40000) << "the centre takes the cursor";
  EXPECT_EQ(at.y, centre.y + 10000);
}

}  // namespace
