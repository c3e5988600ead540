#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "geometry/raster_state.h"
#include "store/tower.h"
#include "tests/geometry/geometry_seam_fakes.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using pl3::g_raster;

TEST(LayerPlane, PixelIsWordFromTheBottomRow) {
  geomtest::Plane plane(7, 5);
  const int points[][2] = {{0, 0}, {6, 0}, {0, 4}, {3, 2}, {6, 4}};
  for (const auto& p : points) {
    plane.Clear();
    g_raster.fillValue = 0xABCD;
    pl3::HorizontalRun(p[0], p[0], p[1]);
    const std::size_t word = static_cast<std::size_t>(5 - 1 - p[1]) * 7 + p[0];
    EXPECT_EQ(pl3::PlaneWordIndex(p[0], p[1]), word);
    for (std::size_t i = 0; i < plane.words.size(); ++i) {
      EXPECT_EQ(plane.words[i], i == word ? 0xABCDu : 0u) << p[0] << "," << p[1] << " word " << i;
    }
  }
}

struct OpCase {
  std::uint8_t op;
  std::uint32_t fill;
  std::vector<std::uint32_t> before;
  std::vector<std::uint32_t> after;
};

TEST(LayerPlane, RasterOpsOverARowAndAColumn) {
  const OpCase cases[] = {
      {pl3::kRasterMax, 5, {3, 7, 5}, {5, 7, 5}},
      {pl3::kRasterOr, 0x10, {1, 0x10, 2}, {0x11, 0x10, 0x12}},
      {pl3::kRasterXor, 0x3, {1, 2, 3}, {2, 1, 0}},
      {pl3::kRasterClearBits, 0x5, {0xF, 0x4, 0x2}, {0xA, 0x0, 0x2}},
      {pl3::kRasterSet, 9, {1, 2, 3}, {9, 9, 9}},
      {pl3::kRasterMax, 0x80000000u, {0x7FFFFFFFu, 0xFFFFFFFFu, 0}, {0x80000000u, 0xFFFFFFFFu, 0x80000000u}},
  };
  for (const OpCase& c : cases) {
    geomtest::Plane plane(5, 4);
    g_raster.rasterOp = c.op;
    g_raster.fillValue = c.fill;
    for (int i = 0; i < 3; ++i) plane.At(1 + i, 2) = c.before[i];
    pl3::HorizontalRun(1, 3, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(plane.At(1 + i, 2), c.after[i]) << "op " << int(c.op) << " word " << i;
    EXPECT_EQ(plane.At(0, 2), 0u);
    EXPECT_EQ(plane.At(4, 2), 0u);

    for (int i = 0; i < 3; ++i) plane.At(4, 1 + i) = c.before[i];
    pl3::VerticalRun(4, 1, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(plane.At(4, 1 + i), c.after[i]) << "column op " << int(c.op);
    EXPECT_EQ(plane.At(4, 0), 0u);
  }
}

TEST(LayerPlane, XorTwiceRestoresThePlane) {
  geomtest::Plane plane(9, 6);
  for (std::size_t i = 0; i < plane.words.size(); ++i) plane.words[i] = static_cast<std::uint32_t>(i * 2654435761u);
  const std::vector<std::uint32_t> before = plane.words;
  g_raster.rasterOp = pl3::kRasterXor;
  g_raster.fillValue = 0x00F0F0F0;
  for (int pass = 0; pass < 2; ++pass) {
    pl3::HorizontalRun(-3, 20, 2);
    pl3::VerticalRun(4, 0, 5);
    pl3::SetPlaneRect(2, 2, 3, 3);  // SET, not part of the XOR pair: redone identically
  }
  std::vector<std::uint32_t> expected = before;
  for (int y = 2; y <= 3; ++y)
    for (int x = 2; x <= 3; ++x) expected[static_cast<std::size_t>(6 - 1 - y) * 9 + x] = 0x00F0F0F0;
  // Outside the SET square the two XOR passes cancel.
  EXPECT_EQ(plane.words, expected);
}

TEST(LayerPlane, SetPlaneRectFillsExactlyTheRectangleAndRestoresState) {
  geomtest::Plane plane(10, 8);
  g_raster.rasterOp = pl3::kRasterXor;
  g_raster.fillValue = 7;
  pl3::SetPlaneRect(2, 1, 5, 3);
  geomtest::PixelSet expected;
  for (int y = 1; y <= 3; ++y)
    for (int x = 2; x <= 5; ++x) expected.insert({x, y});
  EXPECT_EQ(plane.Lit(), expected);
  EXPECT_EQ(g_raster.rasterOp, pl3::kRasterXor);
  EXPECT_EQ(g_raster.clip, &plane.clip);
}

TEST(LayerPlane, SetPlaneRectTakesItsCornersInAnyOrder) {
  struct Corners {
    int x0, y0, x1, y1;
  };
  const Corners cases[] = {{2, 1, 5, 3}, {5, 3, 2, 1}, {5, 1, 2, 3}, {2, 3, 5, 1}};
  geomtest::PixelSet expected;
  for (int y = 1; y <= 3; ++y)
    for (int x = 2; x <= 5; ++x) expected.insert({x, y});
  for (const Corners& c : cases) {
    geomtest::Plane plane(10, 8);
    pl3::SetPlaneRect(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(plane.Lit(), expected) << c.x0 << "," << c.y0 << " " << c.x1 << "," << c.y1;
    EXPECT_EQ(pl3::RefreshFailureCount(15) + pl3::RefreshFailureCount(16), 0u);
  }
}

TEST(LayerPlane, ReversedOrOutOfSurfaceRunsAreDroppedAndCounted) {
  geomtest::Plane plane(6, 4);
  // A clip larger than the surface lets runs through that the writer refuses.
  plane.clip = {0, 0, 100, 100, 6, 4};
  pl3::HorizontalRun(0, 50, 1);
  EXPECT_EQ(pl3::RefreshFailureCount(15), 1u);
  pl3::VerticalRun(2, 3, 1);  // reversed vertical run reaches the writer
  pl3::VerticalRun(2, 0, 9);
  EXPECT_EQ(pl3::RefreshFailureCount(16), 2u);
  EXPECT_TRUE(plane.Lit().empty());
  // Drawing goes on after the failures.
  pl3::HorizontalRun(1, 2, 0);
  EXPECT_EQ(plane.Lit(), (geomtest::PixelSet{{1, 0}, {2, 0}}));
}

TEST(LayerPlane, ClearPlotAndBand) {
  geomtest::Plane plane(4, 3);
  std::uint32_t background = 0x55;
  g_raster.background = &background;
  g_raster.fillValue = 1;
  pl3::ClearPlaneToBackground();
  for (std::uint32_t w : plane.words) EXPECT_EQ(w, 0x55u);
  EXPECT_EQ(g_raster.fillValue, 1u);
  pl3::ClearPlane();
  for (std::uint32_t w : plane.words) EXPECT_EQ(w, 1u);

  plane.Clear();
  g_raster.fillValue = 3;
  // At zoom 1 the view factor falls short: world 5 is view 4, the width.
  EXPECT_EQ(pl3::PlotWorldPoint(5, 1), 1);  // view pixel (width, 0)
  EXPECT_EQ(pl3::PlotWorldPoint(1, 4), 1);  // view pixel (0, height)
  EXPECT_TRUE(plane.Lit().empty());
  EXPECT_EQ(pl3::PlotWorldPoint(3, 1), 0);
  EXPECT_EQ(plane.At(2, 0), 3u);

  plane.Clear();
  g_raster.rasterOp = pl3::kRasterMax;  // PlotPixel stores for MAX as for SET
  g_raster.fillValue = 2;
  plane.At(1, 1) = 9;
  pl3::PlotPixel(1, 1);
  EXPECT_EQ(plane.At(1, 1), 2u);
  pl3::PlotPixel(1, 3);   // row beyond the surface
  pl3::PlotPixel(-1, 0);  // column beyond the surface
  EXPECT_EQ(plane.Lit(), (geomtest::PixelSet{{1, 1}}));

  // Band target: runs are shifted up by the clip's ymin.
  plane.Clear();
  g_raster.rasterOp = pl3::kRasterOr;
  g_raster.spanTarget = pl3::kTargetBandPlane;
  plane.clip = {0, 10, 3, 12, 4, 3};
  pl3::HorizontalRun(0, 1, 11);
  pl3::VerticalRun(3, 10, 12);
  EXPECT_EQ(plane.Lit(), (geomtest::PixelSet{{0, 1}, {1, 1}, {3, 0}, {3, 1}, {3, 2}}));
}

TEST(SpanTargets, NearestHitKeepsTheFirstOfEqualDistancesAndHonoursTheMaximum) {
  geomtest::Plane plane(40, 40);
  Tower* first = NewTower(0);
  Tower* second = NewTower(0);
  Tower* third = NewTower(0);
  first->levels[0].typeCode = 1;
  second->levels[0].typeCode = 2;
  third->levels[0].typeCode = 3;

  g_raster.spanTarget = pl3::kTargetNearestHit;
  g_raster.hitX = 10;
  g_raster.hitY = 10;
  g_raster.maxDistanceSquared = 25;
  g_raster.bestDistanceSquared = 0xFFFFFFFFu;
  g_raster.pickPending = 1;

  g_raster.currentEntity = third;
  pl3::HorizontalRun(0, 30, 16);  // distance 6: beyond the maximum
  EXPECT_EQ(g_raster.hitFound, 0u);
  EXPECT_EQ(g_raster.pickPending, 1);

  g_raster.currentEntity = first;
  pl3::HorizontalRun(0, 30, 15);  // (10, 15): exactly the maximum counts
  EXPECT_EQ(g_raster.hitFound, 1u);
  EXPECT_EQ(g_raster.bestDistanceSquared, 25u);
  EXPECT_EQ(g_raster.pickPending, 0);

  g_raster.currentEntity = second;
  pl3::VerticalRun(15, 0, 30);  // (15, 10): the same distance, drawn later
  ASSERT_NE(g_raster.bestEntity, nullptr);
  EXPECT_NE(g_raster.bestEntity, first);  // a copy, owned by the search
  EXPECT_EQ(g_raster.bestEntity->levels[0].typeCode, 1);

  pl3::VerticalRun(12, 0, 30);  // nearer: distance 2
  EXPECT_EQ(g_raster.bestDistanceSquared, 4u);
  EXPECT_EQ(g_raster.bestEntity->levels[0].typeCode, 2);

  // The clamp of the hit point compares as unsigned.
  g_raster.hitX = -1;
  g_raster.bestDistanceSquared = 0xFFFFFFFFu;
  g_raster.maxDistanceSquared = 0xFFFFFFFFu;
  pl3::HorizontalRun(0, 5, 10);  // -1 clamps to 5, not 0
  EXPECT_EQ(g_raster.bestDistanceSquared, 36u);

  g_raster.spanTarget = pl3::kTargetPlane;
  EXPECT_TRUE(plane.Lit().empty());
  ReleaseTower(&g_raster.bestEntity);
  ReleaseTower(&first);
  ReleaseTower(&second);
  ReleaseTower(&third);
}

TEST(SpanTargets, OutlineTraceCallsOnNewRowsAndColumnsOnly) {
  geomtest::Plane plane(40, 40);
  int context = 0;
  g_raster.traceContext = &context;
  g_raster.spanTarget = pl3::kTargetOutlineTrace;
  pl3::HorizontalRun(3, 8, 5);   // first run: no callback
  pl3::HorizontalRun(1, 9, 5);   // same row: nothing
  pl3::HorizontalRun(4, 6, 6);   // new row: (x0, lastX, lastY) = (4, 8, 5)
  pl3::VerticalRun(20, 2, 9);    // new column: (lastX, lastY, y1) = (6, 6, 9)
  pl3::VerticalRun(20, 0, 1);    // same column: nothing
  const auto& calls = geomfakes::Recorded();
  ASSERT_EQ(calls.traceHorizontal.size(), 1u);
  EXPECT_EQ(calls.traceHorizontal[0], (std::array<std::int32_t, 3>{4, 8, 5}));
  ASSERT_EQ(calls.traceVertical.size(), 1u);
  EXPECT_EQ(calls.traceVertical[0], (std::array<std::int32_t, 3>{6, 6, 9}));
  EXPECT_EQ(calls.contexts, (std::vector<void*>{&context, &context}));
  EXPECT_EQ(g_raster.traceLastX, 20);
  EXPECT_EQ(g_raster.traceLastY, 2);
  EXPECT_TRUE(plane.Lit().empty());
}

TEST(SpanTargets, AreaPickOnlyWhilePendingAndNoneDrawsNothing) {
  geomtest::Plane plane(40, 40);
  g_raster.spanTarget = pl3::kTargetAreaPick;
  pl3::HorizontalRun(1, 2, 3);
  EXPECT_TRUE(geomfakes::Recorded().pickHorizontal.empty());
  g_raster.pickPending = 1;
  pl3::HorizontalRun(-5, 50, 3);  // clipped before the callback
  pl3::VerticalRun(7, 8, 9);
  ASSERT_EQ(geomfakes::Recorded().pickHorizontal.size(), 1u);
  EXPECT_EQ(geomfakes::Recorded().pickHorizontal[0], (std::array<std::int32_t, 3>{0, 39, 3}));
  EXPECT_EQ(geomfakes::Recorded().pickVertical.size(), 1u);

  g_raster.spanTarget = pl3::kTargetNone;
  pl3::HorizontalRun(1, 2, 3);
  g_raster.spanTarget = 9;  // out of range: nothing, never a stray write
  pl3::HorizontalRun(1, 2, 3);
  EXPECT_TRUE(plane.Lit().empty());
}

TEST(Colourise, PlaneWordsToColours) {
  geomtest::Plane plane(3, 2);
  std::vector<std::uint32_t> table1(65536);
  for (std::size_t i = 0; i < table1.size(); ++i) table1[i] = static_cast<std::uint32_t>(i) | 0x100000u;
  std::vector<std::uint32_t> table2(16);
  for (std::size_t i = 0; i < 16; ++i) table2[i] = 0xEE0000u + static_cast<std::uint32_t>(i);
  std::vector<std::uint32_t> table3(256 * 16);
  for (std::size_t i = 0; i < 256; ++i) table3[16 * i] = 0xCC00u + static_cast<std::uint32_t>(i);
  g_raster.colourTable1 = table1.data();
  g_raster.colourTable2 = table2.data();
  g_raster.colourTable3 = table3.data();
  plane.At(0, 0) = 0x0012;
  plane.At(1, 0) = 0x8F0005;  // bit 23: special colour 15
  plane.At(2, 1) = 0xFFFF;
  pl3::ColourisePlane();
  EXPECT_EQ(plane.colours[3], 0x100012u);
  EXPECT_EQ(plane.colours[4], 0xEE000Fu);
  EXPECT_EQ(plane.colours[2], 0x10FFFFu);
  EXPECT_EQ(plane.colours[0], 0x100000u);

  std::fill(plane.colours.begin(), plane.colours.end(), 0u);
  pl3::ColourisePlaneRectByByte(1, 0, 2, 0);
  EXPECT_EQ(plane.colours[4], 0xCC05u);
  EXPECT_EQ(plane.colours[5], 0xCC00u);
  EXPECT_EQ(plane.colours[3], 0u);  // outside the rectangle
}

TEST(Colourise, ScrollingKeepsUncoveredRows) {
  geomtest::Plane plane(4, 5);
  auto row = [&plane](int y) {  // the colour words of one view row
    return std::vector<std::uint32_t>(plane.colours.begin() + (5 - 1 - y) * 4,
                                      plane.colours.begin() + (5 - y) * 4);
  };
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) plane.colours[static_cast<std::size_t>(5 - 1 - y) * 4 + x] = 10u * y + x;
  pl3::ScrollPlaneUp(4, 5, 2);
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{20, 21, 22, 23}));
  EXPECT_EQ(row(2), (std::vector<std::uint32_t>{40, 41, 42, 43}));
  EXPECT_EQ(row(3), (std::vector<std::uint32_t>{30, 31, 32, 33}));  // rows h - n .. h - 1 as before
  EXPECT_EQ(row(4), (std::vector<std::uint32_t>{40, 41, 42, 43}));

  pl3::ScrollPlaneDown(4, 5, 1);
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{20, 21, 22, 23}));
  EXPECT_EQ(row(1), (std::vector<std::uint32_t>{20, 21, 22, 23}));
  EXPECT_EQ(row(4), (std::vector<std::uint32_t>{30, 31, 32, 33}));

  pl3::ScrollPlaneLeft(4, 1, 1);
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{21, 22, 23, 23}));
  pl3::ScrollPlaneRight(3, 1, 2);
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{21, 22, 21, 23}));
  pl3::ScrollPlaneUp(4, 5, 9);  // beyond the surface: nothing moves
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{21, 22, 21, 23}));
  // Extents wider than the surface are cut to it before the distance is
  // weighed: a distance beyond the surface's width moves nothing.
  pl3::ScrollPlaneLeft(40, 1, 6);
  pl3::ScrollPlaneRight(40, 1, 6);
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{21, 22, 21, 23}));
  pl3::ScrollPlaneLeft(40, 1, 1);  // within the surface: the whole row moves
  EXPECT_EQ(row(0), (std::vector<std::uint32_t>{22, 21, 23, 23}));
}

TEST(KernelHelpers, DistanceAndCompare) {
  EXPECT_DOUBLE_EQ(pl3::DistanceSquared(0, 0, 3, 4), 25.0);
  EXPECT_DOUBLE_EQ(pl3::DistanceSquared(0xFFFFFFFFu, 0, 0, 0), 4294967295.0 * 4294967295.0);
  const std::uint32_t small = 1, big = 0x80000002u;
  EXPECT_LT(pl3::CompareUnsigned(&small, &big), 0);
  EXPECT_GT(pl3::CompareUnsigned(&big, &small), 0);
  EXPECT_EQ(pl3::CompareUnsigned(&big, &big), 0);
}

}  // namespace
