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

}  // namespace pl3
