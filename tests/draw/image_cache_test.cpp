// The image cache: entries from icon groups, key-colour bitmaps and PNG
// resources with their planes, look-up, the software blend onto a context,
// the faded draw, and a cache that grows after it was prepared.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "draw/image_cache.h"
#include "platform/gdi.h"
#include "platform/resources.h"
#include "tests/support/png_bytes.h"

namespace {

// The GDI object type of any handle; 0 once it is deleted.
template <typename Handle>
DWORD ObjectType(Handle h) {
  return GetObjectType(reinterpret_cast<HGDIOBJ>(h));
}

// ---- Resources made here, registered for the whole run --------------------------------

using Bytes = std::vector<std::uint8_t>;

// A PNG of top-down rows of {r, g, b, a} (a dropped without alpha).
Bytes MakePng(int width, int height, bool alpha, const std::vector<std::array<std::uint8_t, 4>>& pixels) {
  Bytes rows;
  for (const auto& p : pixels) rows.insert(rows.end(), p.begin(), p.begin() + (alpha ? 4 : 3));
  return pl3test::MakePngBytes(width, height, 8, alpha ? 6 : 2, rows);
}

// A 40-byte header and 32-bit rows, bottom row first; icons double the height and add the mask.
Bytes MakeDib(int width, int height, bool icon, const std::vector<std::uint32_t>& bgraBottomUp) {
  BITMAPINFOHEADER h{sizeof(BITMAPINFOHEADER), width, icon ? 2 * height : height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  Bytes b(sizeof h);
  std::memcpy(b.data(), &h, sizeof h);
  for (std::uint32_t p : bgraBottomUp)
    for (int s = 0; s < 32; s += 8) b.push_back(static_cast<std::uint8_t>(p >> s));
  if (icon) b.resize(b.size() + static_cast<std::size_t>(((width + 31) / 32) * 4 * height), 0);
  return b;
}

Bytes MakeGroup(const std::vector<GroupIconEntry>& entries) {
  GroupIconHeader h{0, 1, static_cast<WORD>(entries.size())};
  Bytes b(sizeof h + entries.size() * sizeof(GroupIconEntry));
  std::memcpy(b.data(), &h, sizeof h);
  std::memcpy(b.data() + sizeof h, entries.data(), entries.size() * sizeof(GroupIconEntry));
  return b;
}

// Icon pixel i of the 16 x 16 images: colour from i, every other pixel transparent.
std::uint32_t IconPixel(int i) {
  const std::uint32_t alpha = i % 2 ? 255u : 0u;
  return alpha << 24 | static_cast<std::uint32_t>((3 * i) & 0xFF) << 16 | static_cast<std::uint32_t>((2 * i) & 0xFF) << 8 |
         static_cast<std::uint32_t>(i & 0xFF);
}

constexpr std::uint32_t kIconGroup = 300;
constexpr std::uint32_t kBrokenGroup = 310;
constexpr std::uint32_t kBitmap = 400;
constexpr std::uint32_t kPngAlpha = 500;
constexpr std::uint32_t kPngPlain = 501;
constexpr std::uint32_t kPngBroken = 502;
constexpr std::uint32_t kPngLarge = 503;

std::vector<Bytes>& Store() {
  static std::vector<Bytes> store;
  return store;
}

ResourceEntry gEntries[12];

void Register() {
  static bool done = false;
  if (done) return;
  done = true;
  std::vector<std::uint32_t> first(256), second(256, 0xFF102030), big(32 * 32, 0xFFFFFFFF);
  for (int i = 0; i < 256; ++i) first[static_cast<std::size_t>(i)] = IconPixel(i);
  auto& s = Store();
  s.push_back(MakeGroup({{16, 16, 0, 0, 1, 32, 0, 301},
                         {16, 16, 0, 0, 1, 32, 0, 302},
                         {16, 16, 0, 0, 1, 24, 0, 303},
                         {32, 32, 0, 0, 1, 32, 0, 304}}));
  s.push_back(MakeDib(16, 16, true, first));
  s.push_back(MakeDib(16, 16, true, second));
  s.push_back(MakeDib(16, 16, true, second));  // listed as 24-bit: never read
  s.push_back(MakeDib(32, 32, true, big));
  s.push_back(MakeGroup({{16, 16, 0, 0, 1, 32, 0, 311}}));
  s.push_back(Bytes(60, 0));  // too short for its pixels
  // The bitmap, bottom row first: the key colour, a near miss, red, grey 128.
  s.push_back(MakeDib(2, 2, false, {0xC0C0C0, 0xC0C0C1, 0xFF0000, 0x808080}));
  s.push_back(MakePng(3, 2, true, {{255, 0, 0, 255}, {200, 100, 50, 128}, {0, 0, 255, 0},
                                   {10, 20, 30, 255}, {200, 100, 50, 255}, {0, 0, 0, 0}}));
  s.push_back(MakePng(2, 1, false, {{1, 2, 3, 0}, {4, 5, 6, 0}}));
  s.push_back(Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
  std::vector<std::array<std::uint8_t, 4>> large(40 * 30, {9, 8, 7, 255});
  s.push_back(MakePng(40, 30, true, large));
  const struct {
    LPCSTR type;
    std::uint32_t id;
  } kinds[] = {{RT_GROUP_ICON, kIconGroup}, {RT_ICON, 301},  {RT_ICON, 302},      {RT_ICON, 303},
               {RT_ICON, 304},            {RT_GROUP_ICON, kBrokenGroup}, {RT_ICON, 311}, {RT_BITMAP, kBitmap},
               {"PNG", kPngAlpha},        {"PNG", kPngPlain}, {"PNG", kPngBroken}, {"PNG", kPngLarge}};
  for (std::size_t i = 0; i < std::size(kinds); ++i)
    gEntries[i] = ResourceEntry{kinds[i].type, MAKEINTRESOURCE(kinds[i].id), s[i].data(), static_cast<DWORD>(s[i].size())};
  static pl3::ResourceRegistration registration(gEntries);
}

// ---- A target to draw on -----------------------------------------------------------------

constexpr COLORREF kBackground = RGB(0x40, 0x60, 0x80);

struct Target {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  HBITMAP old = nullptr;
  Target() {
    void* bits = nullptr;
    CreateDIB32(dc, 60, 60, &bitmap, &bits);
    old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(kBackground);
    RECT all{0, 0, 60, 60};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  ~Target() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
};

// One channel blended as the cache does: both quotients truncated apart.
int Mix(int d, int s, int a) { return d * (255 - a) / 255 + s * a / 255; }
COLORREF MixRgb(COLORREF d, int r, int g, int b, int a) {
  return RGB(Mix(GetRValue(d), r, a), Mix(GetGValue(d), g, a), Mix(GetBValue(d), b, a));
}

class ImageCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    Register();
    cache = NewImageCache();
  }
  void TearDown() override { DestroyImageCache(cache); }
  ImageCache* cache = nullptr;
};

TEST_F(ImageCacheTest, IconGroupGivesOneEntryPerMatching32BitImage) {
  EXPECT_EQ(AddIconToImageCache(cache, kIconGroup, 16, 16), 1);
  ASSERT_EQ(cache->entries.size(), 2u);  // the 24-bit and the 32 x 32 images are passed over
  EXPECT_EQ(FindCachedImage(cache, kIconGroup, 16, 16), 1);
  EXPECT_EQ(FindCachedImage(cache, kIconGroup, 32, 32), 0);
  EXPECT_EQ(FindCachedImage(cache, 999, 16, 16), 0);
  EXPECT_EQ(AddIconToImageCache(cache, kIconGroup, 32, 32), 1);
  EXPECT_EQ(FindCachedImage(cache, kIconGroup, 32, 32), 3);
  // A group the program lacks reports 0; one whose image is damaged adds nothing.
  EXPECT_EQ(AddIconToImageCache(cache, 777, 16, 16), 0);
  EXPECT_EQ(AddIconToImageCache(cache, kBrokenGroup, 16, 16), 1);
  EXPECT_EQ(AddIconToImageCache(cache, kIconGroup, 20, 20), 1);
  EXPECT_EQ(cache->entries.size(), 3u);
}

TEST_F(ImageCacheTest, IconPlanes) {
  AddIconToImageCache(cache, kIconGroup, 16, 16);
  const ImageCacheEntry& e = cache->entries[0];
  EXPECT_EQ(e.resourceId, kIconGroup);
  EXPECT_EQ(e.bitDepth, 32u);
  ASSERT_EQ(e.alpha.size(), 256u);
  ASSERT_EQ(e.normal.size(), 768u);
  // Pixel 64: blue 64, green 128, red 192, transparent; pixel 65 opaque.
  EXPECT_EQ(e.alpha[64], 0);
  EXPECT_EQ(e.alpha[65], 255);
  EXPECT_EQ(e.normal[3 * 64 + 0], 64);
  EXPECT_EQ(e.normal[3 * 64 + 1], 128);
  EXPECT_EQ(e.normal[3 * 64 + 2], 192);
  // The highlighted plane darkens: 128 ^ 1.2 gives 111.
  EXPECT_EQ(e.highlighted[3 * 64 + 1], 111);
  // Icons grey every pixel, transparent ones too.
  EXPECT_GT(e.disabled[3 * 64], 0);
  EXPECT_EQ(e.disabled[3 * 64], e.disabled[3 * 64 + 2]);
  EXPECT_EQ(GetCachedImageAlpha(cache, 0, 1, 4), 255);  // pixel 65: row 4 from the bottom, column 1
}

TEST_F(ImageCacheTest, BitmapKeyColourIsTransparentAndBlackWhenDisabled) {
  EXPECT_EQ(AddBitmapToImageCache(cache, kBitmap, 2, 2, 0xC0C0C0, 2.0), 1);
  EXPECT_EQ(AddBitmapToImageCache(cache, 401, 2, 2, 0xC0C0C0, 2.0), 0);
  ASSERT_EQ(cache->entries.size(), 1u);
  const ImageCacheEntry& e = cache->entries[0];
  EXPECT_EQ(e.resourceId, kBitmap);
  // Bottom row first, as the resource stores it.
  const std::uint8_t alpha[] = {0, 255, 255, 255};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(e.alpha[static_cast<std::size_t>(i)], alpha[i]) << i;
  EXPECT_EQ(e.disabled[0], 0);
  EXPECT_EQ(e.disabled[2], 0);
  EXPECT_EQ(e.disabled[3], e.disabled[5]);
  EXPECT_GT(e.disabled[3], 0);
  // Red is blue 0, green 0, red 255; disabled grey 139; gamma 2 of 128 is 64.
  EXPECT_EQ(e.normal[6], 0);
  EXPECT_EQ(e.normal[8], 255);
  EXPECT_EQ(e.disabled[6], 139);
  EXPECT_EQ(e.highlighted[9], 64);
}

TEST_F(ImageCacheTest, PngPlanesRunBottomRowFirst) {
  EXPECT_EQ(AddPngToImageCache(cache, kPngAlpha), 1);
  EXPECT_EQ(AddPngToImageCache(cache, kPngPlain), 1);
  EXPECT_EQ(AddPngToImageCache(cache, kPngBroken), 0);
  EXPECT_EQ(AddPngToImageCache(cache, 599), 0);
  ASSERT_EQ(cache->entries.size(), 2u);
  const ImageCacheEntry& e = cache->entries[0];
  EXPECT_EQ(e.width, 3u);
  EXPECT_EQ(e.height, 2u);
  const std::uint8_t alpha[] = {255, 255, 0, 255, 128, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(e.alpha[static_cast<std::size_t>(i)], alpha[i]) << i;
  // The bottom-left pixel (10, 20, 30) first, in blue, green, red order.
  EXPECT_EQ(e.normal[0], 30);
  EXPECT_EQ(e.normal[1], 20);
  EXPECT_EQ(e.normal[2], 10);
  EXPECT_EQ(e.highlighted[0], 87);  // 30 ^ 0.5
  EXPECT_EQ(e.disabled[0], 68);
  EXPECT_EQ(e.disabled[3 * 5], 0);  // transparent: black
  EXPECT_EQ(GetCachedImageAlpha(cache, 0, 1, 1), 128);
  EXPECT_EQ(GetCachedImageAlpha(cache, 0, 3, 0), 0);
  EXPECT_EQ(GetCachedImageAlpha(cache, 5, 0, 0), 0);
  // Without an alpha channel every pixel is opaque.
  for (std::uint8_t a : cache->entries[1].alpha) EXPECT_EQ(a, 255);
  int w = -1, h = -1;
  GetCachedImageSize(cache, 1, &w, &h);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
  GetCachedImageSize(cache, 2, &w, &h);
  EXPECT_EQ(w, 0);
}

TEST_F(ImageCacheTest, DrawBlendsOverTheDestination) {
  AddPngToImageCache(cache, kPngAlpha);
  PrepareImageCache(cache);
  Target t;
  DrawCachedImage(cache, t.dc, 5, 7, 0, kImageNormal);
  EXPECT_EQ(t.At(5, 7), RGB(255, 0, 0));                   // opaque: replaced
  // Half: both quotients truncated apart (131, not the 132 of one quotient).
  EXPECT_EQ(t.At(6, 7), MixRgb(kBackground, 200, 100, 50, 128));
  EXPECT_EQ(t.At(6, 7), RGB(131, 97, 88));
  EXPECT_EQ(t.At(7, 7), kBackground);                      // transparent: kept
  EXPECT_EQ(t.At(5, 8), RGB(10, 20, 30));                  // the bottom row
  EXPECT_EQ(t.At(6, 8), RGB(200, 100, 50));
  EXPECT_EQ(t.At(7, 8), kBackground);
  EXPECT_EQ(t.At(4, 7), kBackground);
  EXPECT_EQ(t.At(8, 8), kBackground);
  EXPECT_EQ(t.At(5, 9), kBackground);
  EXPECT_EQ(t.At(5, 6), kBackground);
}

TEST_F(ImageCacheTest, DisabledAndFadedDraws) {
  AddPngToImageCache(cache, kPngAlpha);
  PrepareImageCache(cache);
  Target t;
  DrawCachedImage(cache, t.dc, 0, 0, 0, kImageDisabled);
  EXPECT_EQ(t.At(0, 0), RGB(139, 139, 139));
  EXPECT_EQ(t.At(2, 0), kBackground);
  // Level 0: an opaque pixel is drawn at alpha 127, a transparent one not at all.
  DrawCachedImageFaded(cache, t.dc, 10, 0, 0, kImageNormal, 0);
  EXPECT_EQ(t.At(10, 0), RGB(159, 48, 64));
  EXPECT_EQ(t.At(11, 0), MixRgb(kBackground, 200, 100, 50, 64));
  EXPECT_EQ(t.At(12, 0), kBackground);
  // Levels far out of range stay within an alpha's range.
  DrawCachedImageFaded(cache, t.dc, 20, 0, 0, kImageNormal, 100000);
  EXPECT_EQ(t.At(20, 0), RGB(255, 0, 0));
  DrawCachedImageFaded(cache, t.dc, 30, 0, 0, kImageNormal, -100000);
  EXPECT_EQ(t.At(30, 0), kBackground);
}

TEST_F(ImageCacheTest, ImageAddedAfterPreparingGrowsTheWorkBitmap) {
  AddPngToImageCache(cache, kPngPlain);
  PrepareImageCache(cache);
  EXPECT_EQ(cache->largestWidth, 2u);
  AddPngToImageCache(cache, kPngLarge);
  EXPECT_EQ(cache->largestWidth, 40u);
  EXPECT_EQ(cache->largestHeight, 30u);
  Target t;
  DrawCachedImage(cache, t.dc, 1, 1, 1, kImageNormal);
  EXPECT_EQ(t.At(1, 1), RGB(9, 8, 7));
  EXPECT_EQ(t.At(40, 30), RGB(9, 8, 7));
  EXPECT_EQ(t.At(41, 31), kBackground);
  // The small image still draws from the same work bitmap.
  DrawCachedImage(cache, t.dc, 50, 50, 0, kImageNormal);
  EXPECT_EQ(t.At(51, 50), RGB(4, 5, 6));
}

TEST_F(ImageCacheTest, AnUnpreparedCachePreparesItselfAndBadIndexesDrawNothing) {
  AddPngToImageCache(cache, kPngPlain);
  Target t;
  DrawCachedImage(cache, t.dc, 0, 0, 0, kImageNormal);
  EXPECT_EQ(t.At(0, 0), RGB(1, 2, 3));
  DrawCachedImage(cache, t.dc, 3, 3, 1, kImageNormal);
  DrawCachedImage(cache, t.dc, 3, 3, -1, kImageNormal);
  EXPECT_EQ(t.At(3, 3), kBackground);
  DrawCachedImage(nullptr, t.dc, 3, 3, 0, kImageNormal);
  EXPECT_EQ(FindCachedImage(nullptr, 1, 1, 1), 0);
}

TEST_F(ImageCacheTest, DestroyReleasesTheWorkBitmap) {
  AddPngToImageCache(cache, kPngPlain);
  PrepareImageCache(cache);
  HBITMAP work = cache->workBitmap;
  HDC memory = cache->memoryDC;
  ASSERT_EQ(ObjectType(work), static_cast<DWORD>(OBJ_BITMAP));
  DestroyImageCache(cache);
  cache = nullptr;
  EXPECT_EQ(ObjectType(work), 0u);
  EXPECT_EQ(ObjectType(memory), 0u);
}

TEST(CreateDIB32, BottomUpThirtyTwoBits) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP out = nullptr;
  void* bits = nullptr;
  HBITMAP made = CreateDIB32(dc, 4, 3, &out, &bits);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made, out);
  ASSERT_NE(bits, nullptr);
  DIBSECTION section{};
  ASSERT_EQ(GetObject(made, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBmih.biSize, 40u);
  EXPECT_EQ(section.dsBmih.biHeight, 3);
  EXPECT_EQ(section.dsBmih.biBitCount, 32);
  EXPECT_EQ(section.dsBmih.biCompression, BI_RGB);
  static_cast<std::uint32_t*>(bits)[0] = 0x00FF0000;  // the first word is the bottom-left pixel
  HBITMAP old = SelectObject(dc, made);
  EXPECT_EQ(GetPixel(dc, 0, 2), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(made);
  DeleteDC(dc);
}

}  // namespace
