// Arcs and circles drawn octant by octant between their two end directions,
// their draw state, direction tests, bounding boxes and chord traces.
#pragma once
#include <cstdint>
#include <vector>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

namespace pl3 {

// Per-octant flags of a sweep: bits 0-2 the octant's mapping, then these.
inline constexpr std::uint8_t kOctantWhole = 0x08;
inline constexpr std::uint8_t kOctantNotDrawn = 0x10;
inline constexpr std::uint8_t kOctantHoldsStart = 0x20;
inline constexpr std::uint8_t kOctantHoldsEnd = 0x40;

struct ArcSweep {
  std::uint8_t octants[8];
  bool wrap;  // both ends in one octant, start before end: a short arc
  int startOctant;
  int endOctant;
};

// Marks the octants that the sweep from `start` to `end` (toward +y) covers.
// Equal vectors give a full circle.
ArcSweep MarkArcSweep(Point start, Point end);

// Fills the arc's draw state: reduced vectors, octants and lattice points at
// the radius.
void PrepareArcEnds(ArcLayout* arc);
// PrepareArcEnds on g_raster.currentArc, then the mid direction of its sweep.
void PrepareCurrentArc();
// The mid direction found by the last PrepareCurrentArc, at the arc's radius.
Point CurrentArcMidDirection();

// Draws an arc in view pixels by the raster state's modes.
void DrawArcRecord(ArcLayout* arc);
// Radius, width and centre to the view; the vectors by the linear part only.
void TransformAndDrawArc(ArcLayout* arc, const Transform* t);
int IsDirectionInArc(const ArcLayout* arc, std::int32_t dx, std::int32_t dy);
void GetArcBox(const ArcLayout* arc, const void* ignored, Box* out);
// Draws the arc as chords through DrawClippedChord on the context; the
// record's vectors are replaced by their lattice points at the radius.
void TraceArcRuns(void* context, ArcLayout* arc);

// View-pixel primitives shared with the track drawing.
// The band Ri..Ro around (cx, cy) over the sweep from `start` to `end`, the
// line limits given by the lattice points `latticeStart` and `latticeEnd`.
void FillArcBand(std::int32_t cx, std::int32_t cy, std::int32_t ri, std::int32_t ro, Point latticeStart,
                 Point latticeEnd, Point start, Point end);
// A filled sector of radius r from direction `from` to direction `to`.
void FillSector(std::int32_t cx, std::int32_t cy, std::int32_t r, Point from, Point to);
// A one-pixel arc of radius r from direction `from` to direction `to`.
void DrawArcEdge(std::int32_t cx, std::int32_t cy, std::int32_t r, Point from, Point to);

// The arc direction table: n + 1 unit directions {cos, sin} as unsigned
// 0.32 fractions from 0 to 45 degrees. Kept here, where TraceArcRuns reads
// it; the application builds it at start-up.
struct ArcDirection {
  std::uint32_t cos;
  std::uint32_t sin;
};
void SetArcDirectionTable(std::vector<ArcDirection> table);
const std::vector<ArcDirection>& ArcDirectionTable();

}  // namespace pl3
