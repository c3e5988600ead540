// AlphaBlend: constant and premultiplied per-pixel alpha over 32-bit surfaces.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi_internal.h"
#include "platform/kernel_base.h"

namespace pl3::gdi {
namespace {

std::uint32_t* Row(const PixelSurface& s, int y) { return s.pixels + static_cast<std::ptrdiff_t>(y) * s.stride; }

// One row at a constant alpha, byte by byte (blue, green, red, top byte).
// Every sum fits 16 bits (255 * 255 + 127), and x / 255 is (x + 1 + (x >> 8))
// >> 8 there, so the compiler runs the loop on 16-bit vector lanes.
void BlendRowConstant(std::uint32_t* dst, const std::uint32_t* src, int n, unsigned a) {
  auto* d = reinterpret_cast<std::uint8_t*>(dst);
  const auto* s = reinterpret_cast<const std::uint8_t*>(src);
  const auto sa = static_cast<std::uint16_t>(a), na = static_cast<std::uint16_t>(255 - a);
  for (int i = 0; i < n * 4; ++i) {
    const auto x = static_cast<std::uint16_t>(s[i] * sa + d[i] * na + 127);
    d[i] = static_cast<std::uint8_t>((x + 1 + (x >> 8)) >> 8);
  }
}

// Round(x / 255) of both 16-bit lanes of 0x00xx00yy-style sums, exactly.
inline std::uint32_t Div255Lanes(std::uint32_t v) {
  v += 0x007F007F;
  return ((v + ((v >> 8) & 0x00FF00FF) + 0x00010001) >> 8) & 0x00FF00FF;
}

// Scales all four channels of a pixel by a / 255, rounded.
inline std::uint32_t ScalePixel(std::uint32_t p, unsigned a) {
  return Div255Lanes((p & 0x00FF00FF) * a) | (Div255Lanes(((p >> 8) & 0x00FF00FF) * a) << 8);
}

// Adds two pixels channel by channel, each sum held at 255.
inline std::uint32_t AddSaturated(std::uint32_t a, std::uint32_t b) {
  std::uint32_t rb = (a & 0x00FF00FF) + (b & 0x00FF00FF);
  std::uint32_t ag = ((a >> 8) & 0x00FF00FF) + ((b >> 8) & 0x00FF00FF);
  rb |= ((rb & 0x01000100) >> 8) * 0xFF;
  ag |= ((ag & 0x01000100) >> 8) * 0xFF;
  return (rb & 0x00FF00FF) | ((ag & 0x00FF00FF) << 8);
}

void BlendRowPremultiplied(std::uint32_t* d, const std::uint32_t* s, int n, unsigned constant) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t p = s[i];
    if (constant != 255) p = ScalePixel(p, constant);
    const unsigned a = p >> 24;
    if (a == 255) d[i] = p;
    else if (p != 0) d[i] = AddSaturated(p, ScalePixel(d[i], 255 - a));
  }
}

}  // namespace
}  // namespace pl3::gdi

using namespace pl3::gdi;
using pl3::PixelSurface;

BOOL AlphaBlend(HDC dstHandle, int x, int y, int width, int height, HDC srcHandle, int xSrc, int ySrc, int wSrc,
                int hSrc, BLENDFUNCTION blend) {
  Dc* dst = GetDc(dstHandle);
  Dc* src = GetDc(srcHandle);
  PixelSurface* target = dst ? TargetSurface(*dst) : nullptr;
  PixelSurface* source = src ? TargetSurface(*src) : nullptr;
  if (!target || !source || blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || wSrc < 0 || hSrc < 0) {
    SetLastError(dst && src ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const POINT s0 = ToSurface(*src, xSrc, ySrc);
  if (s0.x < 0 || s0.y < 0 || s0.x + static_cast<long long>(wSrc) > source->width ||
      s0.y + static_cast<long long>(hSrc) > source->height) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (width == 0 || height == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  const RECT area = ToSurfaceRect(*dst, RECT{x, y, ClampCoord(1LL * x + width), ClampCoord(1LL * y + height)});
  const int w = area.right - area.left, h = area.bottom - area.top;
  const bool oneToOne = w == wSrc && h == hSrc;
  // A source sharing the destination's pixels is read from a copy of its row.
  const bool shared = source->pixels == target->pixels;
  std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
  for (const RECT& c : EffectiveClip(*dst).rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &area)) continue;
    const int n = part.right - part.left;
    for (int dy = part.top; dy < part.bottom; ++dy) {
      const int sy = s0.y + (oneToOne ? dy - area.top : static_cast<int>((2LL * (dy - area.top) + 1) * hSrc / (2LL * h)));
      const std::uint32_t* srow = Row(*source, sy) + s0.x;
      const std::uint32_t* from = srow + (part.left - area.left);
      if (!oneToOne) {
        for (int i = 0; i < n; ++i)
          row[i] = srow[(2LL * (part.left - area.left + i) + 1) * wSrc / (2LL * w)];
        from = row.data();
      } else if (shared) {
        std::memcpy(row.data(), from, n * sizeof(std::uint32_t));
        from = row.data();
      }
      std::uint32_t* drow = Row(*target, dy) + part.left;
      if (blend.AlphaFormat & AC_SRC_ALPHA) BlendRowPremultiplied(drow, from, n, blend.SourceConstantAlpha);
      else BlendRowConstant(drow, from, n, blend.SourceConstantAlpha);
    }
  }
  return TRUE;
}

BOOL pl3::BlendPremultipliedPixels(HDC dc, const std::uint32_t* pixels, int width, int height, int x, int y) {
  HBITMAP bitmap = CreateDibFromPixels(pixels, width, height);
  if (!bitmap) return FALSE;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(memory, bitmap);
  const BOOL ok =
      AlphaBlend(dc, x, y, width, height, memory, 0, 0, width, height, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return ok;
}
