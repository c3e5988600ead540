#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "draw/entity_geometry.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"

namespace {

constexpr pl3::Transform kQuarter = {0, pl3::kFixedOne, -pl3::kFixedOne, 0, 0, 0};

LinePayload Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  LinePayload l{};
  l.head.transform = pl3::kIdentityTransform;
  l.x1 = x1;
  l.y1 = y1;
  l.x2 = x2;
  l.y2 = y2;
  return l;
}

TEST(RotateEntityData, UnhandledTypesAreLeftAlone) {
  LinePayload l = Line(1, 2, 3, 4);
  const LinePayload before = l;
  pl3::Transform t = kQuarter;
  EXPECT_EQ(RotateEntityData(&l, 22, nullptr, &t), 0);
  EXPECT_EQ(std::memcmp(&l, &before, sizeof l), 0);
}

TEST(RotateEntityData, IdentityChangesNothingWhateverThePivot) {
  LinePayload l = Line(1000, 2000, 3000, 4000);
  const LinePayload before = l;
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = 77;
  t.ty = 99;
  const pl3::Point pivot{123456, 654321};
  EXPECT_EQ(RotateEntityData(&l, 1, &pivot, &t), 1);
  EXPECT_EQ(RotateEntityData(&l, 1, nullptr, &t), 1);
  EXPECT_EQ(std::memcmp(&l, &before, sizeof l), 0);
  EXPECT_EQ(t.tx, 77);
  EXPECT_EQ(t.ty, 99);
}

TEST(RotateEntityData, QuarterTurnAboutThePivotKeepsThePivotFixed) {
  // A line starting at the pivot keeps that end; the other end turns a quarter.
  const pl3::Point pivot{1000, 1000};
  LinePayload l = Line(1000, 1000, 1500, 1000);
  pl3::Transform t = kQuarter;
  t.tx = 5;  // ignored when a pivot is given, and restored
  ASSERT_EQ(RotateEntityData(&l, 1, &pivot, &t), 1);
  EXPECT_EQ(l.x1, 1000);
  EXPECT_EQ(l.y1, 1000);
  EXPECT_EQ(l.x2, 1000);
  EXPECT_EQ(std::abs(l.y2 - 1000), 500);
  EXPECT_EQ(t.tx, 5);

  // Without a pivot the transform's translation is the pivot.
  LinePayload m = Line(1000, 1000, 1500, 1000);
  pl3::Transform u = kQuarter;
  u.tx = 1000;
  u.ty = 1000;
  ASSERT_EQ(RotateEntityData(&m, 1, nullptr, &u), 1);
  EXPECT_EQ(std::memcmp(&m, &l, sizeof m), 0);

  CirclePayload c{};
  c.centreX = 1500;
  c.centreY = 1000;
  ASSERT_EQ(RotateEntityData(&c, 3, &pivot, &t), 1);
  EXPECT_EQ(c.centreX, 1000);
}

ArcPayload Arc() {
  ArcPayload a{};
  a.head.transform = pl3::kIdentityTransform;
  a.radius = 1000;
  a.startX = 1000;
  a.startY = 0;
  a.endX = 0;
  a.endY = 1000;
  a.centreX = 5000;
  a.centreY = 7000;
  return a;
}

TEST(Mirrors, ArcMirroredTwiceIsUnchanged) {
  ArcPayload a = Arc();
  MirrorArcData(&a, 3000);
  EXPECT_EQ(a.centreX, 1000);
  EXPECT_EQ(a.startX, 0);
  EXPECT_EQ(a.startY, 1000);
  EXPECT_EQ(a.endX, -1000);
  EXPECT_EQ(a.endY, 0);
  MirrorArcData(&a, 3000);
  ArcPayload want = Arc();
  EXPECT_EQ(a.centreX, want.centreX);
  EXPECT_EQ(a.startX, want.startX);
  EXPECT_EQ(a.startY, want.startY);
  EXPECT_EQ(a.endX, want.endX);
  EXPECT_EQ(a.endY, want.endY);
}

std::vector<std::uint8_t> Text(std::uint32_t flags, const pl3::Transform& t) {
  std::vector<std::uint8_t> bytes(offsetof(TextPayload, text) + 2, 0);
  auto* p = reinterpret_cast<TextPayload*>(bytes.data());
  p->justification = flags;
  p->textTransform = t;
  return bytes;
}

TEST(Mirrors, TextJustificationFlips) {
  struct Case {
    std::uint32_t flags;
    pl3::Transform t;
    std::uint32_t want;
  } cases[] = {
      {4 | 16, pl3::kIdentityTransform, 8 | 16},
      {8, pl3::kIdentityTransform, 4},
      {0, pl3::kIdentityTransform, 0},  // centred stays centred
      {4 | 16, kQuarter, 4 | 32},       // vertical: the vertical pair
  };
  for (const Case& k : cases) {
    auto bytes = Text(k.flags, k.t);
    auto* p = reinterpret_cast<TextPayload*>(bytes.data());
    p->textTransform.tx = 1200;
    EXPECT_EQ(MirrorTextPayload(p, 1000), 200);
    EXPECT_EQ(p->textTransform.tx, 800);
    EXPECT_EQ(p->justification, k.want) << k.flags;
  }
}

TEST(Mirrors, ShapesReflectAboutTheOrigin) {
  LinePayload l = Line(10, 1, 30, 2);
  MirrorLineData(&l, 100);
  EXPECT_EQ(l.x1, 190);
  EXPECT_EQ(l.x2, 170);
  EXPECT_EQ(l.y1, 1);

  // A count byte larger than the record reaches no further than the record.
  std::vector<std::uint8_t> bytes(sizeof(PolygonHead) + 2 * sizeof(pl3::Point) + 8, 0xAB);
  auto* poly = reinterpret_cast<PolygonHead*>(bytes.data());
  poly->count = 200;
  auto* pts = pl3::PolygonPoints(poly);
  pts[0] = {10, 0};
  pts[1] = {20, 0};
  MirrorPolygonData(poly, 0, static_cast<std::uint32_t>(bytes.size() - 8));
  EXPECT_EQ(pts[0].x, -10);
  EXPECT_EQ(pts[1].x, -20);
  EXPECT_EQ(bytes[bytes.size() - 1], 0xAB);
}

TEST(Ends, SwapsExchangeBothEnds) {
  LinePayload l = Line(1, 2, 3, 4);
  SwapLineEnds(&l);
  EXPECT_EQ(l.x1, 3);
  EXPECT_EQ(l.y1, 4);
  EXPECT_EQ(l.x2, 1);
  EXPECT_EQ(l.y2, 2);
  std::int32_t seg[4] = {5, 6, 7, 8};
  SwapSegmentEnds(seg);
  EXPECT_EQ(seg[0], 7);
  EXPECT_EQ(seg[3], 6);
}

TEST(Vectors, ScaledToLengthKeepsDirection) {
  std::int32_t dx = 3000, dy = 4000;
  ScaleVectorToLength(50, &dx, &dy);
  EXPECT_NEAR(dx, 30, 1);
  EXPECT_NEAR(dy, 40, 1);
  pl3::Point p{-7000, 0};
  ScalePointVectorToLength(10, &p);
  EXPECT_EQ(p.x, -10);
  EXPECT_EQ(p.y, 0);
}

TEST(CentreBoxOnAnchor, KeepsTheLargerDistanceOnTheRightAxis) {
  CurrentWindowData w(kEditorPcb);
  ActiveWindowData = &w;
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = 100;
  t.ty = 100;
  pl3::Box b{90, 60, 130, 110};
  CentreBoxOnAnchor(&b, &t);  // placement's own linear part: in y
  EXPECT_EQ(b.ymin, 60);
  EXPECT_EQ(b.ymax, 140);
  EXPECT_EQ(b.xmin, 90);
  EXPECT_EQ(b.xmax, 130);

  pl3::Transform q = kQuarter;
  q.tx = 100;
  q.ty = 100;
  pl3::Box c{90, 60, 130, 110};
  CentreBoxOnAnchor(&c, &q);  // any other: in x
  EXPECT_EQ(c.xmin, 70);
  EXPECT_EQ(c.xmax, 130);
  EXPECT_EQ(c.ymin, 60);
  ActiveWindowData = nullptr;
}

}  // namespace
