// A memory bitmap to draw on in drawing tests, with pixel access.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/surface.h"
#include "tests/support/test_paths.h"

namespace pl3test {

class Canvas {
 public:
  Canvas(int width, int height) {
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(dc_, width, height);
    old_ = SelectObject(dc_, bitmap_);
    surface_ = pl3::GetBitmapSurface(bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  const pl3::PixelSurface& surface() const { return *surface_; }
  int width() const { return surface_->width; }
  int height() const { return surface_->height; }

  std::uint32_t At(int x, int y) const { return surface_->pixels[y * surface_->stride + x]; }
  void Set(int x, int y, std::uint32_t p) { surface_->pixels[y * surface_->stride + x] = p; }

  std::vector<std::uint32_t> Pixels() const {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) out.push_back(At(x, y));
    }
    return out;
  }
  void Load(const std::vector<std::uint32_t>& pixels) {
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) Set(x, y, pixels[y * width() + x]);
    }
  }
  // Deterministic noise, so that every raster operation changes something.
  void FillNoise(std::uint32_t seed) {
    std::uint32_t v = seed * 2654435761u + 1;
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        v ^= v << 13, v ^= v >> 17, v ^= v << 5;
        Set(x, y, v & 0x00FFFFFF);
      }
    }
  }
  void FillSolid(std::uint32_t p) {
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) Set(x, y, p);
    }
  }
  // Box of the pixels that differ from `before`; empty when none.
  RECT ChangedBox(const std::vector<std::uint32_t>& before) const {
    RECT box{width(), height(), 0, 0};
    for (int y = 0; y < height(); ++y) {
      for (int x = 0; x < width(); ++x) {
        if (At(x, y) == before[y * width() + x]) continue;
        box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    if (box.right == 0) box = RECT{0, 0, 0, 0};
    return box;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HBITMAP old_ = nullptr;
  const pl3::PixelSurface* surface_ = nullptr;
};

// Compares a canvas with tests/platform/golden/<name>.png, pixel for pixel.
// Set PL3_UPDATE_GOLDEN=1 to rewrite the picture after an intended change
// (and look at it before committing). Skips without PL3_SOURCE_DIR.
inline void ExpectMatchesGolden(const Canvas& c, const std::string& name) {
  const char* root = std::getenv("PL3_SOURCE_DIR");
  if (!root) GTEST_SKIP() << "PL3_SOURCE_DIR is not set (run through ctest)";
  const std::string golden = std::string(root) + "/tests/platform/golden/" + name + ".png";
  if (std::getenv("PL3_UPDATE_GOLDEN")) {
    ASSERT_TRUE(pl3::SaveSurfacePng(c.surface(), golden.c_str()));
  }
  const std::string actual = MakeTempDir("gdi_golden") + "/" + name + ".png";
  pl3::SaveSurfacePng(c.surface(), actual.c_str());
  HBITMAP expected = pl3::LoadImageAsBitmap(golden.c_str());
  ASSERT_NE(expected, nullptr) << "missing " << golden;
  const pl3::PixelSurface* e = pl3::GetBitmapSurface(expected);
  ASSERT_EQ(e->width, c.width());
  ASSERT_EQ(e->height, c.height());
  int differences = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) differences += e->pixels[y * e->stride + x] != c.At(x, y);
  }
  EXPECT_EQ(differences, 0) << "the picture drawn now is " << actual;
  DeleteObject(expected);
}

// A pen or brush selected for the life of the scope and deleted after.
template <class H>
class Selected {
 public:
  Selected(HDC dc, H obj) : dc_(dc), obj_(obj), old_(SelectObject(dc, obj)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(obj_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  H obj_;
  H old_;
};

}  // namespace pl3test
