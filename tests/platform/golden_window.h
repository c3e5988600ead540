// Compares a window's framebuffer with a golden PNG under tests/platform/golden
// (PL3_UPDATE_GOLDEN=1 rewrites it after an intended change).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace pl3::test {

// The part `area` (client coordinates of hwnd) of the window's framebuffer
// must equal the golden picture `name`.
inline void ExpectMatchesGolden(HWND hwnd, RECT area, const std::string& name) {
  const char* root = std::getenv("PL3_SOURCE_DIR");
  if (!root) GTEST_SKIP() << "PL3_SOURCE_DIR is not set (run through ctest)";
  const PixelSurface* surface = WindowSurface(hwnd);
  ASSERT_NE(surface, nullptr);
  POINT origin{area.left, area.top};
  MapWindowPoints(hwnd, GetAncestor(hwnd, GA_ROOT), &origin, 1);
  int w = area.right - area.left, h = area.bottom - area.top;
  std::vector<std::uint32_t> copy(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      // Only colour counts: blits with alpha may leave a top byte behind,
      // which the picture file does not keep.
      copy[static_cast<size_t>(y * w + x)] = surface->pixels[(origin.y + y) * surface->stride + origin.x + x] & 0xFFFFFF;
  struct Bitmap {
    HBITMAP handle;
    ~Bitmap() { DeleteObject(handle); }
  };
  Bitmap now{CreateDibFromPixels(copy.data(), w, h)};
  const PixelSurface* out = GetBitmapSurface(now.handle);
  ASSERT_NE(out, nullptr);
  const std::string golden = std::string(root) + "/tests/platform/golden/" + name;
  const std::string actual = pl3test::MakeTempDir("golden") + "/" + name;
  ASSERT_TRUE(SaveSurfacePng(*out, actual.c_str()));
  if (std::getenv("PL3_UPDATE_GOLDEN")) {
    ASSERT_TRUE(SaveSurfacePng(*out, golden.c_str()));
  }
  Bitmap expected{LoadImageAsBitmap(golden.c_str())};
  ASSERT_NE(expected.handle, nullptr) << "missing " << golden;
  const PixelSurface* e = GetBitmapSurface(expected.handle);
  ASSERT_EQ(e->width, w);
  ASSERT_EQ(e->height, h);
  int differences = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differences += e->pixels[y * e->stride + x] != out->pixels[y * out->stride + x];
  EXPECT_EQ(differences, 0) << "the picture drawn now is " << actual;
}

}  // namespace pl3::test
