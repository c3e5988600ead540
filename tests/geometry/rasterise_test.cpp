#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "geometry/arcs.h"
#include "geometry/edge_walker.h"
#include "geometry/graphic_layouts.h"
#include "geometry/pot2.h"
#include "geometry/rasterise.h"
#include "geometry/raster_state.h"
#include "tests/geometry/geometry_seam_fakes.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using geomtest::Plane;
using geomtest::PixelSet;
using pl3::g_raster;

PixelSet DiscPixels(int cx, int cy, int r) {
  PixelSet s;
  for (int y = -r; y <= r; ++y)
    for (int x = -r; x <= r; ++x)
      if (x * x + y * y <= r * (r + 1)) s.insert({cx + x, cy + y});
  return s;
}

PixelSet Union(PixelSet a, const PixelSet& b) {
  a.insert(b.begin(), b.end());
  return a;
}

// Draws once with XOR on a cleared plane: a pixel written twice would read 0.
// Returns true when the XOR picture equals the OR picture.
bool WritesEachPixelOnce(Plane& plane, const std::function<void()>& draw) {
  plane.Clear();
  g_raster.rasterOp = pl3::kRasterOr;
  draw();
  const PixelSet once = plane.Lit();
  plane.Clear();
  g_raster.rasterOp = pl3::kRasterXor;
  draw();
  const PixelSet xored = plane.Lit();
  g_raster.rasterOp = pl3::kRasterOr;
  return once == xored && !once.empty();
}

TEST(Triangles, CornersFarOutsideTheViewStillFillIt) {
  // Edges spanning the whole coordinate range: their row products pass 2^64.
  geomtest::Plane plane(16, 12);
  constexpr std::int32_t kFar = 2147483000;
  pl3::FillTriangle(-kFar, -kFar, kFar, -kFar, 0, kFar);
  EXPECT_EQ(plane.Lit().size(), 16u * 12u) << "the whole view lies inside";
  plane.Clear();
  pl3::FillTriangle(8, -kFar, 8, kFar, kFar, 0);  // everything right of x = 8, near the view
  for (int x = 0; x < 16; ++x) EXPECT_EQ(plane.At(x, 6) != 0, x >= 8) << x;
  plane.Clear();
  pl3::FillTriangle(-kFar, -kFar, kFar, kFar, kFar, -kFar);  // below the diagonal x = y
  EXPECT_NE(plane.At(10, 5), 0u);
  EXPECT_EQ(plane.At(2, 8), 0u);
}

TEST(Discs, RadiusZeroAndOne) {
  Plane plane(9, 9);
  pl3::FillDisc(4, 4, 0);
  EXPECT_EQ(plane.Lit(), (PixelSet{{4, 4}}));
  plane.Clear();
  pl3::FillDisc(4, 4, 1);
  EXPECT_EQ(plane.Lit(), DiscPixels(4, 4, 1));
  EXPECT_EQ(plane.Lit().size(), 9u);  // the whole 3 x 3 square
}

TEST(Discs, EveryRadiusMatchesTheMidpointCriterionOncePerPixel) {
  Plane plane(70, 70);
  for (int r = 0; r <= 30; ++r) {
    plane.Clear();
    pl3::FillDisc(35, 35, r);
    EXPECT_EQ(plane.Lit(), DiscPixels(35, 35, r)) << "r " << r;
    EXPECT_TRUE(WritesEachPixelOnce(plane, [r] { pl3::FillDisc(35, 35, r); })) << "r " << r;
  }
}

TEST(Discs, CircleOutlineIsClosedAndWrittenOnce) {
  Plane plane(70, 70);
  for (int r = 1; r <= 30; ++r) {
    plane.Clear();
    pl3::DrawCircleOutline(35, 35, r);
    const PixelSet outline = plane.Lit();
    const PixelSet disc = DiscPixels(35, 35, r);
    for (const auto& p : outline) EXPECT_TRUE(disc.count(p)) << "r " << r;
    // Closed: every disc pixel on the rim (a 4-neighbour outside) is drawn.
    for (const auto& p : disc) {
      const bool rim = !disc.count({p.first + 1, p.second}) || !disc.count({p.first - 1, p.second}) ||
                       !disc.count({p.first, p.second + 1}) || !disc.count({p.first, p.second - 1});
      bool near = outline.count(p) > 0;
      for (int dx = -1; dx <= 1 && !near; ++dx)
        for (int dy = -1; dy <= 1 && !near; ++dy) near = outline.count({p.first + dx, p.second + dy}) > 0;
      if (rim) {
        EXPECT_TRUE(near) << "r " << r << " gap at " << p.first << "," << p.second;
      }
    }
    EXPECT_TRUE(WritesEachPixelOnce(plane, [r] { pl3::DrawCircleOutline(35, 35, r); })) << "r " << r;
  }
}

TEST(Discs, QuarteredDiscFillsTwoOppositeQuarters) {
  Plane plane(40, 40);
  for (int side = 0; side < 2; ++side) {
    plane.Clear();
    pl3::FillQuarteredDisc(20, 20, 8, side);
    const int s = side ? -1 : 1;
    EXPECT_TRUE(plane.At(20 + 3 * s, 23)) << side;     // filled toward (s, +1)
    EXPECT_TRUE(plane.At(20 - 3 * s, 17)) << side;     // filled toward (-s, -1)
    EXPECT_FALSE(plane.At(20 - 3 * s, 23)) << side;    // outlined only
    EXPECT_FALSE(plane.At(20 + 3 * s, 17)) << side;
    EXPECT_TRUE(plane.At(20, 20));
    EXPECT_TRUE(plane.At(28, 20) && plane.At(12, 20) && plane.At(20, 28) && plane.At(20, 12));
    for (const auto& p : plane.Lit()) EXPECT_TRUE(DiscPixels(20, 20, 8).count(p));
    EXPECT_TRUE(WritesEachPixelOnce(plane, [side] { pl3::FillQuarteredDisc(20, 20, 8, side); })) << side;
  }
}

TEST(Tracks, HorizontalTrackRowsAndEndDiscs) {
  Plane plane(32, 24);
  pl3::DrawTrack(10, 10, 20, 10, 2);
  PixelSet expected;
  for (int y = 8; y <= 12; ++y)
    for (int x = 10; x <= 20; ++x) expected.insert({x, y});
  expected = Union(Union(expected, DiscPixels(10, 10, 2)), DiscPixels(20, 10, 2));
  EXPECT_EQ(plane.Lit(), expected);
}

// A track of width 0 is the one-pixel line alone: on each step along the
// major axis, the pixel nearest the true line (no ties in these cases), and
// no end discs. Either direction gives the same pixels.
TEST(Tracks, WidthZeroIsAOnePixelLineWithoutDiscs) {
  struct Case {
    int x1, y1, x2, y2;
  };
  const Case cases[] = {{2, 2, 13, 5}, {13, 5, 2, 2}, {4, 3, 7, 14}, {7, 14, 4, 3}, {20, 4, 9, 9}, {3, 20, 10, 6}};
  for (const Case& c : cases) {
    Plane plane(32, 24);
    pl3::DrawTrack(c.x1, c.y1, c.x2, c.y2, 0);
    PixelSet expected;
    const int dx = c.x2 - c.x1, dy = c.y2 - c.y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int k = 0; k <= steps; ++k) {
      const double t = static_cast<double>(k) / steps;
      expected.insert({static_cast<int>(std::lround(c.x1 + t * dx)), static_cast<int>(std::lround(c.y1 + t * dy))});
    }
    EXPECT_EQ(plane.Lit(), expected) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(Tracks, CoincidentEndsDrawOneDisc) {
  Plane plane(32, 24);
  pl3::DrawTrack(15, 12, 15, 12, 4);
  EXPECT_EQ(plane.Lit(), DiscPixels(15, 12, 4));
  EXPECT_TRUE(WritesEachPixelOnce(plane, [] { pl3::DrawTrack(15, 12, 15, 12, 4); }));
}

TEST(Tracks, SlopedThickSegmentStaysWithinItsWidthAndCoversItsCentreLine) {
  Plane plane(80, 80);
  const int w = 5;
  pl3::DrawThickViewLine(10, 12, 60, 47, w);
  const PixelSet lit = plane.Lit();
  const double dx = 50, dy = 35, len = std::hypot(dx, dy);
  for (const auto& p : lit) {
    const double off = std::fabs((p.first - 10) * dy - (p.second - 12) * dx) / len;
    EXPECT_LE(off, w + 1.0) << p.first << "," << p.second;
  }
  for (int i = 0; i <= 50; ++i) {
    const int x = 10 + i, y = 12 + static_cast<int>(std::lround(i * dy / dx));
    EXPECT_TRUE(lit.count({x, y})) << x << "," << y;
  }
  EXPECT_TRUE(WritesEachPixelOnce(plane, [] { pl3::DrawThickViewLine(10, 12, 60, 47, 5); }));
}

TEST(Tracks, OutlineModeDrawsTheSidesAndEndCapsOnly) {
  Plane plane(60, 40);
  g_raster.trackOutlineMode = 1;
  pl3::DrawTrack(10, 20, 40, 20, 3);
  g_raster.trackOutlineMode = 0;
  EXPECT_FALSE(plane.At(25, 20));  // the inside stays clear
  EXPECT_TRUE(plane.At(25, 17));
  EXPECT_TRUE(plane.At(25, 23));
  EXPECT_TRUE(plane.At(7, 20));    // cap around the first end, outer side
  EXPECT_TRUE(plane.At(43, 20));   // cap around the second end
  EXPECT_FALSE(plane.At(13, 20));
}

TEST(Tracks, HighlightDrawsEveryOtherNinthAndHalfDiscsOutside) {
  Plane plane(110, 24);
  g_raster.trackHighlightMode = 1;
  pl3::DrawTrack(5, 10, 95, 10, 1);
  g_raster.trackHighlightMode = 0;
  // Pieces start at 5 + 10, 30, 50, 70 and run 10 pixels.
  for (int x : {15, 20, 25, 35, 45, 55, 65, 75, 85}) EXPECT_TRUE(plane.At(x, 10)) << x;
  for (int x : {10, 30, 50, 70, 90}) EXPECT_FALSE(plane.At(x, 10)) << x;
  EXPECT_TRUE(plane.At(4, 10));   // half disc on the outer side of each end
  EXPECT_TRUE(plane.At(96, 10));
  EXPECT_FALSE(plane.At(6, 10));
  EXPECT_FALSE(plane.At(94, 10));
  EXPECT_EQ(g_raster.highlightDirX, 0);
}

TEST(Triangles, TwoEqualPointsDrawALineNeverAFill) {
  Plane plane(30, 30);
  pl3::DrawViewLine(3, 4, 20, 25);
  const PixelSet line = plane.Lit();
  for (int k = 0; k < 3; ++k) {
    plane.Clear();
    if (k == 0) pl3::FillTriangle(3, 4, 3, 4, 20, 25);
    if (k == 1) pl3::FillTriangle(3, 4, 20, 25, 3, 4);
    if (k == 2) pl3::FillTriangle(3, 4, 20, 25, 20, 25);
    EXPECT_EQ(plane.Lit(), line) << k;
  }
}

TEST(Triangles, FilledRowByRowInsideItsEdges) {
  Plane plane(40, 40);
  const std::int32_t pts[6] = {5, 5, 35, 12, 14, 33};
  pl3::FillTriangleRecord(pts);
  const PixelSet lit = plane.Lit();
  auto side = [](double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
  };
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const double s0 = side(5, 5, 35, 12, x, y), s1 = side(35, 12, 14, 33, x, y), s2 = side(14, 33, 5, 5, x, y);
      const double l0 = std::hypot(30, 7), l1 = std::hypot(21, 21), l2 = std::hypot(9, 28);
      const bool deepInside = s0 / l0 > 1 && s1 / l1 > 1 && s2 / l2 > 1;
      const bool farOutside = s0 / l0 < -1 || s1 / l1 < -1 || s2 / l2 < -1;
      if (deepInside) {
        EXPECT_TRUE(lit.count({x, y})) << x << "," << y;
      }
      if (farOutside) {
        EXPECT_FALSE(lit.count({x, y})) << x << "," << y;
      }
    }
  }
  g_raster.trackOutlineMode = 1;
  plane.Clear();
  pl3::FillTriangleRecord(pts);
  g_raster.trackOutlineMode = 0;
  EXPECT_FALSE(plane.At(18, 16));  // outline mode: edges only
  EXPECT_TRUE(plane.At(5, 5) && plane.At(35, 12) && plane.At(14, 33));
}

// Every primitive drawn with a clip cut at each edge equals the same
// primitive drawn unclipped, restricted to the clip.
TEST(Clipping, EveryPrimitiveAtEachEdge) {
  struct Shape {
    const char* name;
    std::function<void(int, int)> draw;  // drawn around (cx, cy)
  };
  const Shape shapes[] = {
      {"disc", [](int cx, int cy) { pl3::FillDisc(cx, cy, 7); }},
      {"circle", [](int cx, int cy) { pl3::DrawCircleOutline(cx, cy, 7); }},
      {"quartered", [](int cx, int cy) { pl3::FillQuarteredDisc(cx, cy, 7, 1); }},
      {"line", [](int cx, int cy) { pl3::DrawViewLine(cx - 9, cy - 4, cx + 8, cy + 6); }},
      {"steep line", [](int cx, int cy) { pl3::DrawViewLine(cx - 2, cy - 9, cx + 3, cy + 9); }},
      {"track", [](int cx, int cy) { pl3::DrawTrack(cx - 8, cy + 5, cx + 7, cy - 6, 3); }},
      {"flat track", [](int cx, int cy) { pl3::DrawTrack(cx - 8, cy, cx + 7, cy, 2); }},
      {"triangle", [](int cx, int cy) { pl3::FillTriangle(cx - 9, cy - 8, cx + 9, cy - 2, cx - 1, cy + 9); }},
      {"arc", [](int cx, int cy) { pl3::FillArcBand(cx, cy, 4, 8, {8, 1}, {-3, 7}, {8, 1}, {-3, 7}); }},
      {"hole cross", [](int cx, int cy) {
         pl3::HoleLayout hole{};
         hole.centreX = cx + 1;
         hole.centreY = cy + 1;
         hole.size1 = 9;
         pl3::DrawHoleCross(&hole, &pl3::kIdentityTransform);
       }},
  };
  const pl3::ViewClip clip = {30, 30, 50, 50, 80, 80};
  const int centres[][2] = {{30, 40}, {50, 40}, {40, 30}, {40, 50}, {30, 30}, {50, 50}, {40, 40}, {21, 40}};
  for (const Shape& s : shapes) {
    for (const auto& c : centres) {
      Plane plane(80, 80);
      s.draw(c[0], c[1]);
      PixelSet expected;
      for (const auto& p : plane.Lit())
        if (p.first >= clip.xmin && p.first <= clip.xmax && p.second >= clip.ymin && p.second <= clip.ymax)
          expected.insert(p);
      plane.Clear();
      plane.clip = clip;
      s.draw(c[0], c[1]);
      EXPECT_EQ(plane.Lit(), expected) << s.name << " at " << c[0] << "," << c[1];
    }
  }
}

TEST(Holes, ShortCrossArmsAreAQuarterOfTheSize) {
  Plane plane(40, 40);
  pl3::HoleLayout hole{};
  hole.flags = pl3::kHoleShortCross;
  hole.size1 = 11;  // 10 pixels at zoom 1: the view factor falls just short
  hole.centreX = 21;
  hole.centreY = 21;
  pl3::DrawHoleCross(&hole, &pl3::kIdentityTransform);
  PixelSet expected;
  for (int d = -2; d <= 2; ++d) {
    expected.insert({20 + d, 20});
    expected.insert({20, 20 + d});
  }
  EXPECT_EQ(plane.Lit(), expected);
  EXPECT_TRUE(WritesEachPixelOnce(plane, [] {
    pl3::HoleLayout h{};
    h.size1 = 9;
    h.centreX = 21;
    h.centreY = 21;
    pl3::DrawHoleCross(&h, &pl3::kIdentityTransform);
  }));
}

TEST(Holes, OuterInnerAndRing) {
  Plane plane(40, 40);
  pl3::HoleLayout hole{};
  hole.size1 = 9;
  hole.size2 = 5;
  hole.centreX = 21;
  hole.centreY = 21;
  pl3::HoleLayout copy = hole;
  pl3::FillHoleOuter(&copy, &pl3::kIdentityTransform);
  EXPECT_EQ(plane.Lit(), DiscPixels(20, 20, 8));
  plane.Clear();
  copy = hole;
  pl3::FillHoleInner(&copy, &pl3::kIdentityTransform);
  EXPECT_EQ(plane.Lit(), DiscPixels(20, 20, 4));
  plane.Clear();
  copy = hole;
  pl3::DrawHoleRing(&copy, &pl3::kIdentityTransform);
  EXPECT_TRUE(plane.At(24, 20) && !plane.At(23, 20) && !plane.At(20, 20));
}

// A polygon record drawn through its stored triangulation.
TEST(Polygons, FillThroughTheStoredTriangles) {
  Plane plane(40, 40);
  alignas(4) std::uint8_t buffer[sizeof(pl3::PolygonLayout) + 6 * 8 + 4 * 3] = {};
  auto* poly = reinterpret_cast<pl3::PolygonLayout*>(buffer);
  poly->count = 6;
  // An L shape in world units (zoom 1: view = world - 1).
  const pl3::Point pts[6] = {{6, 6}, {31, 6}, {31, 16}, {16, 16}, {16, 31}, {6, 31}};
  for (int i = 0; i < 6; ++i) pl3::PolygonPoints(poly)[i] = pts[i];
  ASSERT_EQ(pl3::TriangulatePolygonRecord(poly), 4);
  pl3::FillPolygon(poly, &pl3::kIdentityTransform);
  for (int y = 5; y <= 30; ++y) {
    for (int x = 5; x <= 30; ++x) {
      const bool inL = y <= 15 || x <= 15;
      EXPECT_EQ(plane.At(x, y) != 0, inL) << x << "," << y;
    }
  }
  // A damaged index list draws nothing from the bad triangle and never reads past the points.
  plane.Clear();
  pl3::PolygonTriangles(poly)[0] = 200;
  pl3::FillPolygon(poly, &pl3::kIdentityTransform);
  EXPECT_FALSE(plane.Lit().empty());
}

// Each corner gets a stub along both its edges, of length L or, on edges
// shorter than 4L, a quarter of the edge's length (truncated).
TEST(Polygons, CornerMarksRunInwardAlongEachEdge) {
  struct Case {
    int side, length, mark;
  };
  const Case cases[] = {{25, 3, 3}, {25, 10, 6}, {27, 10, 6}, {28, 10, 7}, {28, 7, 7}, {3, 5, 0}};
  for (const Case& c : cases) {
    Plane plane(40, 40);
    alignas(4) std::uint8_t buffer[sizeof(pl3::PolygonLayout) + 4 * 8 + 2 * 3] = {};
    auto* poly = reinterpret_cast<pl3::PolygonLayout*>(buffer);
    poly->count = 4;
    const int lo = 6, hi = 6 + c.side;  // world; the view is one pixel less at zoom 1
    const pl3::Point pts[4] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    for (int i = 0; i < 4; ++i) pl3::PolygonPoints(poly)[i] = pts[i];
    pl3::DrawPolygonCornerMarks(poly, &pl3::kIdentityTransform, c.length);
    PixelSet expected;
    const int vlo = lo - 1, vhi = hi - 1;
    for (const int cx : {vlo, vhi}) {
      for (const int cy : {vlo, vhi}) {
        for (int d = 0; d <= c.mark; ++d) {
          expected.insert({cx + (cx == vlo ? d : -d), cy});
          expected.insert({cx, cy + (cy == vlo ? d : -d)});
        }
      }
    }
    EXPECT_EQ(plane.Lit(), expected) << "side " << c.side << " length " << c.length;
  }
}

TEST(PatternedLines, PixelsInOrderInsideTheClipOnlyWhateverTheOp) {
  Plane plane(30, 20);
  plane.clip = {0, 0, 19, 19, 30, 20};
  g_raster.rasterOp = pl3::kRasterXor;
  g_raster.spanTarget = pl3::kTargetNone;
  pl3::DrawPatternedWorldLine(26, 4, 3, 4);  // view 25..2 on row 3, right to left
  g_raster.spanTarget = pl3::kTargetPlane;
  // 18 pixels inside the clip (x 19 down to 2), each stored after one step.
  EXPECT_EQ(geomfakes::Recorded().patternSteps, 18);
  for (int x = 2; x <= 19; ++x) EXPECT_EQ(plane.At(x, 3), static_cast<std::uint32_t>(20 - x)) << x;
  EXPECT_EQ(plane.At(21, 3), 0u);

  plane.Clear();
  geomfakes::Recorded().patternSteps = 0;
  pl3::DrawPatternedWorldLine(3, 3, 13, 8);  // sloped, view (2, 2) to (12, 7)
  EXPECT_EQ(geomfakes::Recorded().patternSteps, 11);
  EXPECT_EQ(plane.At(2, 2), 1u);
  EXPECT_EQ(plane.At(12, 7), 11u);
}

// A patterned line reaching a billion pixels past the view visits only the
// pixels it shows, in order along the line, each once.
TEST(PatternedLines, LinesFarBeyondTheViewVisitOnlyTheClip) {
  constexpr std::int32_t kOrigin = 1000000000;
  constexpr std::int32_t kFar = 900000000;
  struct Case {
    std::int32_t x1, y1, x2, y2;  // view pixels
  };
  const Case cases[] = {
      {-kFar, 3, kFar, 3},                    // horizontal, left to right
      {kFar, 7, -kFar, 7},                    // horizontal, right to left
      {5, -kFar, 5, kFar},                    // vertical
      {-kFar, -kFar / 2 + 10, kFar, kFar / 2 + 10},  // x-major sloped
      {kFar / 3 + 15, kFar, -kFar / 3 + 15, -kFar},  // y-major sloped, downward in x
  };
  for (const Case& c : cases) {
    Plane plane(30, 20);
    plane.view = {kOrigin, kOrigin, 1};
    geomfakes::Recorded().patternSteps = 0;
    // At zoom 1 the world point origin + 1 + v is view pixel v.
    pl3::DrawPatternedWorldLine(kOrigin + 1 + c.x1, kOrigin + 1 + c.y1, kOrigin + 1 + c.x2, kOrigin + 1 + c.y2);
    const PixelSet lit = plane.Lit();
    ASSERT_FALSE(lit.empty()) << c.x1 << "," << c.y1;
    EXPECT_EQ(geomfakes::Recorded().patternSteps, static_cast<int>(lit.size())) << c.x1 << "," << c.y1;
    // The fill values count up along the line from its first end.
    const double ux = static_cast<double>(c.x2) - c.x1, uy = static_cast<double>(c.y2) - c.y1;
    std::vector<std::pair<double, std::uint32_t>> along;
    for (const auto& p : lit) {
      const double t = ((p.first - c.x1) * ux + (p.second - c.y1) * uy) / (ux * ux + uy * uy);
      along.push_back({t, plane.At(p.first, p.second)});
    }
    std::sort(along.begin(), along.end());
    for (std::size_t i = 0; i < along.size(); ++i) {
      EXPECT_EQ(along[i].second, i + 1) << c.x1 << "," << c.y1;
    }
  }
}

}  // namespace

namespace {

// Stepping an edge row by row gives exactly what answering each row alone gives.
TEST(EdgeWalker, SteppingMatchesRandomAccess) {
  const int ends[][4] = {{0, 0, 17, 5},  {17, 5, 0, 0},  {3, 2, -40, 9}, {5, 0, 6, 30}, {0, 0, -3, 11},
                         {0, 0, 9, 9},   {-7, 4, 100, 5}, {2, 2, 2, 8},   {0, 0, 1, 1}, {1000, -20, -999, 3}};
  for (const auto& e : ends) {
    for (int startOffset = 0; startOffset <= 2; ++startOffset) {
      pl3::EdgeWalker walker(e[0], e[1], e[2], e[3]);
      const int start = std::min(walker.top() + startOffset, walker.bottom());
      walker.Start(start);
      for (int y = start; y <= walker.bottom(); ++y) {
        const pl3::RowSpan stepped = walker.Next();
        const pl3::RowSpan direct = walker.At(y);
        EXPECT_EQ(stepped.lo, direct.lo) << e[0] << "," << e[1] << " " << e[2] << "," << e[3] << " row " << y;
        EXPECT_EQ(stepped.hi, direct.hi) << e[0] << "," << e[1] << " " << e[2] << "," << e[3] << " row " << y;
      }
    }
  }
}

}  // namespace

namespace {

// A disc and an arc far larger than the view walk only the rows in the clip.
TEST(Discs, HugeShapesWalkOnlyTheClippedRows) {
  Plane plane(20, 20);
  const std::int32_t r = 1000000000;
  pl3::FillDisc(10, 10 + r, r);  // its top row is row 10
  for (int x = 0; x < 20; ++x) {
    EXPECT_FALSE(plane.At(x, 9)) << x;
    EXPECT_TRUE(plane.At(x, 10)) << x;
    EXPECT_TRUE(plane.At(x, 19)) << x;
  }
  plane.Clear();
  // A quarter ring of radius 10^9 whose outer edge crosses the view at row 10.
  pl3::ArcLayout arc{};
  arc.centreX = 10;
  arc.centreY = 10 + r;
  arc.radius = r;
  arc.width = 3;
  arc.startX = -1;  // from up-left round through up (-y) to up-right
  arc.startY = -1;
  arc.endX = 1;
  arc.endY = -1;
  pl3::DrawArcRecord(&arc);
  for (int x = 0; x < 20; ++x) {
    EXPECT_FALSE(plane.At(x, 6)) << x;
    EXPECT_TRUE(plane.At(x, 7)) << x;   // r + 3 above the centre
    EXPECT_TRUE(plane.At(x, 13)) << x;  // r - 3 above the centre
    EXPECT_FALSE(plane.At(x, 14)) << x;
  }
}

}  // namespace
