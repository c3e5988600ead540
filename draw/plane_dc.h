// A device context whose pixels are the raster plane's words, for the few
// figures GDI draws into the plane (pin box texts, dotted outline arcs): a
// GDI colour RGB(r, g, b) lands as the plane word 0x00RRGGBB.
#pragma once
#include <cstdint>

#include "platform/gdi.h"
#include "platform/surface.h"

struct PlaneDC {
  pl3::PixelSurface surface{};
  HDC dc = nullptr;
  // Null dc when no plane is attached to the raster kernel.
  PlaneDC();
  ~PlaneDC();
  PlaneDC(const PlaneDC&) = delete;
  PlaneDC& operator=(const PlaneDC&) = delete;
};

// The GDI colour that writes a plane value (a colour code) into the plane.
inline COLORREF PlaneCodeColour(std::uint32_t code) {
  return RGB((code >> 16) & 0xFF, (code >> 8) & 0xFF, code & 0xFF);
}
