#include <cmath>
#include <cstdint>

#include "draw/grids.h"
#include "edit/window_data.h"
#include "platform/kernel_base.h"
#include "platform/user_constants.h"

namespace {

// Degrees to radians, and the full turn and radians to degrees, as the
// program has always written them: snapped positions depend on these digits.
constexpr double kRadiansPerDegree = 0.017453292519444445;
constexpr double kFullTurn = 6.283185307;
constexpr double kDegreesPerRadian = 57.29577951471995;

double AsUnsigned(std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); }

// A floating result as a world coordinate: truncated toward zero, kept to 32 bits.
std::int32_t ToWorld(double v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(v)));
}

double SignedDifference(std::int32_t a, std::int32_t b) {
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)));
}

// The ring nearest a distance of `rings` ring steps; a ring step of a world
// unit or two puts the far corners of the coordinate space past 32 bits.
std::int32_t NearestRing(double rings) {
  const double n = std::floor(rings + 0.5);
  return n >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(n);
}

bool SnappingOff(const CurrentWindowData& block) { return (block.ViewFlags & kViewSnapOff) != 0; }

// Snaps with the current grid of the block, cartesian or polar.
void SnapToCurrentGrid(CurrentWindowData& block, const GridEntry& g, std::int32_t* x, std::int32_t* y) {
  if (g.kind == kGridPolar) {
    PolarSnapWorker(g, block.CoordinateOrigin, x, y, nullptr);
    return;
  }
  *x = SnapValue(*x, static_cast<std::int32_t>(g.x.numerator), static_cast<std::int32_t>(g.x.denominator), g.unit,
                 block.CoordinateOrigin.x);
  *y = SnapValue(*y, static_cast<std::int32_t>(g.y.numerator), static_cast<std::int32_t>(g.y.denominator), g.unit,
                 block.CoordinateOrigin.y);
}

void DragSnap(void* window, ButtonRecord* cursor, bool fine) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block || !cursor) return;
  const pl3::Point old = cursor->Cursor;
  if (fine)
    SnapXYFineIn(*block, &cursor->Cursor.x, &cursor->Cursor.y);
  else
    SnapXYIn(*block, &cursor->Cursor.x, &cursor->Cursor.y, 0);
  cursor->CursorOffset = {static_cast<std::int32_t>(static_cast<std::uint32_t>(cursor->Cursor.x) - static_cast<std::uint32_t>(old.x)),
                          static_cast<std::int32_t>(static_cast<std::uint32_t>(cursor->Cursor.y) - static_cast<std::uint32_t>(old.y))};
  SetCursorToPoint(window, cursor->Cursor);
}

}  // namespace

std::int32_t SnapValue(std::int32_t v, std::int32_t a, std::int32_t b, std::uint32_t unit, std::int32_t origin) {
  const std::int32_t step = MulDiv(static_cast<int>(GridUnitSize(unit)), a, b);
  if (step <= 0) return v;
  const auto uv = static_cast<std::uint32_t>(v);
  const auto uo = static_cast<std::uint32_t>(origin);
  const auto half = static_cast<std::uint32_t>(step >> 1);
  const auto d = static_cast<std::int32_t>(uv > uo ? uv + half - uo : uv - half - uo);
  const std::int32_t n = d / step;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(n) * static_cast<std::uint32_t>(step) + uo);
}

void SnapXYIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y, int force) {
  if (SnappingOff(block)) return;
  const GridSet* set = WindowGridSet(block);
  if (!set || (!(set->flags & kGridSnap) && !force)) return;
  const GridEntry current = set->current;
  SnapToCurrentGrid(block, current, x, y);
}

void SnapXYFineIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y) {
  if (SnappingOff(block)) return;
  *x = SnapValue(*x, 1, 20, kGridUnitInch, block.GridOrigin.x);
  *y = SnapValue(*y, 1, 20, kGridUnitInch, block.GridOrigin.y);
}

void SnapPolarPointIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y) {
  const GridSet* set = WindowGridSet(block);
  if (!set) return;
  const GridEntry current = set->current;
  PolarSnapWorker(current, block.CoordinateOrigin, x, y, nullptr);
}

void SnapPoint(pl3::Point* point) { SnapXY(&point->x, &point->y, 0); }

void SnapXToGrid(std::int32_t* x) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block) return;
  const GridSet* set = WindowGridSet(*block);
  if (!set || !(set->flags & kGridSnap)) return;
  const GridEntry g = set->current;
  *x = SnapValue(*x, static_cast<std::int32_t>(g.x.numerator), static_cast<std::int32_t>(g.x.denominator), g.unit,
                 block->CoordinateOrigin.x);
}

void SnapPointFine(pl3::Point* point) { SnapXYFine(&point->x, &point->y); }

void SnapXYAbout(std::int32_t* x, std::int32_t* y, std::int32_t originX, std::int32_t originY) {
  const CurrentWindowData* block = ActiveWindowData;
  if (!block || SnappingOff(*block)) return;
  *x = SnapValue(*x, 1, 20, kGridUnitInch, originX);
  *y = SnapValue(*y, 1, 20, kGridUnitInch, originY);
}

void SnapPolarPoint(std::int32_t* x, std::int32_t* y) {
  if (ActiveWindowData) SnapPolarPointIn(*ActiveWindowData, x, y);
}

double PolarAngle(std::int32_t cx, std::int32_t cy, std::int32_t px, std::int32_t py) {
  const double dx = SignedDifference(px, cx);
  const double dy = SignedDifference(py, cy);
  const double r = std::sqrt(dx * dx + dy * dy);
  if (r == 0) return 0;
  double alpha = std::acos(dx / r);
  if (static_cast<std::uint32_t>(cy) < static_cast<std::uint32_t>(py)) alpha = kFullTurn - alpha;
  return alpha * kDegreesPerRadian;
}

pl3::Point PolarPointOf(pl3::Point centre, std::int32_t ring, std::uint32_t ringStep, double angle) {
  const double theta = std::fmod(-angle, 360.0) * kRadiansPerDegree;
  const double r = static_cast<double>(static_cast<std::uint32_t>(ring) * ringStep);
  return {ToWorld(AsUnsigned(centre.x) + r * std::cos(theta)), ToWorld(AsUnsigned(centre.y) + r * std::sin(theta))};
}

int PolarSnapWorker(const GridEntry& grid, pl3::Point centre, std::int32_t* x, std::int32_t* y, PolarSnap* found) {
  const std::uint32_t ringStep = PolarRingStep(grid);
  const double stepAngle = PolarStepAngle(grid);
  if (ringStep == 0 || stepAngle == 0) return 0;
  const double dx = SignedDifference(*x, centre.x);
  const double dy = SignedDifference(*y, centre.y);
  const double r = std::sqrt(dx * dx + dy * dy);
  PolarSnap s{0, 0, 0, r, ringStep, stepAngle};
  if (r != 0) {
    s.ring = NearestRing(r / ringStep);
    s.rawAngle = PolarAngle(centre.x, centre.y, *x, *y);
    s.angle = std::floor(s.rawAngle / stepAngle + 0.5) * stepAngle;
  }
  const pl3::Point p = PolarPointOf(centre, s.ring, ringStep, s.angle);
  *x = p.x;
  *y = p.y;
  if (found) *found = s;
  return 1;
}

void PolarCursorStep(std::uint32_t key) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block) return;
  const GridSet* set = WindowGridSet(*block);
  if (!set || set->current.kind != kGridPolar) return;
  const GridEntry g = set->current;
  pl3::Point p = block->Cursor;
  PolarSnap s{};
  if (!PolarSnapWorker(g, block->CoordinateOrigin, &p.x, &p.y, &s)) return;
  const double ringsOut = s.radius / s.ringStep;
  if (p.x == block->Cursor.x && p.y == block->Cursor.y) {
    switch (key) {
      case VK_LEFT: s.angle += s.stepAngle; break;
      case VK_UP: if (s.ring < INT32_MAX) ++s.ring; break;
      case VK_RIGHT: s.angle -= s.stepAngle; break;
      case VK_DOWN: if (s.ring != 0) --s.ring; break;
      default: break;
    }
  } else {
    switch (key) {
      case VK_LEFT: if (s.angle < s.rawAngle) s.angle += s.stepAngle; break;
      case VK_UP: if (s.ring < ringsOut && s.ring < INT32_MAX) ++s.ring; break;
      case VK_RIGHT: if (s.angle > s.rawAngle) s.angle -= s.stepAngle; break;
      case VK_DOWN: if (s.ring > ringsOut) --s.ring; break;
      default: break;
    }
  }
  block->Cursor = PolarPointOf(block->CoordinateOrigin, s.ring, s.ringStep, s.angle);
}

void SnapDragPoint(void* window, ButtonRecord* cursor) { DragSnap(window, cursor, false); }

void FineSnapDragPoint(void* window, ButtonRecord* cursor) { DragSnap(window, cursor, true); }

void SetGridOrigin(CurrentWindowData& block) {
  pl3::Point origin = block.CoordinateOrigin;
  SnapXYIn(block, &origin.x, &origin.y, 0);
  block.CoordinateOrigin = origin;
  block.GridOrigin = origin;
}
