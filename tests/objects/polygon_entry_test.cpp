#include "objects/polygon_entry.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "command_fixture.h"
#include "command_seam_fakes.h"
#include "objects/type_codes.h"
#include "platform/responder.h"

using commandtest::Calls;
using editorfakes::calls;

namespace {

void SetPoints(pl3::PolygonLayout& p, std::initializer_list<pl3::Point> points, std::uint8_t index = 0) {
  p.count = static_cast<std::uint8_t>(points.size());
  p.editIndex = index;
  pl3::Point* out = pl3::PolygonPoints(&p);
  for (const pl3::Point& q : points) *out++ = q;
}

using XY = std::pair<std::int32_t, std::int32_t>;
std::vector<XY> PointsOf(const pl3::PolygonLayout& p) {
  std::vector<XY> out;
  for (int i = 0; i < p.count; ++i) out.emplace_back(pl3::PolygonPoints(&p)[i].x, pl3::PolygonPoints(&p)[i].y);
  return out;
}
std::vector<XY> XYs(const std::vector<pl3::Point>& points) {
  std::vector<XY> out;
  for (const pl3::Point& q : points) out.emplace_back(q.x, q.y);
  return out;
}

class PolygonEntry : public commandtest::CommandTest {
 protected:
  PolygonHead& Polygon(std::initializer_list<pl3::Point> points) {
    PolygonHead& p = Pending(Type_Polygon).as<PolygonHead>();
    SetPoints(p, points);
    return p;
  }
};

TEST_F(PolygonEntry, ThreeCornersAndTheClosingPointAreStored) {
  window->EditMode = 13;
  window->SubMode = 5;
  Polygon({{100, 200}, {300, 200}, {300, 400}, {100, 200}});
  EXPECT_EQ(AcceptPolygonEntry(hwnd, window->PendingRecord), 1);
  EXPECT_EQ(calls, (Calls{"polygon ghost 4", "set polygon", "rect 100,200,101,201", "cursor 0", "status", "menus 0"}));
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->SubMode, 0);
  EXPECT_EQ(Children(Type_ModifiedNote).size(), 1u) << "the design is marked changed";
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(PolygonEntry, TwoCornersAreRefusedAndTheEntryGoesOn) {
  window->EditMode = 13;
  Polygon({{100, 200}, {300, 200}, {100, 200}});
  EXPECT_EQ(AcceptPolygonEntry(hwnd, window->PendingRecord), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You cannot enter a polygon with fewer than three points");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags, MB_OK | MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(window->EditMode, 13);
  EXPECT_EQ(AcceptPolygonEntry(hwnd, nullptr), 0);
}

TEST_F(PolygonEntry, APolygonTheEngineRefusesKeepsItsGhost) {
  window->EditMode = 13;
  commandfakes::setPolygonRefuses = true;
  Polygon({{100, 200}, {300, 200}, {300, 400}, {100, 200}});
  EXPECT_EQ(AcceptPolygonEntry(hwnd, window->PendingRecord), 0);
  EXPECT_EQ(calls, (Calls{"polygon ghost 4", "set polygon", "polygon ghost 4"}));
  EXPECT_EQ(window->EditMode, 13);
  EXPECT_TRUE(Children(Type_ModifiedNote).empty());
}

TEST_F(PolygonEntry, MirrorReflectsInXAndTwiceRestores) {
  window->EditMode = 28;
  EntityRecord& text = Pending(Type_Text);
  text.header.transform = {11, 22, 33, 44, 55, 66};
  MirrorGhost(hwnd, &text);
  EXPECT_EQ(text.header.transform.a, -11);
  EXPECT_EQ(text.header.transform.b, -22);
  EXPECT_EQ(text.header.transform.c, 33);
  EXPECT_EQ(text.header.transform.tx, 55);
  EXPECT_EQ(calls, (Calls{"mode ghost 7", "mode ghost 7"}));
  MirrorGhost(hwnd, &text);
  const pl3::Transform back{11, 22, 33, 44, 55, 66};
  EXPECT_EQ(std::memcmp(&text.header.transform, &back, sizeof back), 0);
}

struct MidpointCase {
  std::vector<pl3::Point> points;
  std::uint8_t index;
  int keepIndex;
  pl3::Point cursor;
  std::uint8_t newIndex;
  std::vector<pl3::Point> after;
};

TEST_F(PolygonEntry, MidpointVertexTable) {
  const MidpointCase cases[] = {
      // The edge (0, 0)-(101, 0): each half rounded down, then added.
      {{{0, 0}, {101, 0}, {101, 7}}, 1, 1, {50, 0}, 1, {{0, 0}, {101, 0}, {101, 0}, {101, 7}}},
      // Index 0: halfway between the first and the last point.
      {{{10, 20}, {30, 20}, {30, 60}}, 0, 1, {20, 40}, 0, {{10, 20}, {10, 20}, {30, 20}, {30, 60}}},
      // Without the flag the index moves on and the cursor lands on the duplicated point.
      {{{0, 0}, {100, 0}, {100, 8}}, 1, 0, {100, 0}, 2, {{0, 0}, {100, 0}, {100, 0}, {100, 8}}},
      {{{0, 0}, {101, 0}, {101, 7}}, 2, 1, {100, 3}, 2, {{0, 0}, {101, 0}, {101, 7}, {101, 7}}},
      // Coordinates are halved as unsigned words.
      {{{-2, 0}, {0, 0}, {5, 5}}, 1, 1, {INT32_MAX, 0}, 1, {{-2, 0}, {0, 0}, {0, 0}, {5, 5}}},
  };
  for (const MidpointCase& c : cases) {
    calls.clear();
    alignas(4) std::uint8_t room[kPolygonRoom] = {};
    auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(room);
    polygon->count = static_cast<std::uint8_t>(c.points.size());
    polygon->editIndex = c.index;
    std::copy(c.points.begin(), c.points.end(), pl3::PolygonPoints(polygon));
    InsertPolygonMidpoint(hwnd, polygon, c.keepIndex);
    EXPECT_EQ(PointsOf(*polygon), XYs(c.after)) << int(c.index) << c.keepIndex;
    EXPECT_EQ(polygon->editIndex, c.newIndex);
    EXPECT_EQ(window->Cursor.x, c.cursor.x);
    EXPECT_EQ(window->Cursor.y, c.cursor.y);
    EXPECT_EQ(calls, (Calls{"check point", "snap drag " + std::to_string(c.cursor.x) + "," + std::to_string(c.cursor.y)}));
  }
}

TEST_F(PolygonEntry, NoVertexAtTheLimitOrWhenTheEngineRefuses) {
  alignas(4) std::uint8_t room[kPolygonRoom] = {};
  auto* polygon = reinterpret_cast<pl3::PolygonLayout*>(room);
  polygon->count = 255;
  polygon->editIndex = 3;
  for (int i = 0; i < 255; ++i) pl3::PolygonPoints(polygon)[i] = {i, i};
  window->Cursor = {7, 7};
  InsertPolygonMidpoint(hwnd, polygon, 1);
  EXPECT_EQ(polygon->count, 255);
  EXPECT_EQ(pl3::PolygonPoints(polygon)[4].x, 4);
  EXPECT_TRUE(calls.empty());

  polygon->count = 254;
  commandfakes::checkPointAnswer = 1;
  InsertPolygonMidpoint(hwnd, polygon, 1);
  EXPECT_EQ(polygon->count, 254);
  EXPECT_EQ(calls, (Calls{"check point"}));

  // An index past the points has no edge to split.
  calls.clear();
  commandfakes::checkPointAnswer = 0;
  polygon->count = 4;
  polygon->editIndex = 9;
  InsertPolygonMidpoint(hwnd, polygon, 1);
  EXPECT_EQ(polygon->count, 4);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(window->Cursor.x, 7);
}

// A stored polygon of the design with its edit index.
Tower* StorePolygon(const Tower* design, std::initializer_list<pl3::Point> points, std::uint8_t index) {
  alignas(4) std::uint8_t room[kPolygonRoom] = {};
  auto* p = reinterpret_cast<pl3::PolygonLayout*>(room);
  p->head.layer = 1;
  SetPoints(*p, points, index);
  return InsertEntity(design, PolygonStoredSize(p->count), Type_Polygon, room);
}

TEST_F(PolygonEntry, ReplaceStoresTheNewPolygonSelectedAndDeletesTheOld) {
  Tower* old = StorePolygon(design, {{0, 0}, {100, 0}, {100, 100}}, 1);
  window->CurrentLayer = 1;  // the copy's header byte: the keep-index flag
  Tower* replacement = Own(ReplaceWithPolygonMidpoint(hwnd, old, design));
  ASSERT_NE(replacement, nullptr);
  const auto polygons = Children(Type_Polygon);
  ASSERT_EQ(polygons.size(), 1u) << "the old polygon is gone";
  EXPECT_EQ(polygons[0], TowerEntity(replacement));
  EXPECT_TRUE(polygons[0]->flags & kEntitySelected);
  const auto* stored = reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(polygons[0]));
  EXPECT_EQ(PointsOf(*stored), (std::vector<XY>{{0, 0}, {100, 0}, {100, 0}, {100, 100}}));
  EXPECT_EQ(window->Cursor.x, 50);
  EXPECT_EQ(calls, (Calls{"check point", "snap drag 50,0", "insert polygon"}));
}

TEST_F(PolygonEntry, ReplaceKeepsTheOldPolygonWhenNothingIsStored) {
  Tower* old = Own(StorePolygon(design, {{0, 0}, {100, 0}, {100, 100}}, 1));
  commandfakes::insertPolygonFails = true;
  EXPECT_EQ(ReplaceWithPolygonMidpoint(hwnd, old, design), nullptr);
  EXPECT_EQ(Children(Type_Polygon).size(), 1u);
  EXPECT_EQ(TowerEntity(old)->typeCode, Type_Polygon);
  // Not a polygon: nothing is touched.
  Tower* track = Store(Type_Track, LinePayload{});
  EXPECT_EQ(ReplaceWithPolygonMidpoint(hwnd, track, design), nullptr);
  EXPECT_EQ(Children(Type_Track).size(), 1u);
}

TEST_F(PolygonEntry, AddPointInEditSelectionReplacesTheWorkingItem) {
  window->EditMode = 39;
  window->CurrentLayer = 1;
  Tower* polygon = Own(StorePolygon(design, {{0, 0}, {100, 0}, {100, 100}}, 2));
  Select({{polygon, true}});
  AddPolygonPointCommand(hwnd);
  EXPECT_EQ(calls, (Calls{"mode ghost 6", "check point", "snap drag 100,50", "insert polygon", "mode ghost 6"}));
  const auto polygons = Children(Type_Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(TowerEntity(records[0].workingCopy), polygons[0]);
  EXPECT_EQ(reinterpret_cast<const pl3::PolygonLayout*>(EntityPayload(polygons[0]))->count, 4);
}

TEST_F(PolygonEntry, AddPointElsewhereAddsTheCursorToThePolygonInHand) {
  window->EditMode = 13;
  Polygon({{0, 0}, {100, 0}});
  AddPolygonPointCommand(hwnd);
  EXPECT_EQ(calls, (Calls{"mode ghost 7", "add point", "mode ghost 7"}));
}

}  // namespace
