#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "geometry/octants.h"
#include "geometry/raster_state.h"

namespace {

struct OctantCase {
  std::int32_t x, y;
  int octant;
  std::int32_t major, minor;
};

TEST(Octants, ReductionTable) {
  const OctantCase cases[] = {
      {0, 0, 3, 0, 0},   {5, 5, 1, 5, 5},   {-3, 0, 4, 3, 0},  {3, 0, 0, 3, 0},  {0, 3, 2, 3, 0},
      {-3, 3, 3, 3, 3},  {-3, -3, 5, 3, 3}, {0, -3, 6, 3, 0},  {3, -3, 7, 3, 3}, {2, 1, 0, 2, 1},
      {1, 2, 1, 2, 1},   {-1, 2, 2, 2, 1},  {-2, 1, 3, 2, 1},  {-2, -1, 4, 2, 1}, {-1, -2, 5, 2, 1},
      {1, -2, 6, 2, 1},  {2, -1, 7, 2, 1},
  };
  for (const OctantCase& c : cases) {
    const pl3::ReducedVector r = pl3::ReduceToOctant(c.x, c.y);
    EXPECT_EQ(r.octant, c.octant) << c.x << "," << c.y;
    EXPECT_EQ(r.major, c.major) << c.x << "," << c.y;
    EXPECT_EQ(r.minor, c.minor) << c.x << "," << c.y;
  }
}

TEST(Octants, MappingBackRestoresTheVectorAndTwoOctantsOnTurnAQuarter) {
  for (std::int32_t x = -6; x <= 6; ++x) {
    for (std::int32_t y = -6; y <= 6; ++y) {
      const pl3::ReducedVector r = pl3::ReduceToOctant(x, y);
      EXPECT_GE(r.major, r.minor);
      EXPECT_GE(r.minor, 0);
      const pl3::Point back = pl3::MapFromOctant(r.octant, r.major, r.minor);
      EXPECT_EQ(back.x, x);
      EXPECT_EQ(back.y, y);
      const pl3::Point turned = pl3::MapFromOctant((r.octant + 2) & 7, r.major, r.minor);
      EXPECT_EQ(turned.x, -y) << x << "," << y;
      EXPECT_EQ(turned.y, x) << x << "," << y;
    }
  }
}

struct RadiusCase {
  std::int32_t major, minor, r;
  std::int32_t p, q;
};

TEST(Lattice, PointAtRadiusTable) {
  const RadiusCase cases[] = {
      {1, 0, 7, 7, 0},       // along the axis
      {5, 0, 0, 0, 0},       // radius 0
      {10, 10, 10, 7, 7},    // the diagonal below 11: integer walk
      {7, 7, 11, 8, 8},      // the diagonal from s = 7, refined outward
      {2, 1, 5, 5, 2},       // integer walk
      {40, 30, 10, 8, 6},    // integer walk
      {1, 2, 5, 2, 5},       // minor above major: swapped for the search and back
      {0, 5, 10, 0, 10},     // major 0: the swapped search runs along its axis
      {0, 5, 100, 0, 100},
      {3, 4, 100, 60, 80},   // floating point beyond 60
      {1000, 1, 1000, 1000, 2},  // rounded to (1000, 1), refined one row up
  };
  for (const RadiusCase& c : cases) {
    const pl3::Point p = pl3::PointAtRadius(c.major, c.minor, c.r);
    EXPECT_EQ(p.x, c.p) << c.major << "," << c.minor << " r " << c.r;
    EXPECT_EQ(p.y, c.q) << c.major << "," << c.minor << " r " << c.r;
  }
}

// Up to radius 60 every lattice point lies in the disc p^2 + q^2 <= r(r + 1);
// beyond, the rounded floating-point point is only refined outward. Either
// way it lies within a pixel and a half of the circle and two of the ray.
TEST(Lattice, PointsLieOnTheRimAlongTheRay) {
  for (std::int32_t r = 1; r <= 150; r += (r < 70 ? 1 : 7)) {
    for (std::int32_t minor = 0; minor <= 16; ++minor) {
      const std::int32_t major = 16;
      const pl3::Point p = pl3::PointAtRadius(major, minor, r);
      const std::int64_t d2 = static_cast<std::int64_t>(p.x) * p.x + static_cast<std::int64_t>(p.y) * p.y;
      if (r <= 60) {
        EXPECT_LE(d2, static_cast<std::int64_t>(r) * (r + 1)) << "r " << r << " minor " << minor;
      }
      EXPECT_LT(std::fabs(std::sqrt(static_cast<double>(d2)) - r), 1.5) << "r " << r << " minor " << minor;
      const double off = std::fabs(static_cast<double>(p.x) * minor - static_cast<double>(p.y) * major) /
                         std::hypot(major, minor);
      EXPECT_LT(off, 2.0) << "r " << r << " minor " << minor;
    }
  }
}

TEST(Lattice, VectorLengthAndSetVectorLength) {
  EXPECT_EQ(pl3::VectorLength(3, 4), 5);
  EXPECT_EQ(pl3::VectorLength(1, 1), 1);
  EXPECT_EQ(pl3::VectorLength(-2, 2), 3);
  pl3::g_raster.vectorX = 30;
  pl3::g_raster.vectorY = 40;
  pl3::g_raster.vectorLength = 10;
  pl3::SetVectorLength();
  EXPECT_EQ(pl3::g_raster.vectorX, 6);
  EXPECT_EQ(pl3::g_raster.vectorY, 8);
  const pl3::Point v = pl3::LatticeVector(-30, -40, 10);
  EXPECT_EQ(v.x, -6);
  EXPECT_EQ(v.y, -8);
}

TEST(Lattice, CrossProductSign) {
  EXPECT_EQ(pl3::CrossProductSign(1, 0, 0, 1, 0), 1);
  EXPECT_EQ(pl3::CrossProductSign(1, 0, 0, 1, 1), 0);
  EXPECT_EQ(pl3::CrossProductSign(0, 1, 1, 0, 0), 0);
  EXPECT_EQ(pl3::CrossProductSign(0, 1, 1, 0, 1), 1);
  EXPECT_EQ(pl3::CrossProductSign(3, 3, 3, 3, 0), 0);
  EXPECT_EQ(pl3::CrossProductSign(3, 3, 3, 3, 1), 0);
}

}  // namespace

namespace {

TEST(Lattice, RimColumnIsTheFloorSquareRoot) {
  struct Case {
    std::int64_t t, y, x;
  };
  const Case cases[] = {{110, 0, 10}, {110, 4, 9}, {110, 10, 3}, {110, 11, -1}, {0, 0, 0}, {2, 1, 1},
                        {4611686016279904256LL, 0, 2147483647}, {4611686016279904256LL, 2147483647, 46340}};
  for (const Case& c : cases) EXPECT_EQ(pl3::RimColumn(c.t, c.y), c.x) << c.t << " row " << c.y;
}

}  // namespace
