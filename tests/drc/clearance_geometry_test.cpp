#include <gtest/gtest.h>

#include "drc/clearance_geometry.h"
#include "platform/responder.h"

namespace {

// A right triangle with legs of 100 along the axes, anticlockwise, and the
// same triangle wound the other way.
constexpr DrcTriangle kRight{0, 0, 100, 0, 0, 100};
constexpr DrcTriangle kRightClockwise{0, 0, 0, 100, 100, 0};

TEST(PointInTriangle, EdgesAndVerticesCountAsInsideInEitherWinding) {
  struct Case {
    double x, y;
    int inside;
  } cases[] = {
      {10, 10, 1}, {0, 0, 1}, {50, 0, 1}, {50, 50, 1}, {0, 100, 1},
      {51, 50, 0}, {-1, 10, 0}, {10, -1, 0}, {200, 200, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointInTriangle(kRight, c.x, c.y), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(PointInTriangle(kRightClockwise, c.x, c.y), c.inside) << c.x << "," << c.y;
  }
}

TEST(PointToSegmentDistance, FootOfPerpendicularOrNearerEnd) {
  EXPECT_EQ(PointToSegmentDistance(50, 30, 0, 0, 100, 0), 30u);   // foot on the segment
  EXPECT_EQ(PointToSegmentDistance(103, 4, 0, 0, 100, 0), 5u);    // past b
  EXPECT_EQ(PointToSegmentDistance(-3, -4, 0, 0, 100, 0), 5u);    // before a
  EXPECT_EQ(PointToSegmentDistance(3, 4, 0, 0, 0, 0), 5u);        // a point segment
  EXPECT_EQ(PointToSegmentDistance(1, 1, 0, 0, 10, 10), 0u);      // on the segment
  EXPECT_EQ(PointToSegmentDistance(0, 10, 0, 0, 10, 10), 7u);     // 7.07 truncated
}

TEST(SegmentToSegmentDistance, CrossingParallelCollinearAndPointSegments) {
  struct Case {
    DrcSegment a, b;
    std::uint32_t distance;
  } cases[] = {
      {{0, 0, 100, 100}, {0, 100, 100, 0}, 0},    // crossing
      {{0, 0, 100, 0}, {0, 10, 100, 10}, 10},     // parallel, 10 apart
      {{0, 0, 100, 0}, {50, 0, 150, 0}, 0},       // collinear, overlapping
      {{0, 0, 100, 0}, {103, 4, 200, 4}, 5},      // end to end
      {{50, 7, 50, 7}, {0, 0, 100, 0}, 7},        // zero length first
      {{0, 0, 100, 0}, {50, 7, 50, 7}, 7},        // zero length second
      {{0, 0, 100, 0}, {50, 0, 50, 90}, 0},       // one ends on the other
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SegmentToSegmentDistance(c.a, c.b), c.distance);
    EXPECT_EQ(SegmentToSegmentDistance(c.b, c.a), c.distance);
  }
}

TEST(PointToTriangleDistance, InsideIsZeroOutsideIsNearestEdge) {
  EXPECT_EQ(PointToTriangleDistance(kRight, 10, 10), 0u);
  EXPECT_EQ(PointToTriangleDistance(kRight, 50, 0), 0u);
  EXPECT_EQ(PointToTriangleDistance(kRight, 50, -20), 20u);
  EXPECT_EQ(PointToTriangleDistance(kRight, -30, 50), 30u);
  EXPECT_EQ(PointToTriangleDistance(kRight, 60, 60), 14u);  // 10 * sqrt 2 from the hypotenuse
  EXPECT_EQ(PointToTriangleDistance(kRight, 103, -4), 5u);
}

TEST(SegmentToTriangleDistance, FirstEndInsideCrossingAndApart) {
  struct Case {
    DrcSegment s;
    std::uint32_t distance;
  } cases[] = {
      {{10, 10, 20, 20}, 0},       // wholly inside
      {{10, 10, 500, 500}, 0},     // first end inside
      {{-50, 10, 50, 10}, 0},      // first end outside, the segment crosses into it
      {{-50, 10, -50, 300}, 50},   // beside the vertical leg
      {{-50, -50, 300, -50}, 50},  // under the horizontal leg
      {{60, -10, -10, 60}, 0},     // crosses two edges, both ends outside
      {{200, -10, -10, 200}, 63},  // parallel to the hypotenuse, 90 / sqrt 2 from it
      {{100, 100, 200, 200}, 70},  // beyond the hypotenuse: 50 * sqrt 2
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SegmentToTriangleDistance(kRight, c.s), c.distance)
        << c.s.x1 << "," << c.s.y1 << " " << c.s.x2 << "," << c.s.y2;
  }
}

TEST(PointToBoxDistance, InsideOutsideAndThreshold) {
  struct Case {
    std::int32_t x, y;
    std::uint32_t threshold, distance;
  } cases[] = {
      {50, 50, 0, 0},     // inside
      {90, 10, 0, 0},     // inside, lower triangle
      {10, 90, 0, 0},     // inside, upper triangle
      {100, 100, 0, 0},   // corner
      {-5, 50, 0, 5},     // left of the box
      {150, 50, 0, 50},   // right of the box
      {103, 104, 0, 5},   // beyond the corner
      {-5, 50, 6, 0},     // nearer than the threshold
      {-5, 50, 5, 5},     // not below it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PointToBoxDistance(c.x, c.y, c.threshold, 0, 0, 100, 100), c.distance) << c.x << "," << c.y;
    // The corners may come in either order.
    EXPECT_EQ(PointToBoxDistance(c.x, c.y, c.threshold, 100, 100, 0, 0), c.distance) << c.x << "," << c.y;
  }
}

TEST(GuardedSqrt, NegativeInputIsReportedAndRootedAsPositive) {
  pl3::ClearResponderRecords();
  EXPECT_DOUBLE_EQ(GuardedSqrt(16), 4);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_DOUBLE_EQ(GuardedSqrt(-9), 3);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Sqrtl error!");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "DRC.CPP");
}

}  // namespace
