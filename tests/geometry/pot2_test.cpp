#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "geometry/pot2.h"

namespace {

using pl3::Point;
using Triangle = std::array<int, 3>;

std::vector<Triangle> Triangulate(const std::vector<Point>& pts) {
  std::vector<std::uint8_t> out(3 * pts.size(), 0xEE);
  const int n = pl3::TriangulatePolygon(static_cast<int>(pts.size()), pts.data(), out.data());
  std::vector<Triangle> tris;
  for (int i = 0; i < n; ++i) tris.push_back({out[3 * i], out[3 * i + 1], out[3 * i + 2]});
  return tris;
}

// The triangles as sets of points, independent of index order.
std::set<std::set<std::pair<int, int>>> Shapes(const std::vector<Point>& pts, const std::vector<Triangle>& tris) {
  std::set<std::set<std::pair<int, int>>> s;
  for (const Triangle& t : tris) {
    std::set<std::pair<int, int>> corners;
    for (int i : t) corners.insert(std::make_pair(pts[i].x, pts[i].y));
    s.insert(corners);
  }
  return s;
}

double Area2(const std::vector<Point>& pts, const Triangle& t) {
  const Point& a = pts[t[0]];
  const Point& b = pts[t[1]];
  const Point& c = pts[t[2]];
  return std::abs(static_cast<double>(b.x - a.x) * (c.y - a.y) - static_cast<double>(b.y - a.y) * (c.x - a.x));
}

TEST(Pot2, TriangleIsOutputUnchanged) {
  EXPECT_EQ(Triangulate({{0, 0}, {10, 0}, {0, 10}}), (std::vector<Triangle>{{0, 1, 2}}));
}

TEST(Pot2, ConvexQuadrilateralSplitsOnItsShorterDiagonal) {
  // Diagonal 0-2 is long, 1-3 short. The split lists positions 0..i with
  // j..end first, then i..j.
  const std::vector<Point> kite = {{0, 50}, {40, 0}, {140, 50}, {40, 100}};
  EXPECT_EQ(Triangulate(kite), (std::vector<Triangle>{{0, 1, 3}, {1, 2, 3}}));
  const std::vector<Point> other = {{40, 0}, {140, 50}, {40, 100}, {0, 50}};
  EXPECT_EQ(Triangulate(other), (std::vector<Triangle>{{0, 2, 3}, {0, 1, 2}}));
  // A square's equal diagonals: 0-2 wins.
  const std::vector<Point> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_EQ(Triangulate(square), (std::vector<Triangle>{{0, 2, 3}, {0, 1, 2}}));
}

TEST(Pot2, SameTrianglesClockwiseAndCounterClockwise) {
  const std::vector<std::vector<Point>> shapes = {
      {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
      {{0, 50}, {40, 0}, {100, 50}, {40, 100}},
      {{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}},
      {{0, 0}, {50, 0}, {60, 20}, {40, 45}, {10, 40}, {-5, 20}},
  };
  for (const auto& ccw : shapes) {
    // The same outline from the same first point the other way round.
    std::vector<Point> cw = {ccw[0]};
    cw.insert(cw.end(), ccw.rbegin(), ccw.rend() - 1);
    EXPECT_EQ(Shapes(ccw, Triangulate(ccw)), Shapes(cw, Triangulate(cw)));
  }
}

TEST(Pot2, LShapeNeverCutsAcrossItsNotch) {
  // 2 at the notch's outer corner, 3 the reflex corner.
  const std::vector<Point> l = {{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}};
  const auto tris = Triangulate(l);
  ASSERT_EQ(tris.size(), 4u);
  double area = 0;
  for (const Triangle& t : tris) {
    area += Area2(l, t);
    for (int i = 0; i < 3; ++i) {
      const int a = t[i], b = t[(i + 1) % 3];
      // The diagonals 2-4 and 1-4 would cross the notch.
      EXPECT_FALSE((std::min(a, b) == 2 && std::max(a, b) == 4) || (std::min(a, b) == 1 && std::max(a, b) == 4));
    }
  }
  EXPECT_DOUBLE_EQ(area, 2.0 * (30 * 10 + 10 * 20));
}

TEST(Pot2, ManyPointsCoverTheAreaExactly) {
  // A star-like simple polygon of 255 points.
  std::vector<Point> star;
  for (int i = 0; i < 255; ++i) {
    const double a = 2 * 3.14159265358979 * i / 255;
    const double r = (i % 2) ? 1000 : 600;
    star.push_back({static_cast<std::int32_t>(5000 + r * std::cos(a)), static_cast<std::int32_t>(5000 + r * std::sin(a))});
  }
  const auto tris = Triangulate(star);
  ASSERT_EQ(tris.size(), 253u);
  double area = 0, shoelace = 0;
  for (const Triangle& t : tris) area += Area2(star, t);
  for (std::size_t i = 0; i < star.size(); ++i) {
    const Point& p = star[i];
    const Point& q = star[(i + 1) % star.size()];
    shoelace += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
  }
  EXPECT_DOUBLE_EQ(area, std::abs(shoelace));
}

TEST(Pot2, FewerThanThreePointsAreRefused) {
  const Point pts[2] = {{0, 0}, {1, 1}};
  std::uint8_t out[3] = {7, 7, 7};
  EXPECT_EQ(pl3::TriangulatePolygon(2, pts, out), 0);
  EXPECT_EQ(out[0], 7);
  std::uint32_t wide[3] = {};
  EXPECT_EQ(pl3::TriangulatePolygonWide(0, pts, wide), 0u);
}

TEST(Pot2, RecordForms) {
  const std::vector<Point> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  // The working entity record: count at 76, points at 96, triangles at 2136.
  std::vector<std::uint8_t> entity(2136 + 3 * 253, 0);
  entity[76] = 4;
  std::memcpy(entity.data() + 96, square.data(), 4 * sizeof(Point));
  EXPECT_EQ(pl3::TriangulateEntityRecord(entity.data()), 2);
  EXPECT_EQ(std::vector<std::uint8_t>(entity.begin() + 2136, entity.begin() + 2142),
            (std::vector<std::uint8_t>{0, 2, 3, 0, 1, 2}));

  // The wide record: u32 count at 48, points at 76, u32 triangles after them.
  std::vector<std::uint8_t> wide(76 + 4 * 8 + 2 * 12, 0);
  const std::uint32_t n = 4;
  std::memcpy(wide.data() + 48, &n, 4);
  std::memcpy(wide.data() + 76, square.data(), 4 * sizeof(Point));
  EXPECT_EQ(pl3::TriangulateWidePolygonRecord(wide.data()), 2u);
  std::uint32_t tris[6];
  std::memcpy(tris, wide.data() + 108, sizeof tris);
  EXPECT_EQ(std::vector<std::uint32_t>(tris, tris + 6), (std::vector<std::uint32_t>{0, 2, 3, 0, 1, 2}));
}

TEST(SegmentsIntersect, Table) {
  struct Case {
    Point a, b, c, d;
    int meet;
  };
  const Case cases[] = {
      {{0, 0}, {10, 10}, {0, 10}, {10, 0}, 1},   // crossing
      {{0, 0}, {10, 10}, {10, 10}, {20, 0}, 1},  // shared end point
      {{0, 0}, {10, 0}, {5, 0}, {15, 0}, 0},     // collinear overlap counts as parallel
      {{0, 0}, {10, 0}, {0, 5}, {10, 5}, 0},     // parallel
      {{0, 0}, {10, 10}, {6, 5}, {20, 5}, 0},    // would meet beyond c-d's start
      {{0, 0}, {10, 0}, {5, 0}, {5, 10}, 1},     // T touching
      {{0, 0}, {4, 4}, {5, 5}, {9, 0}, 0},       // stops short
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::SegmentsIntersect(c.a, c.b, c.c, c.d), c.meet);
}

}  // namespace
