#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>

#include "geometry/types.h"
#include "geometry/view_mapping.h"
#include "tests/geometry/raster_fixture.h"

namespace {

TEST(ViewMapping, ScaleAtZoomOneFallsJustShort) {
  geomtest::Plane plane(8, 8);
  EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu);
  EXPECT_EQ(pl3::ScaleToView(5), 4);
  EXPECT_EQ(pl3::ScaleToViewRoundingUp(5), 5);
  EXPECT_EQ(pl3::g_raster.scaleResult, 5);
  EXPECT_EQ(pl3::ScaleToView(0), 0);
}

TEST(ViewMapping, OneThouPerPixel) {
  geomtest::Plane plane(8, 8);
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(pl3::kUnitsPerThou);
  for (std::int32_t k : {1, 2, 7, 100, 549}) {
    EXPECT_EQ(pl3::ScaleToView(pl3::kUnitsPerThou * k), k - 1) << k;
    EXPECT_EQ(pl3::ScaleToViewRoundingUp(pl3::kUnitsPerThou * k), k) << k;
  }
}

TEST(ViewMapping, SignedScaleTruncatesTowardZero) {
  geomtest::Plane plane(8, 8);
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(10);
  std::int32_t v = -25;
  pl3::ScaleSignedToViewInPlace(v);
  EXPECT_EQ(v, -2);
  EXPECT_EQ(pl3::g_raster.signedScale, 0);
  v = -25;
  pl3::ScaleToViewInPlace(v);  // unsigned: 0xFFFFFFE7 / 10
  EXPECT_EQ(static_cast<std::uint32_t>(v), 429496726u);
}

TEST(ViewMapping, WorldToViewSetsTheFactorAndSubtractsTheOrigin) {
  geomtest::Plane plane(8, 8);
  plane.view = {100, -50, 1000};
  pl3::g_raster.viewFactor = 1;  // stale: WorldToView takes it from the zoom
  std::int32_t x = 500000, y = 20000;
  pl3::WorldToView(x, y);
  EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu / 1000);
  EXPECT_EQ(x, 499 - 100);
  EXPECT_EQ(y, 19 + 50);

  pl3::Point p = {2000, 3000};
  pl3::WorldPointToView(&p);
  EXPECT_EQ(p.x, 1 - 100);
  EXPECT_EQ(p.y, 2 + 50);

  x = -2000;
  y = -3000;
  pl3::WorldToViewSigned(x, y);
  EXPECT_EQ(x, -1 - 100);
  EXPECT_EQ(y, -2 + 50);
}

TEST(ViewMapping, ZeroZoomIsTakenAsOne) {
  EXPECT_EQ(pl3::ViewFactorForZoom(0), 0xFFFFFFFFu);
  geomtest::Plane plane(8, 8);
  plane.view.zoom = 0;
  std::int32_t x = 10, y = 10;
  pl3::WorldToView(x, y);
  EXPECT_EQ(x, 9);
}

// A world box taken to the view and back lands within one zoom step below
// the original, at the smallest and largest zooms and across the editable
// area; x and y keep their own coordinates and origins.
TEST(ViewMapping, RoundTripWithinOneZoomStepAtTheScaleLimits) {
  geomtest::Plane plane(8, 8);
  const std::uint32_t zooms[] = {1, 2, 36576, 1440000, 36576000, 0x7FFFFFFFu};
  const std::int32_t coords[] = {0, 1, 182880000, 1000000007, 1828800000, 0x7FFFFFFF};
  const std::size_t n = sizeof coords / sizeof coords[0];
  for (std::uint32_t zoom : zooms) {
    for (const pl3::Point origin : {pl3::Point{0, 0}, pl3::Point{3, -5}, pl3::Point{-7, 11}}) {
      plane.view = {origin.x, origin.y, zoom};
      for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t cx = coords[i], cy = coords[(i + 2) % n];
        std::int32_t x = cx, y = cy;
        pl3::WorldToView(x, y);
        pl3::Box box = {x, y, x, y};
        pl3::ViewBoxToWorld(&box);
        for (const auto& [back, c] : {std::pair{box.xmin, cx}, std::pair{box.ymin, cy}}) {
          const std::int64_t b = static_cast<std::uint32_t>(back);
          EXPECT_LE(b, c) << "zoom " << zoom << " coord " << c;
          EXPECT_GT(b + 2 * static_cast<std::int64_t>(zoom), c) << "zoom " << zoom << " coord " << c;
        }
        EXPECT_EQ(box.xmax, box.xmin);
        EXPECT_EQ(box.ymax, box.ymin);
      }
    }
  }
}

TEST(ViewMapping, ViewBoxToWorldAddsEachAxisItsOwnOrigin) {
  geomtest::Plane plane(8, 8);
  plane.view = {7, -3, 10};
  pl3::Box box = {1, 2, 30, 40};
  pl3::ViewBoxToWorld(&box);
  EXPECT_EQ(box.xmin, 80);
  EXPECT_EQ(box.ymin, -10);  // (2 - 3) taken as unsigned, times 10, low 32 bits
  EXPECT_EQ(box.xmax, 370);
  EXPECT_EQ(box.ymax, 370);
  box = {0, 0, 0, 0};
  plane.view = {2, 5, 1000};
  pl3::ViewBoxToWorld(&box);
  EXPECT_EQ(box.xmin, 2000);
  EXPECT_EQ(box.ymin, 5000);
}

// The rounding-up scale adds one only when the low word of value * F is
// above 0xFF000000.
TEST(ViewMapping, RoundingUpScaleThreshold) {
  geomtest::Plane plane(8, 8);
  struct Case {
    std::uint32_t factor;
    std::int32_t value, scaled;
  };
  const Case cases[] = {
      {0xFF000000u, 1, 0}, {0xFF000001u, 1, 1}, {0xFEFFFFFFu, 1, 0}, {0xFFFFFFFFu, 1, 1},
      {0xFF800000u, 2, 1},  // 2F = 0x1FF000000: the low word is exactly the threshold
      {0xFF800001u, 2, 2},  // 0x1FF000002
      {0x80000000u, 3, 1},  // 0x180000000: low word 0x80000000, well below
  };
  for (const Case& c : cases) {
    pl3::g_raster.viewFactor = c.factor;
    EXPECT_EQ(pl3::ScaleToViewRoundingUp(c.value), c.scaled) << std::hex << c.factor << " * " << c.value;
  }
}

TEST(ViewMapping, FactorScalingOfBoxesAndValues) {
  pl3::Box box = {-2, 10, 100, 7};
  pl3::ScaleSignedBoxByFactor(&box, 0x1800000);  // 1.5
  EXPECT_EQ(box.xmin, -3);
  EXPECT_EQ(box.ymin, 15);
  EXPECT_EQ(box.xmax, 150);
  EXPECT_EQ(box.ymax, 10);

  pl3::Box ubox = {3, 0, 1, 5};
  pl3::ScaleBoxByFactor(&ubox, 0x800000);  // 0.5
  EXPECT_EQ(ubox.xmin, 1);
  EXPECT_EQ(ubox.xmax, 0);
  EXPECT_EQ(ubox.ymax, 2);

  std::int32_t v = 7;
  pl3::ScaleValueByFactor(v, 0x2800000);  // 2.5
  EXPECT_EQ(v, 17);
  double d = 3.0;
  pl3::ScaleDoubleByFactor(&d, 0x1400000);  // 1.25
  EXPECT_DOUBLE_EQ(d, 3.75);

  EXPECT_EQ(pl3::TruncateToInt(-2.9), -2);
  EXPECT_EQ(pl3::TruncateToInt(2147483647.9), 2147483647);
  EXPECT_EQ(pl3::TruncateToInt(3e10), INT32_MIN);
  EXPECT_EQ(pl3::TruncateToInt(std::nan("")), INT32_MIN);
}

}  // namespace
