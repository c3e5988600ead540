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

}  // namespace pl3
