#include "draw/image_cache.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <span>

#include "draw/ui_colours.h"
#include "platform/image_files.h"
#include "platform/resource_images.h"
#include "platform/resources.h"
#include "platform/user.h"

namespace {

// The disabled grey of one pixel: the luminance, as a fraction, raised to
// the power 0.5.
std::uint8_t Grey(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  const double luminance = 0.587 * green + 0.299 * red + 0.114 * blue;
  const double g = std::pow(luminance * kOneOver255, 0.5) * 255;
  return g >= 255 ? 255 : static_cast<std::uint8_t>(g);
}

// How the disabled plane treats transparent pixels.
enum class GreyRule { EveryPixel, OpaqueOnly };

// The entry of `width` x `height` 32-bit blue, green, red, x pixels (rows
// bottom row first) with the alpha already in `alpha`; the colour planes are
// derived here.
ImageCacheEntry MakeEntry(std::uint32_t id, std::uint32_t width, std::uint32_t height, const std::uint8_t* bgrx,
                          std::vector<std::uint8_t> alpha, GreyRule rule, double highlightGamma) {
  ImageCacheEntry e{id, width, height, 32, std::move(alpha), {}, {}, {}};
  const std::size_t n = static_cast<std::size_t>(width) * height;
  e.normal.resize(n * 3);
  e.disabled.resize(n * 3);
  e.highlighted.resize(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* p = bgrx + 4 * i;
    const std::uint8_t grey = rule == GreyRule::EveryPixel || e.alpha[i] != 0 ? Grey(p[0], p[1], p[2]) : 0;
    for (int c = 0; c < 3; ++c) {
      e.normal[3 * i + c] = p[c];
      e.disabled[3 * i + c] = grey;
      e.highlighted[3 * i + c] = GammaChannel(p[c], highlightGamma);
    }
  }
  return e;
}

// A resource's bytes, or an empty span.
std::span<const std::uint8_t> ResourceBytes(std::uint32_t id, LPCSTR type) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCE(id), type);
  if (!found) return {};
  const void* data = LockResource(LoadResource(nullptr, found));
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, found)};
}

void Append(ImageCache* cache, ImageCacheEntry entry) {
  const bool outgrows = entry.width > cache->largestWidth || entry.height > cache->largestHeight;
  cache->entries.push_back(std::move(entry));
  // A cache already prepared must still hold the largest image.
  if (cache->memoryDC && outgrows) PrepareImageCache(cache);
}

// One RT_ICON image of the asked size: its BITMAPINFOHEADER (height doubled),
// then 32-bit blue, green, red, alpha rows bottom row first. False when the
// image is not that, or is shorter than its pixels.
bool AddIconImage(ImageCache* cache, std::uint32_t iconId, std::uint16_t imageId, int width, int height) {
  const auto bytes = ResourceBytes(imageId, RT_ICON);
  BITMAPINFOHEADER h{};
  if (bytes.size() < sizeof h) return false;
  std::memcpy(&h, bytes.data(), sizeof h);
  const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (h.biSize < sizeof h || h.biBitCount != 32 || h.biWidth != width ||
      (h.biHeight != 2 * height && h.biHeight != height) || h.biSize > bytes.size() ||
      bytes.size() - h.biSize < pixels * 4)
    return false;
  const std::uint8_t* bgra = bytes.data() + h.biSize;
  std::vector<std::uint8_t> alpha(pixels);
  for (std::size_t i = 0; i < pixels; ++i) alpha[i] = bgra[4 * i + 3];
  Append(cache, MakeEntry(iconId, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), bgra,
                          std::move(alpha), GreyRule::EveryPixel, 1.2));
  return true;
}

bool Usable(const ImageCache* cache, int index) {
  return cache && index >= 0 && static_cast<std::size_t>(index) < cache->entries.size();
}

void ReleaseWorkBitmap(ImageCache* cache) {
  if (cache->memoryDC) {
    SelectObject(cache->memoryDC, cache->previousBitmap);
    DeleteDC(cache->memoryDC);
  }
  if (cache->workBitmap) DeleteObject(cache->workBitmap);
  cache->memoryDC = nullptr;
  cache->previousBitmap = nullptr;
  cache->workBitmap = nullptr;
  cache->workBits = nullptr;
}

// Blends the entry into the work bitmap's bottom rows, where the destination
// rectangle was copied: each channel d becomes d (255 - a) / 255 + s a / 255,
// the two quotients truncated apart. When faded, every non-zero alpha a
// becomes (a + level) / 2, kept within 0 to 255. Transparent and opaque
// pixels, most of an icon, take the short ways.
void BlendIntoWork(const ImageCache* cache, const ImageCacheEntry& e, int state, bool faded, int level) {
  const std::vector<std::uint8_t>& plane =
      state == kImageDisabled ? e.disabled : state == kImageHighlighted ? e.highlighted : e.normal;
  std::uint8_t alphaOf[256];
  for (int a = 0; a < 256; ++a)
    alphaOf[a] = !faded || a == 0 ? static_cast<std::uint8_t>(a)
                                  : static_cast<std::uint8_t>(std::clamp<std::int64_t>((std::int64_t{a} + level) / 2, 0, 255));
  const std::uint8_t* source = plane.data();
  const std::uint8_t* alpha = e.alpha.data();
  for (std::uint32_t row = 0; row < e.height; ++row) {
    auto* work = reinterpret_cast<std::uint8_t*>(cache->workBits + static_cast<std::size_t>(row) * cache->largestWidth);
    for (std::uint32_t x = 0; x < e.width; ++x, ++alpha, source += 3, work += 4) {
      const std::uint32_t a = alphaOf[*alpha];
      if (a == 0) continue;
      if (a == 255) {
        std::memcpy(work, source, 3);
        continue;
      }
      for (int c = 0; c < 3; ++c) work[c] = static_cast<std::uint8_t>(work[c] * (255 - a) / 255 + source[c] * a / 255);
    }
  }
}

void DrawEntry(ImageCache* cache, HDC dc, int x, int y, int index, int state, bool faded, int level) {
  if (!Usable(cache, index) || !dc) return;
  const ImageCacheEntry& e = cache->entries[static_cast<std::size_t>(index)];
  if (e.width == 0 || e.height == 0) return;
  // Never blend past the work bitmap: an unprepared or outgrown cache
  // prepares itself first.
  if (!cache->workBits || e.width > cache->largestWidth || e.height > cache->largestHeight) PrepareImageCache(cache);
  if (!cache->workBits) return;
  const int w = static_cast<int>(e.width), h = static_cast<int>(e.height);
  const int top = static_cast<int>(cache->largestHeight) - h;
  BitBlt(cache->memoryDC, 0, top, w, h, dc, x, y, SRCCOPY);
  BlendIntoWork(cache, e, state, faded, level);
  BitBlt(dc, x, y, w, h, cache->memoryDC, 0, top, SRCCOPY);
}

}  // namespace

ImageCache* NewImageCache() { return new ImageCache{}; }

int AddIconToImageCache(ImageCache* cache, std::uint32_t iconId, int width, int height) {
  if (!cache) return 0;
  const auto group = ResourceBytes(iconId, RT_GROUP_ICON);
  GroupIconHeader header{};
  if (group.size() < sizeof header) return 0;
  std::memcpy(&header, group.data(), sizeof header);
  const std::size_t count = std::min<std::size_t>(header.count, (group.size() - sizeof header) / sizeof(GroupIconEntry));
  for (std::size_t i = 0; i < count; ++i) {
    GroupIconEntry entry{};
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    const int w = entry.width ? entry.width : 256;
    const int h = entry.height ? entry.height : 256;
    if (entry.bitCount == 32 && w == width && h == height) AddIconImage(cache, iconId, entry.id, width, height);
  }
  return 1;
}

int AddBitmapToImageCache(ImageCache* cache, std::uint32_t bitmapId, int width, int height, std::uint32_t keyColour,
                          double gamma) {
  if (!cache) return 0;
  auto* loaded = static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCE(bitmapId), IMAGE_BITMAP, width, height,
                                                 LR_CREATEDIBSECTION));
  if (!loaded) return 0;
  BITMAP size{};
  GetObject(loaded, sizeof size, &size);
  const int w = size.bmWidth;
  const int h = std::abs(size.bmHeight);
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  HDC screen = GetDC(nullptr);
  const int rows = w > 0 && h > 0 ? GetDIBits(screen, loaded, 0, static_cast<UINT>(h), bgrx.data(), &info, DIB_RGB_COLORS) : 0;
  ReleaseDC(nullptr, screen);
  DeleteObject(loaded);
  if (rows != h || w <= 0) return 0;
  const std::uint8_t keyBlue = keyColour & 0xFF, keyGreen = (keyColour >> 8) & 0xFF, keyRed = (keyColour >> 16) & 0xFF;
  std::vector<std::uint8_t> alpha(bgrx.size() / 4);
  for (std::size_t i = 0; i < alpha.size(); ++i) {
    const std::uint8_t* p = &bgrx[4 * i];
    alpha[i] = p[0] == keyBlue && p[1] == keyGreen && p[2] == keyRed ? 0 : 255;
  }
  Append(cache, MakeEntry(bitmapId, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), bgrx.data(),
                          std::move(alpha), GreyRule::OpaqueOnly, gamma));
  return 1;
}

int AddPngToImageCache(ImageCache* cache, std::uint32_t resourceId) {
  if (!cache) return 0;
  const auto bytes = ResourceBytes(resourceId, "PNG");
  pl3::DecodedPng png;
  if (bytes.empty() || !pl3::DecodePngBytes(bytes.data(), bytes.size(), png)) return 0;
  std::vector<std::uint8_t> alpha(png.bgra.size() / 4);
  for (std::size_t i = 0; i < alpha.size(); ++i) alpha[i] = png.bgra[4 * i + 3];
  Append(cache, MakeEntry(resourceId, static_cast<std::uint32_t>(png.width), static_cast<std::uint32_t>(png.height),
                          png.bgra.data(), std::move(alpha), GreyRule::OpaqueOnly, 0.5));
  return 1;
}

void PrepareImageCache(ImageCache* cache) {
  if (!cache) return;
  ReleaseWorkBitmap(cache);
  cache->largestWidth = cache->largestHeight = 0;
  for (const ImageCacheEntry& e : cache->entries) {
    cache->largestWidth = std::max(cache->largestWidth, e.width);
    cache->largestHeight = std::max(cache->largestHeight, e.height);
  }
  if (cache->largestWidth == 0 || cache->largestHeight == 0) return;
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIB32(screen, static_cast<int>(cache->largestWidth), static_cast<int>(cache->largestHeight),
                               &cache->workBitmap, &bits);
  if (bitmap) {
    cache->workBits = static_cast<std::uint32_t*>(bits);
    cache->memoryDC = CreateCompatibleDC(screen);
    cache->previousBitmap = SelectObject(cache->memoryDC, bitmap);
  }
  ReleaseDC(nullptr, screen);
}

int FindCachedImage(const ImageCache* cache, std::uint32_t id, int width, int height) {
  if (!cache) return 0;
  for (std::size_t i = 0; i < cache->entries.size(); ++i) {
    const ImageCacheEntry& e = cache->entries[i];
    if (e.resourceId == id && static_cast<int>(e.width) == width && static_cast<int>(e.height) == height)
      return static_cast<int>(i) + 1;
  }
  return 0;
}

void DrawCachedImage(ImageCache* cache, HDC dc, int x, int y, int index, int state) {
  DrawEntry(cache, dc, x, y, index, state, false, 0);
}

void DrawCachedImageFaded(ImageCache* cache, HDC dc, int x, int y, int index, int state, int level) {
  DrawEntry(cache, dc, x, y, index, state, true, level);
}

std::uint8_t GetCachedImageAlpha(const ImageCache* cache, int index, int x, int y) {
  if (!Usable(cache, index)) return 0;
  const ImageCacheEntry& e = cache->entries[static_cast<std::size_t>(index)];
  if (x < 0 || y < 0 || static_cast<std::uint32_t>(x) >= e.width || static_cast<std::uint32_t>(y) >= e.height) return 0;
  return e.alpha[static_cast<std::size_t>(y) * e.width + static_cast<std::size_t>(x)];
}

void GetCachedImageSize(const ImageCache* cache, int index, int* width, int* height) {
  const bool ok = Usable(cache, index);
  if (width) *width = ok ? static_cast<int>(cache->entries[static_cast<std::size_t>(index)].width) : 0;
  if (height) *height = ok ? static_cast<int>(cache->entries[static_cast<std::size_t>(index)].height) : 0;
}

void DestroyImageCache(ImageCache* cache) {
  if (!cache) return;
  ReleaseWorkBitmap(cache);
  delete cache;
}

HBITMAP CreateDIB32(HDC dc, int width, int height, HBITMAP* bitmap, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  HBITMAP made = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap) *bitmap = made;
  if (bits) *bits = made ? pixels : nullptr;
  return made;
}
