// Spirals cut into quarter arcs: the quadrant of the start point, the index
// of the last quarter, the step of the running centre, and the quarter arcs
// themselves. The display list, the spiral's ghost and its accept step share
// these, so that a spiral is drawn, stored and measured as the same arcs.
#pragma once
#include <cstdint>

#include "geometry/graphic_layouts.h"
#include "geometry/types.h"
#include "objects/spiral_defaults.h"

struct SpiralPayload;

// The most quarter arcs one spiral gives (1,024 turns): a stored pitch far
// too small for its end cannot make a drawing run away.
constexpr std::int32_t kMaxSpiralQuarters = 4096;

// value := 2 x centre - value.
std::int32_t MirrorCoordinate(std::int32_t value, std::int32_t centre);

// The quadrant (0 to 3, clockwise on the screen from the upper left) of the
// start point about the centre. A start on the centre is first moved one
// pitch toward -x, and is then in quadrant 0. A pitch of 0 or less counts as
// kDefaultSpiralPitch here and below.
int GetArcQuadrant(SpiralPayload* spiral);
// The index of the spiral's last quarter arc (the first is the start
// quadrant); below the start quadrant when no arc is drawn.
int GetArcSweepQuadrants(const SpiralPayload* spiral);
// False when the sweep never reaches its start quadrant: the spiral, taken
// as it is drawn, gives no quarter arc at all.
bool SpiralHasSweep(const SpiralPayload& spiral);
// Moves the point a quarter of the pitch: direction 0 +x, 1 +y, 2 -x, 3 -y.
void StepPointInDirection(int direction, pl3::Point* point, std::int32_t pitch);

// Gives a spiral copy the values it is drawn with: its defaults
// (ApplySpiralDefaults), then, with the direction byte 1, the start and the
// end reflected about the centre's vertical.
void PrepareSpiralForDrawing(SpiralPayload* spiral);

// One quarter arc: centre, radius, and the two ends, swept clockwise on the
// screen from `from` to `to`.
struct SpiralQuarter {
  pl3::Point centre;
  std::int32_t radius;
  pl3::Point from;
  pl3::Point to;
};
// Calls `emit` for each quarter arc of a prepared spiral (at most
// kMaxSpiralQuarters), in order; returns the number emitted.
int ForEachSpiralQuarter(const SpiralPayload& spiral, void (*emit)(const SpiralQuarter& quarter, void* context),
                         void* context);

// The arc record of one quarter: the base's head and width, the quarter's
// centre and radius, and its ends as vectors from the centre.
pl3::ArcLayout SpiralQuarterArc(const SpiralQuarter& quarter, const pl3::ArcLayout& base);

// The spiral's outer radius: the start radius plus the pitch times one more
// than the whole turns it makes ((last quarter index - start quadrant) / 4,
// toward zero), on a copy prepared for drawing.
std::int64_t SpiralOuterRadius(const SpiralPayload& spiral);
// The width a spiral is drawn with: its size-table entry when its size is
// indexed, else its own width.
std::int32_t SpiralDrawnWidth(const SpiralPayload& spiral);
