#include <gtest/gtest.h>

#include <cstdint>

#include "platform/gdi.h"
#include "platform/kernel_base.h"
#include "tests/platform/gdi_canvas.h"

namespace {

using pl3test::Canvas;

std::uint32_t Grey(unsigned v, unsigned top = 0) { return (top << 24) | (v << 16) | (v << 8) | v; }
unsigned Rounded(unsigned n) { return (n + 127) / 255; }

// Every source value (x) over every destination value (y) in one call, all
// four bytes of each pixel alike.
TEST(AlphaBlend, ConstantAlphaRoundsEveryPairExactly) {
  Canvas src(256, 256), dst(256, 256);
  for (unsigned a : {0u, 1u, 80u, 128u, 254u, 255u}) {
    SCOPED_TRACE(a);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        src.Set(x, y, Grey(x, x));
        dst.Set(x, y, Grey(y, y));
      }
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 256, 256, src.dc(), 0, 0, 256, 256, BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(a), 0}));
    int wrong = 0;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const unsigned v = Rounded(x * a + y * (255 - a));
        wrong += dst.At(x, y) != Grey(v, v);
      }
    EXPECT_EQ(wrong, 0);
  }
}

// Premultiplied white of every alpha (x) over every grey (y): a + d (255 - a) / 255.
TEST(AlphaBlend, PerPixelAlphaIsPremultiplied) {
  Canvas src(256, 256), dst(256, 256);
  for (unsigned constant : {255u, 128u}) {
    SCOPED_TRACE(constant);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        src.Set(x, y, Grey(x, x));
        dst.Set(x, y, Grey(y));
      }
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 256, 256, src.dc(), 0, 0, 256, 256,
                           BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(constant), AC_SRC_ALPHA}));
    int wrong = 0;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const unsigned a = Rounded(x * constant);
        const unsigned v = a + Rounded(y * (255 - a));
        wrong += (dst.At(x, y) & 0xFFFFFF) != Grey(v);
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(dst.At(0, 77), Grey(77));  // transparent leaves the destination
  }
  // Colour channels stay apart: premultiplied red at half alpha over blue.
  src.Set(0, 0, 0x80800000);
  dst.Set(0, 0, 0x000000FF);
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.At(0, 0) & 0xFFFFFF, 0x0080007Fu);
  // A colour above its alpha (not truly premultiplied) saturates instead of spilling.
  src.Set(0, 0, 0x80FF00FF);
  dst.Set(0, 0, 0x00FF10FF);
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
  EXPECT_EQ(dst.At(0, 0) & 0xFFFFFF, 0x00FF08FFu);
}

TEST(AlphaBlend, StretchesAndKeepsToTheClip) {
  Canvas src(2, 1), dst(6, 3);
  src.Set(0, 0, 0x00FF0000);
  src.Set(1, 0, 0x000000FF);
  dst.FillSolid(0);
  IntersectClipRect(dst.dc(), 0, 0, 4, 1);  // device pixels, before the origin moves
  SetViewportOrgEx(dst.dc(), 1, 0, nullptr);
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
  const std::vector<std::uint32_t> expected = {
      0, 0xFF0000, 0xFF0000, 0x0000FF, 0, 0,  // each source pixel twice, cut at device x 4
      0, 0,        0,        0,        0, 0,  // and below device row 1
      0, 0,        0,        0,        0, 0};
  EXPECT_EQ(dst.Pixels(), expected);
}

TEST(AlphaBlend, RefusesBadArguments) {
  Canvas src(4, 4), dst(4, 4);
  const BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 1, 0, 4, 4, half));  // source leaves its bitmap
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, -1, 4, 4, half));
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, -4, 4, src.dc(), 0, 0, 4, 4, half));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, 4, 4, half));
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, BLENDFUNCTION{1, 0, 128, 0}));
}

}  // namespace
