// Image files through FreeImage, kept apart from the drawing headers because
// FreeImage declares its own Windows-style names.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pl3 {

// Writes 0x00RRGGBB rows (row 0 at the top, `stride` pixels apart) as a PNG.
bool WritePngFile(const std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, const char* path);

// Reads any image FreeImage knows into top-down 0x00RRGGBB pixels.
bool ReadImageFile(const char* path, std::vector<std::uint32_t>& pixels, int& width, int& height);

// A PNG decoded from memory: blue, green, red and alpha bytes per pixel,
// rows bottom row first (row 0 is the bottom row). hasAlpha is false when the
// image has neither an alpha channel nor a transparent colour; its alpha
// bytes are then 255.
struct DecodedPng {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  std::vector<std::uint8_t> bgra;
};
inline constexpr int kMaxDecodedPngSide = 4096;
// False, with `out` emptied, for bytes that are not a PNG, fail to decode or
// give a side larger than kMaxDecodedPngSide.
bool DecodePngBytes(const void* bytes, std::size_t size, DecodedPng& out);
// The same for any image format FreeImage reads (BMP, PNG, JPEG ...).
bool DecodeImageBytes(const void* bytes, std::size_t size, DecodedPng& out);

}  // namespace pl3
