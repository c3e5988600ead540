// Stand-ins for the ghosts of items whose owners are not built yet: the
// centroid ghost and the ratsnest lines draw nothing until they land (the
// item still changes, it only shows later). Kept in a
// file of its own so that a test recording ghosts links its own version.
#include "draw/ghost_seams.h"

void DrawCentroid(void*, const void*, const pl3::Transform*) {}
void DrawRatsnestLines(void*) {}
