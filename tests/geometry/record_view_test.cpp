#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "geometry/graphic_layouts.h"
#include "geometry/record_view.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "tests/geometry/raster_fixture.h"

namespace {

using pl3::Transform;

constexpr Transform kQuarterTurnMoved = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 100, 200};

struct ResolverCall {
  std::uint16_t type;
  std::uint32_t index;
  std::uint32_t second;
};
std::vector<ResolverCall> g_calls;

// Sizes of the fake size table: first values 101 * (index + 1), second 51 * (index + 1).
std::int32_t FakeRealSize(std::uint16_t type, std::uint32_t index, std::uint32_t second) {
  g_calls.push_back({type, index, second});
  return static_cast<std::int32_t>((second ? 51 : 101) * (index + 1));
}

class RecordView : public testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    pl3::SetRealSizeResolver(&FakeRealSize);
  }
  void TearDown() override { pl3::SetRealSizeResolver(nullptr); }
};

TEST_F(RecordView, LineEndsTurnedAndMoved) {
  pl3::TrackLayout line{};
  line.x1 = 10;
  line.y1 = 20;
  line.x2 = 30;
  line.y2 = 40;
  line.width = 7;
  pl3::TransformLine(&line, &kQuarterTurnMoved);
  EXPECT_EQ(line.x1, 100 - 20);
  EXPECT_EQ(line.y1, 200 + 10);
  EXPECT_EQ(line.x2, 100 - 40);
  EXPECT_EQ(line.y2, 200 + 30);
  EXPECT_EQ(line.width, 7);

  // Unsigned takes -2 as 0xFFFFFFFE; the signed entry as -2.
  const Transform half = {0x800000, 0, 0, 0x800000, 0, 0};
  pl3::TrackLayout neg{};
  neg.x1 = -2;
  neg.y2 = -6;
  pl3::TrackLayout negSigned = neg;
  pl3::TransformLine(&neg, &half);
  pl3::TransformLineSigned(&negSigned, &half);
  EXPECT_EQ(neg.x1, 0x7FFFFFFF);
  EXPECT_EQ(negSigned.x1, -1);
  EXPECT_EQ(negSigned.y2, -3);
}

TEST_F(RecordView, ArcVectorsByTheLinearPartCentreAsAPoint) {
  pl3::ArcLayout arc{};
  arc.startX = 5;
  arc.endY = -5;
  arc.centreX = 1000;
  arc.centreY = 2000;
  pl3::TransformArc(&arc, &kQuarterTurnMoved);
  EXPECT_EQ(arc.startX, 0);
  EXPECT_EQ(arc.startY, 5);
  EXPECT_EQ(arc.endX, 5);
  EXPECT_EQ(arc.endY, 0);
  EXPECT_EQ(arc.centreX, 100 - 2000);
  EXPECT_EQ(arc.centreY, 200 + 1000);
}

TEST_F(RecordView, RectangleAndPolygonPoints) {
  pl3::RectangleLayout rect{};
  for (int i = 0; i < 4; ++i) rect.corners[i] = {i, 10 * i};
  rect.centreX = 7;
  rect.centreY = 8;
  pl3::TransformRectangle(&rect, &kQuarterTurnMoved);
  EXPECT_EQ(rect.corners[3].x, 100 - 30);
  EXPECT_EQ(rect.corners[3].y, 200 + 3);
  EXPECT_EQ(rect.centreX, 100 - 8);
  EXPECT_EQ(rect.centreY, 200 + 7);

  alignas(4) std::uint8_t buffer[sizeof(pl3::PolygonLayout) + 3 * 8 + 3] = {};
  auto* poly = reinterpret_cast<pl3::PolygonLayout*>(buffer);
  poly->count = 3;
  pl3::PolygonPoints(poly)[2] = {4, 9};
  pl3::TransformPolygon(poly, &kQuarterTurnMoved);
  EXPECT_EQ(pl3::PolygonPoints(poly)[2].x, 100 - 9);
  EXPECT_EQ(pl3::PolygonPoints(poly)[2].y, 200 + 4);
  EXPECT_EQ(pl3::PolygonPoints(poly)[0].x, 100);
}

TEST_F(RecordView, IndexedRectangleCornersFromHalfSizes) {
  pl3::RectangleLayout rect{};
  rect.head.sizeFlags = pl3::kSizeIndexed;
  rect.head.sizeIndex = 0;  // 101 by 51: half-sizes 50 and 25
  rect.centreX = 1000;
  rect.centreY = 2000;
  pl3::SetRectangleCorners(&rect);
  EXPECT_EQ(rect.corners[0].x, 950);
  EXPECT_EQ(rect.corners[0].y, 1975);
  EXPECT_EQ(rect.corners[1].x, 1050);
  EXPECT_EQ(rect.corners[2].y, 2025);
  EXPECT_EQ(rect.corners[3].x, 950);
  ASSERT_EQ(g_calls.size(), 2u);
  EXPECT_EQ(g_calls[0].type, 6);
  EXPECT_EQ(g_calls[1].second, 1);

  pl3::RectangleLayout custom{};
  custom.corners[0] = {1, 2};
  custom.centreX = 1000;
  pl3::SetRectangleCorners(&custom);  // not indexed: the stored corners stay
  EXPECT_EQ(custom.corners[0].x, 1);
}

TEST_F(RecordView, ToViewResolvesIndexedSizesByType) {
  geomtest::Plane plane(8, 8);
  plane.view = {10, 20, 1000};
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(1000);

  pl3::TrackLayout track{};
  track.head.sizeFlags = pl3::kSizeIndexed;
  track.head.sizeIndex = 99;  // 10100 world units: 10 pixels less the factor's shortfall
  track.x1 = 50000;
  track.y1 = 60000;
  pl3::TransformLineToView(&track, &pl3::kIdentityTransform);
  EXPECT_EQ(track.width, 10);
  EXPECT_EQ(track.x1, 49 - 10);
  EXPECT_EQ(track.y1, 59 - 20);
  pl3::TrackLayout slot = track;
  pl3::TransformSlotToView(&slot, &pl3::kIdentityTransform);

  pl3::CircleLayout circle{};
  circle.size = 5000;  // not indexed: the stored size
  pl3::TransformCircleToView(&circle, &pl3::kIdentityTransform);
  EXPECT_EQ(circle.size, 4);

  pl3::HoleLayout via{};
  via.head.sizeFlags = pl3::kSizeIndexed;
  via.flags = pl3::kHoleFromViaList;
  pl3::TransformHoleToView(&via, &pl3::kIdentityTransform);
  pl3::HoleLayout hole{};
  hole.head.sizeFlags = pl3::kSizeIndexed;
  pl3::TransformHoleToView(&hole, &pl3::kIdentityTransform);

  ASSERT_EQ(g_calls.size(), 6u);
  EXPECT_EQ(g_calls[0].type, 1);
  EXPECT_EQ(g_calls[0].index, 99u);
  EXPECT_EQ(g_calls[1].type, 46);
  EXPECT_EQ(g_calls[2].type, 17);
  EXPECT_EQ(g_calls[2].second, 0);
  EXPECT_EQ(g_calls[3].type, 17);
  EXPECT_EQ(g_calls[3].second, 1);
  EXPECT_EQ(g_calls[4].type, 7);
  EXPECT_EQ(g_calls[5].type, 7);
}

TEST_F(RecordView, ArcToViewRoundsRadiusAndCentreUp) {
  geomtest::Plane plane(8, 8);
  plane.view = {1, 2, pl3::kUnitsPerThou};
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(pl3::kUnitsPerThou);
  pl3::ArcLayout arc{};
  arc.head.sizeFlags = pl3::kSizeIndexed;
  arc.radius = 10 * pl3::kUnitsPerThou;
  arc.centreX = 20 * pl3::kUnitsPerThou;
  arc.centreY = 30 * pl3::kUnitsPerThou;
  arc.startX = -3 * pl3::kUnitsPerThou;
  arc.endY = 4 * pl3::kUnitsPerThou;
  pl3::ArcLayout keep = arc;
  pl3::TransformArcToView(&arc, &pl3::kIdentityTransform);
  EXPECT_EQ(arc.radius, 10);       // not 9: the rounding-up scale
  EXPECT_EQ(arc.centreX, 20 - 1);
  EXPECT_EQ(arc.centreY, 30 - 2);
  EXPECT_EQ(arc.startX, -2);       // signed scale, truncated toward zero
  EXPECT_EQ(arc.endY, 3);
  EXPECT_EQ(arc.width, 0);         // 101 world units are 0 pixels here
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].type, 2);

  keep.width = 777;
  pl3::TransformArcToViewKeepWidth(&keep, &pl3::kIdentityTransform);
  EXPECT_EQ(keep.width, 777);
  EXPECT_EQ(keep.radius, 10);
}

TEST_F(RecordView, WithoutAResolverIndexedSizesKeepTheirValue) {
  pl3::SetRealSizeResolver(nullptr);
  geomtest::Plane plane(8, 8);
  pl3::CircleLayout circle{};
  circle.head.sizeFlags = pl3::kSizeIndexed;
  circle.size = 6;
  pl3::TransformCircleToView(&circle, &pl3::kIdentityTransform);
  EXPECT_EQ(circle.size, 5);
}

}  // namespace
