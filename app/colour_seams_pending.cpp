// Ghost drawing of entity records belongs to the drawing code; until it
// lands nothing is drawn (an item still changes, it only shows later).
#include "objects/view_seams.h"

void GhostEntityData(void*, const void*, std::uint16_t) {}
