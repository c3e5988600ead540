// One picture of the kernel's styles, compared with a stored golden image:
// a fault in a track style, an arc band or a quartered disc shows at a glance
// in the PNG that a failing run leaves in the scratch folder. Set
// PL3_UPDATE_GOLDEN=1 to write the golden image afresh (and look at it).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "geometry/arcs.h"
#include "geometry/rasterise.h"
#include "geometry/raster_state.h"
#include "platform/image_files.h"
#include "tests/geometry/raster_fixture.h"
#include "tests/support/test_paths.h"

namespace {

using pl3::g_raster;

constexpr int kWidth = 120;
constexpr int kHeight = 80;

void DrawScene() {
  auto with = [](std::uint32_t bit, auto draw) {
    g_raster.fillValue = bit;
    draw();
  };
  with(0x01, [] { pl3::DrawTrack(10, 10, 50, 30, 4); });
  with(0x02, [] {
    g_raster.trackOutlineMode = 1;
    pl3::DrawTrack(10, 50, 50, 65, 5);
    g_raster.trackOutlineMode = 0;
  });
  with(0x04, [] {
    g_raster.trackHighlightMode = 1;
    pl3::DrawTrack(62, 8, 112, 14, 2);
    g_raster.trackHighlightMode = 0;
  });
  with(0x08, [] {
    pl3::ArcLayout arc{};
    arc.centreX = 85;
    arc.centreY = 45;
    arc.radius = 15;
    arc.width = 3;
    arc.startX = 10;
    arc.startY = -10;
    arc.endX = -10;
    arc.endY = 2;
    pl3::DrawArcRecord(&arc);
  });
  with(0x10, [] { pl3::FillQuarteredDisc(105, 68, 8, 0); });
  with(0x20, [] { pl3::FillTriangle(58, 72, 80, 76, 64, 56); });
  with(0x40, [] { pl3::DrawCircleOutline(85, 45, 6); });
}

// The colour of a plane word: one colour per bit, mixed by averaging.
std::uint32_t ColourOf(std::uint32_t word) {
  static const std::uint32_t kColours[7] = {0xE04040, 0x40C040, 0x4060E0, 0xE0C020, 0xC040C0, 0x20C0C0, 0xFFFFFF};
  if (word == 0) return 0x101010;
  std::uint32_t r = 0, g = 0, b = 0, n = 0;
  for (int i = 0; i < 7; ++i) {
    if (!(word & (1u << i))) continue;
    r += kColours[i] >> 16;
    g += (kColours[i] >> 8) & 0xFF;
    b += kColours[i] & 0xFF;
    ++n;
  }
  return ((r / n) << 16) | ((g / n) << 8) | (b / n);
}

TEST(GoldenImage, KernelStyles) {
  geomtest::Plane plane(kWidth, kHeight);
  DrawScene();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) pixels[static_cast<std::size_t>(y) * kWidth + x] = ColourOf(plane.At(x, y));

  const std::string golden = std::string(PL3_GEOMETRY_GOLDEN_DIR) + "/kernel_styles.png";
  if (std::getenv("PL3_UPDATE_GOLDEN")) {
    ASSERT_TRUE(pl3::WritePngFile(pixels.data(), kWidth, kHeight, kWidth, golden.c_str()));
    GTEST_SKIP() << "golden image written to " << golden;
  }
  const std::string actual = pl3test::ScratchDir() + "/kernel_styles.png";
  ASSERT_TRUE(pl3::WritePngFile(pixels.data(), kWidth, kHeight, kWidth, actual.c_str()));
  std::vector<std::uint32_t> want;
  int gw = 0, gh = 0;
  ASSERT_TRUE(pl3::ReadImageFile(golden.c_str(), want, gw, gh)) << "cannot read " << golden;
  ASSERT_EQ(gw, kWidth);
  ASSERT_EQ(gh, kHeight);
  int differing = 0;
  for (std::size_t i = 0; i < want.size(); ++i) differing += (want[i] & 0xFFFFFF) != pixels[i];
  EXPECT_EQ(differing, 0) << "the picture differs from " << golden << "; see " << actual;
}

}  // namespace
