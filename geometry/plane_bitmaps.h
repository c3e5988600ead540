// Off-screen drawing surfaces: a colour buffer in a memory device context,
// the layer plane of the same shape and their bitmap header. Editor views use
// the DIB-section form, whose planes are one shared plane; one-off renderings
// use the form with private buffers.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/gdi.h"

namespace pl3 {

struct PlaneBitmap {
  std::uint32_t width;           // pixels, rounded up to the alignment asked for
  std::uint32_t height;
  std::uint32_t* colourBuffer;   // 0x00RRGGBB words, rows bottom-up
  std::uint32_t* plane;          // plane words of the same shape
  BITMAPINFO* header;            // owned: the header and its colour table
  HBITMAP previousObject;        // the bitmap the memory context held before ours
  HBITMAP bitmap;
  HDC memoryDC;
};

// The colour tables the kernel takes when a surface is attached: the layer
// colour mix (65,536 words) and the named colours. Defined by the colours'
// owner.
const std::uint32_t* CurrentLayerColourMix();
const std::uint32_t* CurrentNamedColourTable();

// Sizes a surface to the view before creation: the views draw at one fixed
// size, that of the virtual screen, so that a window can grow to it without
// a new surface.
void SetPlaneBitmapSize(PlaneBitmap* surface);

// Private buffers. 1 when made; on failure nothing is left half made (every
// field null) and 0 is returned.
int CreatePlaneBitmap(HDC dc, PlaneBitmap* surface, std::uint32_t extraWidth, std::uint16_t bitCount,
                      std::uint32_t alignment);
// The colour buffer is a DIB section's bits; the plane is the shared plane,
// made on first use and grown (every surface on it re-bound) when a larger
// surface needs it. 1 when made, 0 on failure (nothing left half made).
int CreatePlaneDIBSection(HDC dc, PlaneBitmap* surface, std::uint32_t extraWidth, std::uint16_t bitCount,
                          std::uint32_t alignment);
// Makes the surface the kernel's target with a clip of its whole size, and
// clears its plane to the active background; 1.
int AttachRasterToBitmap(PlaneBitmap* surface, ViewClip* clip);
// Copies the colour buffer to the context at (0, 0).
void BlitPlaneBitmap(HDC dc, const PlaneBitmap* surface);
// Releases everything the surface owns (the shared plane stays).
void FreePlaneBitmap(PlaneBitmap* surface);
// Releases the context, the bitmap and the header; the buffers stay.
void ReleasePlaneBitmapDC(PlaneBitmap* surface);

// The shared plane's size in words (0 before the first DIB-section surface).
std::uint32_t SharedPlaneWords();

}  // namespace pl3
