// Bitmaps, device-independent bitmaps, block transfers with raster
// operations, scrolling, and PNG files through FreeImage.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi_internal.h"
#include "platform/image_files.h"

namespace pl3::gdi {
namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;
constexpr long long kMaxPixels = 1LL << 28;  // 1 GiB of 32-bit pixels

// A readable image: direct 32-bit rows, or DIB rows converted on the fly.
struct Source {
  int width = 0;
  int height = 0;
  const std::uint32_t* base = nullptr;  // row `firstRow` of direct rows
  std::ptrdiff_t stride = 0;            // in pixels
  int firstRow = 0;                     // rows above it are not held (a detached copy)
  const std::uint8_t* bits = nullptr;   // DIB rows
  int strideBytes = 0;
  bool topDown = true;
  int bitsPerPixel = 32;
  DWORD compression = BI_RGB;
  std::vector<std::uint32_t> palette;

  // Pixels [x, x + n) of row y (top-based); the pointer stays valid until the next call.
  const std::uint32_t* Row(int y, int x, int n, std::vector<std::uint32_t>& scratch) const {
    if (base) return base + static_cast<std::ptrdiff_t>(y - firstRow) * stride + x;
    scratch.resize(n);
    const int stored = topDown ? y : height - 1 - y;
    ConvertDibRow(bits + static_cast<std::ptrdiff_t>(stored) * strideBytes, bitsPerPixel, compression,
                  palette.data(), static_cast<int>(palette.size()), x, n, scratch.data());
    return scratch.data();
  }
};

std::uint32_t* RowOf(const PixelSurface& s, int y) { return s.pixels + static_cast<std::ptrdiff_t>(y) * s.stride; }

Source FromSurface(const PixelSurface& s) {
  Source src;
  src.width = s.width;
  src.height = s.height;
  src.base = s.pixels;
  src.stride = s.stride;
  return src;
}

// A DIB described by a header and its bits. 32-bit DIBs are read directly.
bool FromDib(Source& src, const Dc* dc, const BITMAPINFO* info, UINT usage, const void* bits) {
  if (!info || !bits || !DibFormatSupported(info->bmiHeader)) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  src.width = h.biWidth;
  src.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  src.topDown = h.biHeight < 0;
  src.bitsPerPixel = h.biBitCount;
  src.compression = h.biCompression;
  src.strideBytes = DibStrideBytes(h.biWidth, h.biBitCount);
  src.bits = static_cast<const std::uint8_t*>(bits);
  if (h.biBitCount == 32) {
    const auto* words = static_cast<const std::uint32_t*>(bits);
    const std::ptrdiff_t rowWords = src.strideBytes / 4;
    src.base = src.topDown ? words : words + (src.height - 1) * rowWords;
    src.stride = src.topDown ? rowWords : -rowWords;
  } else {
    src.palette = DibPalette(dc, info, usage);
  }
  return true;
}

bool FromDc(Source& src, Dc& dc) {
  if (PixelSurface* s = TargetSurface(dc)) {
    src = FromSurface(*s);
    return true;
  }
  Bitmap* b = dc.memory ? dc.st.bitmap : nullptr;
  if (!b || !b->isDib) return false;
  src.width = b->width;
  src.height = b->height;
  src.topDown = b->topDown;
  src.bitsPerPixel = b->bitsPerPixel;
  src.compression = b->header.biCompression;
  src.strideBytes = b->strideBytes;
  src.bits = reinterpret_cast<const std::uint8_t*>(b->storage.data());
  for (const RGBQUAD& q : b->colours) src.palette.push_back((q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue);
  return true;
}

bool UsesSource(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFF;
  return (((t >> 2) ^ t) & 0x33) != 0;
}

void CombineRow(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t pattern, DWORD rop) {
  switch ((rop >> 16) & 0xFF) {
    case 0xCC: std::memmove(d, s, n * sizeof(std::uint32_t)); return;
    case 0xEE:
      for (int i = 0; i < n; ++i) d[i] |= s[i] & kRgbMask;
      return;
    case 0x88:
      for (int i = 0; i < n; ++i) d[i] &= s[i];
      return;
    case 0x66:
      for (int i = 0; i < n; ++i) d[i] ^= s[i] & kRgbMask;
      return;
    default:
      for (int i = 0; i < n; ++i) d[i] = Rop3Pixel(pattern, s[i] & kRgbMask, d[i], rop);
  }
}

// Copies the source rows a blit will read (rows ys to ys + hs) when source
// and destination share memory, so that overlapping moves read the old pixels.
std::vector<std::uint32_t> DetachIfShared(Source& src, const PixelSurface& dst, int ys, int hs) {
  std::vector<std::uint32_t> copy;
  if (!src.base || src.base != dst.pixels) return copy;
  const int r0 = std::max(ys, 0), r1 = std::min(ys + hs, src.height);
  copy.resize(static_cast<std::size_t>(src.width) * std::max(r1 - r0, 0));
  for (int y = r0; y < r1; ++y) {
    std::memcpy(copy.data() + static_cast<std::size_t>(y - r0) * src.width, src.base + y * src.stride,
                src.width * sizeof(std::uint32_t));
  }
  src.base = copy.data();
  src.stride = src.width;
  src.firstRow = r0;
  return copy;
}

// A straight copy of whole rows between two row-contiguous images, as one
// block: large copies then run at the speed of memcpy's streaming stores.
bool CopyWholeRows(const PixelSurface& dst, const RECT& part, const Source& src, int dx, int dy, DWORD rop) {
  const int w = part.right - part.left;
  if (rop != SRCCOPY || !src.base || part.left != 0 || dx != 0 || w != dst.width || w != src.width) return false;
  if (dst.stride != w || src.stride != w) return false;
  if (part.top + dy < 0 || part.bottom + dy > src.height) return false;
  std::memmove(RowOf(dst, part.top), src.base + static_cast<std::ptrdiff_t>(part.top + dy - src.firstRow) * w,
               static_cast<std::size_t>(w) * (part.bottom - part.top) * sizeof(std::uint32_t));
  return true;
}

// The one transfer routine: destination rectangle (surface pixels) from
// source rectangle, nearest-pixel scaling, negative sizes mirror.
bool Transfer(Dc& dst, int x, int y, int w, int h, Source src, int xs, int ys, int ws, int hs, DWORD rop) {
  PixelSurface* surface = TargetSurface(dst);
  if (!surface) return false;
  if (w == 0 || h == 0 || ws == 0 || hs == 0) return true;
  // Sizes and source corners within the coordinate range keep the sums below in int.
  w = ClampCoord(w), h = ClampCoord(h), ws = ClampCoord(ws), hs = ClampCoord(hs);
  xs = ClampCoord(xs), ys = ClampCoord(ys);
  bool mirrorX = false, mirrorY = false;
  if (w < 0) x += w, w = -w, mirrorX = !mirrorX;
  if (h < 0) y += h, h = -h, mirrorY = !mirrorY;
  if (ws < 0) xs += ws, ws = -ws, mirrorX = !mirrorX;
  if (hs < 0) ys += hs, hs = -hs, mirrorY = !mirrorY;
  const std::vector<std::uint32_t> detached = DetachIfShared(src, *surface, ys, hs);
  std::uint32_t pattern = 0;
  if (dst.st.brush && dst.st.brush->style != BS_NULL) {
    pattern = ColourToPixel(dst, dst.st.brush->dcBrush ? dst.st.dcBrushColour : dst.st.brush->colour);
  }
  const bool oneToOne = w == ws && h == hs && !mirrorX && !mirrorY;
  const RECT area{x, y, x + w, y + h};
  std::vector<std::uint32_t> scratch, mapped;
  for (const RECT& c : EffectiveClip(dst).rects) {
    RECT part;
    if (!IntersectRect(&part, &c, &area)) continue;
    if (oneToOne && CopyWholeRows(*surface, part, src, xs - x, ys - y, rop)) continue;
    for (int dy = part.top; dy < part.bottom; ++dy) {
      long long ry = static_cast<long long>(dy - y) * hs / h;
      if (!oneToOne) ry = ((2LL * (dy - y) + 1) * hs) / (2LL * h);
      const long long sy = ys + (mirrorY ? hs - 1 - ry : ry);
      if (sy < 0 || sy >= src.height) continue;
      std::uint32_t* drow = RowOf(*surface, dy);
      if (oneToOne) {
        const int sx0 = std::max<int>(xs + (part.left - x), 0);
        const int sx1 = std::min<int>(xs + (part.right - x), src.width);
        if (sx0 >= sx1) continue;
        const std::uint32_t* srow = src.Row(static_cast<int>(sy), sx0, sx1 - sx0, scratch);
        CombineRow(drow + x + (sx0 - xs), srow, sx1 - sx0, pattern, rop);
        continue;
      }
      const std::uint32_t* srow = src.Row(static_cast<int>(sy), 0, src.width, scratch);
      mapped.clear();
      int runStart = -1;
      for (int dx = part.left; dx <= part.right; ++dx) {
        long long sx = -1;
        if (dx < part.right) {
          const long long rx = ((2LL * (dx - x) + 1) * ws) / (2LL * w);
          sx = xs + (mirrorX ? ws - 1 - rx : rx);
        }
        if (sx >= 0 && sx < src.width) {
          if (runStart < 0) runStart = dx;
          mapped.push_back(srow[sx]);
          continue;
        }
        if (runStart >= 0) {
          CombineRow(drow + runStart, mapped.data(), static_cast<int>(mapped.size()), pattern, rop);
          mapped.clear();
          runStart = -1;
        }
      }
    }
  }
  return true;
}

Bitmap* NewBitmap32(int width, int height) {
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxPixels) return nullptr;
  auto* b = new Bitmap;
  b->width = width;
  b->height = height;
  b->strideBytes = width * 4;
  b->storage.assign(static_cast<std::size_t>(width) * height, 0);
  b->surface = PixelSurface{b->storage.data(), width, height, width};
  b->header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB,
                               static_cast<DWORD>(width * height * 4), 0, 0, 0, 0};
  Register(b);
  return b;
}

Bitmap* SelectedBitmap(HDC handle) {
  Dc* dc = GetDc(handle);
  return dc && dc->memory ? dc->st.bitmap : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// DIB formats

bool DibFormatSupported(const BITMAPINFOHEADER& h) {
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return false;
  const long long rows = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (static_cast<long long>(h.biWidth) * rows > kMaxPixels) return false;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 24: return h.biCompression == BI_RGB;
    case 16: case 32: return h.biCompression == BI_RGB || h.biCompression == BI_BITFIELDS;
    default: return false;
  }
}

int DibStrideBytes(int width, int bitsPerPixel) {
  return static_cast<int>(((static_cast<long long>(width) * bitsPerPixel + 31) / 32) * 4);
}

std::vector<std::uint32_t> DibPalette(const Dc* dc, const BITMAPINFO* info, UINT usage) {
  std::vector<std::uint32_t> out;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount > 8) return out;
  const unsigned full = 1u << h.biBitCount;
  const unsigned count = h.biClrUsed ? std::min<unsigned>(h.biClrUsed, full) : full;
  const auto* table = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
  for (unsigned i = 0; i < count; ++i) {
    if (usage == DIB_PAL_COLORS) {
      WORD index;
      std::memcpy(&index, table + i * sizeof(WORD), sizeof index);
      out.push_back(dc ? ColourToPixel(*dc, PALETTEINDEX(index)) : 0);
    } else {
      RGBQUAD q;
      std::memcpy(&q, table + i * sizeof(RGBQUAD), sizeof q);
      out.push_back((q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue);
    }
  }
  return out;
}

void ConvertDibRow(const std::uint8_t* row, int bpp, DWORD compression, const std::uint32_t* palette, int paletteSize,
                   int x, int n, std::uint32_t* out) {
  auto lookup = [&](unsigned i) { return static_cast<int>(i) < paletteSize ? palette[i] : 0u; };
  for (int i = 0; i < n; ++i) {
    const int px = x + i;
    switch (bpp) {
      case 1: out[i] = lookup((row[px >> 3] >> (7 - (px & 7))) & 1); break;
      case 4: out[i] = lookup((px & 1) ? (row[px >> 1] & 0x0F) : (row[px >> 1] >> 4)); break;
      case 8: out[i] = lookup(row[px]); break;
      case 16: {
        const unsigned v = row[2 * px] | (row[2 * px + 1] << 8);
        unsigned r, g, b;
        if (compression == BI_BITFIELDS) {  // 5-6-5
          r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
          g = (g << 2) | (g >> 4);
        } else {  // 5-5-5
          r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
          g = (g << 3) | (g >> 2);
        }
        out[i] = (((r << 3) | (r >> 2)) << 16) | (g << 8) | ((b << 3) | (b >> 2));
        break;
      }
      case 24: out[i] = (row[3 * px + 2] << 16) | (row[3 * px + 1] << 8) | row[3 * px]; break;
      default: {
        std::uint32_t v;
        std::memcpy(&v, row + 4 * px, 4);
        out[i] = v & kRgbMask;
      }
    }
  }
}

}  // namespace pl3::gdi

using namespace pl3::gdi;
using pl3::PixelSurface;

// ---------------------------------------------------------------------------
// Bitmaps

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) width = height = 1;
  return ToHandle<HBITMAP>(NewBitmap32(width, height));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) return nullptr;
  Bitmap* b = NewBitmap32(width, height);
  if (!b) return nullptr;
  b->bitsPerPixel = static_cast<int>(bitsPerPixel);
  if (!bits) return ToHandle<HBITMAP>(b);
  const auto* src = static_cast<const std::uint8_t*>(bits);
  // Device-dependent rows are top-down and padded to two bytes.
  const int rowBytes = bitsPerPixel == 1 ? ((width + 15) / 16) * 2 : width * 4;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = src + static_cast<std::ptrdiff_t>(y) * rowBytes;
    std::uint32_t* out = b->surface.pixels + static_cast<std::ptrdiff_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      if (bitsPerPixel == 1) {
        out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? kRgbMask : 0;
      } else {
        std::uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        out[x] = v & kRgbMask;
      }
    }
  }
  return ToHandle<HBITMAP>(b);
}

HBITMAP CreateDIBSection(HDC handle, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || !DibFormatSupported(info->bmiHeader)) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  auto* b = new Bitmap;
  b->isDib = true;
  b->width = h.biWidth;
  b->height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  b->topDown = h.biHeight < 0;
  b->bitsPerPixel = h.biBitCount;
  b->strideBytes = DibStrideBytes(b->width, b->bitsPerPixel);
  b->storage.assign(static_cast<std::size_t>(b->strideBytes / 4) * b->height, 0);
  b->header = h;
  b->header.biSize = sizeof(BITMAPINFOHEADER);
  b->header.biSizeImage = static_cast<DWORD>(b->strideBytes * b->height);
  for (std::uint32_t p : DibPalette(GetDc(handle), info, usage)) {
    b->colours.push_back(RGBQUAD{static_cast<BYTE>(p & 0xFF), static_cast<BYTE>((p >> 8) & 0xFF),
                                 static_cast<BYTE>((p >> 16) & 0xFF), 0});
  }
  if (b->bitsPerPixel == 32) {
    std::uint32_t* data = b->storage.data();
    const int w = b->width;
    b->surface = b->topDown ? PixelSurface{data, w, b->height, w}
                            : PixelSurface{data + static_cast<std::ptrdiff_t>(b->height - 1) * w, w, b->height, -w};
  }
  Register(b);
  if (bits) *bits = b->Bits();
  return ToHandle<HBITMAP>(b);
}

HBITMAP CreateDIBitmap(HDC handle, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
  if (!header) return nullptr;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  Bitmap* b = NewBitmap32(header->biWidth, height);
  if (!b || !(init & CBM_INIT)) return ToHandle<HBITMAP>(b);
  Source src;
  if (!FromDib(src, GetDc(handle), info, usage, bits)) return ToHandle<HBITMAP>(b);
  std::vector<std::uint32_t> scratch;
  const int w = std::min(src.width, b->width);
  for (int y = 0; y < std::min(src.height, b->height); ++y) {
    std::memcpy(b->surface.pixels + static_cast<std::ptrdiff_t>(y) * b->width, src.Row(y, 0, w, scratch),
                w * sizeof(std::uint32_t));
  }
  return ToHandle<HBITMAP>(b);
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
  Bitmap* b = GetBitmapObject(AsObj(bitmap));
  if (!b || !b->surface.pixels || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (!bits) {
    h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), b->width, b->height, 1, 32, BI_RGB,
                         static_cast<DWORD>(b->width * b->height * 4), 0, 0, 0, 0};
    return 1;
  }
  if (h.biBitCount != 32 || h.biWidth != b->width || h.biCompression != BI_RGB) return 0;
  const bool topDown = h.biHeight < 0;
  const UINT height = static_cast<UINT>(b->height);
  if (start >= height) return 0;
  lines = std::min(lines, height - start);
  auto* out = static_cast<std::uint32_t*>(bits);
  for (UINT k = 0; k < lines; ++k) {
    const UINT scan = start + k;
    const int row = topDown ? static_cast<int>(scan) : static_cast<int>(height - 1 - scan);
    std::memcpy(out + static_cast<std::size_t>(k) * b->width, RowOf(b->surface, row), b->width * sizeof(std::uint32_t));
  }
  return static_cast<int>(lines);
}

UINT GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD* out) {
  Bitmap* b = SelectedBitmap(handle);
  if (!b || !out || start >= b->colours.size()) return 0;
  const UINT n = std::min<UINT>(count, static_cast<UINT>(b->colours.size()) - start);
  std::copy_n(b->colours.begin() + start, n, out);
  return n;
}

UINT SetDIBColorTable(HDC handle, UINT start, UINT count, const RGBQUAD* colours) {
  Bitmap* b = SelectedBitmap(handle);
  if (!b || !colours || start >= b->colours.size()) return 0;
  const UINT n = std::min<UINT>(count, static_cast<UINT>(b->colours.size()) - start);
  std::copy_n(colours, n, b->colours.begin() + start);
  return n;
}

// ---------------------------------------------------------------------------
// Transfers

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop) {
  Dc* d = GetDc(dst);
  if (!d) return FALSE;
  if (!UsesSource(rop)) return PatBlt(dst, x, y, width, height, rop);
  Dc* s = GetDc(src);
  Source source;
  if (!s || !FromDc(source, *s)) return FALSE;
  const POINT dp = ToSurface(*d, x, y);
  const POINT sp = ToSurface(*s, xSrc, ySrc);
  return Transfer(*d, dp.x, dp.y, width, height, source, sp.x, sp.y, wSrc, hSrc, rop);
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(dst, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

int StretchDIBits(HDC handle, int x, int y, int width, int height, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  Dc* dc = GetDc(handle);
  Source src;
  if (!dc || !FromDib(src, dc, info, usage, bits)) return 0;
  // Bottom-up DIBs count source rows from the bottom.
  const LONG top = src.topDown ? ySrc : ClampCoord(static_cast<long long>(src.height) - ySrc - hSrc);
  const POINT dp = ToSurface(*dc, x, y);
  if (!Transfer(*dc, dp.x, dp.y, width, height, src, xSrc, top, wSrc, hSrc, rop)) return 0;
  return hSrc < 0 ? -hSrc : hSrc;
}

int SetDIBitsToDevice(HDC handle, int x, int y, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  Dc* dc = GetDc(handle);
  if (!dc || !info || lines == 0) return 0;
  // The bits hold `lines` scans from `startScan` on: describe them as a DIB of their own.
  const LONG fullHeight = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  if (startScan >= static_cast<UINT>(fullHeight)) return 0;
  lines = std::min<UINT>(lines, fullHeight - startScan);
  const bool topDown = info->bmiHeader.biHeight < 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  std::size_t tableBytes = 0;
  if (h.biBitCount <= 8) {
    const std::size_t colours = h.biClrUsed ? std::min<std::size_t>(h.biClrUsed, 1u << h.biBitCount) : 1u << h.biBitCount;
    tableBytes = colours * (usage == DIB_PAL_COLORS ? sizeof(WORD) : sizeof(RGBQUAD));
  } else if (h.biCompression == BI_BITFIELDS) {
    tableBytes = 3 * sizeof(DWORD);
  }
  if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  const auto* raw = reinterpret_cast<const std::uint8_t*>(info);
  std::vector<std::uint8_t> header(raw, raw + h.biSize + tableBytes);
  auto* part = reinterpret_cast<BITMAPINFO*>(header.data());
  part->bmiHeader.biHeight = topDown ? -static_cast<LONG>(lines) : static_cast<LONG>(lines);
  Source src;
  if (!FromDib(src, dc, part, usage, bits)) return 0;
  // Source rows of the whole image, from the top, that these scans hold.
  const int firstRow = topDown ? static_cast<int>(startScan) : fullHeight - static_cast<int>(startScan + lines);
  const int srcTop = topDown ? ySrc : fullHeight - ySrc - static_cast<int>(height);
  const int rowsTop = std::max(srcTop, firstRow);
  const int rowsBottom = std::min(srcTop + static_cast<int>(height), firstRow + static_cast<int>(lines));
  if (rowsTop >= rowsBottom) return static_cast<int>(lines);
  const POINT dp = ToSurface(*dc, x, y + (rowsTop - srcTop));
  const int w = static_cast<int>(width), rows = rowsBottom - rowsTop;
  Transfer(*dc, dp.x, dp.y, w, rows, src, xSrc, rowsTop - firstRow, w, rows, SRCCOPY);
  return static_cast<int>(lines);
}

BOOL ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateBox) {
  Dc* dc = GetDc(handle);
  if (!dc) return FALSE;
  PixelSurface* s = TargetSurface(*dc);
  if (!s) return FALSE;
  const POINT shift = SurfaceShift(*dc);
  Region visible = EffectiveClip(*dc);
  auto toSurface = [&](const RECT* rc) {
    if (!rc) return visible.Box();
    RECT r = *rc;
    OffsetRect(&r, shift.x, shift.y);
    return r;
  };
  const RECT scrollRc = toSurface(scroll), clipRc = toSurface(clip);
  RECT limit;
  IntersectRect(&limit, &scrollRc, &clipRc);
  const Region area =
      CombineRegions(visible, Region::FromRect(limit.left, limit.top, limit.right, limit.bottom), RegionOp::kAnd);
  Region moved = area;
  moved.Offset(dx, dy);
  moved = CombineRegions(moved, area, RegionOp::kAnd);
  // Copy through a snapshot so overlapping rows read the old pixels.
  const RECT box = area.Box();
  const int bw = box.right - box.left;
  std::vector<std::uint32_t> snapshot(static_cast<std::size_t>(std::max(bw, 0)) * (box.bottom - box.top));
  for (int y = box.top; y < box.bottom; ++y) {
    std::memcpy(snapshot.data() + static_cast<std::size_t>(y - box.top) * bw, RowOf(*s, y) + box.left,
                bw * sizeof(std::uint32_t));
  }
  for (const RECT& rc : moved.rects) {
    for (int y = rc.top; y < rc.bottom; ++y) {
      const std::uint32_t* from =
          snapshot.data() + static_cast<std::size_t>(y - dy - box.top) * bw + (rc.left - dx - box.left);
      std::memcpy(RowOf(*s, y) + rc.left, from, (rc.right - rc.left) * sizeof(std::uint32_t));
    }
  }
  Region uncovered = CombineRegions(area, moved, RegionOp::kDiff);
  uncovered.Offset(-dc->origin.x, -dc->origin.y);
  if (RegionObject* r = GetRegionObject(update)) r->region = uncovered;
  if (updateBox) {
    *updateBox = uncovered.Box();
    const POINT toLogical{dc->st.windowOrg.x - dc->st.viewportOrg.x, dc->st.windowOrg.y - dc->st.viewportOrg.y};
    if (!uncovered.Empty()) OffsetRect(updateBox, toLogical.x, toLogical.y);
  }
  return TRUE;
}

// ---------------------------------------------------------------------------
// Images

bool pl3::SaveSurfacePng(const PixelSurface& surface, const char* path) {
  return WritePngFile(surface.pixels, surface.width, surface.height, surface.stride, path);
}

HBITMAP pl3::CreateDibFromPixels(const std::uint32_t* pixels, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) std::memcpy(bits, pixels, static_cast<std::size_t>(width) * height * sizeof(std::uint32_t));
  return bitmap;
}

HBITMAP pl3::LoadImageAsBitmap(const char* path) {
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  if (!ReadImageFile(path, pixels, w, h)) return nullptr;
  return CreateDibFromPixels(pixels.data(), w, h);
}

const PixelSurface* pl3::GetBitmapSurface(HBITMAP bitmap) {
  Bitmap* b = GetBitmapObject(AsObj(bitmap));
  return b && b->surface.pixels ? &b->surface : nullptr;
}
