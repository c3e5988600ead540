#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>
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

// The plain shortest-valid-diagonal method, written out step by step: a table
// of every valid diagonal's squared length, then recursive splitting at the
// first smallest entry of each index list.
struct PlainTriangulation {
  const std::vector<Point>& p;
  std::size_t n;
  std::vector<double> table;
  std::vector<Triangle> out;

  static double Diff(std::int32_t a, std::int32_t b) {
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)));
  }

  explicit PlainTriangulation(const std::vector<Point>& points) : p(points), n(points.size()) {
    const double none = std::numeric_limits<double>::max();
    table.assign(n * n, none);
    std::size_t m = 0;
    std::uint32_t leftmost = 0x7FFFFFFF;
    for (std::size_t i = 0; i < n; ++i) {
      if (static_cast<std::uint32_t>(p[i].x) < leftmost) {
        leftmost = static_cast<std::uint32_t>(p[i].x);
        m = i;
      }
    }
    const Point& mp = p[m];
    const Point& mprev = p[(m + n - 1) % n];
    const Point& mnext = p[(m + 1) % n];
    const double turn = Diff(mnext.x, mp.x) * Diff(mprev.y, mp.y) - Diff(mnext.y, mp.y) * Diff(mprev.x, mp.x);
    const bool flag = !(turn < 0);
    for (std::size_t i = 0; i + 2 < n; ++i) {
      for (std::size_t j = i + 2; j <= (i == 0 ? n - 2 : n - 1); ++j) {
        const Point& prev = p[(i + n - 1) % n];
        const double epx = Diff(prev.x, p[i].x), epy = Diff(prev.y, p[i].y);
        const double enx = Diff(p[i + 1].x, p[i].x), eny = Diff(p[i + 1].y, p[i].y);
        const double dx = Diff(p[j].x, p[i].x), dy = Diff(p[j].y, p[i].y);
        const double c = enx * epy - eny * epx;
        const double a = epx * dy - epy * dx;
        const double b = enx * dy - eny * dx;
        const bool aOk = (a >= 0) != flag, bOk = (b >= 0) == flag;
        if ((c >= 0) == flag ? !(aOk && bOk) : !(aOk || bOk)) continue;
        bool crosses = false;
        for (std::size_t k = 0; k < n && !crosses; ++k) {
          const std::size_t km = (k + n - 1) % n;
          if (k == i || k == j || km == i || km == j) continue;
          crosses = pl3::SegmentsIntersect(p[j], p[i], p[k], p[km]) != 0;
        }
        if (!crosses) table[j * n + i] = dx * dx + dy * dy;
      }
    }
    std::vector<std::size_t> all(n);
    std::iota(all.begin(), all.end(), 0);
    Split(all);
  }

  void Split(const std::vector<std::size_t>& list) {
    const std::size_t m = list.size();
    if (m == 3) {
      out.push_back({static_cast<int>(list[0]), static_cast<int>(list[1]), static_cast<int>(list[2])});
      return;
    }
    double best = 3.4028234663852886e38;
    std::size_t bi = 0, bj = 2;
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = i + 2; j < m; ++j) {
        if (table[list[j] * n + list[i]] < best) {
          best = table[list[j] * n + list[i]];
          bi = i;
          bj = j;
        }
      }
    }
    table[list[bj] * n + list[bi]] = std::numeric_limits<double>::max();
    std::vector<std::size_t> first(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(bi) + 1);
    first.insert(first.end(), list.begin() + static_cast<std::ptrdiff_t>(bj), list.end());
    Split(first);
    Split(std::vector<std::size_t>(list.begin() + static_cast<std::ptrdiff_t>(bi),
                                   list.begin() + static_cast<std::ptrdiff_t>(bj) + 1));
  }
};

// A simple polygon through random points: crossing edges are undone by
// reversing the stretch between them until none cross.
std::vector<Point> Untangled(std::vector<Point> pts) {
  const std::size_t n = pts.size();
  auto properlyCross = [](Point a, Point b, Point c, Point d) {
    auto side = [](Point o, Point u, Point v) {
      const double x = static_cast<double>(u.x - o.x) * (v.y - o.y) - static_cast<double>(u.y - o.y) * (v.x - o.x);
      return (x > 0) - (x < 0);
    };
    return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
  };
  for (bool changed = true; changed;) {
    changed = false;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 2; j < n; ++j) {
        if (i == 0 && j == n - 1) continue;
        if (properlyCross(pts[i], pts[i + 1], pts[j], pts[(j + 1) % n])) {
          std::reverse(pts.begin() + static_cast<std::ptrdiff_t>(i) + 1, pts.begin() + static_cast<std::ptrdiff_t>(j) + 1);
          changed = true;
        }
      }
    }
  }
  return pts;
}

// Star-shaped around (0, 0): angles sorted, radii at random.
std::vector<Point> StarShaped(std::size_t n, int radius, std::mt19937& random) {
  std::uniform_real_distribution<double> angle(0, 2 * 3.14159265358979), r(0.2, 1.0);
  std::vector<double> angles(n);
  for (double& a : angles) a = angle(random);
  std::sort(angles.begin(), angles.end());
  std::vector<Point> pts;
  for (double a : angles) {
    const double k = radius * r(random);
    pts.push_back({static_cast<std::int32_t>(std::lround(k * std::cos(a))), static_cast<std::int32_t>(std::lround(k * std::sin(a)))});
  }
  return pts;
}

TEST(Pot2, SameTrianglesAsThePlainMethodOnRandomPolygons) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<std::size_t> size(3, 40);
  int compared = 0;
  for (int round = 0; round < 1500; ++round) {
    const std::size_t n = round % 100 == 99 ? 120 : size(random);
    std::vector<Point> pts;
    switch (round % 4) {
      case 0:  // large coordinates, mostly distinct lengths
        pts = StarShaped(n, 1000000, random);
        break;
      case 1:  // a small lattice: equal lengths and collinear points abound
        pts = StarShaped(n, 12, random);
        break;
      case 2: {  // any simple shape, on a small lattice
        std::uniform_int_distribution<std::int32_t> c(-15, 15);
        for (std::size_t i = 0; i < n; ++i) pts.push_back({c(random), c(random)});
        pts = Untangled(pts);
        break;
      }
      default: {  // self-crossing outlines fall back as the plain method does
        std::uniform_int_distribution<std::int32_t> c(-50, 50);
        for (std::size_t i = 0; i < n; ++i) pts.push_back({c(random), c(random)});
        break;
      }
    }
    for (int direction = 0; direction < 2; ++direction) {
      if (direction == 1) std::reverse(pts.begin(), pts.end());
      const std::vector<Triangle> expected = PlainTriangulation(pts).out;
      { auto got = Triangulate(pts); for (size_t q = 0; q < got.size(); ++q) if (got[q] != expected[q]) { fprintf(stderr, "first diff at %zu: got %d %d %d want %d %d %d\n", q, got[q][0], got[q][1], got[q][2], expected[q][0], expected[q][1], expected[q][2]); break; } }
      ASSERT_EQ(Triangulate(pts), expected) << "round " << round << " direction " << direction << " n " << n;
      std::vector<std::uint32_t> wide(3 * n);
      ASSERT_EQ(pl3::TriangulatePolygonWide(static_cast<std::uint32_t>(n), pts.data(), wide.data()), n - 2);
      for (std::size_t t = 0; t + 2 < n; ++t)
        for (int k = 0; k < 3; ++k) ASSERT_EQ(wide[3 * t + k], static_cast<std::uint32_t>(expected[t][k]));
      ++compared;
    }
  }
  EXPECT_EQ(compared, 3000);
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
      // Taken as unsigned, c-d spans nearly 2^32 in both axes: products of
      // 64 bits, which double precision would round into a false meeting.
      {{44, -19}, {39, -14}, {-37, 25}, {48, -23}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::SegmentsIntersect(c.a, c.b, c.c, c.d), c.meet);
}

}  // namespace
