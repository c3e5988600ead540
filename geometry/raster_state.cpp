#include "geometry/raster_state.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "geometry/clipping.h"
#include "geometry/seams.h"
#include "geometry/view_mapping.h"
#include "platform/reset_hooks.h"

#include "store/node_pool.h"

namespace pl3 {

RasterState g_raster;

namespace {

struct RefreshFailures {
  std::uint32_t horizontal = 0;
  std::uint32_t vertical = 0;
};
RefreshFailures g_failures;

// The store's own reset reclaims any Tower the hit search still holds.
void ResetRasterGlobals() {
  g_raster = RasterState{};
  g_failures = RefreshFailures{};
}
[[maybe_unused]] const bool g_registered = RegisterGlobalReset(&ResetRasterGlobals);

// A reversed or out-of-surface run at a plane writer. Ending the program here
// would lose the user's unsaved work for a drawing glitch, so the run is
// dropped and the first of each kind is logged.
void RefreshFailure(int number) {
#ifdef PL3_RASTER_FATAL
  RaiseTowerError(static_cast<std::uint16_t>(number));
#else
  std::uint32_t& count = number == 15 ? g_failures.horizontal : g_failures.vertical;
  if (count++ == 0) {
    std::fprintf(stderr, "pl3: %s (error %d): run dropped\n", TowerErrorTextOf(static_cast<std::uint16_t>(number)),
                 number);
  }
#endif
}

// ---- Plane writers: one loop per raster op over a whole run. ----

using RowOp = void (*)(std::uint32_t* w, std::uint32_t n, std::uint32_t v);
using ColumnOp = void (*)(std::uint32_t* w, std::uint32_t n, std::uint32_t stride, std::uint32_t v);

void RowOr(std::uint32_t* w, std::uint32_t n, std::uint32_t v) { for (std::uint32_t i = 0; i < n; ++i) w[i] |= v; }
void RowXor(std::uint32_t* w, std::uint32_t n, std::uint32_t v) { for (std::uint32_t i = 0; i < n; ++i) w[i] ^= v; }
void RowClear(std::uint32_t* w, std::uint32_t n, std::uint32_t v) { for (std::uint32_t i = 0; i < n; ++i) w[i] &= ~v; }
void RowSet(std::uint32_t* w, std::uint32_t n, std::uint32_t v) { std::fill_n(w, n, v); }
void RowMax(std::uint32_t* w, std::uint32_t n, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i) w[i] = std::max(w[i], v);
}
constexpr RowOp kRowOps[kRasterOpCount] = {RowOr, RowXor, RowClear, RowSet, RowMax};

// Columns walk down through memory: one plane row per pixel.
void ColOr(std::uint32_t* w, std::uint32_t n, std::uint32_t s, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i, w -= s) *w |= v;
}
void ColXor(std::uint32_t* w, std::uint32_t n, std::uint32_t s, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i, w -= s) *w ^= v;
}
void ColClear(std::uint32_t* w, std::uint32_t n, std::uint32_t s, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i, w -= s) *w &= ~v;
}
void ColSet(std::uint32_t* w, std::uint32_t n, std::uint32_t s, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i, w -= s) *w = v;
}
void ColMax(std::uint32_t* w, std::uint32_t n, std::uint32_t s, std::uint32_t v) {
  for (std::uint32_t i = 0; i < n; ++i, w -= s) *w = std::max(*w, v);
}
constexpr ColumnOp kColumnOps[kRasterOpCount] = {ColOr, ColXor, ColClear, ColSet, ColMax};

bool InSurface(std::int32_t x, std::int32_t y) {
  return g_raster.plane != nullptr && static_cast<std::uint32_t>(x) < g_raster.width &&
         static_cast<std::uint32_t>(y) < g_raster.height;
}

void PlaneHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  if (x1 < x0 || !InSurface(x0, y) || !InSurface(x1, y) || g_raster.rasterOp >= kRasterOpCount) {
    RefreshFailure(15);
    return;
  }
  std::uint32_t* const row = g_raster.plane + PlaneWordIndex(x0, y);
  // Shapes are filled row after row downward: the next row lies one plane
  // row lower in memory. Fetching it now hides most of the wait for it.
  if (static_cast<std::uint32_t>(y) + 1 < g_raster.height) __builtin_prefetch(row - g_raster.width, 1);
  kRowOps[g_raster.rasterOp](row, static_cast<std::uint32_t>(x1 - x0) + 1, g_raster.fillValue);
}

void PlaneVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  if (y1 < y0 || !InSurface(x, y0) || !InSurface(x, y1) || g_raster.rasterOp >= kRasterOpCount) {
    RefreshFailure(16);
    return;
  }
  kColumnOps[g_raster.rasterOp](g_raster.plane + PlaneWordIndex(x, y0), static_cast<std::uint32_t>(y1 - y0) + 1,
                                g_raster.width, g_raster.fillValue);
}

// ---- Nearest hit ----

void ConsiderHit(std::int32_t px, std::int32_t py) {
  const std::int64_t dx = static_cast<std::int64_t>(px) - g_raster.hitX;
  const std::int64_t dy = static_cast<std::int64_t>(py) - g_raster.hitY;
  // Either difference of 2^16 or more already puts d at or above 2^32.
  if (dx <= -65536 || dx >= 65536 || dy <= -65536 || dy >= 65536) return;
  const std::uint64_t d = static_cast<std::uint64_t>(dx * dx + dy * dy);
  if (d >= (1ull << 32) || d > g_raster.maxDistanceSquared || d >= g_raster.bestDistanceSquared) return;
  g_raster.bestDistanceSquared = static_cast<std::uint32_t>(d);
  g_raster.hitFound = 1;
  ReleaseTowerRef(g_raster.bestEntity);
  g_raster.bestEntity = CopyTowerRef(g_raster.currentEntity);
  g_raster.pickPending = 0;
}

std::int32_t ClampUnsigned(std::int32_t v, std::int32_t lo, std::int32_t hi) {
  if (static_cast<std::uint32_t>(v) < static_cast<std::uint32_t>(lo)) v = lo;
  if (static_cast<std::uint32_t>(v) > static_cast<std::uint32_t>(hi)) v = hi;
  return v;
}

void HitHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  ConsiderHit(ClampUnsigned(g_raster.hitX, x0, x1), y);
}
void HitVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  ConsiderHit(x, ClampUnsigned(g_raster.hitY, y0, y1));
}

// ---- Outline trace ----

bool HasTracePoint() { return g_raster.traceLastX != 0 || g_raster.traceLastY != 0; }

void TraceHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  if (y == g_raster.traceLastY) return;
  if (HasTracePoint()) TraceHorizontalRun(g_raster.traceContext, x0, g_raster.traceLastX, g_raster.traceLastY);
  g_raster.traceLastX = x1;
  g_raster.traceLastY = y;
}
void TraceVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  if (x == g_raster.traceLastX) return;
  if (HasTracePoint()) TraceVerticalRun(g_raster.traceContext, g_raster.traceLastX, g_raster.traceLastY, y1);
  g_raster.traceLastX = x;
  g_raster.traceLastY = y0;
}

// ---- None, area pick and band plane ----

void NoneHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) { DebugTrace("%d %d %d %d", x0, x1, y, 0); }
void NoneVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) { DebugTrace("%d %d %d %d", y0, y1, x, 1); }

void PickHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  if (g_raster.pickPending == 1) PickHorizontalRun(x0, x1, y);
}
void PickVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  if (g_raster.pickPending == 1) PickVerticalRun(x, y0, y1);
}

void BandHorizontal(std::int32_t x0, std::int32_t x1, std::int32_t y) { WriteBandRun(x0, x1, y, 0); }
void BandVertical(std::int32_t x, std::int32_t y0, std::int32_t y1) { WriteBandRun(y0, y1, x, 1); }

using RunWriter = void (*)(std::int32_t, std::int32_t, std::int32_t);
constexpr RunWriter kHorizontalWriters[kSpanTargetCount] = {PlaneHorizontal, HitHorizontal, TraceHorizontal,
                                                            NoneHorizontal,  PickHorizontal, BandHorizontal};
constexpr RunWriter kVerticalWriters[kSpanTargetCount] = {PlaneVertical, HitVertical, TraceVertical,
                                                          NoneVertical,  PickVertical, BandVertical};

std::uint32_t* ColourRow(std::int32_t viewRow) {
  return g_raster.colourBuffer + static_cast<std::size_t>(g_raster.height - 1 - static_cast<std::uint32_t>(viewRow)) *
                                     g_raster.width;
}

template <typename ColourOf>
void ColouriseRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, ColourOf colourOf) {
  if (!g_raster.plane || !g_raster.colourBuffer) return;
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min<std::int64_t>(x1, static_cast<std::int64_t>(g_raster.width) - 1);
  y1 = std::min<std::int64_t>(y1, static_cast<std::int64_t>(g_raster.height) - 1);
  for (std::int32_t y = y0; y <= y1; ++y) {
    for (std::int32_t x = x0; x <= x1; ++x) {
      const std::uint32_t i = PlaneWordIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
      g_raster.colourBuffer[i] = colourOf(g_raster.plane[i]);
    }
  }
}

std::uint32_t LayerColour(std::uint32_t w) {
  if (w & 0x800000u) return g_raster.colourTable2 ? g_raster.colourTable2[(w >> 16) & 0xF] : 0;
  return g_raster.colourTable1 ? g_raster.colourTable1[w & 0xFFFF] : 0;
}
std::uint32_t NamedColour(std::uint32_t w) {
  return g_raster.colourTable3 ? g_raster.colourTable3[16 * (w & 0xFF)] : 0;
}

// Clamps a scroll's extent to the surface; false when nothing moves. The
// distance is measured against the clamped extent along the scroll, so that
// an extent beyond the surface cannot make a negative count of words.
bool ScrollExtent(std::int32_t& w, std::int32_t& h, std::int32_t n, bool sideways) {
  if (!g_raster.colourBuffer) return false;
  w = std::min<std::int64_t>(w, g_raster.width);
  h = std::min<std::int64_t>(h, g_raster.height);
  return w > 0 && h > 0 && n > 0 && n < (sideways ? w : h);
}

}  // namespace

const ViewClip& CurrentViewClip() {
  static const ViewClip kNoClip = {0, 0, -1, -1, 0, 0};
  return g_raster.clip ? *g_raster.clip : kNoClip;
}

void EmitHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  if (g_raster.spanTarget < kSpanTargetCount) kHorizontalWriters[g_raster.spanTarget](x0, x1, y);
}

void EmitVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  if (g_raster.spanTarget < kSpanTargetCount) kVerticalWriters[g_raster.spanTarget](x, y0, y1);
}

void HorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  if (ClipHorizontalRun(CurrentViewClip(), x0, x1, y)) EmitHorizontalRun(x0, x1, y);
}

void VerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  if (ClipVerticalRun(CurrentViewClip(), x, y0, y1)) EmitVerticalRun(x, y0, y1);
}

void ClearPlane() {
  if (g_raster.plane) {
    std::fill_n(g_raster.plane, static_cast<std::size_t>(g_raster.width) * g_raster.height, g_raster.fillValue);
  }
}

void ClearPlaneToBackground() {
  const std::uint32_t saved = g_raster.fillValue;
  g_raster.fillValue = g_raster.background ? *g_raster.background : 0;
  ClearPlane();
  g_raster.fillValue = saved;
}

void SetPlaneRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  // Corners may come in any order; a reversed clip would hand the plane
  // writer reversed runs.
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  ViewClip rect = {x0, y0, x1, y1, static_cast<std::int32_t>(g_raster.width),
                   static_cast<std::int32_t>(g_raster.height)};
  ViewClip* const savedClip = g_raster.clip;
  const std::uint8_t savedOp = g_raster.rasterOp;
  g_raster.clip = &rect;
  g_raster.rasterOp = kRasterSet;
  FillClippedRect(0, 0, static_cast<std::int32_t>(g_raster.width) - 1, static_cast<std::int32_t>(g_raster.height) - 1);
  g_raster.clip = savedClip;
  g_raster.rasterOp = savedOp;
}

int PlotWorldPoint(std::int32_t x, std::int32_t y) {
  WorldToViewCurrent(x, y);
  if (!InSurface(x, y)) return 1;
  g_raster.plane[PlaneWordIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))] = g_raster.fillValue;
  return 0;
}

void PlotPixel(std::int32_t x, std::int32_t y) {
  // Columns outside the surface are dropped too: a stray x must not reach
  // the neighbouring row or beyond the buffer.
  if (!InSurface(x, y)) return;
  std::uint32_t& w = g_raster.plane[PlaneWordIndex(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))];
  switch (g_raster.rasterOp) {
    case kRasterOr: w |= g_raster.fillValue; break;
    case kRasterXor: w ^= g_raster.fillValue; break;
    case kRasterClearBits: w &= ~g_raster.fillValue; break;
    default: w = g_raster.fillValue; break;
  }
}

int WriteBandRun(std::int32_t a, std::int32_t b, std::int32_t c, int vertical) {
  const std::int32_t t = g_raster.clip ? g_raster.clip->ymin : 0;
  if (vertical == 0) {
    for (std::int32_t x = a; x <= b; ++x) PlotPixel(x, c - t);
  } else {
    for (std::int32_t y = a - t; y <= b - t; ++y) PlotPixel(c, y);
  }
  return 0;
}

void ColourisePlane() {
  if (!g_raster.plane || !g_raster.colourBuffer) return;
  const std::size_t n = static_cast<std::size_t>(g_raster.width) * g_raster.height;
  for (std::size_t i = 0; i < n; ++i) g_raster.colourBuffer[i] = LayerColour(g_raster.plane[i]);
}

void ColourisePlaneRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  ColouriseRect(x0, y0, x1, y1, LayerColour);
}

void ColourisePlaneByByte() {
  ColouriseRect(0, 0, static_cast<std::int32_t>(g_raster.width) - 1, static_cast<std::int32_t>(g_raster.height) - 1,
                NamedColour);
}

void ColourisePlaneRectByByte(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  ColouriseRect(x0, y0, x1, y1, NamedColour);
}

void ScrollPlaneLeft(std::int32_t w, std::int32_t h, std::int32_t n) {
  if (!ScrollExtent(w, h, n, true)) return;
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint32_t* row = ColourRow(y);
    std::memmove(row, row + n, static_cast<std::size_t>(w - n) * sizeof(std::uint32_t));
  }
}

void ScrollPlaneRight(std::int32_t w, std::int32_t h, std::int32_t n) {
  if (!ScrollExtent(w, h, n, true)) return;
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint32_t* row = ColourRow(y);
    std::memmove(row + n, row, static_cast<std::size_t>(w - n) * sizeof(std::uint32_t));
  }
}

void ScrollPlaneUp(std::int32_t w, std::int32_t h, std::int32_t n) {
  if (!ScrollExtent(w, h, n, false)) return;
  for (std::int32_t y = 0; y < h - n; ++y) {
    std::memcpy(ColourRow(y), ColourRow(y + n), static_cast<std::size_t>(w) * sizeof(std::uint32_t));
  }
}

void ScrollPlaneDown(std::int32_t w, std::int32_t h, std::int32_t n) {
  if (!ScrollExtent(w, h, n, false)) return;
  for (std::int32_t y = h - 1; y >= n; --y) {
    std::memcpy(ColourRow(y), ColourRow(y - n), static_cast<std::size_t>(w) * sizeof(std::uint32_t));
  }
}

void DebugTrace(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  va_end(args);
}

double DistanceSquared(std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2) {
  const double dx = static_cast<double>(x1) - static_cast<double>(x2);
  const double dy = static_cast<double>(y1) - static_cast<double>(y2);
  return dx * dx + dy * dy;
}

int CompareUnsigned(const void* a, const void* b) {
  // An ordering, not the wrapped difference: that would misorder words more
  // than 2^31 apart.
  const std::uint32_t x = *static_cast<const std::uint32_t*>(a);
  const std::uint32_t y = *static_cast<const std::uint32_t*>(b);
  return (x > y) - (x < y);
}

std::uint32_t RefreshFailureCount(int errorNumber) {
  return errorNumber == 15 ? g_failures.horizontal : errorNumber == 16 ? g_failures.vertical : 0;
}

}  // namespace pl3
