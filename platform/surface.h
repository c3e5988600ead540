// A pixel surface: the in-memory framebuffer that windows and memory bitmaps
// draw into. Pixels are 32-bit 0x00RRGGBB words, row 0 at the top.
//
// The window layer gives every top-level window one surface; a child window
// draws into its top-level window's surface through a device context whose
// origin is the child's client area and whose clip is the child's visible part.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace pl3 {

struct PixelSurface {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels from one row to the next
  // Called before a device context draws into or reads the surface, for a
  // surface that mirrors others (the screen context's).
  void (*sync)(PixelSurface& self) = nullptr;
};

// A device context drawing onto `surface`. `origin` is where the context's
// (0, 0) lies in surface pixels; `clip` (surface pixels) bounds every drawing.
HDC CreateSurfaceDC(PixelSurface* surface, POINT origin, RECT clip);
void DeleteSurfaceDC(HDC dc);
// Points a surface context at a new origin and clip, dropping its visible
// region and keeping everything selected into it (a window's own context,
// CS_OWNDC, handed out again).
void RetargetSurfaceDC(HDC dc, POINT origin, RECT clip);

// Narrows what a surface context may touch to `region` (surface pixels, the
// region is copied) within its clip rectangle; null restores the rectangle.
// BeginPaint uses it for the invalid region. The context's own clip region
// (SelectClipRgn) still applies on top of it.
void SetSurfaceDCVisibleRegion(HDC dc, HRGN region);

// Saves the surface as a PNG file (through FreeImage); false on failure.
bool SaveSurfacePng(const PixelSurface& surface, const char* path);

}  // namespace pl3
