// The image cache: small images with per-pixel alpha (toolbars, panes,
// owner-drawn menus, the layer stack-up view), decoded once from the
// program's resources into separate colour and alpha planes with a disabled
// and a highlighted variant, and drawn by blending in software into a work
// bitmap kept selected in a memory device context.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gdi.h"

// One cached image. Every plane holds the rows bottom row first, like the
// DIB pixels it comes from; colour planes are blue, green, red.
struct ImageCacheEntry {
  std::uint32_t resourceId;
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t bitDepth;  // always 32
  std::vector<std::uint8_t> alpha;        // width * height
  std::vector<std::uint8_t> normal;       // width * height * 3
  std::vector<std::uint8_t> disabled;     // grey
  std::vector<std::uint8_t> highlighted;  // gamma-shifted
};

// The drawing states: which colour plane is drawn.
constexpr int kImageNormal = 0;
constexpr int kImageDisabled = 1;
constexpr int kImageHighlighted = 2;

struct ImageCache {
  std::vector<ImageCacheEntry> entries;  // the count is entries.size()
  std::uint32_t largestWidth;
  std::uint32_t largestHeight;
  // The work bitmap: a 32-bit DIB section of the largest width by the largest
  // height, bottom row first, selected into memoryDC.
  HBITMAP workBitmap;
  std::uint32_t* workBits;
  HDC memoryDC;
  HBITMAP previousBitmap;  // what memoryDC held before the work bitmap
};

ImageCache* NewImageCache();
// Appends one entry per image of the RT_GROUP_ICON group with 32 bits per
// pixel and exactly the size. 0 when the program has no such group; 1
// otherwise, also when nothing matched.
int AddIconToImageCache(ImageCache* cache, std::uint32_t iconId, int width, int height);
// Appends the bitmap resource loaded at the size; pixels of the key colour
// (0xRRGGBB) are transparent. The highlighted plane is each channel raised
// to `gamma`. 1 when added, 0 when the bitmap is missing.
int AddBitmapToImageCache(ImageCache* cache, std::uint32_t bitmapId, int width, int height, std::uint32_t keyColour,
                          double gamma);
// Appends the resource of type "PNG" with the id; nothing when it is missing
// or does not decode. 1 when added, else 0.
int AddPngToImageCache(ImageCache* cache, std::uint32_t resourceId);
// Sizes the work bitmap to the largest entry and selects it into a memory
// context made on the screen's. May be called again: an entry added later
// that is larger than the work bitmap makes the cache prepare itself again.
void PrepareImageCache(ImageCache* cache);
// The 1-based number of the first entry with the id and size; 0 when none.
int FindCachedImage(const ImageCache* cache, std::uint32_t id, int width, int height);
// Blends entry `index` (from 0) in the state's plane onto the context at (x, y).
void DrawCachedImage(ImageCache* cache, HDC dc, int x, int y, int index, int state);
// The same with every non-zero alpha a drawn as (a + level) / 2.
void DrawCachedImageFaded(ImageCache* cache, HDC dc, int x, int y, int index, int state, int level);
// The alpha of pixel (x, y), y counted from the bottom row; 0 outside the image.
std::uint8_t GetCachedImageAlpha(const ImageCache* cache, int index, int x, int y);
// The entry's size; 0 by 0 for an index that names no entry.
void GetCachedImageSize(const ImageCache* cache, int index, int* width, int* height);
// Frees the entries, the work bitmap and memory context, and the cache.
void DestroyImageCache(ImageCache* cache);

// A 32-bit bottom-up DIB section of the size (a 40-byte BITMAPINFOHEADER,
// one plane, no compression); also returned through `bitmap`, with its pixels
// through `bits`. Null when it cannot be made.
HBITMAP CreateDIB32(HDC dc, int width, int height, HBITMAP* bitmap, void** bits);
