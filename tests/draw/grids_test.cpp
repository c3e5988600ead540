#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>

#include "draw/grids.h"
#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "platform/user_constants.h"
#include "tests/draw/grid_test_entries.h"
#include "tests/geometry/raster_fixture.h"

namespace {

constexpr std::int32_t kThou = 36576;
constexpr std::int32_t kMm = 1440000;

GridEntry Cartesian(std::uint32_t unit, std::uint32_t num, std::uint32_t den, std::uint32_t thinning = 10) {
  GridEntry e{};
  e.unit = unit;
  e.kind = kGridCartesian;
  e.x = {num, den, 1, 10, thinning};
  e.y = e.x;
  return e;
}

using gridtest::Polar;

// The active window with the built-in grids.
class GridTest : public ::testing::Test {
 protected:
  CurrentWindowData block;
  void SetUp() override {
    block.Grids = BuildDefaultGridSet();
    ActiveWindowData = &block;
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    std::free(block.Grids);
  }
  GridSet& Set() { return *static_cast<GridSet*>(block.Grids); }
  void Use(const GridEntry& e) { Set().current = e; }
};

TEST(SnapValue, RoundsToTheNearestStepFromTheOrigin) {
  struct Case {
    std::int32_t v, a, b;
    std::uint32_t unit;
    std::int32_t origin, expected;
  };
  const std::int32_t o = 182880000;
  const Case cases[] = {
      {150, 1, 1, kGridUnitThou, 100, 100},
      {o + 18288, 1, 1, kGridUnitThou, o, o + kThou},       // half-way goes away from the origin
      {o - 18288, 1, 1, kGridUnitThou, o, o - kThou},
      {o + 18287, 1, 1, kGridUnitThou, o, o},
      {o, 1, 1, kGridUnitThou, o, o},
      {o + 3 * kMm + 1, 1, 4, kGridUnitMm, o, o + 3 * kMm},  // quarter millimetre
      {o + 914400, 1, 20, kGridUnitInch, o, o + 1828800},
      // Unsigned comparison: 0x8000FF00 lies 65,536 past the origin 0x7FFFFF00.
      {static_cast<std::int32_t>(0x8000FF00u), 1, 1, kGridUnitThou, 0x7FFFFF00, static_cast<std::int32_t>(0x7FFFFF00u + 2u * kThou)},
      // A step of zero leaves the value.
      {o + 5, 0, 1, kGridUnitThou, o, o + 5},
      {o + 5, 1, 0, kGridUnitThou, o, o + 5},
      {o + 5, 1, 100000, kGridUnitThou, o, o + 5},  // rounds to 0
      {o + 5, 1, 1, 9, o, o + 5},                   // no such unit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(SnapValue(c.v, c.a, c.b, c.unit, c.origin), c.expected);
  }
}

TEST_F(GridTest, FlagsDecideWhetherSnapsMove) {
  Use(Cartesian(kGridUnitThou, 1, 1));
  block.CoordinateOrigin = {1000, 1000};
  const std::int32_t far = 1000 + 3 * kThou + 100;
  std::int32_t x = far, y = far;
  block.ViewFlags = kViewSnapOff;
  SnapXY(&x, &y, 1);
  EXPECT_EQ(x, far);
  SnapXYFine(&x, &y);
  EXPECT_EQ(x, far);
  SnapXToGrid(&x);
  EXPECT_EQ(x, 1000 + 3 * kThou);  // the snapping-off flag is not consulted

  block.ViewFlags = 0;
  Set().flags = kGridDisplayed;  // snap flag off
  x = y = far;
  SnapXY(&x, &y, 0);
  EXPECT_EQ(x, far);
  SnapXToGrid(&x);
  EXPECT_EQ(x, far);
  SnapXY(&x, &y, 1);
  EXPECT_EQ(x, 1000 + 3 * kThou);
  EXPECT_EQ(y, 1000 + 3 * kThou);
}

TEST_F(GridTest, FineSnapCountsFromTheGridOrigin) {
  block.GridOrigin = {500, 700};
  Set().flags = 0;  // the snap flag does not matter
  pl3::Point p{500 + 914400, 700 - 914399};
  SnapPointFine(&p);
  EXPECT_EQ(p.x, 500 + 1828800);
  EXPECT_EQ(p.y, 700);
  std::int32_t x = 100 + 914400, y = 100;
  SnapXYAbout(&x, &y, 100, 100);
  EXPECT_EQ(x, 100 + 1828800);
}

TEST_F(GridTest, WindowWithoutGridsSnapsWithTheDefaultSet) {
  std::free(block.Grids);
  block.Grids = nullptr;
  std::int32_t x = 3 * kMm / 2 + 10, y = 0;
  SnapXY(&x, &y, 0);  // entry 0 of the built-in set: 1 mm, snap on
  EXPECT_EQ(x, 2 * kMm);
  EXPECT_NE(block.Grids, nullptr);
}

TEST_F(GridTest, DragSnapRecordsTheMoveAndTheCursorMoves) {
  Use(Cartesian(kGridUnitThou, 1, 1));
  block.Zoom = 9144;
  block.Cursor = {kThou + 100, 2 * kThou - 50};
  SnapDragPoint(nullptr, &block.Button);
  EXPECT_EQ(block.Cursor.x, kThou);
  EXPECT_EQ(block.Cursor.y, 2 * kThou);
  EXPECT_EQ(block.CursorOffset.x, -100);
  EXPECT_EQ(block.CursorOffset.y, 50);
  EXPECT_EQ(block.MouseWorld.x, kThou);  // the pointer was put on the point
  SnapDragPoint(nullptr, &block.Button);
  EXPECT_EQ(block.CursorOffset.x, 0);

  block.GridOrigin = {0, 0};
  block.Cursor = {914400 + 5, 0};
  FineSnapDragPoint(nullptr, &block.Button);
  EXPECT_EQ(block.Cursor.x, 1828800);
  EXPECT_EQ(block.CursorOffset.x, 1828800 - 914405);
}

TEST_F(GridTest, PolarSnapFindsTheNearestRingAndAngle) {
  Use(Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 10.0));  // rings 2 mm apart, every 36 degrees
  const pl3::Point c{400000000, 400000000};
  block.CoordinateOrigin = c;
  std::int32_t x = c.x, y = c.y;
  SnapXY(&x, &y, 0);
  EXPECT_EQ(x, c.x);
  EXPECT_EQ(y, c.y);
  // 1.1 rings out at 40 degrees (above and right of the centre).
  const double r = 1.1 * 2 * kMm, a = 40 * M_PI / 180;
  x = c.x + static_cast<std::int32_t>(r * std::cos(a));
  y = c.y - static_cast<std::int32_t>(r * std::sin(a));
  SnapXY(&x, &y, 0);
  EXPECT_NEAR(std::hypot(x - c.x, y - c.y), 2.0 * kMm, 2);
  EXPECT_NEAR(PolarAngle(c.x, c.y, x, y), 36.0, 1e-4);
  EXPECT_LT(y, c.y);
  // A point exactly on a position stays.
  const std::int32_t sx = x, sy = y;
  SnapPolarPoint(&x, &y);
  EXPECT_EQ(x, sx);
  EXPECT_EQ(y, sy);
}

TEST(PolarAngle, GrowsFromPlusXTowardSmallerY) {
  EXPECT_NEAR(PolarAngle(100, 100, 200, 100), 0.0, 1e-9);
  EXPECT_NEAR(PolarAngle(100, 100, 100, 0), 90.0, 1e-6);
  EXPECT_NEAR(PolarAngle(100, 100, 0, 100), 180.0, 1e-6);
  EXPECT_NEAR(PolarAngle(100, 100, 100, 200), 270.0, 1e-6);
}

TEST_F(GridTest, PolarCursorStepMovesByRingsAndAngles) {
  Use(Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 10.0));
  const pl3::Point c{400000000, 400000000};
  block.CoordinateOrigin = c;
  block.Cursor = c;
  PolarCursorStep(VK_DOWN);  // ring 0 stays ring 0
  EXPECT_EQ(block.Cursor.x, c.x);
  EXPECT_EQ(block.Cursor.y, c.y);
  PolarCursorStep(VK_UP);
  EXPECT_EQ(block.Cursor.x, c.x + 2 * kMm);
  EXPECT_EQ(block.Cursor.y, c.y);
  PolarCursorStep(VK_LEFT);
  EXPECT_NEAR(PolarAngle(c.x, c.y, block.Cursor.x, block.Cursor.y), 36.0, 1e-4);
  PolarCursorStep(VK_RIGHT);
  EXPECT_NEAR(PolarAngle(c.x, c.y, block.Cursor.x, block.Cursor.y), 0.0, 1e-4);

  // Off the grid at 40 degrees: right only comes back onto 36, left goes on to 72.
  const double r = 2.0 * kMm, a = 40 * M_PI / 180;
  const pl3::Point off{c.x + static_cast<std::int32_t>(r * std::cos(a)), c.y - static_cast<std::int32_t>(r * std::sin(a))};
  block.Cursor = off;
  PolarCursorStep(VK_RIGHT);
  EXPECT_NEAR(PolarAngle(c.x, c.y, block.Cursor.x, block.Cursor.y), 36.0, 1e-4);
  block.Cursor = off;
  PolarCursorStep(VK_LEFT);
  EXPECT_NEAR(PolarAngle(c.x, c.y, block.Cursor.x, block.Cursor.y), 72.0, 1e-4);
}

TEST_F(GridTest, ZeroPolarStepsNeitherSnapNorHang) {
  const pl3::Point c{400000000, 400000000};
  block.CoordinateOrigin = c;
  for (const GridEntry& e : {Polar(kGridUnitMm, 0.0, 1, 10.0), Polar(kGridUnitMm, 2.0, 1, 0.0),
                             Polar(kGridUnitMm, 2.0, 2, 0.0), Polar(kGridUnitMm, 2.0, 7, 10.0)}) {
    Use(e);
    std::int32_t x = c.x + 12345, y = c.y + 999;
    SnapXY(&x, &y, 1);
    EXPECT_EQ(x, c.x + 12345);
    EXPECT_EQ(y, c.y + 999);
    block.Cursor = {x, y};
    PolarCursorStep(VK_UP);
    EXPECT_EQ(block.Cursor.x, x);
  }
}

// ---- Drawing -------------------------------------------------------------------

// A 64 x 64 plane at 9,144 world units per pixel (a thou is four pixels).
class GridDrawing : public GridTest {
 protected:
  geomtest::Plane plane{64, 64};
  void SetUp() override {
    GridTest::SetUp();
    block.View = {0, 0, 9144};
    plane.view = block.View;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(9144);
    const std::uint32_t area[4] = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
    SetWorkingArea(area);
  }
  std::set<int> Columns() {
    std::set<int> columns;
    for (const auto& p : plane.Lit()) columns.insert(p.first);
    return columns;
  }
};

TEST_F(GridDrawing, ThinningMultipliesTheSpacingUpToTheMinimum) {
  DrawCartesianGrid(block, Cartesian(kGridUnitThou, 1, 1, 10));  // 4 px -> 40 px
  EXPECT_EQ(plane.Lit().size(), 4u);
  plane.Clear();
  for (const std::uint32_t factor : {1u, 0u}) {  // no thinning: drawn at its own spacing
    DrawCartesianGrid(block, Cartesian(kGridUnitThou, 1, 1, factor));
    EXPECT_EQ(plane.Lit().size(), 16u * 16u);
    const std::set<int> columns = Columns();
    int previous = -10;
    for (const int x : columns) {
      if (previous >= 0) {
        EXPECT_NEAR(x - previous, 4, 1);
      }
      previous = x;
    }
    plane.Clear();
  }
}

TEST_F(GridDrawing, ZeroStepsDrawNothing) {
  DrawCartesianGrid(block, Cartesian(kGridUnitThou, 0, 1));
  DrawCartesianGrid(block, Cartesian(kGridUnitThou, 1, 0));
  GridEntry e = Cartesian(kGridUnitThou, 1, 1);
  e.x.displayMultiple = 0;
  DrawCartesianGrid(block, e);
  DrawPolarGrid(block, Polar(kGridUnitMm, 0.0, 1, 10.0), pl3::Box{0, 0, 64 * 9144, 64 * 9144});
  DrawPolarGrid(block, Polar(kGridUnitMm, 1.0, 1, 0.0), pl3::Box{0, 0, 64 * 9144, 64 * 9144});
  EXPECT_TRUE(plane.Lit().empty());
}

TEST_F(GridDrawing, DotsStayInsideTheWorkingArea) {
  const std::uint32_t area[4] = {10 * kThou, 10 * kThou, 4 * kThou, 3 * kThou};
  SetWorkingArea(area);
  DrawCartesianGrid(block, Cartesian(kGridUnitThou, 1, 1, 1));
  EXPECT_EQ(plane.Lit().size(), 4u * 3u);  // columns 10..13 thou, rows 10..12 thou
}

TEST_F(GridDrawing, DrawGridUsesThePlaneValueOfTheKindAndOutlinesTheWorkingArea) {
  const std::uint32_t area[4] = {5 * kThou, 5 * kThou, 8 * kThou, 8 * kThou};
  SetWorkingArea(area);
  EXPECT_EQ(WorkingArea.left, 5u * kThou);
  EXPECT_EQ(WorkingArea.right, 13u * kThou);
  EXPECT_EQ(WorkingArea.bottom, 13u * kThou);
  Set().current = Cartesian(kGridUnitThou, 1, 1, 1);
  pl3::g_raster.fillValue = 7;
  for (const auto& [kind, value] : {std::pair{kEditorSchematic, 21u}, std::pair{kEditorPcb, 0x800000u}}) {
    plane.Clear();
    block.editorKind = kind;
    DrawGrid(block, pl3::Box{0, 0, 64 * 9144, 64 * 9144});
    EXPECT_EQ(pl3::g_raster.fillValue, 7u);
    std::set<std::uint32_t> values;
    for (const auto& p : plane.Lit()) values.insert(plane.At(p.first, p.second));
    EXPECT_EQ(values, std::set<std::uint32_t>{value});
    // The outline runs along the area's top edge (y = 5 thou, about pixel 19).
    int top = 0;
    for (int x = 21; x < 50; ++x) top += plane.At(x, 19) != 0;
    EXPECT_GE(top, 25);
  }
}

TEST(WorkingArea, FromARectangleOfOriginAndSize) {
  const std::uint32_t area[4] = {0, 0, 100, 50};
  SetWorkingArea(area);
  EXPECT_EQ(WorkingArea.left, 0u);
  EXPECT_EQ(WorkingArea.right, 100u);
  EXPECT_EQ(WorkingArea.top, 0u);
  EXPECT_EQ(WorkingArea.bottom, 50u);
}

TEST(GridBoxZone, NineZonesRowByRow) {
  const pl3::Box box{100, 100, 200, 200};
  const int expected[3][3] = {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}};
  const std::int32_t at[3] = {50, 150, 250};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) EXPECT_EQ(GridBoxZone(box, at[column], at[row]), expected[row][column]);
  EXPECT_EQ(GridBoxZone(box, 100, 200), 4);  // edges are inside
  double least = 0, greatest = 0;
  PolarBoxRadii(box, 150, 120, &least, &greatest);
  EXPECT_DOUBLE_EQ(least, 20);
  EXPECT_NEAR(greatest, std::hypot(50, 80), 1e-9);
}

TEST_F(GridDrawing, PolarRingsAreThinnedToTenPixels) {
  // Rings a quarter thou (one pixel) apart, every 30 degrees, centred in the plane.
  const std::int32_t centre = 32 * 9144;
  block.CoordinateOrigin = {centre, centre};
  DrawPolarGrid(block, Polar(kGridUnitThou, 0.25, kAngleEveryDegrees, 30.0), pl3::Box{0, 0, 63 * 9144, 63 * 9144});
  const auto lit = plane.Lit();
  ASSERT_GT(lit.size(), 20u);
  for (const auto& [x, y] : lit) {
    const double r = std::hypot(x - 32 + 1, y - 32 + 1);
    EXPECT_NEAR(r, 10 * std::round(r / 10), 1.6) << x << "," << y;
  }
}

TEST_F(GridDrawing, PolarDotsOutsideTheBoxSideAreNotDrawn) {
  // The centre left of the box (zone 3): every dot lies right of it.
  const std::int32_t cy = 32 * 9144;
  block.CoordinateOrigin = {2 * 9144, cy};
  DrawPolarGrid(block, Polar(kGridUnitThou, 2.5, kAngleEveryDegrees, 10.0),
                pl3::Box{20 * 9144, 0, 63 * 9144, 63 * 9144});
  const auto lit = plane.Lit();
  ASSERT_FALSE(lit.empty());
  for (const auto& p : lit) EXPECT_GE(p.first, 1);
}

}  // namespace

namespace {
TEST(WorkingArea, StartsAsTheDesignArea) {
  EXPECT_EQ(WorkingArea.left, 182880000u);
  EXPECT_EQ(WorkingArea.right, 1828800000u);
  EXPECT_EQ(WorkingArea.top, 182880000u);
  EXPECT_EQ(WorkingArea.bottom, 1828800000u);
}
}  // namespace
