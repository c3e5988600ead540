// Snapping world points to a window's current grid (cartesian or polar) or
// to the fixed fine grid of 1/20 inch, the cursor step on a polar grid, and
// the grid dots and working-area outline drawn into a view's raster plane.
// The records are objects/grid_sets.h.
//
// World coordinates go to floating point as unsigned 32-bit values,
// differences of two coordinates are signed and results truncate toward
// zero. A grid whose step comes to 0 (a zero numerator or denominator, a
// step that rounds to 0, a zero ring spacing or angle, an unknown angle
// style) has no positions: its snaps leave the point where it is and it
// draws no dots.
//
// SnapXY and SnapXYFine are declared in objects/view_seams.h, where the
// design objects and the editing engine reach them.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/grid_sets.h"
#include "objects/view_seams.h"

struct CurrentWindowData;
struct ButtonRecord;

// ViewFlags bit 10: snapping is off in the window (SnapXToGrid still snaps).
constexpr std::uint32_t kViewSnapOff = 0x400;

// The fine grid: 1/20 inch, 1,828,800 world units.
constexpr std::uint32_t kFineSnapStep = 1828800;

// v rounded to the nearest multiple of MulDiv(UnitSize[unit], a, b) counted
// from the origin; half-way goes away from the origin. A zero step leaves v.
std::int32_t SnapValue(std::int32_t v, std::int32_t a, std::int32_t b, std::uint32_t unit, std::int32_t origin);

// The snaps of a given window block; the plain forms below work on the
// active window (ActiveWindowData) and do nothing without one.
void SnapXYIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y, int force);
void SnapXYFineIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y);
void SnapPolarPointIn(CurrentWindowData& block, std::int32_t* x, std::int32_t* y);

// SnapXY on a point record, without force.
void SnapPoint(pl3::Point* point);
// When the set's snap flag is on, x snapped with the current grid's x axis
// about the coordinate origin; the snapping-off flag and the grid's kind are
// not consulted.
void SnapXToGrid(std::int32_t* x);
// SnapXYFine on a point record.
void SnapPointFine(pl3::Point* point);
// Unless snapping is off, both snapped to 1/20 inch about the given origin.
void SnapXYAbout(std::int32_t* x, std::int32_t* y, std::int32_t originX, std::int32_t originY);
// Snaps to the current polar grid, without any flag test.
void SnapPolarPoint(std::int32_t* x, std::int32_t* y);

// The polar snap of a point about a centre, with what it found: the ring n,
// the snapped angle a (degrees) and the raw angle and radius of the point.
struct PolarSnap {
  std::int32_t ring;
  double angle;
  double rawAngle;
  double radius;
  std::uint32_t ringStep;
  double stepAngle;
};
// 0 when the grid has no positions (the point is left).
int PolarSnapWorker(const GridEntry& grid, pl3::Point centre, std::int32_t* x, std::int32_t* y, PolarSnap* found);
// The point of ring n at angle a (degrees) about the centre.
pl3::Point PolarPointOf(pl3::Point centre, std::int32_t ring, std::uint32_t ringStep, double angle);
// The angle in degrees of p about c, growing from +x toward smaller y.
double PolarAngle(std::int32_t cx, std::int32_t cy, std::int32_t px, std::int32_t py);
// Moves the active window's cursor one step on its polar grid for the arrow
// keys (VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN); other keys only snap it.
void PolarCursorStep(std::uint32_t key);

// The drag snaps of the cursor: the old cursor kept, Cursor snapped
// (SnapDragPoint: unless snapping is off and when the snap flag is on; the
// fine form always, unless snapping is off), CursorOffset = new - old, then
// the mouse pointer moved onto the point.
void SnapDragPoint(void* window, ButtonRecord* cursor);
void FineSnapDragPoint(void* window, ButtonRecord* cursor);

// At window creation: the coordinate origin snapped (without force) and
// copied into GridOrigin.
void SetGridOrigin(CurrentWindowData& block);

// ---- Grid drawing ----------------------------------------------------------------

// The program's working area in world units; grid dots are drawn only
// inside it and its outline is drawn with the grid. The design area (5 to
// 50 inches) until SetWorkingArea is first called.
struct WorkingAreaRect {
  std::uint32_t left, right, top, bottom;
};
extern WorkingAreaRect WorkingArea;
// From {x, y, width, height}: left x, right x + width, top y, bottom y + height.
void SetWorkingArea(const std::uint32_t rectangle[4]);

// Draws the current grid of the block into the raster plane: cartesian over
// the window's drawing surface, polar over the world box; then the working
// area's outline. Plane value 21 in schematic kinds, 0x800000 elsewhere.
void DrawGrid(CurrentWindowData& block, const pl3::Box& box);
void DrawCartesianGrid(CurrentWindowData& block, const GridEntry& grid);
void DrawPolarGrid(CurrentWindowData& block, const GridEntry& grid, const pl3::Box& box);
// Plots the lattice x0 + i * xStep (below right) by y0 + j * yStep (below
// bottom), one dot per point; a zero step plots nothing.
void DrawGridColumns(std::int32_t x0, std::int32_t y0, std::int32_t right, std::int32_t bottom, std::int32_t xStep,
                     std::int32_t yStep);
// The zone (0 to 8, 4 inside) of a point about a box, row by row from the top left.
int GridBoxZone(const pl3::Box& box, std::int32_t x, std::int32_t y);
// The least distance from c to the box's edges and the greatest to its corners.
void PolarBoxRadii(const pl3::Box& box, std::int32_t cx, std::int32_t cy, double* least, double* greatest);
