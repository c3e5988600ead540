// Ghost drawing of entity records belongs to the drawing code; until it
// lands nothing is drawn (an item still changes, it only shows later). Kept in
// a file of its own so that a test recording ghosts links its own version.
#include "objects/editor_seams.h"

void GhostEntityData(void*, std::uint16_t, const void*, std::uint32_t, const pl3::Transform*) {}
