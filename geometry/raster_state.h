// The raster kernel's one global working block, the layer plane's word
// layout, the run entries that every shape reaches, and the plane utilities.
//
// Every shape is cut into horizontal runs (x0, x1, y) and vertical runs
// (x, y0, y1) in view pixels. A run entry clips the run to the current
// ViewClip and hands it to the writer of the current span target; the plane
// target applies the current raster op with the fill value. Writers are
// chosen once per run from tables, never per pixel.
#pragma once
#include <cstdint>

#include "geometry/tower_ref.h"
#include "geometry/types.h"

namespace pl3 {

// How a plane writer combines the fill value v with a plane word w.
enum RasterOp : std::uint8_t {
  kRasterOr = 0,        // w |= v
  kRasterXor = 1,       // w ^= v
  kRasterClearBits = 2, // w &= ~v
  kRasterSet = 3,       // w = v
  kRasterMax = 4,       // w = v when v > w (unsigned)
};
inline constexpr int kRasterOpCount = 5;

// What a run means.
enum SpanTarget : std::uint8_t {
  kTargetPlane = 0,
  kTargetNearestHit = 1,
  kTargetOutlineTrace = 2,
  kTargetNone = 3,
  kTargetAreaPick = 4,
  kTargetBandPlane = 5,
};
inline constexpr int kSpanTargetCount = 6;

inline constexpr int kPointBufferSize = 255;

struct RasterState {
  std::uint32_t* colourBuffer = nullptr;       // width * height colour words
  std::uint32_t* plane = nullptr;              // width * height plane words, bottom row first
  const std::uint32_t* colourTable1 = nullptr; // 65,536 colours by the low 16 plane bits
  const std::uint32_t* colourTable2 = nullptr; // highlight colours by plane bits 16..19
  const std::uint32_t* colourTable3 = nullptr; // named colours, 16 words apart, by the low byte
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  ViewClip* clip = nullptr;
  std::uint8_t rasterOp = kRasterOr;
  std::uint8_t trackOutlineMode = 0;
  std::uint8_t trackHighlightMode = 0;
  std::uint32_t fillValue = 0;
  std::uint8_t spanTarget = kTargetPlane;
  void* currentArc = nullptr;

  // Nearest-hit search.
  std::int32_t hitX = 0;
  std::int32_t hitY = 0;
  std::uint32_t maxDistanceSquared = 0;
  std::uint32_t bestDistanceSquared = 0;
  std::uint8_t pickPending = 0;
  TowerRef currentEntity = nullptr;
  TowerRef bestEntity = nullptr;
  std::uint32_t hitFound = 0;

  // Outline trace: the last point ((0, 0) for none) and the callbacks' context.
  std::int32_t traceLastX = 0;
  std::int32_t traceLastY = 0;
  void* traceContext = nullptr;

  // Vector scratch of SetVectorLength.
  std::int32_t vectorX = 0;
  std::int32_t vectorY = 0;
  std::int32_t vectorLength = 0;

  // View state: the 0.32 factor floor(0xFFFFFFFF / zoom), the last scale
  // result, the signed-scale flag and the active window's view mapping
  // (whose origin words the world-to-view steps subtract).
  std::uint32_t viewFactor = 0xFFFFFFFFu;
  std::int32_t scaleResult = 0;
  std::uint8_t signedScale = 0;
  ViewMapping* view = nullptr;
  // The active window's background plane value.
  const std::uint32_t* background = nullptr;

  // Direction of the whole track while a highlighted track is drawn piece by piece.
  std::int32_t highlightDirX = 0;
  std::int32_t highlightDirY = 0;

  Point triangle[3] = {};
  Point pointBuffer[kPointBufferSize] = {};
};

// The kernel's global state. The user-interface thread alone draws.
extern RasterState g_raster;

// The current clip, or an empty one when no surface is attached.
const ViewClip& CurrentViewClip();

// Run entries: clip to the current ViewClip, then the current span target.
void HorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y);
void VerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1);
// The writer of the current span target without clipping, for runs that the
// caller has already cut to the clip.
void EmitHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y);
void EmitVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1);

// Plane word index of view pixel (x, y): rows are stored bottom-up.
inline std::uint32_t PlaneWordIndex(std::uint32_t x, std::uint32_t y) {
  return (g_raster.height - 1 - y) * g_raster.width + x;
}

// Plane utilities.
void ClearPlane();
void ClearPlaneToBackground();
void SetPlaneRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
int PlotWorldPoint(std::int32_t x, std::int32_t y);
void PlotPixel(std::int32_t x, std::int32_t y);
int WriteBandRun(std::int32_t a, std::int32_t b, std::int32_t c, int vertical);

void ColourisePlane();
void ColourisePlaneRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
void ColourisePlaneByByte();
void ColourisePlaneRectByByte(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

// Scrolling of the colour buffer by n pixels; w and h bound the columns and
// rows concerned. Uncovered pixels keep their content for the caller to redraw.
void ScrollPlaneLeft(std::int32_t w, std::int32_t h, std::int32_t n);
void ScrollPlaneRight(std::int32_t w, std::int32_t h, std::int32_t n);
void ScrollPlaneUp(std::int32_t w, std::int32_t h, std::int32_t n);
void ScrollPlaneDown(std::int32_t w, std::int32_t h, std::int32_t n);

// The trace sink: accepts printf-style arguments and does nothing.
void DebugTrace(const char* format, ...);
double DistanceSquared(std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2);
int CompareUnsigned(const void* a, const void* b);

// Runs that reached a plane writer reversed or outside the surface (errors 15
// horizontal and 16 vertical) since start-up. Such a run is dropped and the
// first of each kind is logged; a build with PL3_RASTER_FATAL ends the
// program on it instead.
std::uint32_t RefreshFailureCount(int errorNumber);

}  // namespace pl3
