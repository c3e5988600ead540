// What the ghost drawers call in code built elsewhere: the item-geometry
// rotation, the centroid ghost, the ratsnest lines and the quasi-track
// settings. Declared here, defined by their owners; until an owner lands the
// program links a do-nothing stand-in from app/. The datum and dimensioner
// ghosts are the design objects' own (objects/datums.h, dimensioners.h).
#pragma once
#include <cstdint>

#include "geometry/types.h"

struct Tower;

// Applies the transform's linear part to the payload's geometry in place,
// about the pivot (about the transform's own translation without one);
// 1 for the types it handles, 0 otherwise.
int RotateEntityData(void* payload, std::uint16_t type, const pl3::Point* pivot, const pl3::Transform* transform);

// XOR drawers of the items that own their ghosts; each erases itself when
// drawn a second time.
void DrawCentroid(void* dc, const void* payload, const pl3::Transform* transform);
// XOR-draws the active PCB window's current ratsnest lines.
void DrawRatsnestLines(void* dc);
// XOR-draws the ratsnest ends at the pads of a placed symbol or pad stack
// whose selection ghost is drawn at the point: the instance's own part of
// the ratsnest, drawn and erased with its ghost.
void DrawInstanceRatsnestEnds(void* dc, const Tower* instance, pl3::Point at);

// The quasi-track settings of the settings block (disabled when there is none).
struct QuasiTrackSettings {
  std::uint8_t enabled;
  double gap;
  std::uint8_t units;  // 0 thou, 1 inch, 2 mm, 3 cm
};
QuasiTrackSettings GetQuasiTrackSettings();
