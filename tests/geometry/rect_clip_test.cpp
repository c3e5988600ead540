#include <gtest/gtest.h>

#include <vector>

#include "geometry/rect_clip.h"

namespace {

using pl3::ClipPoint2D;

std::vector<ClipPoint2D> Clip(const std::vector<ClipPoint2D>& in) {
  std::vector<ClipPoint2D> out(in.size() + 8);
  const int n = pl3::ClipPolygonToRect(0, 0, 10, 10, static_cast<int>(in.size()), in.data(), out.data());
  out.resize(static_cast<std::size_t>(n));
  return out;
}

void ExpectPoints(const std::vector<ClipPoint2D>& got, const std::vector<ClipPoint2D>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_DOUBLE_EQ(got[i].x, want[i].x) << i;
    EXPECT_DOUBLE_EQ(got[i].y, want[i].y) << i;
  }
}

TEST(RectClip, InsideComesOutUnchanged) {
  const std::vector<ClipPoint2D> tri = {{1, 1}, {9, 2}, {4, 8}};
  ExpectPoints(Clip(tri), tri);
}

TEST(RectClip, OutsideGivesNothing) {
  EXPECT_TRUE(Clip({{11, 1}, {19, 2}, {14, 8}}).empty());
  EXPECT_TRUE(Clip({{-5, -5}, {-1, -5}, {-3, -1}}).empty());
}

TEST(RectClip, TriangleBeyondTheRightGivesFourPoints) {
  const auto out = Clip({{2, 2}, {14, 5}, {2, 8}});
  ExpectPoints(out, {{2, 2}, {10, 4}, {10, 6}, {2, 8}});
}

TEST(RectClip, VerticalEdgeAcrossTheBottomKeepsItsX) {
  const auto out = Clip({{3, -4}, {3, 6}, {8, 6}});
  ASSERT_FALSE(out.empty());
  bool found = false;
  for (const auto& p : out) found = found || (p.x == 3 && p.y == 0);
  EXPECT_TRUE(found);
  for (const auto& p : out) {
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.x, 10);
  }
}

TEST(RectClip, PointOnABoundaryIsKeptWithoutAnIntersection) {
  const std::vector<ClipPoint2D> tri = {{0, 5}, {5, 1}, {5, 9}};
  ExpectPoints(Clip(tri), tri);
}

TEST(RectClip, EachEdgeCut) {
  // A square twice the rectangle's size around it gives the rectangle.
  const auto out = Clip({{-5, -5}, {15, -5}, {15, 15}, {-5, 15}});
  EXPECT_EQ(out.size(), 4u);
  for (const auto& p : out) {
    EXPECT_TRUE(p.x == 0 || p.x == 10);
    EXPECT_TRUE(p.y == 0 || p.y == 10);
  }
}

}  // namespace
