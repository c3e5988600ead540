// Compares a picture saved by a test with a golden PNG under
// tests/platform/golden (PL3_UPDATE_GOLDEN=1 rewrites the golden one).
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace pl3test {

inline void ExpectPngMatchesGolden(const std::string& actual, const std::string& name) {
  const char* root = std::getenv("PL3_SOURCE_DIR");
  if (!root) GTEST_SKIP() << "PL3_SOURCE_DIR is not set (run through ctest)";
  const std::string golden = std::string(root) + "/tests/platform/golden/" + name;
  if (std::getenv("PL3_UPDATE_GOLDEN")) {
    HBITMAP now = pl3::LoadImageAsBitmap(actual.c_str());
    ASSERT_NE(now, nullptr);
    ASSERT_TRUE(pl3::SaveSurfacePng(*pl3::GetBitmapSurface(now), golden.c_str()));
    DeleteObject(now);
  }
  HBITMAP expected = pl3::LoadImageAsBitmap(golden.c_str());
  HBITMAP got = pl3::LoadImageAsBitmap(actual.c_str());
  ASSERT_NE(expected, nullptr) << "missing " << golden;
  ASSERT_NE(got, nullptr);
  const pl3::PixelSurface* e = pl3::GetBitmapSurface(expected);
  const pl3::PixelSurface* g = pl3::GetBitmapSurface(got);
  ASSERT_EQ(e->width, g->width);
  ASSERT_EQ(e->height, g->height);
  int differences = 0;
  for (int y = 0; y < e->height; ++y)
    for (int x = 0; x < e->width; ++x) differences += e->pixels[y * e->stride + x] != g->pixels[y * g->stride + x];
  EXPECT_EQ(differences, 0) << "the window drawn now is " << actual;
  DeleteObject(expected);
  DeleteObject(got);
}

// The window's framebuffer picture, after its pending paints.
inline void ExpectWindowMatchesGolden(HWND window, const std::string& name) {
  UpdateWindow(window);
  const std::string actual = MakeTempDir("controls_golden") + "/" + name;
  ASSERT_TRUE(pl3::SaveWindowPng(window, actual.c_str()));
  ExpectPngMatchesGolden(actual, name);
}

}  // namespace pl3test
