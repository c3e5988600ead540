#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/grids.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "objects/drc_seams.h"
#include "platform/reset_hooks.h"

// Until a PCB window sets it, the working area is the design area (5 to 50
// inches on both axes), so that other windows still show their grid.
constexpr WorkingAreaRect kDesignArea{182880000, 1828800000, 182880000, 1828800000};
WorkingAreaRect WorkingArea = kDesignArea;

namespace {

void ResetWorkingArea() { WorkingArea = kDesignArea; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetWorkingArea);

constexpr double kRadiansPerDegree = 0.017453292519444445;
constexpr double kDegreesPerRadian = 57.29577951471995;
constexpr std::uint32_t kSchematicGridValue = 21;
constexpr std::uint32_t kGridValue = 0x800000;
constexpr double kMinimumRingPixels = 10;

double AsUnsigned(std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); }

// The world spacing of one axis's dots: the step times the display
// multiple, multiplied by the thinning factor while it measures less than
// the minimum spacing in pixels. 0 when the axis has no positions.
double AxisSpacing(const GridAxis& axis, std::uint32_t unit, double zoom) {
  if (axis.denominator == 0) return 0;
  double s = static_cast<double>(axis.numerator) * GridUnitSize(unit) / axis.denominator * axis.displayMultiple / zoom;
  if (!(s > 0)) return 0;
  while (s < axis.minimumSpacing && axis.thinningFactor > 1) s *= axis.thinningFactor;
  // Dots closer than a pixel would only light the same pixels again (and a
  // grid read from a file may be that fine): a whole number of steps is
  // taken that spans a pixel, so the dots never outnumber the pixels.
  if (s < 1) s *= std::ceil(1 / s);
  return s * zoom;
}

// The first lattice line at or beyond the edge's side of the origin:
// origin + trunc((edge - origin) / spacing) * spacing.
std::int64_t FirstLine(std::int64_t edge, std::int32_t origin, double spacing) {
  const double o = AsUnsigned(origin);
  return static_cast<std::int64_t>(o + std::trunc((static_cast<double>(edge) - o) / spacing) * spacing);
}

bool InWorkingArea(double x, double y) {
  return x >= WorkingArea.left && x <= WorkingArea.right && y >= WorkingArea.top && y <= WorkingArea.bottom;
}

}  // namespace

void SetWorkingArea(const std::uint32_t rectangle[4]) {
  WorkingArea.left = rectangle[0];
  WorkingArea.right = rectangle[0] + rectangle[2];
  WorkingArea.top = rectangle[1];
  WorkingArea.bottom = rectangle[1] + rectangle[3];
}

void DrawGridColumns(std::int32_t x0, std::int32_t y0, std::int32_t right, std::int32_t bottom, std::int32_t xStep,
                     std::int32_t yStep) {
  if (xStep <= 0 || yStep <= 0 || x0 >= right || y0 >= bottom) return;
  const std::int64_t most = 2 * (std::int64_t{right} - x0) / xStep;
  std::vector<std::int32_t> columns;
  columns.reserve(static_cast<std::size_t>(std::min<std::int64_t>(most, 1 << 16)));
  for (std::int64_t x = x0; x < right && static_cast<std::int64_t>(columns.size()) < most; x += xStep)
    columns.push_back(static_cast<std::int32_t>(x));
  if (columns.empty()) return;
  for (std::int64_t y = y0; y < bottom; y += yStep)
    for (const std::int32_t x : columns) pl3::PlotWorldPoint(x, static_cast<std::int32_t>(y));
}

void DrawCartesianGrid(CurrentWindowData& block, const GridEntry& grid) {
  const double zoom = block.Zoom ? block.Zoom : 1;
  const double xs = AxisSpacing(grid.x, grid.unit, zoom);
  const double ys = AxisSpacing(grid.y, grid.unit, zoom);
  // Dots further apart than the coordinate range can hold give at most one
  // dot: none is drawn (and the step is never cast out of range).
  if (xs <= 0 || ys <= 0 || xs > INT32_MAX || ys > INT32_MAX) return;
  const double width = block.Surface.width ? block.Surface.width : pl3::g_raster.width;
  const double height = block.Surface.height ? block.Surface.height : pl3::g_raster.height;
  std::int64_t left = static_cast<std::int64_t>(block.ViewOriginX * zoom);
  std::int64_t top = static_cast<std::int64_t>(block.ViewOriginY * zoom);
  std::int64_t right = static_cast<std::int64_t>((block.ViewOriginX + width) * zoom);
  std::int64_t bottom = static_cast<std::int64_t>((block.ViewOriginY + height) * zoom);
  left = std::max<std::int64_t>(std::max<std::int64_t>(left, WorkingArea.left), 0);
  top = std::max<std::int64_t>(std::max<std::int64_t>(top, WorkingArea.top), 0);
  right = std::min<std::int64_t>(right, WorkingArea.right);
  bottom = std::min<std::int64_t>(bottom, WorkingArea.bottom);
  const std::int64_t x0 = FirstLine(left, block.CoordinateOrigin.x, xs);
  const std::int64_t y0 = FirstLine(top, block.CoordinateOrigin.y, ys);
  const auto xStep = static_cast<std::int64_t>(xs);
  const auto yStep = static_cast<std::int64_t>(ys);
  if (xStep <= 0 || yStep <= 0) return;
  DrawGridColumns(static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0), static_cast<std::int32_t>(right),
                  static_cast<std::int32_t>(bottom), static_cast<std::int32_t>(xStep), static_cast<std::int32_t>(yStep));
}

int GridBoxZone(const pl3::Box& box, std::int32_t x, std::int32_t y) {
  const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
  const int column = ux < static_cast<std::uint32_t>(box.xmin) ? 0 : ux > static_cast<std::uint32_t>(box.xmax) ? 2 : 1;
  const int row = uy < static_cast<std::uint32_t>(box.ymin) ? 0 : uy > static_cast<std::uint32_t>(box.ymax) ? 2 : 1;
  return row * 3 + column;
}

void PolarBoxRadii(const pl3::Box& box, std::int32_t cx, std::int32_t cy, double* least, double* greatest) {
  const double x0 = AsUnsigned(box.xmin), y0 = AsUnsigned(box.ymin), x1 = AsUnsigned(box.xmax), y1 = AsUnsigned(box.ymax);
  const double px = AsUnsigned(cx), py = AsUnsigned(cy);
  const double edges[4][4] = {{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y0, x0, y1}};
  *least = -1;
  for (const auto& e : edges) {
    const double d = PointToSegmentDistance(px, py, e[0], e[1], e[2], e[3]);
    if (*least < 0 || d < *least) *least = d;
  }
  *greatest = 0;
  for (const double x : {x0, x1})
    for (const double y : {y0, y1}) *greatest = std::max(*greatest, std::hypot(x - px, y - py));
}

void DrawPolarGrid(CurrentWindowData& block, const GridEntry& grid, const pl3::Box& box) {
  const std::uint32_t ringStep = PolarRingStep(grid);
  const double stepAngle = PolarStepAngle(grid);
  if (ringStep == 0 || stepAngle == 0) return;
  const pl3::Point c = block.CoordinateOrigin;
  const int zone = GridBoxZone(box, c.x, c.y);
  double least = 0, greatest = 0;
  PolarBoxRadii(box, c.x, c.y, &least, &greatest);
  std::int64_t startRing = static_cast<std::int64_t>(std::floor(least / ringStep));
  const std::int64_t endRing = static_cast<std::int64_t>(std::ceil(greatest / ringStep));
  // The corners whose angles bound the box as seen from the centre, by zone.
  static constexpr int kCorners[9][4] = {{0, 3, 2, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}, {0, 3, 0, 1}, {0, 0, 0, 0},
                                         {2, 1, 2, 3}, {2, 3, 0, 1}, {2, 3, 0, 3}, {2, 1, 0, 3}};
  const std::int32_t coords[4] = {box.xmin, box.ymin, box.xmax, box.ymax};
  double start = 0, end = 360;
  if (zone == 4) {
    startRing = 1;
  } else {
    const int* k = kCorners[zone];
    start = PolarAngle(c.x, c.y, coords[k[0]], coords[k[1]]);
    end = PolarAngle(c.x, c.y, coords[k[2]], coords[k[3]]);
  }
  // Rings at least 10 pixels apart: k ring steps per drawn ring.
  const double zoom = block.Zoom ? block.Zoom : 1;
  auto k = static_cast<std::int64_t>(std::max(1.0, std::ceil(kMinimumRingPixels * zoom / ringStep)));
  while (k > 1 && static_cast<double>(k - 1) * ringStep / zoom >= kMinimumRingPixels) --k;
  while (static_cast<double>(k) * ringStep / zoom < kMinimumRingPixels) ++k;
  startRing = startRing / k * k;
  if (start > end) end += 360;
  start = std::floor(start / stepAngle) * stepAngle;
  end = std::ceil(end / stepAngle) * stepAngle;
  // Along the outermost ring dots are no closer than a pixel: a step angle
  // finer than that is drawn by a whole number of steps that spans one.
  const double pixelDegrees = kDegreesPerRadian / std::max(greatest / zoom, 1.0);
  const double drawStep = stepAngle < pixelDegrees ? stepAngle * std::ceil(pixelDegrees / stepAngle) : stepAngle;
  const double cx = AsUnsigned(c.x), cy = AsUnsigned(c.y);
  for (std::int64_t i = startRing; i < endRing; i += k) {
    const double r = static_cast<double>(static_cast<std::uint32_t>(i * ringStep));
    for (std::int64_t j = 0;; ++j) {
      const double a = start + static_cast<double>(j) * drawStep;
      if (!(a < end)) break;
      const double theta = std::fmod(-a, 360.0) * kRadiansPerDegree;
      const double x = cx + r * std::cos(theta);
      const double y = cy + r * std::sin(theta);
      if (InWorkingArea(x, y))
        pl3::PlotWorldPoint(static_cast<std::int32_t>(static_cast<std::int64_t>(x)),
                            static_cast<std::int32_t>(static_cast<std::int64_t>(y)));
    }
  }
}

void DrawGrid(CurrentWindowData& block, const pl3::Box& box) {
  const std::uint32_t saved = pl3::g_raster.fillValue;
  const bool schematic = block.editorKind == kEditorSchematicSymbol || block.editorKind == kEditorSchematic;
  pl3::g_raster.fillValue = schematic ? kSchematicGridValue : kGridValue;
  if (const GridSet* set = WindowGridSet(block)) {
    const GridEntry current = set->current;
    if (current.kind == kGridPolar)
      DrawPolarGrid(block, current, box);
    else
      DrawCartesianGrid(block, current);
  }
  const auto l = static_cast<std::int32_t>(WorkingArea.left), r = static_cast<std::int32_t>(WorkingArea.right);
  const auto t = static_cast<std::int32_t>(WorkingArea.top), b = static_cast<std::int32_t>(WorkingArea.bottom);
  pl3::DrawWorldLine(l, t, r, t);
  pl3::DrawWorldLine(r, t, r, b);
  pl3::DrawWorldLine(r, b, l, b);
  pl3::DrawWorldLine(l, t, l, b);
  pl3::g_raster.fillValue = saved;
}
