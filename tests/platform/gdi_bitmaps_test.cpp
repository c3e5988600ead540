// Bitmaps, DIBs, block transfers, regions, scrolling and the object rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/platform/gdi_canvas.h"
#include "tests/support/test_paths.h"

namespace {

using pl3test::Canvas;

TEST(GdiBlit, RasterOperationsCombineSourceAndDestination) {
  struct Case {
    DWORD rop;
    std::uint32_t (*expect)(std::uint32_t s, std::uint32_t d);
  };
  const Case cases[] = {
      {SRCCOPY, [](std::uint32_t s, std::uint32_t) { return s; }},
      {SRCINVERT, [](std::uint32_t s, std::uint32_t d) { return s ^ d; }},
      {SRCAND, [](std::uint32_t s, std::uint32_t d) { return s & d; }},
      {SRCPAINT, [](std::uint32_t s, std::uint32_t d) { return s | d; }},
      {SRCERASE, [](std::uint32_t s, std::uint32_t d) { return s & ~d & 0xFFFFFFu; }},
      {NOTSRCCOPY, [](std::uint32_t s, std::uint32_t) { return ~s & 0xFFFFFFu; }},
      {DSTINVERT, [](std::uint32_t, std::uint32_t d) { return ~d & 0xFFFFFFu; }},
      {BLACKNESS, [](std::uint32_t, std::uint32_t) { return 0u; }},
      {WHITENESS, [](std::uint32_t, std::uint32_t) { return 0xFFFFFFu; }},
      {MERGEPAINT, [](std::uint32_t s, std::uint32_t d) { return (~s | d) & 0xFFFFFFu; }},
      {NOTSRCERASE, [](std::uint32_t s, std::uint32_t d) { return ~(s | d) & 0xFFFFFFu; }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << k.rop);
    Canvas src(16, 16), dst(16, 16);
    src.FillNoise(1);
    dst.FillNoise(2);
    const auto s = src.Pixels(), d = dst.Pixels();
    EXPECT_TRUE(BitBlt(dst.dc(), 4, 3, 8, 9, src.dc(), 2, 5, k.rop));
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const bool in = x >= 4 && x < 12 && y >= 3 && y < 12;
        const std::uint32_t want = in ? k.expect(s[(y - 3 + 5) * 16 + x - 4 + 2], d[y * 16 + x]) : d[y * 16 + x];
        ASSERT_EQ(dst.At(x, y), want) << x << "," << y;
      }
    }
  }
}

TEST(GdiBlit, PatternOperationsUseTheSelectedBrush) {
  Canvas dst(8, 8);
  dst.FillSolid(0x00FF00);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH old = SelectObject(dst.dc(), brush);
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 8, nullptr, 0, 0, PATCOPY));
  EXPECT_TRUE(PatBlt(dst.dc(), 4, 0, 4, 8, PATINVERT));
  EXPECT_EQ(dst.At(1, 1), 0xFF0000u);
  EXPECT_EQ(dst.At(5, 1), 0xFFFF00u);
  EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 8, 8, SRCCOPY)) << "a pattern blit cannot read a source";
  SelectObject(dst.dc(), old);
  DeleteObject(brush);
}

TEST(GdiBlit, OverlappingCopyWithinOneBitmapReadsTheOldPixels) {
  Canvas c(32, 32);
  c.FillNoise(5);
  const auto before = c.Pixels();
  BitBlt(c.dc(), 3, 2, 20, 20, c.dc(), 5, 6, SRCCOPY);
  for (int y = 2; y < 22; ++y) {
    for (int x = 3; x < 23; ++x) ASSERT_EQ(c.At(x, y), before[(y + 4) * 32 + x + 2]) << x << "," << y;
  }
  // Down and to the right, and a stretch over its own source.
  c.FillNoise(5);
  BitBlt(c.dc(), 7, 9, 20, 20, c.dc(), 4, 3, SRCCOPY);
  for (int y = 9; y < 29; ++y) {
    for (int x = 7; x < 27; ++x) ASSERT_EQ(c.At(x, y), before[(y - 6) * 32 + x - 3]) << x << "," << y;
  }
  c.FillNoise(5);
  StretchBlt(c.dc(), 0, 0, 32, 32, c.dc(), 8, 8, 16, 16, SRCCOPY);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) ASSERT_EQ(c.At(x, y), before[(8 + y / 2) * 32 + 8 + x / 2]) << x << "," << y;
  }
}

TEST(GdiBlit, StretchDoublesEachPixel) {
  Canvas src(4, 4), dst(8, 8);
  src.FillNoise(9);
  EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 4, 4, SRCCOPY));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.At(x, y), src.At(x / 2, y / 2));
  }
  // Halving picks one pixel of each pair; mirroring flips.
  Canvas half(2, 2);
  StretchBlt(half.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(half.At(0, 0), src.At(1, 1));
  StretchBlt(half.dc(), 0, 0, 2, 2, src.dc(), 3, 0, -2, 2, SRCCOPY);
  EXPECT_EQ(half.At(0, 0), src.At(2, 0));
  EXPECT_EQ(half.At(1, 0), src.At(1, 0));
}

TEST(GdiBlit, BlitIsClipped) {
  Canvas src(16, 16), dst(16, 16);
  src.FillSolid(0xFFFFFF);
  dst.FillSolid(0);
  IntersectClipRect(dst.dc(), 4, 4, 8, 8);
  BitBlt(dst.dc(), 0, 0, 16, 16, src.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(dst.ChangedBox(std::vector<std::uint32_t>(256, 0)).left, 4);
  EXPECT_EQ(dst.ChangedBox(std::vector<std::uint32_t>(256, 0)).right, 8);
  EXPECT_EQ(dst.ChangedBox(std::vector<std::uint32_t>(256, 0)).bottom, 8);
}

// A BITMAPINFO with room for a colour table.
struct DibInfo {
  BITMAPINFOHEADER header{};
  RGBQUAD colours[256]{};
  const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

DibInfo MakeInfo(int width, int height, int bits) {
  DibInfo d;
  d.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0,
                              0, 0};
  return d;
}

TEST(GdiBlit, ExtremeSizesCopyWhatLiesOnBothBitmaps) {
  const int hi = std::numeric_limits<int>::max(), lo = std::numeric_limits<int>::min();
  Canvas src(16, 16), dst(16, 16);
  src.FillNoise(12);
  dst.FillSolid(0);
  EXPECT_TRUE(BitBlt(dst.dc(), -5, -5, hi, hi, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(dst.At(0, 0), src.At(5, 5));
  EXPECT_EQ(dst.At(10, 10), src.At(15, 15));
  EXPECT_EQ(dst.At(11, 11), 0u) << "past the source's edge nothing is copied";
  EXPECT_TRUE(StretchBlt(dst.dc(), lo, lo, hi, hi, src.dc(), lo, hi, hi, lo, SRCINVERT));
  DibInfo d = MakeInfo(16, 16, 32);
  EXPECT_GE(StretchDIBits(dst.dc(), 0, 0, hi, lo, hi, lo, lo, hi, src.surface().pixels, d.info(), DIB_RGB_COLORS,
                          SRCCOPY),
            0);
}

TEST(GdiDib, StretchDIBitsReadsEachFormatAndRowOrder) {
  // A 4 x 3 image whose top row is red, middle green, bottom blue, in every
  // format, stored bottom-up (positive height) and top-down.
  const std::uint32_t rowColours[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  for (int bits : {1, 8, 32}) {
    for (bool bottomUp : {true, false}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << (bottomUp ? "bottom-up" : "top-down"));
      DibInfo d = MakeInfo(4, bottomUp ? 3 : -3, bits);
      std::vector<std::uint8_t> data(16 * 3, 0);
      const int stride = bits == 32 ? 16 : 4;
      for (int row = 0; row < 3; ++row) {
        const int stored = bottomUp ? 2 - row : row;
        std::uint8_t* line = data.data() + stored * stride;
        for (int x = 0; x < 4; ++x) {
          if (bits == 32) {
            std::memcpy(line + 4 * x, &rowColours[row], 4);
          } else if (bits == 8) {
            line[x] = static_cast<std::uint8_t>(10 + row);
          } else {
            line[0] = row == 0 ? 0xF0 : 0x00;  // index 1 on the top row, 0 elsewhere
          }
        }
      }
      for (int row = 0; row < 3; ++row) {
        d.colours[10 + row] = RGBQUAD{static_cast<BYTE>(rowColours[row]), static_cast<BYTE>(rowColours[row] >> 8),
                                      static_cast<BYTE>(rowColours[row] >> 16), 0};
      }
      if (bits == 1) {
        d.colours[0] = RGBQUAD{0, 0, 0, 0};
        d.colours[1] = RGBQUAD{255, 255, 255, 0};
      }
      Canvas c(8, 6);
      c.FillSolid(0x777777);
      EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 3, 0, 0, 4, 3, data.data(), d.info(), DIB_RGB_COLORS, SRCCOPY), 3);
      for (int row = 0; row < 3; ++row) {
        const std::uint32_t want = bits == 1 ? (row == 0 ? 0xFFFFFFu : 0u) : rowColours[row];
        EXPECT_EQ(c.At(1, row), want) << "row " << row;
      }
      EXPECT_EQ(c.At(4, 0), 0x777777u);
      // Scaled twice as large.
      StretchDIBits(c.dc(), 0, 0, 8, 6, 0, 0, 4, 3, data.data(), d.info(), DIB_RGB_COLORS, SRCCOPY);
      EXPECT_EQ(c.At(7, 5), bits == 1 ? 0u : rowColours[2]);
      EXPECT_EQ(c.At(6, 1), bits == 1 ? 0xFFFFFFu : rowColours[0]);
    }
  }
}

TEST(GdiDib, BottomUpSourceRectangleCountsFromTheBottomRow) {
  DibInfo d = MakeInfo(1, 4, 32);
  const std::uint32_t stored[4] = {0x000001, 0x000002, 0x000003, 0x000004};  // bottom row first
  Canvas c(1, 1);
  StretchDIBits(c.dc(), 0, 0, 1, 1, 0, 1, 1, 1, stored, d.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), 0x000002u);
}

TEST(GdiDib, PaletteColoursComeFromTheSelectedPalette) {
  std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = PALETTEENTRY{1, 2, 3, 0};
  lp->palPalEntry[1] = PALETTEENTRY{4, 5, 6, 0};
  lp->palPalEntry[2] = PALETTEENTRY{7, 8, 9, 0};
  HPALETTE pal = CreatePalette(lp);
  ASSERT_NE(pal, nullptr);
  Canvas c(2, 1);
  HPALETTE old = SelectPalette(c.dc(), pal, FALSE);
  EXPECT_EQ(RealizePalette(c.dc()), 0u);
  struct {
    BITMAPINFOHEADER header;
    WORD indexes[256];
  } info{};
  info.header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, -1, 1, 8, BI_RGB, 0, 0, 0, 3, 0};
  info.indexes[0] = 2;
  info.indexes[1] = 0;
  const std::uint8_t row[4] = {0, 1, 0, 0};
  StretchDIBits(c.dc(), 0, 0, 2, 1, 0, 0, 2, 1, row, reinterpret_cast<BITMAPINFO*>(&info), DIB_PAL_COLORS, SRCCOPY);
  EXPECT_EQ(c.At(0, 0), 0x070809u);
  EXPECT_EQ(c.At(1, 0), 0x010203u);
  PALETTEENTRY e{};
  EXPECT_EQ(GetPaletteEntries(pal, 1, 1, &e), 1u);
  EXPECT_EQ(e.peGreen, 5);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(6, 7, 8)), 2u);
  SetPixel(c.dc(), 0, 0, PALETTEINDEX(1));
  EXPECT_EQ(c.At(0, 0), 0x040506u);
  EXPECT_FALSE(DeleteObject(pal)) << "still selected";
  SelectPalette(c.dc(), old, FALSE);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST(GdiDib, BottomUpDibSectionDrawsWithRowZeroAtTheTop) {
  DibInfo d = MakeInfo(4, 3, 32);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, d.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  ASSERT_NE(bits, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, dib);
  SetPixel(dc, 1, 0, RGB(0xAB, 0xCD, 0xEF));
  const auto* words = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(words[2 * 4 + 1], 0xABCDEFu) << "the top row is the last row in memory";
  DIBSECTION ds{};
  EXPECT_EQ(GetObject(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, 3);
  // Blitting it out gives the picture the right way up.
  Canvas out(4, 3);
  BitBlt(out.dc(), 0, 0, 4, 3, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(out.At(1, 0), 0xABCDEFu);
  // So does the raw blit of its bits.
  Canvas raw(4, 3);
  StretchDIBits(raw.dc(), 0, 0, 4, 3, 0, 0, 4, 3, bits, d.info(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(raw.At(1, 0), 0xABCDEFu);
  EXPECT_FALSE(DeleteObject(dib)) << "selected into a context";
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(dib));
  DeleteDC(dc);
}

TEST(GdiDib, EightBitDibSectionIsASourceThroughItsColourTable) {
  DibInfo d = MakeInfo(2, -1, 8);
  d.colours[5] = RGBQUAD{0x30, 0x20, 0x10, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, d.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib, nullptr);
  static_cast<std::uint8_t*>(bits)[1] = 5;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP old = SelectObject(dc, dib);
  Canvas out(2, 1);
  BitBlt(out.dc(), 0, 0, 2, 1, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(out.At(1, 0), 0x102030u);
  RGBQUAD q{0x33, 0x22, 0x11, 0};
  EXPECT_EQ(SetDIBColorTable(dc, 5, 1, &q), 1u);
  BitBlt(out.dc(), 0, 0, 2, 1, dc, 0, 0, SRCCOPY);
  EXPECT_EQ(out.At(1, 0), 0x112233u);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

TEST(GdiDib, SetDIBitsToDevicePlacesPartialScans) {
  // A bottom-up 1 x 4 image of which only scans 1 and 2 are passed.
  DibInfo d = MakeInfo(1, 4, 32);
  const std::uint32_t scans[2] = {0x000011, 0x000022};  // scan 1, scan 2 (counted from the bottom)
  Canvas c(1, 4);
  c.FillSolid(0);
  EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 1, 4, 0, 0, 1, 2, scans, d.info(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(0, 0), 0u);
  EXPECT_EQ(c.At(0, 1), 0x000022u);
  EXPECT_EQ(c.At(0, 2), 0x000011u);
  EXPECT_EQ(c.At(0, 3), 0u);
}

TEST(GdiDib, CreateDIBitmapCopiesTheImageTheRightWayUp) {
  DibInfo d = MakeInfo(2, 2, 32);
  const std::uint32_t bits[4] = {0x000001, 0x000002, 0x000003, 0x000004};  // bottom row first
  HBITMAP bitmap = CreateDIBitmap(nullptr, &d.header, CBM_INIT, bits, d.info(), DIB_RGB_COLORS);
  ASSERT_NE(bitmap, nullptr);
  const pl3::PixelSurface* s = pl3::GetBitmapSurface(bitmap);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->pixels[0], 0x000003u);
  EXPECT_EQ(s->pixels[s->stride + 1], 0x000002u);
  HBITMAP blank = CreateDIBitmap(nullptr, &d.header, 0, bits, d.info(), DIB_RGB_COLORS);
  EXPECT_EQ(pl3::GetBitmapSurface(blank)->pixels[0], 0u) << "without CBM_INIT the bits are not read";
  DeleteObject(bitmap);
  DeleteObject(blank);
}

TEST(GdiDib, GetDIBitsReadsBack) {
  Canvas c(3, 2);
  c.FillNoise(4);
  BITMAPINFO info{};
  ASSERT_NE(GetDIBits(c.dc(), c.bitmap(), 0, 2, nullptr, &info, DIB_RGB_COLORS), 0);
  EXPECT_EQ(info.bmiHeader.biWidth, 3);
  EXPECT_EQ(info.bmiHeader.biBitCount, 32);
  std::uint32_t out[6];
  EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, out, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(out[0], c.At(0, 1)) << "bottom-up: the first scan is the bottom row";
  EXPECT_EQ(out[5], c.At(2, 0));
}

TEST(GdiDib, BadHeadersAreRefused) {
  DibInfo d = MakeInfo(0, 4, 32);
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(nullptr, d.info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  d = MakeInfo(4, 4, 7);
  EXPECT_EQ(CreateDIBSection(nullptr, d.info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  d = MakeInfo(100000, 100000, 32);
  EXPECT_EQ(CreateDIBSection(nullptr, d.info(), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  Canvas c(2, 2);
  const std::uint32_t px[4] = {};
  EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 2, 2, 0, 0, 2, 2, px, nullptr, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(CreateCompatibleBitmap(c.dc(), -1, 5), nullptr);
}

TEST(GdiDib, PngRoundTrip) {
  Canvas c(5, 3);
  c.FillNoise(8);
  const std::string path = pl3test::MakeTempDir("gdi_png") + "/c.png";
  ASSERT_TRUE(pl3::SaveSurfacePng(c.surface(), path.c_str()));
  HBITMAP loaded = pl3::LoadImageAsBitmap(path.c_str());
  ASSERT_NE(loaded, nullptr);
  const pl3::PixelSurface* s = pl3::GetBitmapSurface(loaded);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->width, 5);
  ASSERT_EQ(s->height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(s->pixels[y * s->stride + x], c.At(x, y));
  }
  DeleteObject(loaded);
  EXPECT_EQ(pl3::LoadImageAsBitmap((path + ".missing").c_str()), nullptr);
  EXPECT_FALSE(pl3::SaveSurfacePng(c.surface(), "/nonexistent-folder/x.png"));
}

// ---------------------------------------------------------------------------
// Regions

TEST(GdiRegion, CombineOperations) {
  struct Case {
    int mode;
    int kind;
    bool inA, inBoth, inB, outside;
  };
  const Case cases[] = {
      {RGN_AND, SIMPLEREGION, false, true, false, false},
      {RGN_OR, COMPLEXREGION, true, true, true, false},
      {RGN_XOR, COMPLEXREGION, true, false, true, false},
      {RGN_DIFF, COMPLEXREGION, true, false, false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    HRGN a = CreateRectRgn(0, 0, 20, 20);
    HRGN b = CreateRectRgn(10, 10, 30, 30);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(r, a, b, k.mode), k.kind);
    EXPECT_EQ(PtInRegion(r, 5, 5), k.inA);
    EXPECT_EQ(PtInRegion(r, 15, 15), k.inBoth);
    EXPECT_EQ(PtInRegion(r, 25, 25), k.inB);
    EXPECT_EQ(PtInRegion(r, 25, 5), k.outside);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(r);
  }
}

TEST(GdiRegion, CanonicalFormMakesEqualRegionsEqual) {
  // The same L shape built two ways.
  HRGN a = CreateRectRgn(0, 0, 10, 5);
  HRGN a2 = CreateRectRgn(0, 5, 5, 10);
  CombineRgn(a, a, a2, RGN_OR);
  HRGN b = CreateRectRgn(0, 0, 5, 10);
  HRGN b2 = CreateRectRgn(5, 0, 10, 5);
  CombineRgn(b, b, b2, RGN_OR);
  EXPECT_TRUE(EqualRgn(a, b));
  RECT box;
  EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(box.bottom, 10);
  const DWORD size = GetRegionData(a, 0, nullptr);
  ASSERT_EQ(size, sizeof(RGNDATAHEADER) + 2 * sizeof(RECT));
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  EXPECT_EQ(GetRegionData(a, size - 1, data), 0u);
  EXPECT_EQ(GetRegionData(a, size, data), size);
  EXPECT_EQ(data->rdh.nCount, 2u);
  RECT rects[2];
  std::memcpy(rects, data->Buffer, sizeof rects);
  EXPECT_EQ(rects[0].bottom, 5);
  EXPECT_EQ(rects[1].right, 5);
  EXPECT_EQ(OffsetRgn(a, 100, 0), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(a, 101, 9));
  EXPECT_FALSE(PtInRegion(a, 1, 9));
  RECT probe{108, 8, 200, 200};
  EXPECT_FALSE(RectInRegion(a, &probe));
  for (HRGN r : {a, a2, b, b2}) DeleteObject(r);
}

TEST(GdiRegion, ScrollMovesPixelsAndReportsTheUncoveredStrip) {
  Canvas c(20, 10);
  c.FillNoise(6);
  const auto before = c.Pixels();
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  RECT all{0, 0, 20, 10};
  EXPECT_TRUE(ScrollDC(c.dc(), -3, 0, &all, &all, update, &box));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 17; ++x) ASSERT_EQ(c.At(x, y), before[y * 20 + x + 3]);
  }
  EXPECT_EQ(box.left, 17);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.bottom, 10);
  EXPECT_TRUE(PtInRegion(update, 18, 5));
  EXPECT_FALSE(PtInRegion(update, 16, 5));
  DeleteObject(update);
}

// A hole in the clip: pixels whose source lies in it are not copied, and
// they are exactly what the update region adds to the vacated strip.
TEST(GdiRegion, ScrollPutsEverythingNotCopiedIntoTheUpdateRegion) {
  Canvas c(10, 1);
  c.FillNoise(9);
  const auto before = c.Pixels();
  ExcludeClipRect(c.dc(), 3, 0, 5, 1);
  HRGN update = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  ASSERT_TRUE(ScrollDC(c.dc(), 2, 0, nullptr, nullptr, update, &box));
  const std::vector<std::uint32_t> expected = {before[0], before[1], before[0], before[3], before[4],
                                               before[5], before[6], before[5], before[6], before[7]};
  EXPECT_EQ(c.Pixels(), expected);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PtInRegion(update, x, 0) != 0, x < 2 || x == 5 || x == 6) << x;
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 7);
  DeleteObject(update);
}

TEST(GdiRect, RectangleArithmetic) {
  RECT a{0, 0, 10, 10}, b{5, 5, 15, 15}, r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  const RECT want{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&r, &want));
  RECT far{20, 20, 30, 30};
  EXPECT_FALSE(IntersectRect(&r, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&r));
  EXPECT_TRUE(UnionRect(&r, &a, &b));
  EXPECT_EQ(r.right, 15);
  RECT top{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &top));
  EXPECT_EQ(r.top, 4);
  EXPECT_TRUE(SubtractRect(&r, &a, &b));  // not a rectangle: unchanged
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 10);
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  EXPECT_TRUE(PtInRect(&a, POINT{9, 9}));
  InflateRect(&a, 2, 1);
  EXPECT_EQ(a.left, -2);
  EXPECT_EQ(a.bottom, 11);
}

// ---------------------------------------------------------------------------
// Objects and contexts

TEST(GdiObjects, SelectReturnsThePreviousObjectAndSelectedObjectsStay) {
  Canvas c(4, 4);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  HPEN old = SelectObject(c.dc(), pen);
  EXPECT_EQ(old, (HPEN)GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen)) << "deleting a selected pen would leave the context dangling";
  LOGPEN lp{};
  EXPECT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(SelectObject(c.dc(), old), pen);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen)) << "already gone";
  EXPECT_EQ(SelectObject(c.dc(), pen), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
  EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
}

TEST(GdiObjects, ABitmapLivesInOneContextAtATime) {
  Canvas c(4, 4);
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, c.bitmap()), nullptr);
  HBITMAP mine = CreateCompatibleBitmap(other, 2, 2);
  HBITMAP old = SelectObject(other, mine);
  ASSERT_NE(old, nullptr);
  BITMAP bm{};
  EXPECT_EQ(GetObject(mine, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetCurrentObject(other, OBJ_BITMAP), reinterpret_cast<HGDIOBJ>(mine));
  DeleteDC(other);
  EXPECT_TRUE(DeleteObject(mine)) << "deleting the context released it";
}

TEST(GdiObjects, SaveAndRestoreBringBackAttributesObjectsAndClip) {
  Canvas c(10, 10);
  const int level = SaveDC(c.dc());
  EXPECT_EQ(level, 1);
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  SelectObject(c.dc(), brush);
  SetROP2(c.dc(), R2_XORPEN);
  SetBkMode(c.dc(), TRANSPARENT);
  SetTextColor(c.dc(), RGB(1, 1, 1));
  SetViewportOrgEx(c.dc(), 3, 3, nullptr);
  IntersectClipRect(c.dc(), 0, 0, 2, 2);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 2);
  EXPECT_TRUE(RestoreDC(c.dc(), -1));
  EXPECT_EQ(GetROP2(c.dc()), R2_COPYPEN);
  EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
  EXPECT_EQ(GetTextColor(c.dc()), RGB(0, 0, 0));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 10);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(RestoreDC(c.dc(), 1)) << "nothing saved any more";
}

TEST(GdiObjects, ViewportAndWindowOriginsShiftDrawing) {
  Canvas c(10, 10);
  c.FillSolid(0);
  SetViewportOrgEx(c.dc(), 5, 5, nullptr);
  SetWindowOrgEx(c.dc(), 2, 1, nullptr);
  SetPixel(c.dc(), 2, 1, RGB(255, 255, 255));
  EXPECT_EQ(c.At(5, 5), 0xFFFFFFu);
  POINT p{0, 0};
  LPtoDP(c.dc(), &p, 1);
  EXPECT_EQ(p.x, 3);
  EXPECT_EQ(p.y, 4);
}

TEST(GdiObjects, BadHandlesFailWithoutHarm) {
  HDC bogus = reinterpret_cast<HDC>(0x1234);
  EXPECT_FALSE(LineTo(bogus, 1, 1));
  EXPECT_EQ(SetROP2(bogus, R2_XORPEN), 0);
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_FALSE(DeleteDC(bogus));
  Canvas c(2, 2);
  EXPECT_FALSE(Polyline(c.dc(), nullptr, 3));
  EXPECT_FALSE(Polygon(c.dc(), nullptr, 3));
  RECT rc{0, 0, 1, 1};
  EXPECT_EQ(FillRect(c.dc(), &rc, reinterpret_cast<HBRUSH>(0x999999)), 0);
}

TEST(GdiObjects, SystemMetricsComeFromOneTable) {
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN));
  pl3::SetScreenSize(3840, 2160);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 2160);
  Canvas c(1, 1);
  EXPECT_EQ(GetDeviceCaps(c.dc(), HORZRES), 3840);
  EXPECT_EQ(GetDeviceCaps(c.dc(), BITSPIXEL), 32);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_BTNFACE));
}

}  // namespace

namespace {

// A scene of the shapes views are drawn with. The golden picture was checked
// by eye; set PL3_UPDATE_GOLDEN=1 to rewrite it after an intended change.
void DrawGoldenScene(HDC dc) {
  RECT all{0, 0, 96, 64};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HPEN wide = CreatePen(PS_SOLID, 5, RGB(0, 0, 160));
  HPEN dashed = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
  HPEN dotted = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  HBRUSH green = CreateSolidBrush(RGB(0, 170, 0));
  HPEN oldPen = SelectObject(dc, wide);
  HBRUSH oldBrush = SelectObject(dc, green);
  const POINT zigzag[] = {{6, 56}, {20, 30}, {34, 56}, {48, 30}};
  Polyline(dc, zigzag, 4);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 4, 4, 30, 24);
  Pie(dc, 34, 4, 60, 28, 60, 16, 47, 4);
  SelectObject(dc, dashed);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 62, 4, 92, 30);
  SelectObject(dc, dotted);
  Arc(dc, 62, 34, 92, 60, 92, 47, 62, 47);
  const POINT star[] = {{77, 33}, {86, 60}, {64, 42}, {90, 42}, {68, 60}};
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, green);
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  SetROP2(dc, R2_XORPEN);
  MoveToEx(dc, 0, 44, nullptr);
  LineTo(dc, 96, 44);
  MoveToEx(dc, 52, 0, nullptr);
  LineTo(dc, 52, 64);
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  for (HGDIOBJ o : {reinterpret_cast<HGDIOBJ>(wide), reinterpret_cast<HGDIOBJ>(dashed),
                    reinterpret_cast<HGDIOBJ>(dotted), reinterpret_cast<HGDIOBJ>(green)}) {
    DeleteObject(o);
  }
}

TEST(GdiGolden, ShapesSceneMatchesItsPicture) {
  Canvas c(96, 64);
  DrawGoldenScene(c.dc());
  pl3test::ExpectMatchesGolden(c, "shapes");
}

}  // namespace
