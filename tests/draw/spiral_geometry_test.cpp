#include <gtest/gtest.h>

#include "draw/draw_flags.h"
#include "draw/spiral_geometry.h"
#include "edit/window_data.h"
#include "objects/engine_item_seams.h"
#include "objects/graphic_records.h"

namespace {

// Centres lie inside the design area, as every stored spiral's does.
constexpr std::int32_t C = 200000000;

SpiralPayload Spiral(pl3::Point start, pl3::Point end, std::int32_t pitch) {
  SpiralPayload s{};
  s.centre = {C, C};
  s.start = start;
  s.end = end;
  s.pitch = pitch;
  return s;
}

TEST(SpiralGeometry, StartQuadrantsIncludeTheirAxes) {
  struct Case {
    std::int32_t dx, dy;
    int quadrant;
  };
  const Case cases[] = {{-5, 0, 0}, {-5, -5, 0}, {0, -5, 1}, {5, -5, 1}, {5, 0, 2}, {5, 5, 2}, {0, 5, 3}, {-5, 5, 3}};
  for (const Case& c : cases) {
    SpiralPayload s = Spiral({C + c.dx, C + c.dy}, {0, 0}, 400);
    EXPECT_EQ(GetArcQuadrant(&s), c.quadrant) << c.dx << "," << c.dy;
  }
  SpiralPayload onCentre = Spiral({C, C}, {0, 0}, 400);
  EXPECT_EQ(GetArcQuadrant(&onCentre), 0);
  EXPECT_EQ(onCentre.start.x, C - 400);  // moved one pitch left
}

TEST(SpiralGeometry, StepMovesAQuarterPitch) {
  pl3::Point p{100, 100};
  StepPointInDirection(0, &p, 403);  // quarter = 403 >> 2 = 100
  EXPECT_EQ(p.x, 200);
  StepPointInDirection(1, &p, 403);
  EXPECT_EQ(p.y, 200);
  StepPointInDirection(2, &p, 403);
  StepPointInDirection(3, &p, 403);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 100);
}

TEST(SpiralGeometry, LastQuarterCountsTheTurnsToTheEnd) {
  // Start 100 left of the centre, pitch 400, end 200 above it: quadrant 0 to
  // quadrant 0, one more turn needed, so the last quarter is index 0.
  const SpiralPayload s = Spiral({C - 100, C}, {C, C - 200}, 400);
  EXPECT_EQ(GetArcSweepQuadrants(&s), 0);
  // Three turns further out: three more.
  const SpiralPayload far = Spiral({C - 100, C}, {C, C - 1400}, 400);
  EXPECT_EQ(GetArcSweepQuadrants(&far), 12);
}

// A pitch of 0 or less counts as the default pitch in the quadrant helpers
// too, so a stored spiral is measured as it is drawn.
TEST(SpiralGeometry, UnsetPitchCountsAsTheDefaultInTheQuadrantHelpers) {
  for (const std::int32_t pitch : {0, -1, -kDefaultSpiralPitch}) {
    SpiralPayload onCentre = Spiral({C, C}, {0, 0}, pitch);
    EXPECT_EQ(GetArcQuadrant(&onCentre), 0);
    EXPECT_EQ(onCentre.start.x, C - kDefaultSpiralPitch) << pitch;
    const pl3::Point end{C + 7 * kDefaultSpiralPitch, C - 3 * kDefaultSpiralPitch};
    const SpiralPayload unset = Spiral({C - 1000, C}, end, pitch);
    const SpiralPayload given = Spiral({C - 1000, C}, end, kDefaultSpiralPitch);
    EXPECT_EQ(GetArcSweepQuadrants(&unset), GetArcSweepQuadrants(&given)) << pitch;
    EXPECT_GT(GetArcSweepQuadrants(&unset), 0) << pitch;
  }
}

TEST(SpiralGeometry, PreparationGivesDefaultsAndMirrors) {
  SpiralPayload s = Spiral({0, 0}, {0, 0}, 0);
  PrepareSpiralForDrawing(&s);
  EXPECT_EQ(s.pitch, kDefaultSpiralPitch);
  EXPECT_EQ(s.start.x, C - kDefaultSpiralPitch);
  EXPECT_EQ(s.end.x, C + kDefaultSpiralPitch + 5 * kDefaultSpiralPitch);  // |start - centre| + 5 pitches
  EXPECT_EQ(s.end.y, C);

  SpiralPayload m = Spiral({C - 1000, C}, {C + 3000, C}, 500);
  m.mirrored = 1;
  PrepareSpiralForDrawing(&m);
  EXPECT_EQ(m.start.x, C + 1000);
  EXPECT_EQ(m.end.x, C - 3000);
}

void Collect(const SpiralQuarter& q, void* context) { static_cast<std::vector<SpiralQuarter>*>(context)->push_back(q); }

TEST(SpiralGeometry, QuartersJoinAndAMirroredSpiralIsTheReflection) {
  SpiralPayload s = Spiral({C - 1000, C}, {C + 4000, C + 1}, 800);
  PrepareSpiralForDrawing(&s);
  std::vector<SpiralQuarter> quarters;
  ForEachSpiralQuarter(s, &Collect, &quarters);
  ASSERT_GE(quarters.size(), 4u);
  EXPECT_EQ(quarters[0].from.x, C - 1000);
  for (std::size_t k = 1; k < quarters.size(); ++k) {
    EXPECT_EQ(quarters[k - 1].to.x, quarters[k].from.x) << k;
    EXPECT_EQ(quarters[k - 1].to.y, quarters[k].from.y) << k;
  }

  // A mirrored spiral is the reflection of the plain one drawn between the
  // reflected points, each quarter's ends exchanged.
  SpiralPayload m = Spiral({C + 1000, C}, {C - 4000, C + 1}, 800);
  m.mirrored = 1;
  PrepareSpiralForDrawing(&m);
  std::vector<SpiralQuarter> mirrored;
  ForEachSpiralQuarter(m, &Collect, &mirrored);
  ASSERT_EQ(mirrored.size(), quarters.size());
  for (std::size_t k = 0; k < quarters.size(); ++k) {
    EXPECT_EQ(mirrored[k].from.x, 2 * C - quarters[k].to.x) << k;
    EXPECT_EQ(mirrored[k].to.x, 2 * C - quarters[k].from.x) << k;
    EXPECT_EQ(mirrored[k].to.y, quarters[k].from.y) << k;
    EXPECT_EQ(mirrored[k].centre.x, 2 * C - quarters[k].centre.x) << k;
    EXPECT_EQ(mirrored[k].radius, quarters[k].radius);
  }
}

TEST(SpiralGeometry, TinyPitchIsBoundedRatherThanEndless) {
  SpiralPayload s = Spiral({C - 10, C}, {1900000000, C}, 1);
  PrepareSpiralForDrawing(&s);
  std::vector<SpiralQuarter> quarters;
  EXPECT_EQ(ForEachSpiralQuarter(s, &Collect, &quarters), kMaxSpiralQuarters);
}

TEST(SpiralGeometry, OuterRadiusAddsOnePitchPerWholeTurnAndOneMore) {
  // Start 1,000 left of the centre (quadrant 0), pitch 4,000, the end on the
  // +x axis (quadrant 1): the last quarter is index -3, 1 and 5 for these ends.
  struct Case {
    std::int32_t endX;
    std::int64_t outer;
  };
  for (const Case& c : {Case{4500, 5000}, Case{9000, 5000}, Case{13000, 9000}}) {
    const SpiralPayload s = Spiral({C - 1000, C}, {C + c.endX, C}, 4000);
    EXPECT_EQ(SpiralOuterRadius(s), c.outer) << c.endX;
  }
}

TEST(SpiralGeometry, BoxIsTheOuterRadiusAndWidthGrownByTwiceTheClearance) {
  CurrentWindowData w(kEditorPcb);
  ActiveWindowData = &w;
  SpiralPayload s = Spiral({C - 1000, C}, {C + 13000, C}, 4000);
  s.width = 50;
  pl3::Box box{};
  w.ViewFlags = kViewRegionRender;
  GetSpiralBox(&s, &box);
  EXPECT_EQ(box.xmin, C - 9050);
  EXPECT_EQ(box.ymin, C - 9050);
  EXPECT_EQ(box.xmax, C + 9050);
  EXPECT_EQ(box.ymax, C + 9050);
  w.ViewFlags = 0;
  GetSpiralBox(&s, &box);  // no design: the default clearance of 365,760
  EXPECT_EQ(box.xmin, C - 9050 - 2 * 365760);
  EXPECT_EQ(box.ymax, C + 9050 + 2 * 365760);
  // The low corner never goes below 0.
  s.centre = {1000, 1000};
  s.start = {0, 1000};
  s.end = {14000, 1000};
  GetSpiralBox(&s, &box);
  EXPECT_EQ(box.xmin, 0);
  EXPECT_EQ(box.ymin, 0);
  ActiveWindowData = nullptr;
}

}  // namespace
