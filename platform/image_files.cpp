#include "platform/image_files.h"

#include <FreeImage.h>

namespace pl3 {

bool WritePngFile(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, const char* path) {
  if (!path || !pixels || width <= 0 || height <= 0) return false;
  FIBITMAP* image = FreeImage_Allocate(width, height, 24);
  if (!image) return false;
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(image, height - 1 - y);  // FreeImage rows run bottom-up
    const std::uint32_t* row = pixels + y * stride;
    for (int x = 0; x < width; ++x) {
      line[3 * x + FI_RGBA_RED] = static_cast<BYTE>(row[x] >> 16);
      line[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(row[x] >> 8);
      line[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(row[x]);
    }
  }
  const bool ok = FreeImage_Save(FIF_PNG, image, path, PNG_DEFAULT) != 0;
  FreeImage_Unload(image);
  return ok;
}

bool ReadImageFile(const char* path, std::vector<std::uint32_t>& pixels, int& width, int& height) {
  if (!path) return false;
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path);
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return false;
  FIBITMAP* loaded = FreeImage_Load(format, path, 0);
  if (!loaded) return false;
  FIBITMAP* image = FreeImage_ConvertTo32Bits(loaded);
  FreeImage_Unload(loaded);
  if (!image) return false;
  width = static_cast<int>(FreeImage_GetWidth(image));
  height = static_cast<int>(FreeImage_GetHeight(image));
  pixels.assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const BYTE* line = FreeImage_GetScanLine(image, height - 1 - y);
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * width + x] =
          (line[4 * x + FI_RGBA_RED] << 16) | (line[4 * x + FI_RGBA_GREEN] << 8) | line[4 * x + FI_RGBA_BLUE];
    }
  }
  FreeImage_Unload(image);
  return true;
}

namespace {

// FreeImage reads memory through a handle it does not own; the handle goes
// with the decoder's scope.
struct MemoryImage {
  FIMEMORY* memory = nullptr;
  FIBITMAP* image = nullptr;
  ~MemoryImage() {
    if (image) FreeImage_Unload(image);
    if (memory) FreeImage_CloseMemory(memory);
  }
};

}  // namespace

namespace {

// Decodes bytes of any format FreeImage knows, or of PNG only.
bool DecodeBytes(const void* bytes, std::size_t size, DecodedPng& out, bool pngOnly) {
  out = DecodedPng{};
  if (!bytes || size == 0 || size > 0x7FFFFFFF) return false;
  MemoryImage m;
  m.memory = FreeImage_OpenMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), static_cast<DWORD>(size));
  if (!m.memory) return false;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(m.memory, 0);
  if (format == FIF_UNKNOWN || (pngOnly && format != FIF_PNG) || !FreeImage_FIFSupportsReading(format)) return false;
  m.image = FreeImage_LoadFromMemory(format, m.memory, 0);
  if (!m.image) return false;
  const unsigned width = FreeImage_GetWidth(m.image);
  const unsigned height = FreeImage_GetHeight(m.image);
  if (width == 0 || height == 0 || width > kMaxDecodedPngSide || height > kMaxDecodedPngSide) return false;
  const bool alpha = FreeImage_GetBPP(m.image) == 32 || FreeImage_GetColorType(m.image) == FIC_RGBALPHA ||
                     FreeImage_IsTransparent(m.image);
  FIBITMAP* converted = alpha ? FreeImage_ConvertTo32Bits(m.image) : FreeImage_ConvertTo24Bits(m.image);
  if (!converted) return false;
  const unsigned step = alpha ? 4 : 3;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.hasAlpha = alpha;
  out.bgra.resize(static_cast<std::size_t>(width) * height * 4);
  std::uint8_t* to = out.bgra.data();
  for (unsigned y = 0; y < height; ++y) {
    const BYTE* line = FreeImage_GetScanLine(converted, static_cast<int>(y));
    for (unsigned x = 0; x < width; ++x, to += 4) {
      const BYTE* p = line + step * x;
      to[0] = p[FI_RGBA_BLUE];
      to[1] = p[FI_RGBA_GREEN];
      to[2] = p[FI_RGBA_RED];
      to[3] = alpha ? p[FI_RGBA_ALPHA] : 255;
    }
  }
  FreeImage_Unload(converted);
  return true;
}

}  // namespace

bool DecodePngBytes(const void* bytes, std::size_t size, DecodedPng& out) { return DecodeBytes(bytes, size, out, true); }

bool DecodeImageBytes(const void* bytes, std::size_t size, DecodedPng& out) {
  return DecodeBytes(bytes, size, out, false);
}

}  // namespace pl3
