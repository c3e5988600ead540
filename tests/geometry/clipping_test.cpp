#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "geometry/clipping.h"
#include "geometry/raster_state.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using pl3::ViewClip;
using pl3::ViewSegment;

const ViewClip kClip = {10, 20, 110, 220, 200, 300};

struct SegmentCase {
  const char* name;
  ViewSegment in;
  int result;
  ViewSegment out;
};

TEST(ClipSegment, Table) {
  const SegmentCase cases[] = {
      {"inside, returned ordered by y", {50, 100, 40, 30}, 0, {40, 30, 50, 100}},
      {"vertical inside ordered", {60, 200, 60, 50}, 0, {60, 50, 60, 200}},
      {"on the top edge is kept", {20, 20, 90, 20}, 0, {20, 20, 90, 20}},
      {"horizontal right to left comes back left to right", {200, 50, 0, 50}, 0, {10, 50, 110, 50}},
      {"vertical through top and bottom", {60, 0, 60, 400}, 0, {60, 20, 60, 220}},
      {"wholly left", {0, 30, 9, 60}, 1, {0, 30, 9, 60}},
      {"wholly below", {20, 221, 90, 300}, 1, {20, 221, 90, 300}},
      {"wholly above", {20, 0, 90, 19}, 1, {20, 0, 90, 19}},
      {"wholly right", {111, 30, 150, 60}, 1, {111, 30, 150, 60}},
      // x rises with y: (0, 0) to (200, 400): dx 200, dy 400.
      {"rising through top-left and bottom", {0, 0, 200, 400}, 0, {10, 20, 110, 220}},
      // x falls with y: (200, 0) to (0, 400).
      {"falling through top-right and bottom-left", {200, 0, 0, 400}, 0, {110, 180, 90, 220}},
      // Cut at the top edge only: (20, 10) to (40, 50): dx 20, dy 40.
      {"cut at ymin", {20, 10, 40, 50}, 0, {25, 20, 40, 50}},
      {"cut at ymax", {20, 200, 40, 240}, 0, {20, 200, 30, 220}},
      {"cut at xmin", {0, 100, 20, 110}, 0, {10, 105, 20, 110}},
      {"cut at xmax", {100, 100, 120, 110}, 0, {100, 100, 110, 105}},
      // The box meets the clip but the line passes outside the top-left corner.
      {"passes outside a corner", {0, 25, 15, 10}, 1, {0, 25, 15, 10}},
  };
  for (const SegmentCase& c : cases) {
    ViewSegment s = c.in;
    EXPECT_EQ(pl3::ClipSegment(kClip, &s), c.result) << c.name;
    EXPECT_EQ(s.x1, c.out.x1) << c.name;
    EXPECT_EQ(s.y1, c.out.y1) << c.name;
    EXPECT_EQ(s.x2, c.out.x2) << c.name;
    EXPECT_EQ(s.y2, c.out.y2) << c.name;
  }
}

TEST(ClipSegment, ToViewUsesTheCurrentClip) {
  geomtest::Plane plane(16, 16);
  ViewSegment s = {-5, 3, 30, 3};
  EXPECT_EQ(pl3::ClipSegmentToView(&s), 0);
  EXPECT_EQ(s.x1, 0);
  EXPECT_EQ(s.x2, 15);
}

struct RunCase {
  const char* name;
  std::int32_t a, b, c;  // horizontal: x0, x1, y; vertical: x, y0, y1
  bool kept;
  std::int32_t lo, hi;
};

TEST(ClipRuns, HorizontalAtEachEdge) {
  const RunCase cases[] = {
      {"inside", 20, 30, 50, true, 20, 30},
      {"reversed is dropped", 30, 20, 50, false, 0, 0},
      {"above", 20, 30, 19, false, 0, 0},
      {"below", 20, 30, 221, false, 0, 0},
      {"left of the clip", 0, 9, 50, false, 0, 0},
      {"right of the clip", 111, 150, 50, false, 0, 0},
      {"cut on both sides", 0, 500, 50, true, 10, 110},
      {"one pixel on the corner", 110, 110, 220, true, 110, 110},
      {"on the top row", 5, 10, 20, true, 10, 10},
  };
  for (const RunCase& c : cases) {
    std::int32_t x0 = c.a, x1 = c.b;
    EXPECT_EQ(pl3::ClipHorizontalRun(kClip, x0, x1, c.c), c.kept) << c.name;
    if (c.kept) {
      EXPECT_EQ(x0, c.lo) << c.name;
      EXPECT_EQ(x1, c.hi) << c.name;
    }
  }
}

TEST(ClipRuns, VerticalAtEachEdge) {
  const RunCase cases[] = {
      {"inside", 50, 30, 40, true, 30, 40},
      {"left", 9, 30, 40, false, 0, 0},
      {"right", 111, 30, 40, false, 0, 0},
      {"above", 50, 0, 19, false, 0, 0},
      {"below", 50, 221, 300, false, 0, 0},
      {"cut at top and bottom", 50, -100, 1000, true, 20, 220},
      {"one pixel on the corner", 10, 20, 20, true, 20, 20},
  };
  for (const RunCase& c : cases) {
    std::int32_t y0 = c.b, y1 = c.c;
    EXPECT_EQ(pl3::ClipVerticalRun(kClip, c.a, y0, y1), c.kept) << c.name;
    if (c.kept) {
      EXPECT_EQ(y0, c.lo) << c.name;
      EXPECT_EQ(y1, c.hi) << c.name;
    }
  }
}

TEST(ClipRects, FilledRowByRowInsideTheClipOnly) {
  geomtest::Plane plane(12, 10);
  plane.clip = {2, 3, 8, 6, 12, 10};
  // Given reversed on both axes and reaching past every edge.
  pl3::FillClippedRect(20, 20, -5, -5);
  geomtest::PixelSet expected;
  for (int y = 3; y <= 6; ++y)
    for (int x = 2; x <= 8; ++x) expected.insert({x, y});
  EXPECT_EQ(plane.Lit(), expected);

  plane.Clear();
  pl3::FillClippedRect(9, 0, 20, 9);  // wholly right of the clip
  EXPECT_TRUE(plane.Lit().empty());

  // One column wide after cutting: a single vertical run.
  pl3::g_raster.spanTarget = pl3::kTargetOutlineTrace;
  pl3::FillClippedRect(8, 0, 30, 9);
  pl3::g_raster.spanTarget = pl3::kTargetPlane;
  EXPECT_EQ(pl3::g_raster.traceLastX, 8);
  EXPECT_EQ(pl3::g_raster.traceLastY, 3);
}

TEST(ClipTests, ThickSegmentAndDisc) {
  // An end inside the clip widened by w + 1 keeps the segment.
  EXPECT_TRUE(pl3::ThickSegmentVisible(kClip, 0, 19, 12, 17, 3));
  // Beyond the widened corner: skipped.
  EXPECT_FALSE(pl3::ThickSegmentVisible(kClip, 0, 12, 5, 5, 1));
  EXPECT_TRUE(pl3::ThickSegmentVisible(kClip, 50, 50, 60, 60, 0));
  // Crossing the clip with both ends outside.
  EXPECT_TRUE(pl3::ThickSegmentVisible(kClip, 0, 0, 200, 400, 0));
  EXPECT_FALSE(pl3::ThickSegmentVisible(kClip, 0, 30, 3, 400, 2));

  EXPECT_TRUE(pl3::DiscVisible(kClip, 5, 100, 5));
  EXPECT_FALSE(pl3::DiscVisible(kClip, 4, 100, 5));
  EXPECT_TRUE(pl3::DiscVisible(kClip, 115, 225, 5));
  EXPECT_FALSE(pl3::DiscVisible(kClip, 116, 100, 5));
}

}  // namespace
