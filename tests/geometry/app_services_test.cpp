#include <gtest/gtest.h>

#include <cstdlib>

#include <cmath>
#include <cstdint>

#include "app/arc_directions.h"
#include "app/boxes.h"
#include "app/transform_inverse.h"
#include "geometry/arcs.h"
#include "geometry/transform.h"

namespace {

using pl3::Box;
using pl3::Transform;

bool Same(const Box& a, const Box& b) {
  return a.xmin == b.xmin && a.ymin == b.ymin && a.xmax == b.xmax && a.ymax == b.ymax;
}

TEST(Boxes, EmptyBoxIsNeutralAndZeroBoxIgnored) {
  Box b = pl3::kEmptyBox;
  const Box other = {10, 20, 30, 40};
  pl3::UnionBox(&b, &other);
  EXPECT_TRUE(Same(b, other));
  const Box zero = {0, 0, 0, 0};
  pl3::UnionBox(&b, &zero);
  EXPECT_TRUE(Same(b, other));
  const Box wider = {5, 25, 50, 35};
  pl3::UnionBox(&b, &wider);
  EXPECT_TRUE(Same(b, (Box{5, 20, 50, 40})));

  Box e = pl3::kEmptyBox;
  pl3::ExtendBoxByPoint(&e, 7, 9);
  EXPECT_TRUE(Same(e, (Box{7, 9, 7, 9})));
  pl3::ExtendBoxByPoint(&e, 3, 12);
  EXPECT_TRUE(Same(e, (Box{3, 9, 7, 12})));
}

TEST(Boxes, InflateHoldsTheLowCornerAtZero) {
  Box b = {100, 5, 200, 300};
  pl3::InflateBox(&b, 10);
  EXPECT_TRUE(Same(b, (Box{90, 0, 210, 310})));
  Box c = {10, 11, 20, 20};
  pl3::InflateBox(&c, 10);
  EXPECT_TRUE(Same(c, (Box{0, 1, 30, 30})));
  // A low side already below 0 compares signed: it is held at 0 too.
  Box d = {-10, -10, 110, 10};
  pl3::InflateBox(&d, 365760);
  EXPECT_TRUE(Same(d, (Box{0, 0, 365870, 365770})));
}

TEST(Boxes, TransformBoxTakesTheMappedCornersExtremes) {
  const std::int32_t one = pl3::kFixedOne;
  const Transform quarter = {0, one, -one, 0, 1000, 2000};  // (x, y) -> (-y + 1000, x + 2000)
  Box b = {10, 20, 110, 50};
  pl3::TransformBox(&quarter, &b);
  EXPECT_TRUE(Same(b, (Box{950, 2010, 980, 2110})));
  Box i = {1, 2, 3, 4};
  pl3::TransformBox(&pl3::kIdentityTransform, &i);
  EXPECT_TRUE(Same(i, (Box{1, 2, 3, 4})));
}

TEST(InvertTransform, ScalesTheAdjugateByTheTruncatedDeterminant) {
  struct Case {
    Transform t, inverse;
  };
  const std::int32_t one = pl3::kFixedOne;
  const Case cases[] = {
      // A quarter turn and a mirror invert exactly; the offsets are negated.
      {{0, one, -one, 0, 1000, -250}, {0, -one, one, 0, -1000, 250}},
      {{-one, 0, 0, one, 36576, 0}, {-one, 0, 0, one, -36576, 0}},
      {{0x800000, 0, 0, 0x800000, 10, 20}, {0x2000000, 0, 0, 0x2000000, -10, -20}},
      // 30 degrees: det is 16777215.55, truncated to 16777215, so every entry
      // comes out one step larger than the exact inverse would be.
      {{0xDDB3D7, 0x800000, static_cast<std::int32_t>(0xFF800000u), 0xDDB3D7, 0, 0},
       {14529496, -8388609, 8388609, 14529496, 0, 0}},
      // det 25409735.58: MulDiv rounds 16777216 * 16777216 / 25409735 to 11077446.
      {{0x1800000, 0x123456, -0x345678, 0x1000000, 5, -5}, {11077446, -787729, 2264722, 16616170, -5, 5}},
  };
  for (const Case& c : cases) {
    Transform inv = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(pl3::InvertTransform(&c.t, &inv));
    EXPECT_EQ(inv.a, c.inverse.a);
    EXPECT_EQ(inv.b, c.inverse.b);
    EXPECT_EQ(inv.c, c.inverse.c);
    EXPECT_EQ(inv.d, c.inverse.d);
    EXPECT_EQ(inv.tx, c.inverse.tx);
    EXPECT_EQ(inv.ty, c.inverse.ty);
  }
  // The orientation composed with its inverse is the identity.
  const Transform quarter = {0, one, -one, 0, 0, 0};
  Transform inv;
  pl3::InvertTransform(&quarter, &inv);
  pl3::ComposeTransform(&inv, &quarter);
  EXPECT_TRUE(pl3::IsIdentityTransform(inv));
}

TEST(InvertTransform, HeapCopyHoldsTheInverse) {
  const Transform quarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};
  Transform* inv = pl3::InvertTransformCopy(&quarter);
  ASSERT_NE(inv, nullptr);
  EXPECT_EQ(inv->b, -pl3::kFixedOne);
  EXPECT_EQ(inv->c, pl3::kFixedOne);
  std::free(inv);
}

TEST(InvertTransform, SingularTransformIsRefused) {
  const Transform cases[] = {
      {pl3::kFixedOne, pl3::kFixedOne, pl3::kFixedOne, pl3::kFixedOne, 5, 5},
      {0x100, 0, 0, 0x100, 0, 0},  // det 2^-8 truncates to 0
      {0x7FFFFFFF, 0, 0, 0x7FFFFFFF, 0, 0},  // det beyond 32 bits
  };
  for (const Transform& t : cases) {
    Transform out = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(pl3::InvertTransform(&t, &out));
    EXPECT_TRUE(pl3::IsIdentityTransform(out));
  }
}

TEST(ArcDirectionTable, EndsAndTruncatedSteps) {
  pl3::BuildArcDirectionTable(4);
  const auto& t = pl3::ArcDirectionTable();
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].cos, 0xFFFFFFFFu);
  EXPECT_EQ(t[0].sin, 0u);
  EXPECT_EQ(t[4].cos, 0xB504F334u);
  EXPECT_EQ(t[4].sin, 0xB504F334u);
  EXPECT_EQ(t[2].cos, static_cast<std::uint32_t>(std::cos(std::atan(1.0) / 2) * 4294967296.0));
  for (std::size_t i = 1; i < t.size(); ++i) {
    EXPECT_LT(t[i].cos, t[i - 1].cos);
    EXPECT_GT(t[i].sin, t[i - 1].sin);
  }
  pl3::BuildArcDirectionTable(0);
  EXPECT_EQ(pl3::ArcDirectionTable().size(), 2u);
}

}  // namespace
