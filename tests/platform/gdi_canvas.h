// A memory bitmap to draw on in drawing tests, with pixel access.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi.h"
#include "platform/surface.h"

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
