#include <gtest/gtest.h>

#include <cstring>

#include "geometry/layer_colours.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"

namespace {

using pl3::PlaneBitmap;

PlaneBitmap Sized(std::uint32_t width, std::uint32_t height) {
  PlaneBitmap s{};
  s.width = width;
  s.height = height;
  return s;
}

bool AllNull(const PlaneBitmap& s) {
  return !s.colourBuffer && !s.plane && !s.header && !s.bitmap && !s.memoryDC && !s.previousObject;
}

class PlaneBitmaps : public testing::Test {
 protected:
  void SetUp() override {
    pl3::BuildLayerColourTable();
    screen_ = CreateCompatibleDC(nullptr);
  }
  void TearDown() override { DeleteDC(screen_); }
  HDC screen_ = nullptr;
};

TEST_F(PlaneBitmaps, WidthRoundsUpToTheAlignment) {
  const struct {
    std::uint32_t width, alignment, expected;
  } cases[] = {{101, 4, 104}, {101, 0, 101}, {101, 1, 101}, {128, 32, 128}, {1, 8, 8}};
  for (const auto& c : cases) {
    PlaneBitmap s = Sized(c.width, 3);
    ASSERT_EQ(pl3::CreatePlaneBitmap(screen_, &s, 2, 32, c.alignment), 1);
    EXPECT_EQ(s.width, c.expected);
    EXPECT_EQ(s.header->bmiHeader.biWidth, static_cast<LONG>(c.expected + 2)) << "the extra width is in the header";
    EXPECT_EQ(s.header->bmiHeader.biHeight, 3);
    s.plane[(c.expected + 2) * 3 - 1] = 1;  // the last plane word exists
    pl3::FreePlaneBitmap(&s);
    EXPECT_TRUE(AllNull(s));
  }
}

TEST_F(PlaneBitmaps, HeaderColours) {
  PlaneBitmap mono = Sized(8, 8);
  ASSERT_EQ(pl3::CreatePlaneBitmap(screen_, &mono, 0, 1, 0), 1);
  const RGBQUAD* c = mono.header->bmiColors;
  EXPECT_EQ(std::memcmp(&c[0], "\0\0\0\0", 4), 0);
  EXPECT_EQ(c[1].rgbRed, 255);
  EXPECT_EQ(c[1].rgbGreen, 255);
  EXPECT_EQ(c[1].rgbBlue, 255);
  pl3::FreePlaneBitmap(&mono);

  PlaneBitmap indexed = Sized(8, 8);
  ASSERT_EQ(pl3::CreatePlaneBitmap(screen_, &indexed, 0, 8, 0), 1);
  const RGBQUAD* q = indexed.header->bmiColors;
  EXPECT_EQ(q[3].rgbRed, 127);
  EXPECT_EQ(q[3].rgbBlue, 127);
  EXPECT_EQ(q[235].rgbGreen, pl3::LayerColourTable[235].green);
  for (int i = 236; i < 256; ++i) EXPECT_EQ(std::memcmp(&q[i], "\0\0\0\0", 4), 0) << i;
  pl3::FreePlaneBitmap(&indexed);
}

TEST_F(PlaneBitmaps, SharedPlaneOutlivesItsSurfacesAndGrowsForLargerViews) {
  PlaneBitmap first = Sized(16, 8);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &first, 0, 32, 0), 1);
  ASSERT_NE(first.colourBuffer, nullptr);
  EXPECT_EQ(pl3::SharedPlaneWords(), 128u);
  std::uint32_t* shared = first.plane;
  pl3::FreePlaneBitmap(&first);
  EXPECT_EQ(pl3::SharedPlaneWords(), 128u);

  PlaneBitmap again = Sized(16, 8);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &again, 0, 32, 0), 1);
  EXPECT_EQ(again.plane, shared);

  PlaneBitmap larger = Sized(40, 30);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &larger, 0, 32, 0), 1);
  EXPECT_GE(pl3::SharedPlaneWords(), 1200u);
  EXPECT_EQ(again.plane, larger.plane) << "the first surface is bound to the grown plane";
  larger.plane[1199] = 7;  // the whole view fits
  again.plane[127] = 7;
  pl3::FreePlaneBitmap(&larger);
  pl3::FreePlaneBitmap(&again);
}

TEST_F(PlaneBitmaps, AttachSetsTheKernelAndClearsToTheBackground) {
  PlaneBitmap s = Sized(10, 4);
  ASSERT_EQ(pl3::CreatePlaneBitmap(screen_, &s, 0, 32, 0), 1);
  for (int i = 0; i < 40; ++i) s.plane[i] = 0xFFFF;
  const std::uint32_t background = 0x20;
  pl3::g_raster.background = &background;
  pl3::g_raster.rasterOp = 3;
  pl3::g_raster.fillValue = 9;
  pl3::ViewClip clip{};
  EXPECT_EQ(pl3::AttachRasterToBitmap(&s, &clip), 1);
  EXPECT_EQ(clip.xmax, 9);
  EXPECT_EQ(clip.ymax, 3);
  EXPECT_EQ(clip.width, 10);
  EXPECT_EQ(pl3::g_raster.clip, &clip);
  EXPECT_EQ(pl3::g_raster.plane, s.plane);
  EXPECT_EQ(pl3::g_raster.width, 10u);
  EXPECT_EQ(pl3::g_raster.rasterOp, 0);
  EXPECT_EQ(pl3::g_raster.fillValue, 9u) << "the fill value is restored after the clear";
  for (int i = 0; i < 40; ++i) EXPECT_EQ(s.plane[i], 0x20u) << i;
  pl3::g_raster = pl3::RasterState{};
  pl3::FreePlaneBitmap(&s);
}

TEST_F(PlaneBitmaps, BlitCopiesTheColourBuffer) {
  PlaneBitmap s = Sized(4, 2);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &s, 0, 32, 0), 1);
  for (int i = 0; i < 8; ++i) s.colourBuffer[i] = 0x00FF0000;  // red, 0x00RRGGBB
  PlaneBitmap target = Sized(4, 2);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &target, 0, 32, 0), 1);
  pl3::BlitPlaneBitmap(target.memoryDC, &s);
  EXPECT_EQ(GetPixel(target.memoryDC, 1, 1), RGB(255, 0, 0));
  pl3::FreePlaneBitmap(&target);
  pl3::FreePlaneBitmap(&s);
}

TEST_F(PlaneBitmaps, SizeComesFromTheScreenAndFillsTheSharedPlane) {
  pl3::SetScreenSize(640, 480);
  PlaneBitmap s = Sized(7, 7);
  pl3::SetPlaneBitmapSize(&s);
  EXPECT_EQ(s.width, 640u);
  EXPECT_EQ(s.height, 480u);
  ASSERT_EQ(pl3::CreatePlaneDIBSection(screen_, &s, 0, 32, 0), 1);
  EXPECT_GE(pl3::SharedPlaneWords(), 640u * 480u);
  pl3::FreePlaneBitmap(&s);
}

TEST_F(PlaneBitmaps, FailedCreationLeavesNothingHalfMade) {
  PlaneBitmap s = Sized(0, 0);
  EXPECT_EQ(pl3::CreatePlaneDIBSection(screen_, &s, 0, 32, 0), 0);
  EXPECT_TRUE(AllNull(s));
  PlaneBitmap p = Sized(0x7FFFFFFF, 0x7FFFFFFF);
  EXPECT_EQ(pl3::CreatePlaneBitmap(screen_, &p, 0, 32, 0), 0);
  EXPECT_TRUE(AllNull(p));
}

}  // namespace
