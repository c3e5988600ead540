#include "geometry/plane_bitmaps.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "geometry/layer_colours.h"
#include "geometry/raster_state.h"
#include "platform/reset_hooks.h"

namespace pl3 {
namespace {

// The plane every DIB-section surface draws into, and the surfaces that use it.
struct SharedPlane {
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HBITMAP previous = nullptr;
  std::uint32_t* bits = nullptr;
  std::uint32_t words = 0;
  std::vector<PlaneBitmap*> users;
};
SharedPlane gShared;

// Larger surfaces are refused rather than allocated: no view comes near.
constexpr std::uint64_t kMaxSide = 1u << 20;
constexpr std::uint64_t kMaxWords = 1u << 28;

void FreeSharedPlane() {
  if (gShared.dc) {
    SelectObject(gShared.dc, gShared.previous);
    DeleteDC(gShared.dc);
  }
  if (gShared.bitmap) DeleteObject(gShared.bitmap);
  gShared = SharedPlane{};
}
const bool gRegistered = RegisterGlobalReset(&FreeSharedPlane);

std::uint32_t HeaderWidth(const PlaneBitmap& s) { return static_cast<std::uint32_t>(s.header->bmiHeader.biWidth); }

// Rounds the width and builds the header: two colours (black, white) for one
// bit per pixel, else 256 (the bitmap quads, the rest 0).
BITMAPINFO* BuildHeader(PlaneBitmap& s, std::uint32_t extraWidth, std::uint16_t bitCount, std::uint32_t alignment) {
  if (alignment) s.width = (s.width + alignment - 1) & ~(alignment - 1);
  const std::uint64_t headerWidth = std::uint64_t{s.width} + extraWidth;
  if (headerWidth > kMaxSide || s.height > kMaxSide || headerWidth * s.height > kMaxWords) return nullptr;
  const std::uint32_t colours = bitCount == 1 ? 2 : 256;
  auto* header = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD)));
  if (!header) return nullptr;
  BITMAPINFOHEADER& h = header->bmiHeader;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = static_cast<LONG>(s.width + extraWidth);
  h.biHeight = static_cast<LONG>(s.height);
  h.biPlanes = 1;
  h.biBitCount = bitCount;
  h.biCompression = BI_RGB;
  if (bitCount == 1) {
    header->bmiColors[1] = {255, 255, 255, 0};
  } else {
    std::memcpy(header->bmiColors, BitmapColourQuads, sizeof BitmapColourQuads);
  }
  return header;
}

HDC NewMemoryDC(HDC dc) {
  HDC memory = CreateCompatibleDC(dc);
  if (memory && ProgramPalette) SelectPalette(memory, ProgramPalette, FALSE);
  return memory;
}

// Makes or grows the shared plane to hold `words`, re-binding its users.
bool EnsureSharedPlane(HDC dc, const BITMAPINFO& like, std::uint32_t words) {
  if (gShared.bits && gShared.words >= words) return true;
  BITMAPINFO header{};
  header.bmiHeader = like.bmiHeader;
  header.bmiHeader.biBitCount = 32;
  if (gShared.bits) {
    // Keep the larger of the old and new shapes so that every user still fits.
    const std::uint32_t width = static_cast<std::uint32_t>(header.bmiHeader.biWidth);
    header.bmiHeader.biHeight = static_cast<LONG>((words + width - 1) / width);
  }
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = bitmap ? CreateCompatibleDC(dc) : nullptr;
  if (!bitmap || !bits || !memory) {
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  std::vector<PlaneBitmap*> users = std::move(gShared.users);
  FreeSharedPlane();
  gShared.bitmap = bitmap;
  gShared.dc = memory;
  gShared.previous = SelectObject(memory, bitmap);
  gShared.bits = static_cast<std::uint32_t*>(bits);
  gShared.words = words;
  gShared.users = std::move(users);
  for (PlaneBitmap* user : gShared.users) {
    if (g_raster.plane == user->plane) g_raster.plane = gShared.bits;
    user->plane = gShared.bits;
  }
  return true;
}

void Unbind(PlaneBitmap* s) { std::erase(gShared.users, s); }

void ReleaseContext(PlaneBitmap* s) {
  if (s->memoryDC) {
    if (s->previousObject) SelectObject(s->memoryDC, s->previousObject);
    DeleteDC(s->memoryDC);
  }
  if (s->bitmap) DeleteObject(s->bitmap);
  std::free(s->header);
  s->memoryDC = nullptr;
  s->previousObject = nullptr;
  s->bitmap = nullptr;
  s->header = nullptr;
}

void Abandon(PlaneBitmap* s, bool privateBuffers) {
  ReleaseContext(s);
  if (privateBuffers) {
    std::free(s->colourBuffer);
    std::free(s->plane);
  }
  s->colourBuffer = nullptr;
  s->plane = nullptr;
}

}  // namespace

void SetPlaneBitmapSize(PlaneBitmap* surface) {
  surface->width = static_cast<std::uint32_t>(std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1));
  surface->height = static_cast<std::uint32_t>(std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1));
}

int CreatePlaneBitmap(HDC dc, PlaneBitmap* s, std::uint32_t extraWidth, std::uint16_t bitCount,
                      std::uint32_t alignment) {
  s->header = BuildHeader(*s, extraWidth, bitCount, alignment);
  if (!s->header) return 0;
  const std::size_t words = std::size_t{HeaderWidth(*s)} * s->height;
  s->colourBuffer = static_cast<std::uint32_t*>(std::calloc(words ? words : 1, 4));
  s->plane = static_cast<std::uint32_t*>(std::calloc(words ? words : 1, 4));
  s->memoryDC = s->colourBuffer && s->plane ? NewMemoryDC(dc) : nullptr;
  s->bitmap = s->memoryDC ? CreateDIBitmap(dc, &s->header->bmiHeader, CBM_INIT, s->colourBuffer, s->header,
                                           DIB_RGB_COLORS)
                          : nullptr;
  if (!s->bitmap) {
    Abandon(s, true);
    return 0;
  }
  s->previousObject = SelectObject(s->memoryDC, s->bitmap);
  return 1;
}

int CreatePlaneDIBSection(HDC dc, PlaneBitmap* s, std::uint32_t extraWidth, std::uint16_t bitCount,
                          std::uint32_t alignment) {
  s->header = BuildHeader(*s, extraWidth, bitCount, alignment);
  if (!s->header) return 0;
  const std::uint32_t words = HeaderWidth(*s) * s->height;
  if (!EnsureSharedPlane(dc, *s->header, words)) {
    Abandon(s, false);
    return 0;
  }
  void* bits = nullptr;
  s->bitmap = CreateDIBSection(dc, s->header, DIB_RGB_COLORS, &bits, nullptr, 0);
  s->memoryDC = s->bitmap && bits ? NewMemoryDC(dc) : nullptr;
  if (!s->memoryDC) {
    Abandon(s, false);
    return 0;
  }
  s->colourBuffer = static_cast<std::uint32_t*>(bits);
  s->plane = gShared.bits;
  s->previousObject = SelectObject(s->memoryDC, s->bitmap);
  gShared.users.push_back(s);
  return 1;
}

int AttachRasterToBitmap(PlaneBitmap* s, ViewClip* clip) {
  const auto w = static_cast<std::int32_t>(s->width);
  const auto h = static_cast<std::int32_t>(s->height);
  *clip = {0, 0, w - 1, h - 1, w, h};
  g_raster.clip = clip;
  g_raster.colourBuffer = s->colourBuffer;
  g_raster.plane = s->plane;
  g_raster.colourTable1 = CurrentLayerColourMix();
  g_raster.colourTable3 = CurrentNamedColourTable();
  g_raster.width = s->header ? HeaderWidth(*s) : s->width;
  g_raster.height = s->header ? static_cast<std::uint32_t>(s->header->bmiHeader.biHeight) : s->height;
  g_raster.rasterOp = 0;
  g_raster.trackOutlineMode = 0;
  if (s->plane) ClearPlaneToBackground();
  return 1;
}

void BlitPlaneBitmap(HDC dc, const PlaneBitmap* s) {
  if (!s->header || !s->colourBuffer) return;
  const int w = s->header->bmiHeader.biWidth;
  const int h = s->header->bmiHeader.biHeight;
  StretchDIBits(dc, 0, 0, w, h, 0, 0, w, h, s->colourBuffer, s->header, DIB_RGB_COLORS, SRCCOPY);
}

void FreePlaneBitmap(PlaneBitmap* s) {
  const bool shared = s->plane && s->plane == gShared.bits;
  const bool section = std::find(gShared.users.begin(), gShared.users.end(), s) != gShared.users.end();
  Unbind(s);
  ReleaseContext(s);
  // A DIB section's bits went with its bitmap.
  if (!section) std::free(s->colourBuffer);
  if (!shared) std::free(s->plane);
  s->colourBuffer = nullptr;
  s->plane = nullptr;
}

void ReleasePlaneBitmapDC(PlaneBitmap* s) {
  const bool section = std::find(gShared.users.begin(), gShared.users.end(), s) != gShared.users.end();
  Unbind(s);
  ReleaseContext(s);
  // A DIB section's bits went with its bitmap: nothing may write them now.
  if (section) s->colourBuffer = nullptr;
}

std::uint32_t SharedPlaneWords() { return gShared.words; }

}  // namespace pl3
