// PNG bytes decoded in memory: every colour type reaches blue, green, red,
// alpha rows bottom row first; transparency counts as alpha; damaged or
// oversized images are refused.
#include <gtest/gtest.h>

#include <vector>

#include "platform/image_files.h"
#include "tests/support/png_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The pixel (x, y), y counted from the top, as {b, g, r, a}.
std::vector<int> Pixel(const pl3::DecodedPng& png, int x, int y) {
  const std::size_t i = 4 * (static_cast<std::size_t>(png.height - 1 - y) * png.width + x);
  return {png.bgra[i], png.bgra[i + 1], png.bgra[i + 2], png.bgra[i + 3]};
}

TEST(DecodePngBytes, RgbaRowsComeBottomRowFirst) {
  const Bytes png = pl3test::MakePngBytes(2, 2, 8, 6, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  pl3::DecodedPng out;
  ASSERT_TRUE(pl3::DecodePngBytes(png.data(), png.size(), out));
  EXPECT_EQ(out.width, 2);
  EXPECT_EQ(out.height, 2);
  EXPECT_TRUE(out.hasAlpha);
  EXPECT_EQ(Pixel(out, 0, 0), (std::vector<int>{3, 2, 1, 4}));
  EXPECT_EQ(Pixel(out, 1, 1), (std::vector<int>{15, 14, 13, 16}));
  EXPECT_EQ(out.bgra[0], 11) << "the first row held is the bottom row";
}

TEST(DecodePngBytes, GreyAndRgbAreOpaque) {
  pl3::DecodedPng out;
  const Bytes grey = pl3test::MakePngBytes(3, 1, 8, 0, {0, 128, 255});
  ASSERT_TRUE(pl3::DecodePngBytes(grey.data(), grey.size(), out));
  EXPECT_FALSE(out.hasAlpha);
  EXPECT_EQ(Pixel(out, 1, 0), (std::vector<int>{128, 128, 128, 255}));
  const Bytes rgb16 = pl3test::MakePngBytes(1, 1, 16, 2, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
  ASSERT_TRUE(pl3::DecodePngBytes(rgb16.data(), rgb16.size(), out));
  EXPECT_FALSE(out.hasAlpha);
  EXPECT_EQ(Pixel(out, 0, 0)[3], 255);
}

TEST(DecodePngBytes, PaletteTransparencyIsAlpha) {
  const pl3test::PngChunks chunks = {{"PLTE", {255, 0, 0, 0, 255, 0}}, {"tRNS", {0, 255}}};
  const Bytes png = pl3test::MakePngBytes(2, 1, 8, 3, {0, 1}, chunks);
  pl3::DecodedPng out;
  ASSERT_TRUE(pl3::DecodePngBytes(png.data(), png.size(), out));
  EXPECT_TRUE(out.hasAlpha);
  EXPECT_EQ(Pixel(out, 0, 0)[3], 0);
  EXPECT_EQ(Pixel(out, 1, 0), (std::vector<int>{0, 255, 0, 255}));
}

TEST(DecodePngBytes, RefusesWhatIsNotAWholePngOfASaneSize) {
  pl3::DecodedPng out;
  out.width = 9;
  const Bytes good = pl3test::MakePngBytes(4, 4, 8, 2, Bytes(48, 7));
  const Bytes cut(good.begin(), good.begin() + 40);
  EXPECT_FALSE(pl3::DecodePngBytes(cut.data(), cut.size(), out));
  EXPECT_EQ(out.width, 0);
  EXPECT_TRUE(out.bgra.empty());
  const Bytes text = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  EXPECT_FALSE(pl3::DecodePngBytes(text.data(), text.size(), out));
  EXPECT_FALSE(pl3::DecodePngBytes(nullptr, 10, out));
  const Bytes wide = pl3test::MakePngBytes(pl3::kMaxDecodedPngSide + 1, 1, 8, 0, Bytes(pl3::kMaxDecodedPngSide + 1, 0));
  EXPECT_FALSE(pl3::DecodePngBytes(wide.data(), wide.size(), out));
}

// A 2 x 1 24-bit BMP: blue then red, rows bottom first, padded to 4 bytes.
Bytes MakeBmpBytes() {
  Bytes b = {'B', 'M'};
  auto put32 = [&b](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto put16 = [&b](std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  put32(54 + 8);
  put32(0);
  put32(54);
  put32(40);
  put32(2);
  put32(1);
  put16(1);
  put16(24);
  put32(0);
  put32(8);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (std::uint8_t v : {255, 0, 0, 0, 0, 255, 0, 0}) b.push_back(v);
  return b;
}

TEST(DecodeImageBytes, TakesOtherFormatsThatDecodePngBytesRefuses) {
  const Bytes bmp = MakeBmpBytes();
  pl3::DecodedPng out;
  EXPECT_FALSE(pl3::DecodePngBytes(bmp.data(), bmp.size(), out));
  ASSERT_TRUE(pl3::DecodeImageBytes(bmp.data(), bmp.size(), out));
  EXPECT_EQ(out.width, 2);
  EXPECT_EQ(out.height, 1);
  EXPECT_EQ(Pixel(out, 0, 0), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(Pixel(out, 1, 0), (std::vector<int>{0, 0, 255, 255}));
  const Bytes png = pl3test::MakePngBytes(1, 1, 8, 0, {9});
  EXPECT_TRUE(pl3::DecodeImageBytes(png.data(), png.size(), out));
  const Bytes text = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  EXPECT_FALSE(pl3::DecodeImageBytes(text.data(), text.size(), out));
}

}  // namespace
