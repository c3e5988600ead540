// What the unset values of a spiral stand for. The drawing, the box, the
// quadrant helpers and the grab handles all take a spiral this way, so that
// a spiral is measured and grabbed where it is drawn.
#pragma once
#include <cstdint>

struct SpiralPayload;

// The pitch a spiral of pitch 0 or less is drawn, measured and grabbed with
// (30 thou).
constexpr std::int32_t kDefaultSpiralPitch = 1097280;

// Gives a spiral copy the values its unset fields stand for, unmirrored: a
// pitch of 0 or less is kDefaultSpiralPitch; a start at (0, 0) lies one pitch
// left of the centre; an end at (0, 0) or on the centre lies at
// (|start x - centre x| + 5 pitches, |start y - centre y|) from the centre.
void ApplySpiralDefaults(SpiralPayload* spiral);
