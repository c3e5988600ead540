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
}

TEST(InvertTransform, RotationsMirrorsAndScalesInvertExactly) {
  const Transform cases[] = {
      {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 1000, -250},
      {-pl3::kFixedOne, 0, 0, pl3::kFixedOne, 36576, 0},
      {0x2000000, 0, 0, 0x2000000, 10, 20},
      {0xDDB3D7, 0x800000, static_cast<std::int32_t>(0xFF800000u), 0xDDB3D7, 0, 0},
  };
  for (const Transform& t : cases) {
    Transform inv;
    ASSERT_TRUE(pl3::InvertTransform(&t, &inv));
    std::int32_t x = 123456, y = -98765;
    pl3::TransformSignedPoint(&t, x, y);
    pl3::TransformSignedPoint(&inv, x, y);
    EXPECT_NEAR(x, 123456, 2);
    EXPECT_NEAR(y, -98765, 2);
  }
  // The quarter turn's inverse is exactly the opposite turn.
  Transform inv;
  const Transform quarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};
  pl3::InvertTransform(&quarter, &inv);
  EXPECT_EQ(inv.a, 0);
  EXPECT_EQ(inv.b, -pl3::kFixedOne);
  EXPECT_EQ(inv.c, pl3::kFixedOne);
  EXPECT_EQ(inv.d, 0);
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
  const Transform flat = {pl3::kFixedOne, pl3::kFixedOne, pl3::kFixedOne, pl3::kFixedOne, 5, 5};
  Transform out = {1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(pl3::InvertTransform(&flat, &out));
  EXPECT_TRUE(pl3::IsIdentityTransform(out));
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
