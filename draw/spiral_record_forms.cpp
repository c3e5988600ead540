// The spiral look-ups over a working record, as the editing engine asks for
// them (objects/editor_seams.h). Kept apart so that a program that fakes
// them still links the spiral geometry.
#include <cstring>

#include "draw/spiral_geometry.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"

// The editing engine's forms, over a working record.
int GetArcQuadrant(const EntityRecord* record) {
  if (!record) return 0;
  SpiralPayload s;
  std::memcpy(&s, record->payload, sizeof s);
  return GetArcQuadrant(&s);
}

int GetArcSweepQuadrants(const EntityRecord* record) {
  if (!record) return 0;
  SpiralPayload s;
  std::memcpy(&s, record->payload, sizeof s);
  return GetArcSweepQuadrants(&s);
}
