// Polygon point editing: the rules that keep an outline from crossing
// itself, the vertex limit, the outline's box, turning on the layer of the
// item being drawn, reversing a stored outline, and the spiral and arc
// helpers of the same edits. SetPolygonPoint, CheckNewPolygonPoint and
// ReverseStoredPolygon are declared for the design objects in
// objects/polygon_entry_seams.h.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"

struct SpiralPayload;
struct CurrentWindowData;

// The message and caption of a refused crossing.
inline constexpr const char* kPolygonCrossingMessage = "You cannot enter a polygon that contains intersections";

// True when two non-adjacent edges of the closed outline cross (fewer than 4
// vertices never do).
bool IsPolygonSelfIntersecting(const pl3::PolygonLayout* polygon);
// The same for a record that keeps its count as a 32-bit word at 48 and its
// points from 76.
bool IsWidePolygonSelfIntersecting(const std::uint8_t* record);
// True when removing the vertex at the current index would leave a crossing
// outline (tested on a copy).
bool CheckPolygonPointRemoval(const pl3::PolygonLayout* polygon);

// The polygon's box grown to take the vertex at the current index, written
// back into the payload; a new Box the caller frees.
pl3::Box* GrowPolygonBox(pl3::PolygonLayout* polygon);
// The box of all vertices, written into the payload; a new Box the caller frees.
pl3::Box* RecomputePolygonBox(pl3::PolygonLayout* polygon);

// In a PCB window: makes the layer shown (ending a single-layer display of
// another layer); with a box, sets it to the world box the view shows when
// anything changed. 1 when the layer had to be switched on.
int EnsureLayerVisible(std::uint8_t layer, pl3::Box* box);
// The world box the active view shows: its scroll origin times its scale to
// the scroll origin plus the client size times the scale.
pl3::Box ShownWorldBox(const CurrentWindowData& w);

// The spiral's edit step of the selection move, by edit code: 0 moves the
// whole spiral, 8 its end, 9 its start; 10 makes the pitch the distance from
// the start to the window's snapped cursor.
void SpiralEditStep(SpiralPayload* spiral, std::int32_t dx, std::int32_t dy, std::uint32_t editCode);

// The arc's box (centre +- radius + width) grown by the plane clearance of
// its layer, the low corner held at 0.
void GetArcClearanceBox(const pl3::ArcLayout* arc, pl3::Box* box);
