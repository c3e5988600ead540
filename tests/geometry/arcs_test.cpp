#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <array>
#include <map>
#include <set>
#include <utility>

#include "app/arc_directions.h"
#include "geometry/arcs.h"
#include "geometry/graphic_layouts.h"
#include "geometry/octants.h"
#include "geometry/raster_state.h"
#include "tests/geometry/geometry_seam_fakes.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using geomtest::Plane;
using geomtest::PixelSet;
using pl3::g_raster;

pl3::ArcLayout MakeArc(int cx, int cy, int r, int w, pl3::Point start, pl3::Point end) {
  pl3::ArcLayout arc{};
  arc.centreX = cx;
  arc.centreY = cy;
  arc.radius = r;
  arc.width = w;
  arc.startX = start.x;
  arc.startY = start.y;
  arc.endX = end.x;
  arc.endY = end.y;
  return arc;
}

std::int64_t D2(int x, int y) { return static_cast<std::int64_t>(x) * x + static_cast<std::int64_t>(y) * y; }

TEST(Arcs, EqualVectorsDrawAFullRingOncePerPixelWithoutEndDiscs) {
  Plane plane(60, 60);
  const int ri = 10 - 3, ro = 10 + 3;
  pl3::ArcLayout arc = MakeArc(30, 30, 10, 3, {5, 2}, {5, 2});
  g_raster.rasterOp = pl3::kRasterXor;
  pl3::DrawArcRecord(&arc);
  const PixelSet lit = plane.Lit();
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      const std::int64_t d = D2(x - 30, y - 30);
      if (d <= static_cast<std::int64_t>(ro) * (ro + 1) && d > static_cast<std::int64_t>(ri) * (ri + 1)) {
        EXPECT_TRUE(lit.count({x, y})) << "hole at " << x << "," << y;  // XOR: written an odd number of times
      }
      if (d > static_cast<std::int64_t>(ro) * (ro + 1) || d < static_cast<std::int64_t>(ri - 1) * (ri - 1)) {
        EXPECT_FALSE(lit.count({x, y})) << "stray at " << x << "," << y;
      }
    }
  }
  // Eight-fold symmetric.
  for (const auto& p : lit) {
    const int dx = p.first - 30, dy = p.second - 30;
    EXPECT_TRUE(lit.count({30 - dy, 30 + dx}) && lit.count({30 + dy, 30 + dx})) << dx << "," << dy;
  }
  // XOR once equals OR once: no pixel written twice.
  const PixelSet xored = lit;
  plane.Clear();
  g_raster.rasterOp = pl3::kRasterOr;
  arc = MakeArc(30, 30, 10, 3, {5, 2}, {5, 2});
  pl3::DrawArcRecord(&arc);
  EXPECT_EQ(plane.Lit(), xored);
}

TEST(Arcs, QuarterArcStaysInItsQuadrantApartFromTheRoundEnds) {
  Plane plane(60, 60);
  pl3::ArcLayout arc = MakeArc(30, 30, 15, 2, {1, 0}, {0, 1});
  pl3::DrawArcRecord(&arc);
  EXPECT_EQ(arc.startOctant, 0);
  EXPECT_EQ(arc.endOctant, 2);
  EXPECT_EQ(arc.latticeStartX, 15);
  EXPECT_EQ(arc.latticeStartY, 0);
  EXPECT_EQ(arc.latticeEndX, 0);
  EXPECT_EQ(arc.latticeEndY, 15);
  const PixelSet ends = [] {
    PixelSet s;
    for (int y = -2; y <= 2; ++y)
      for (int x = -2; x <= 2; ++x)
        if (x * x + y * y <= 6) {
          s.insert({45 + x, 30 + y});
          s.insert({30 + x, 45 + y});
        }
    return s;
  }();
  for (const auto& p : plane.Lit()) {
    if (ends.count(p)) continue;
    EXPECT_GE(p.first, 30) << p.first << "," << p.second;
    EXPECT_GE(p.second, 30) << p.first << "," << p.second;
  }
  EXPECT_TRUE(plane.At(30 + 10, 30 + 11));  // the middle of the band at 45 degrees
  EXPECT_FALSE(plane.At(30 - 15, 30));
  EXPECT_FALSE(plane.At(30, 30 - 15));
}

TEST(Arcs, ShortAndLongArcInOneOctantMakeTheWholeRing) {
  Plane plane(60, 60);
  const pl3::Point a = {10, 2}, b = {10, 6};  // both in octant 0, a before b
  pl3::FillArcBand(30, 30, 8, 12, pl3::LatticeVector(a.x, a.y, 10), pl3::LatticeVector(b.x, b.y, 10), a, b);
  const PixelSet shortArc = plane.Lit();
  plane.Clear();
  pl3::FillArcBand(30, 30, 8, 12, pl3::LatticeVector(b.x, b.y, 10), pl3::LatticeVector(a.x, a.y, 10), b, a);
  const PixelSet longArc = plane.Lit();
  plane.Clear();
  pl3::FillArcBand(30, 30, 8, 12, {10, 0}, {10, 0}, {1, 0}, {1, 0});
  const PixelSet ring = plane.Lit();
  EXPECT_LT(shortArc.size(), longArc.size());
  PixelSet both = shortArc;
  both.insert(longArc.begin(), longArc.end());
  EXPECT_EQ(both, ring);
  for (const auto& p : shortArc) {
    EXPECT_GT(p.first, 30);
    EXPECT_GE(p.second, 30);
  }
}

TEST(Arcs, OutlineArcWithRadiusBelowWidthHasNoInnerEdge) {
  Plane plane(60, 60);
  g_raster.trackOutlineMode = 1;
  pl3::ArcLayout arc = MakeArc(30, 30, 3, 5, {1, 0}, {0, 1});
  pl3::DrawArcRecord(&arc);
  g_raster.trackOutlineMode = 0;
  const PixelSet lit = plane.Lit();
  EXPECT_TRUE(lit.count({30 + 8, 30}) || lit.count({30 + 8, 31}));  // the outer edge at R + w
  // Nothing is drawn on the far side that an inner edge of radius R - w would need.
  EXPECT_FALSE(lit.count({30 - 8, 30 - 8}));
  EXPECT_FALSE(lit.count({30, 30}));
}

TEST(Arcs, DirectionTests) {
  const pl3::ArcLayout quarter = MakeArc(0, 0, 10, 0, {1, 0}, {0, 1});
  const pl3::ArcLayout shortArc = MakeArc(0, 0, 10, 0, {10, 2}, {10, 6});
  const pl3::ArcLayout longArc = MakeArc(0, 0, 10, 0, {10, 6}, {10, 2});
  const pl3::ArcLayout wide = MakeArc(0, 0, 10, 0, {1, 1}, {1, -1});  // 45 to 315 degrees
  struct Case {
    const pl3::ArcLayout* arc;
    std::int32_t dx, dy;
    int inside;
  };
  const Case cases[] = {
      {&quarter, 0, 0, 1},  {&quarter, 5, 5, 1},   {&quarter, 1, 0, 1},   {&quarter, 0, 1, 1},
      {&quarter, -1, 1, 0}, {&quarter, 1, -1, 0},  {&shortArc, 10, 4, 1}, {&shortArc, 10, 1, 0},
      {&shortArc, 10, 7, 0}, {&shortArc, -5, 0, 0}, {&longArc, 10, 4, 0}, {&longArc, 10, 1, 1},
      {&longArc, -5, 0, 1}, {&wide, -1, 0, 1},     {&wide, 1, 0, 0},      {&wide, 0, -1, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::IsDirectionInArc(c.arc, c.dx, c.dy), c.inside) << c.dx << "," << c.dy;
}

TEST(Arcs, BoxOfAQuarterAndOfAFullCircle) {
  pl3::Box box;
  const pl3::ArcLayout quarter = MakeArc(100, 200, 10, 2, {1, 0}, {0, 1});
  pl3::GetArcBox(&quarter, nullptr, &box);
  EXPECT_EQ(box.xmin, 100 - 2);
  EXPECT_EQ(box.ymin, 200 - 2);
  EXPECT_EQ(box.xmax, 110 + 2);
  EXPECT_EQ(box.ymax, 210 + 2);
  const pl3::ArcLayout full = MakeArc(100, 200, 10, 0, {3, 4}, {3, 4});
  pl3::GetArcBox(&full, nullptr, &box);
  EXPECT_EQ(box.xmin, 90);
  EXPECT_EQ(box.ymin, 190);
  EXPECT_EQ(box.xmax, 110);
  EXPECT_EQ(box.ymax, 210);
}

TEST(Arcs, TraceGivesAConnectedChainOfChordsFromStartToEnd) {
  pl3::BuildArcDirectionTable(8);
  ASSERT_EQ(pl3::ArcDirectionTable().size(), 9u);
  EXPECT_EQ(pl3::ArcDirectionTable()[0].cos, 0xFFFFFFFFu);
  EXPECT_EQ(pl3::ArcDirectionTable()[8].sin, 0xB504F334u);
  struct Case {
    pl3::Point start, end;
  };
  const Case cases[] = {{{1, 0}, {0, 1}}, {{10, 3}, {-4, -9}}, {{10, 2}, {10, 6}}, {{10, 6}, {10, 2}}, {{3, 4}, {3, 4}}};
  int context = 0;
  for (const Case& c : cases) {
    geomfakes::Recorded().chords.clear();
    pl3::ArcLayout arc = MakeArc(500, 400, 100, 0, c.start, c.end);
    pl3::TraceArcRuns(&context, &arc);
    // The record's vectors became their lattice points at the radius.
    EXPECT_NEAR(std::sqrt(static_cast<double>(D2(arc.startX, arc.startY))), 100.0, 1.5);
    std::map<std::pair<int, int>, int> degree;
    for (const auto& ch : geomfakes::Recorded().chords) {
      ++degree[{ch[0], ch[1]}];
      ++degree[{ch[2], ch[3]}];
      for (int i : {0, 2}) {
        const double d = std::sqrt(static_cast<double>(D2(ch[i] - 500, ch[i + 1] - 400)));
        EXPECT_NEAR(d, 100.0, 1.5);
      }
    }
    const std::pair<int, int> s = {500 + arc.startX, 400 + arc.startY};
    const std::pair<int, int> e = {500 + arc.endX, 400 + arc.endY};
    ASSERT_FALSE(geomfakes::Recorded().chords.empty()) << c.start.x << "," << c.start.y;
    for (const auto& [p, n] : degree) {
      if (s != e && (p == s || p == e)) {
        EXPECT_EQ(n % 2, 1) << "end " << p.first << "," << p.second;
      } else {
        EXPECT_EQ(n % 2, 0) << "loose chord end at " << p.first << "," << p.second;
      }
    }
  }
}

TEST(Arcs, TraceWithoutADirectionTableDrawsNothing) {
  pl3::ArcLayout arc = MakeArc(0, 0, 10, 0, {1, 0}, {0, 1});
  pl3::TraceArcRuns(nullptr, &arc);
  EXPECT_TRUE(geomfakes::Recorded().chords.empty());
}

}  // namespace

namespace {

// A world arc whose direction vectors are far shorter than a pixel at the
// view's zoom still sweeps the right quarter, turned by the Transform.
TEST(Arcs, TransformAndDrawKeepsTheVectorsAtWorldLength) {
  Plane plane(60, 60);
  plane.view = {0, 0, 1000};
  g_raster.viewFactor = pl3::ViewFactorForZoom(1000);
  pl3::ArcLayout arc = MakeArc(30001, 30001, 15001, 1001, {50, 0}, {0, 50});  // first quadrant
  const pl3::Transform quarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 60000, 0};
  pl3::TransformAndDrawArc(&arc, &quarter);
  // Turned a quarter about the origin and moved: centre (29999, 30001), which
  // the rounding-up scale takes to view (30, 30).
  EXPECT_EQ(arc.centreX, 30);
  EXPECT_EQ(arc.centreY, 30);
  EXPECT_EQ(arc.radius, 15);
  EXPECT_TRUE(plane.At(30 - 10, 30 + 11));   // the second quadrant now
  EXPECT_FALSE(plane.At(30 + 10, 30 + 11));
  EXPECT_FALSE(plane.At(30 + 10, 30 - 11));
}

}  // namespace

namespace {

// One-pixel arcs that begin on an axis keep their first pixel, and still
// write every pixel once.
TEST(Arcs, OnePixelArcsFromAnAxisKeepBothEndPixels) {
  struct Case {
    pl3::Point from, to, first, last;
  };
  const Case cases[] = {
      {{1, 0}, {0, 1}, {30, 20}, {20, 30}},    // a quarter from +x
      {{0, -1}, {0, 1}, {20, 10}, {20, 30}},   // the right half from -y
      {{-1, 0}, {1, 0}, {10, 20}, {30, 20}},   // the lower half from -x
      {{0, 1}, {-1, 0}, {20, 30}, {10, 20}},   // a quarter from +y
      {{10, 0}, {10, 3}, {30, 20}, {-1, -1}},  // a short arc within octant 0
  };
  for (const Case& c : cases) {
    Plane plane(40, 40);
    g_raster.rasterOp = pl3::kRasterXor;
    pl3::DrawArcEdge(20, 20, 10, c.from, c.to);
    const PixelSet xored = plane.Lit();
    EXPECT_TRUE(plane.At(c.first.x, c.first.y)) << c.from.x << "," << c.from.y;
    if (c.last.x >= 0) {
      EXPECT_TRUE(plane.At(c.last.x, c.last.y)) << c.to.x << "," << c.to.y;
    }
    plane.Clear();
    g_raster.rasterOp = pl3::kRasterOr;
    pl3::DrawArcEdge(20, 20, 10, c.from, c.to);
    EXPECT_EQ(plane.Lit(), xored) << c.from.x << "," << c.from.y;
  }
}

}  // namespace

namespace {

// Where a run of a band around (cx, cy) came from: its octant and its row
// in that octant's reduced frame. Octants 0, 3, 4 and 7 write rows, the
// others columns; even octants own the axis row or column.
struct RunPlace {
  int octant;
  int row;
};
RunPlace PlaceOf(const std::array<std::int32_t, 4>& run, int cx, int cy) {
  if (run[0] == 0) {
    const int dy = run[3] - cy;
    const bool right = run[1] > cx;
    if (dy > 0) return {right ? 0 : 3, dy};
    if (dy < 0) return {right ? 7 : 4, -dy};
    return {right ? 0 : 4, 0};
  }
  const int dx = run[1] - cx;
  const bool below = run[2] > cy;
  if (dx > 0) return {below ? 1 : 6, dx};
  if (dx < 0) return {below ? 2 : 5, -dx};
  return {below ? 2 : 6, 0};
}

// The area-pick target sees a band row by row, and on each row the octants
// of the sweep from 7 down to 0.
TEST(Arcs, BandRunsComeRowByRowWithOctantsFromSevenDown) {
  struct Case {
    pl3::Point start, end;
    int w;
    std::size_t octantsSeen;
  };
  const Case cases[] = {
      {{5, 2}, {5, 2}, 3, 8}, {{1, 0}, {0, 1}, 2, 3}, {{-3, 1}, {2, -7}, 1, 4}, {{10, 2}, {10, 6}, 4, 1}};
  for (const Case& c : cases) {
    Plane plane(80, 80);
    geomfakes::Recorded().pickRuns.clear();
    g_raster.spanTarget = pl3::kTargetAreaPick;
    g_raster.pickPending = 1;
    pl3::FillArcBand(40, 40, 12 - c.w, 12 + c.w, pl3::LatticeVector(c.start.x, c.start.y, 12),
                     pl3::LatticeVector(c.end.x, c.end.y, 12), c.start, c.end);
    const auto& runs = geomfakes::Recorded().pickRuns;
    ASSERT_GT(runs.size(), 3u);
    std::set<int> octants = {PlaceOf(runs[0], 40, 40).octant};
    for (std::size_t i = 1; i < runs.size(); ++i) {
      const RunPlace a = PlaceOf(runs[i - 1], 40, 40), b = PlaceOf(runs[i], 40, 40);
      octants.insert(b.octant);
      // A short arc may cut one row of one octant into two runs.
      const bool inOrder = a.row < b.row || (a.row == b.row && a.octant >= b.octant);
      EXPECT_TRUE(inOrder) << "run " << i << ": octant " << a.octant << " row " << a.row << " then octant "
                           << b.octant << " row " << b.row << " (start " << c.start.x << "," << c.start.y << ")";
    }
    EXPECT_EQ(octants.size(), c.octantsSeen) << "start " << c.start.x << "," << c.start.y;
  }
}

// An outline arc of width 0 still closes its ends, with caps of radius 0:
// one pixel at each end, after both edges.
TEST(Arcs, OutlineArcOfWidthZeroKeepsItsEndCaps) {
  Plane plane(80, 80);
  g_raster.spanTarget = pl3::kTargetAreaPick;
  g_raster.pickPending = 1;
  pl3::DrawArcEdge(40, 40, 12, {1, 0}, {0, 1});
  const auto edge = geomfakes::Recorded().pickRuns;
  geomfakes::Recorded().pickRuns.clear();
  g_raster.trackOutlineMode = 1;
  pl3::ArcLayout arc = MakeArc(40, 40, 12, 0, {1, 0}, {0, 1});
  pl3::DrawArcRecord(&arc);
  auto expected = edge;
  expected.push_back({0, 52, 52, 40});
  expected.push_back({0, 40, 40, 52});
  EXPECT_EQ(geomfakes::Recorded().pickRuns, expected);

  // Equal vectors (a full circle) have no ends to close.
  g_raster.trackOutlineMode = 0;
  geomfakes::Recorded().pickRuns.clear();
  pl3::DrawArcEdge(40, 40, 12, {1, 0}, {1, 0});
  const auto ring = geomfakes::Recorded().pickRuns;
  geomfakes::Recorded().pickRuns.clear();
  g_raster.trackOutlineMode = 1;
  arc = MakeArc(40, 40, 12, 0, {1, 0}, {1, 0});
  pl3::DrawArcRecord(&arc);
  EXPECT_EQ(geomfakes::Recorded().pickRuns, ring);
}

// The chords of a whole octant end on the table points, each coordinate
// R times the table's cosine or sine rounded to nearest; an arc that starts
// in an odd octant joins its exact start to the table point at or before it
// and runs down the table from there.
TEST(Arcs, TraceChordsEndOnRoundedTablePointsAndStartInOddOctantsAtTheirPlace) {
  pl3::BuildArcDirectionTable(8);
  const double step = std::atan(1.0) / 8;
  auto tablePoint = [step](int i) {
    return std::make_pair(static_cast<int>(std::lround(100 * std::cos(i * step))),
                          static_cast<int>(std::lround(100 * std::sin(i * step))));
  };
  auto hasChord = [](std::pair<int, int> p, std::pair<int, int> q) {
    for (const auto& ch : geomfakes::Recorded().chords) {
      if ((ch[0] == p.first && ch[1] == p.second && ch[2] == q.first && ch[3] == q.second) ||
          (ch[2] == p.first && ch[3] == p.second && ch[0] == q.first && ch[1] == q.second))
        return true;
    }
    return false;
  };
  int context = 0;
  // A quarter from +x: octant 1 is whole. Its points are (R sin, R cos).
  pl3::ArcLayout quarter = MakeArc(500, 400, 100, 0, {1, 0}, {0, 1});
  pl3::TraceArcRuns(&context, &quarter);
  for (int i = 0; i < 8; ++i) {
    const auto [c0, s0] = tablePoint(i);
    const auto [c1, s1] = tablePoint(i + 1);
    EXPECT_TRUE(hasChord({500 + s0, 400 + c0}, {500 + s1, 400 + c1})) << "table chord " << i;
  }
  // Start (4, 10) lies in octant 1 at 21.8 degrees from the y axis, between
  // table entries 3 (16.875) and 4 (22.5): the first chord reaches entry 3.
  geomfakes::Recorded().chords.clear();
  pl3::ArcLayout odd = MakeArc(500, 400, 100, 0, {4, 10}, {-10, 3});
  pl3::TraceArcRuns(&context, &odd);
  const auto [c3, s3] = tablePoint(3);
  EXPECT_TRUE(hasChord({500 + odd.startX, 400 + odd.startY}, {500 + s3, 400 + c3}));
  const auto [c2, s2] = tablePoint(2);
  EXPECT_TRUE(hasChord({500 + s3, 400 + c3}, {500 + s2, 400 + c2}));
}

}  // namespace
