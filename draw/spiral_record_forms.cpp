// The spiral look-ups over a working record, as the editing engine asks for
// them (objects/editor_seams.h). Kept apart so that a program that fakes
// them still links the spiral geometry.
#include <cstring>

#include "draw/spiral_geometry.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"

namespace {

// The spiral as it is drawn: a spiral whose pitch or end is unset is
// accepted or refused by what its ghost shows.
SpiralPayload DrawnSpiral(const EntityRecord* record) {
  SpiralPayload s;
  std::memcpy(&s, record->payload, sizeof s);
  PrepareSpiralForDrawing(&s);
  return s;
}

}  // namespace

// The editing engine's forms, over a working record: the quadrant of the
// start and the index of the last quarter arc of the spiral as it is drawn.
int GetArcQuadrant(const EntityRecord* record) {
  if (!record) return 0;
  SpiralPayload s = DrawnSpiral(record);
  return GetArcQuadrant(&s);
}

int GetArcSweepQuadrants(const EntityRecord* record) {
  if (!record) return 0;
  const SpiralPayload s = DrawnSpiral(record);
  return GetArcSweepQuadrants(&s);
}
