#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "geometry/transform.h"
#include "geometry/types.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using pl3::Transform;

constexpr std::int32_t kMinusOne = static_cast<std::int32_t>(0xFF000000u);
constexpr Transform kQuarterTurn = {0, pl3::kFixedOne, kMinusOne, 0, 0, 0};
// 30 degrees either way, as the dimensioner arrowheads use them.
constexpr Transform kThirty = {0xDDB3D7, 0x800000, static_cast<std::int32_t>(0xFF800000u), 0xDDB3D7, 0, 0};

bool Same(const Transform& a, const Transform& b) {
  return a.a == b.a && a.b == b.b && a.c == b.c && a.d == b.d && a.tx == b.tx && a.ty == b.ty;
}

struct MulCase {
  const char* name;
  std::int32_t (*fn)(std::int32_t, std::int32_t);
  std::int32_t value;
  std::int32_t coef;
  std::int32_t expected;
};

std::int32_t Unsigned(std::int32_t v, std::int32_t c) { return pl3::MulFixedUnsigned(static_cast<std::uint32_t>(v), c); }

TEST(FixedPoint, MultiplicationTable) {
  const MulCase cases[] = {
      {"rounded 1.5 up", pl3::MulFixedRounded, 3, 0x800000, 2},
      {"signed 1.5 truncated", pl3::MulFixedSigned, 3, 0x800000, 1},
      {"signed -1.5 toward zero", pl3::MulFixedSigned, -3, 0x800000, -1},
      {"rounded -1.5 by magnitude", pl3::MulFixedRounded, -3, 0x800000, -2},
      {"unsigned magnitude not -1", Unsigned, -1, pl3::kFixedOne, -1},
      {"unsigned by -1.0", Unsigned, 5, kMinusOne, -5},
      {"unsigned top bit is magnitude", Unsigned, static_cast<std::int32_t>(0x80000000u), 0x800000, 0x40000000},
      {"signed INT_MIN by 0.5", pl3::MulFixedSigned, INT32_MIN, 0x800000, -0x40000000},
      {"zero coefficient", pl3::MulFixedRounded, 12345, 0, 0},
      {"zero value", pl3::MulFixedSigned, 0, kMinusOne, 0},
      {"signed both negative", pl3::MulFixedSigned, -10, kMinusOne, 10},
      {"rounded 0.49 stays", pl3::MulFixedRounded, 1, 0x7FFFFF, 0},
  };
  for (const MulCase& c : cases) EXPECT_EQ(c.fn(c.value, c.coef), c.expected) << c.name;
  EXPECT_EQ(static_cast<std::uint32_t>(pl3::MulFixedUnsigned(0xFFFFFFFFu, pl3::kFixedOne)), 0xFFFFFFFFu);
}

TEST(FixedPoint, QuarterTurnComposedFourTimesIsExactlyTheIdentity) {
  Transform a = kQuarterTurn;
  for (int i = 0; i < 3; ++i) pl3::ComposeTransform(&a, &kQuarterTurn);
  EXPECT_TRUE(Same(a, pl3::kIdentityTransform));
}

TEST(FixedPoint, ComposingThirtyDegreesTwiceGivesTheRoundedSixty) {
  Transform a = kThirty;
  pl3::ComposeTransform(&a, &kThirty);
  EXPECT_TRUE(Same(a, {0x800000, 0xDDB3D8, static_cast<std::int32_t>(0xFF224C28u), 0x800000, 0, 0}));
}

TEST(FixedPoint, ComposeWithIdentityAndTranslationCarriedThroughB) {
  Transform a = {0x1234567, -0x345678, 0x11111, 0xFEDCBA, 100, -200};
  const Transform before = a;
  pl3::ComposeTransform(&a, &pl3::kIdentityTransform);
  EXPECT_TRUE(Same(a, before));

  Transform t = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 1000, -3};
  Transform b = kQuarterTurn;
  b.tx = 7;
  b.ty = 9;
  pl3::ComposeTransform(&t, &b);
  // (1000, -3) turned a quarter is (3, 1000); B adds its own translation.
  EXPECT_TRUE(Same(t, {0, pl3::kFixedOne, kMinusOne, 0, 10, 1009}));

  Transform lin = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 55, 66};
  pl3::ComposeLinearTransform(&lin, &b);
  EXPECT_TRUE(Same(lin, {0, pl3::kFixedOne, kMinusOne, 0, 55, 66}));
}

TEST(FixedPoint, PointsAndVectors) {
  Transform t = kThirty;
  t.tx = 500;
  t.ty = -7;
  std::int32_t x = 1000000, y = 2000000;
  pl3::TransformPoint(&t, x, y);
  EXPECT_EQ(x, -133475);
  EXPECT_EQ(y, 2232043);

  // The identity returns at once, even for coordinates that would wrap.
  x = -5;
  y = INT32_MIN;
  pl3::TransformPoint(&pl3::kIdentityTransform, x, y);
  EXPECT_EQ(x, -5);
  EXPECT_EQ(y, INT32_MIN);

  // Unsigned takes -4 as 0xFFFFFFFC; signed as -4.
  const Transform half = {0x800000, 0, 0, 0x800000, 0, 0};
  x = -4;
  y = 6;
  pl3::TransformPoint(&half, x, y);
  EXPECT_EQ(x, 0x7FFFFFFE);
  EXPECT_EQ(y, 3);
  x = -4;
  y = 6;
  pl3::TransformSignedPoint(&half, x, y);
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 3);

  // A vector ignores the translation and leaves the Transform as it was.
  Transform moved = kQuarterTurn;
  moved.tx = 99;
  x = 10;
  y = 0;
  pl3::TransformVector(&moved, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 10);
  EXPECT_EQ(moved.tx, 99);
  // A pure translation leaves vectors alone.
  const Transform shift = {pl3::kFixedOne, 0, 0, pl3::kFixedOne, 5, 5};
  x = 3;
  y = 4;
  pl3::TransformVector(&shift, x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
}

TEST(FixedPoint, VectorToViewScalesSigned) {
  geomtest::Plane plane(4, 4);
  plane.view.zoom = 10;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(10);
  std::int32_t x = -1000, y = 1000;
  pl3::TransformVectorToView(&kQuarterTurn, x, y);
  // (-1000, 1000) turned is (-1000, -1000); F falls just short of 1/10.
  EXPECT_EQ(x, -99);
  EXPECT_EQ(y, -99);
  EXPECT_EQ(pl3::g_raster.signedScale, 0);
}

}  // namespace

namespace {

TEST(FixedPoint, ArrayOfPointsMatchesPointByPoint) {
  const Transform transforms[] = {
      kThirty, kQuarterTurn, pl3::kIdentityTransform,
      {-pl3::kFixedOne, 0, 0, pl3::kFixedOne, 36576, -5},
      {0x7FFFFFFF, static_cast<std::int32_t>(0x80000000u), 0x123, -0x456, 7, 9},
      {-0xDDB3D7, -0x800000, -0x800000, -0xDDB3D7, -3, 4},  // every coefficient negative
      {0xDDB3D7, -0x800000, 0x800000, 0xDDB3D7, 0, 1},
  };
  std::vector<pl3::Point> points;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 200; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const auto x = static_cast<std::int32_t>(seed);
    seed = seed * 1664525u + 1013904223u;
    points.push_back({i < 4 ? 0 : x, i % 7 == 0 ? 0 : static_cast<std::int32_t>(seed)});
  }
  for (const Transform& t : transforms) {
    std::vector<pl3::Point> batch = points;
    pl3::TransformPoints(&t, batch.data(), batch.data(), batch.size());
    std::vector<pl3::Point> copied(points.size());
    pl3::TransformPoints(&t, points.data(), copied.data(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      std::int32_t x = points[i].x, y = points[i].y;
      pl3::TransformPoint(&t, x, y);
      EXPECT_EQ(batch[i].x, x) << i;
      EXPECT_EQ(batch[i].y, y) << i;
      EXPECT_EQ(copied[i].x, x) << i;
      EXPECT_EQ(copied[i].y, y) << i;
    }
  }
}

}  // namespace
